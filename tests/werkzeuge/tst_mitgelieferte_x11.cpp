// Every definition file shipped in the program folder drives its real TV
// program on an X server with openbox: `aufzeichnen` starts it, activates
// its window and closes it again with the program's own keys.
#include <algorithm>
#include <csignal>
#include <utility>

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "system/Einstellungsarray.h"
#include "tests/gemeinsam/X11Testhilfe.h"

using namespace Qt::StringLiterals;

namespace {
const QString kQuelle = QStringLiteral(SENDARO_MITGELIEFERTE);
// Some TV programs refuse to run as root, so a root test runs them as this
// ordinary user, made when missing.
const QString kBenutzer = u"sendarotv"_s;

/// The lines of a definition without the channel and recording lists and
/// without a forced end, so that only the program's own keys can close it.
/// These phases need a tuner or a recording back-end that a test machine
/// does not have.
QByteArray nurStartUndSchliessen(const QByteArray& inhalt)
{
    QByteArray ergebnis;
    for (const QByteArray& zeile : inhalt.split('\n')) {
        const QByteArray z = zeile.toLower();
        if (z.startsWith("befehlkanalwechseln=") || z.startsWith("befehlaufnahmestarten=") ||
            z.startsWith("befehlaufnahmebeenden=") ||
            z.startsWith("befehlanwendungbeenden=terminieren,"))
            continue;
        ergebnis += zeile + '\n';
    }
    ergebnis.chop(1);
    return ergebnis;
}

QString wert(const QByteArray& inhalt, const QByteArray& schluessel)
{
    for (const QByteArray& zeile : inhalt.split('\n'))
        if (zeile.toLower().startsWith(schluessel.toLower() + '='))
            return QString::fromLatin1(zeile.mid(schluessel.size() + 1).trimmed()).remove(u'"');
    return {};
}

/// Processes with this executable name that were started with our HOME
/// (so another test's programs of the same name are never counted or ended).
QList<qint64> unsereProzesse(const QString& anwendungsdatei, const QByteArray& home)
{
    QList<qint64> pids;
    const QByteArray merkmal = "HOME=" + home;
    for (const QString& eintrag : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        bool zahl = false;
        const qint64 pid = eintrag.toLongLong(&zahl);
        if (!zahl)
            continue;
        const QString exe = QFileInfo(u"/proc/%1/exe"_s.arg(pid)).symLinkTarget();
        if (QFileInfo(exe).fileName().compare(anwendungsdatei, Qt::CaseInsensitive) != 0)
            continue;
        QFile umgebung(u"/proc/%1/environ"_s.arg(pid));
        if (umgebung.open(QIODevice::ReadOnly) && umgebung.readAll().split('\0').contains(merkmal))
            pids << pid;
    }
    return pids;
}

/// The id and title of the window the window manager reports as active.
std::pair<QString, QString> aktivesFenster()
{
    const QString id = programmAusgabe(u"xprop"_s, {u"-root"_s, u"_NET_ACTIVE_WINDOW"_s})
                           .section(u'#', 1)
                           .trimmed();
    if (id.isEmpty() || id == u"0x0"_s)
        return {};
    const QString name =
        programmAusgabe(u"xprop"_s, {u"-id"_s, id, u"_NET_WM_NAME"_s, u"WM_NAME"_s});
    for (const QString& zeile : name.split(u'\n'))
        if (zeile.contains(u" = \""_s))
            return {id, zeile.section(u" = \""_s, 1).chopped(1)};
    return {id, QString()};
}

// Set when this run created the user, so that the run also removes it.
bool benutzerAngelegt = false;

// useradd and userdel refuse while another test holds the lock on
// /etc/passwd, so each is tried a few times.
bool benutzerBefehl(const QString& befehl, const QStringList& argumente)
{
    for (int versuch = 0; versuch < 10; ++versuch) {
        QProcess p;
        p.start(befehl, argumente);
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return true;
        QTest::qWait(500);
    }
    return false;
}

bool benutzerBereit(uid_t& uid, gid_t& gid)
{
    if (!getpwnam(kBenutzer.toUtf8().constData())) {
        if (!benutzerBefehl(u"useradd"_s, {u"--system"_s, u"--no-create-home"_s, u"--shell"_s,
                                           u"/usr/sbin/nologin"_s, kBenutzer}))
            return false;
        benutzerAngelegt = true;
    }
    const passwd* pw = getpwnam(kBenutzer.toUtf8().constData());
    if (!pw)
        return false;
    uid = pw->pw_uid;
    gid = pw->pw_gid;
    return true;
}

bool anOwner(const QString& pfad, uid_t uid, gid_t gid)
{
    if (::chown(QFile::encodeName(pfad).constData(), uid, gid) != 0)
        return false;
    const QFileInfo info(pfad);
    if (!info.isDir())
        return true;
    for (const QFileInfo& kind :
         QDir(pfad).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        if (!anOwner(kind.filePath(), uid, gid))
            return false;
    return true;
}
} // namespace

class TestMitgelieferteX11 : public QObject
{
    Q_OBJECT

    QList<qint64> m_uebrig;
    QString m_anwendungsdatei;
    QByteArray m_home;
    QTemporaryDir m_sender;

    QStringList dateien() const
    {
        return QDir(kQuelle).entryList({u"*.azs"_s}, QDir::Files, QDir::Name);
    }

private slots:
    // Definitions that open the channel list kanaele.m3u get one whose three
    // entries are a long local MPEG-TS, so that the player keeps running
    // until it is told to close.
    void initTestCase()
    {
        QVERIFY(m_sender.isValid());
        bool liste = false;
        for (const QString& d : dateien()) {
            QFile f(kQuelle + u'/' + d);
            liste = liste ||
                    (f.open(QIODevice::ReadOnly) && f.readAll().toLower().contains("kanaele.m3u"));
        }
        if (!liste)
            return;
        QVERIFY(QFile::setPermissions(m_sender.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                           QFile::ExeOwner | QFile::ReadOther |
                                                           QFile::ExeOther));
        QProcess ffmpeg;
        ffmpeg.start(u"ffmpeg"_s, {u"-v"_s, u"error"_s, u"-y"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                                   u"testsrc=size=160x120:rate=5"_s, u"-t"_s, u"600"_s, u"-c:v"_s,
                                   u"mpeg2video"_s, u"-b:v"_s, u"50k"_s, u"-f"_s, u"mpegts"_s,
                                   m_sender.filePath(u"kanal.ts"_s)});
        QVERIFY2(ffmpeg.waitForFinished(120000) && ffmpeg.exitCode() == 0,
                 ffmpeg.readAllStandardError().constData());
    }

    void cleanupTestCase()
    {
        if (benutzerAngelegt)
            QVERIFY2(benutzerBefehl(u"userdel"_s, {kBenutzer}),
                     "Der Testbenutzer kann nicht entfernt werden.");
    }

    void cleanup()
    {
        // Whatever a failed run left running is ended by its own id.
        if (!m_anwendungsdatei.isEmpty())
            for (qint64 pid : unsereProzesse(m_anwendungsdatei, m_home))
                ::kill(static_cast<pid_t>(pid), SIGKILL);
        m_anwendungsdatei.clear();
        m_uebrig.clear();
    }

    void startenAktivierenSchliessen_data()
    {
        QTest::addColumn<QString>("datei");
        const QStringList dateien = QDir(kQuelle).entryList({u"*.azs"_s}, QDir::Files, QDir::Name);
        QVERIFY2(!dateien.isEmpty(), qPrintable(kQuelle));
        for (const QString& d : dateien)
            QTest::newRow(qPrintable(d)) << d;
    }

    void startenAktivierenSchliessen()
    {
        QFETCH(QString, datei);
        QVERIFY2(qEnvironmentVariable("SENDARO_TEST_WM") == u"1"_s,
                 "Der Test braucht einen Fenstermanager (tests/mit-x.sh --wm).");
        QFile quelle(kQuelle + u'/' + datei);
        QVERIFY(quelle.open(QIODevice::ReadOnly));
        const QByteArray inhalt = quelle.readAll();
        const QString anwendungsdatei = wert(inhalt, "TVAnwendungdatei");
        const QString titel = wert(inhalt, "TVAnwendungtitel");
        QVERIFY(!anwendungsdatei.isEmpty() && !titel.isEmpty());

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString prog = tmp.filePath(u"prog"_s), home = tmp.filePath(u"home"_s),
                      lauf = tmp.filePath(u"lauf"_s);
        for (const QString& o : {prog, home, lauf})
            QVERIFY(QDir().mkpath(o));
        m_anwendungsdatei = anwendungsdatei;
        m_home = QFile::encodeName(home);
        QVERIFY(QFile::copy(QStringLiteral(AUFZEICHNEN_PFAD), prog + u"/aufzeichnen"_s));
        QFile definition(prog + u'/' + datei);
        QVERIFY(definition.open(QIODevice::WriteOnly));
        QVERIFY(definition.write(nurStartUndSchliessen(inhalt)) > 0);
        definition.close();
        Einstellungsarray a(0, 20);
        a.textSetzen(10, datei);
        a.textSetzen(11, QString());
        a.wahrheitswertSetzen(15, false);
        a.wahrheitswertSetzen(17, true);
        EinstellungsdateiSchreiben(prog + u"/sendwacht.cfg"_s, a);
        const QString kanal = m_sender.filePath(u"kanal.ts"_s);
        if (QFile::exists(kanal)) {
            QFile liste(prog + u"/kanaele.m3u"_s);
            QVERIFY(liste.open(QIODevice::WriteOnly));
            liste.write("#EXTM3U\n");
            for (int nr = 1; nr <= 3; ++nr)
                liste.write(QStringLiteral("#EXTINF:-1,Kanal %1\n%2\n")
                                .arg(nr, 2, 10, QLatin1Char('0'))
                                .arg(kanal)
                                .toUtf8());
        }

        // A session bus of its own, as a desktop session has one; KDE
        // programs do not start without.
        QStringList befehl{u"env"_s,
                           u"HOME="_s + home,
                           u"XDG_RUNTIME_DIR="_s + lauf,
                           u"DISPLAY="_s + qEnvironmentVariable("DISPLAY"),
                           u"dbus-run-session"_s,
                           u"--"_s,
                           prog + u"/aufzeichnen"_s,
                           datei,
                           u"--kanal"_s,
                           u"02"_s,
                           u"--dauer"_s,
                           u"3"_s};
        if (::geteuid() == 0) {
            uid_t uid = 0;
            gid_t gid = 0;
            QVERIFY2(benutzerBereit(uid, gid), "Der Testbenutzer kann nicht angelegt werden.");
            QVERIFY(anOwner(tmp.path(), uid, gid));
            befehl = QStringList{u"runuser"_s, u"-u"_s, kBenutzer, u"--"_s} + befehl;
        }

        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(befehl.takeFirst(), befehl);
        QVERIFY(p.waitForStarted());
        // Watched from outside while it runs: which processes of the TV
        // program it started, and which windows are active. The window
        // manager focuses a new window by itself, so while the recording
        // time runs the test iconifies the TV window: only the close list's
        // activation can bring it back, and the close keys reach it only then.
        const auto passt = [&](const QString& t) {
            return t.startsWith(titel, Qt::CaseInsensitive) ||
                   t.endsWith(titel, Qt::CaseInsensitive);
        };
        QString ausgabe, tvFenster;
        QProcess spion; // reports every change of the active window from then on
        bool verborgen = false;
        QElapsedTimer uhr;
        uhr.start();
        while (p.state() != QProcess::NotRunning && uhr.elapsed() < 180000) {
            ausgabe += QString::fromUtf8(p.readAll());
            if (!verborgen) {
                const auto [id, t] = aktivesFenster();
                if (passt(t))
                    tvFenster = id;
                if (!tvFenster.isEmpty() && ausgabe.contains(u"Sekunden aufzeichnen"_s)) {
                    spion.start(u"xprop"_s, {u"-root"_s, u"-spy"_s, u"_NET_ACTIVE_WINDOW"_s});
                    QVERIFY(spion.waitForStarted());
                    QTest::qWait(300); // its first line is the state before
                    verborgen =
                        QProcess::execute(u"xdotool"_s, {u"windowminimize"_s, tvFenster}) == 0;
                }
            }
            for (qint64 pid : unsereProzesse(anwendungsdatei, m_home))
                if (!m_uebrig.contains(pid))
                    m_uebrig << pid;
            QTest::qWait(250);
        }
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
        ausgabe += QString::fromUtf8(p.readAll());
        spion.kill();
        spion.waitForFinished(5000);
        QStringList aktive = QString::fromUtf8(spion.readAllStandardOutput()).split(u'\n');
        for (QString& zeile : aktive)
            zeile = zeile.section(u'#', 1).trimmed();
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, qPrintable(ausgabe));
        QVERIFY2(!m_uebrig.isEmpty(),
                 qPrintable(u"Kein Prozess \"%1\" gesehen.\n"_s.arg(anwendungsdatei) + ausgabe));

        QVERIFY2(verborgen, qPrintable(u"Das Fenster der TV-Anwendung war vor der Aufnahmezeit nie "
                                       u"aktiv.\n"_s +
                                       ausgabe));
        // The first line is the window active before; after the iconified
        // TV window it must come back.
        QVERIFY2(aktive.indexOf(tvFenster, 1) > 0,
                 qPrintable(u"Nach dem Verkleinern von %1 waren aktiv: %2"_s.arg(
                     tvFenster, aktive.join(u" | "_s))));

        // Closed by its keys: gone within a few seconds after the run.
        uhr.restart();
        while (!unsereProzesse(anwendungsdatei, m_home).isEmpty() && uhr.elapsed() < 20000)
            QTest::qWait(250);
        QVERIFY2(unsereProzesse(anwendungsdatei, m_home).isEmpty(),
                 qPrintable(u"\"%1\" läuft nach dem Schließen noch.\n"_s.arg(anwendungsdatei) +
                            ausgabe));
    }
};

QTEST_MAIN(TestMitgelieferteX11)
#include "tst_mitgelieferte_x11.moc"
