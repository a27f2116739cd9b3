#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "system/AnsiText.h"
#include "system/Einstellungsarray.h"
#include "system/Prozessliste.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/X11Testhilfe.h"

using namespace Qt::StringLiterals;

namespace {
const QString kPid = QString::number(QCoreApplication::applicationPid());
// The TV application: a copy of the key-recording window under a name no
// other process has.
const QString kTv = u"TVTest"_s + kPid;
} // namespace

/// `aufzeichnen` as a user runs it: copied into a program folder of the
/// test's own, with a settings file and definition files written there, on
/// a real X server (with and without a window manager).
class TestAufzeichnen : public QObject
{
    Q_OBJECT

    struct Ergebnis
    {
        int code = -1;
        QString aus, fehler;
        qint64 ms = 0;
    };

    QTemporaryDir m_ordner;

    Ergebnis aufzeichnen(const QStringList& argumente)
    {
        QProcess p;
        QElapsedTimer uhr;
        uhr.start();
        p.start(m_ordner.filePath(u"aufzeichnen"_s), argumente);
        const bool fertig = p.waitForFinished(60000);
        p.kill();
        p.waitForFinished(5000);
        return {fertig && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError()), uhr.elapsed()};
    }

    void einstellungenSchreiben(bool stumm)
    {
        Einstellungsarray a(0, 20);
        a.textSetzen(10, u"test.azs"_s);
        a.textSetzen(11, m_ordner.path());
        a.wahrheitswertSetzen(15, stumm);
        a.wahrheitswertSetzen(17, true);
        EinstellungsdateiSchreiben(m_ordner.filePath(u"sendwacht.cfg"_s), a);
    }

    bool dateiSchreiben(const QString& name, const QByteArray& inhalt)
    {
        QFile datei(m_ordner.filePath(name));
        return datei.open(QIODevice::WriteOnly) && datei.write(inhalt) == inhalt.size();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_ordner.isValid());
        QVERIFY(QFile::copy(QStringLiteral(AUFZEICHNEN_PFAD), m_ordner.filePath(u"aufzeichnen"_s)));
        QVERIFY(QFile::copy(QStringLiteral(TASTENFENSTER_PFAD), m_ordner.filePath(kTv)));
    }

    void init()
    {
        einstellungenSchreiben(false);
        // Each run changes the keymap; the window manager must be done with
        // that before the next run waits for a window.
        QVERIFY(fenstermanagerEingeholt());
    }

    void cleanup()
    {
        ProzessBeenden(kTv); // in case the run did not end it; it is the only one of its name
        tastaturbelegung(u"us"_s);
    }

    void aufzeichnung_data() { falltabelle("werkzeuge-faelle.txt", "aufzeichnung"); }

    void aufzeichnung()
    {
        QFETCH(QString, belegung);
        QFETCH(QString, status);
        QVERIFY(tastaturbelegung(belegung));
        // Starts the window, activates it by the beginning of its title,
        // types into it with placeholders replaced, and terminates it.
        const QString azs =
            dateiText(QStringLiteral(SENDARO_TESTDATEN "/definition-tastenfenster-vorlage.azs"));
        QVERIFY(dateiSchreiben(u"test.azs"_s, zuAnsi(QString(azs)
                                                         .replace(u"$TV"_s, kTv)
                                                         .replace(u"$PID"_s, kPid)
                                                         .replace(u"$BELEGUNG"_s, belegung))));
        QStringList argumente{u"test.azs"_s,         u"--kanal"_s, u"07"_s, u"--titel"_s,
                              u"Tatort: Das Ende"_s, u"--dauer"_s, u"1"_s};
        if (status == u"ja"_s)
            argumente << u"--status"_s;

        const Ergebnis e = aufzeichnen(argumente);
        // Only Qt's own warnings may stand there, no error of the run.
        QVERIFY2(!e.fehler.contains(u'('), qPrintable(e.fehler));
        QCOMPARE(e.code, 0);
        QCOMPARE(e.aus,
                 u"AZS-Datei wird eingeladen\nTV-Anwendung wird gestartet\n"
                 u"Kanal \"07\" wird aktiviert\nAufzeichnung wird gestartet\n"
                 u"1 Sekunden aufzeichnen\nAufzeichnung beenden\nTV-Anwendung schließen\n"_s);
        QCOMPARE(dateiText(m_ordner.filePath(belegung + u".txt"_s)),
                 u"07<Return>Tatort--Das-Ende yzYZäöüßÄ@€<>|/\\#<Return>Ende<Ctrl+A>"_s);
        QTRY_VERIFY(!ProzessLaeuft(kTv));
    }

    void laeufe_data() { falltabelle("werkzeuge-faelle.txt", "laeufe"); }

    void laeufe()
    {
        QFETCH(QString, einstellungen);
        QFETCH(QString, azs);
        QFETCH(QString, argumente);
        QFETCH(QString, code);
        QFETCH(QString, aus);
        QFETCH(QString, fehler);
        einstellungenSchreiben(einstellungen == u"stumm"_s);
        QVERIFY(einstellungen != u"fehlt"_s ||
                QFile::remove(m_ordner.filePath(u"sendwacht.cfg"_s)));
        azs.replace(u"$PROGRAMM"_s, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        // The definition goes under the name the first argument gives.
        const QString name = argumente.section(u'|', 0, 0).section(u'/', -1);
        QFile::remove(m_ordner.filePath(name)); // a pipe of an earlier case would block
        if (azs == u"<pipe>"_s)
            QCOMPARE(mkfifo(QFile::encodeName(m_ordner.filePath(name)).constData(), 0600), 0);
        else
            QVERIFY(azs.isEmpty() || dateiSchreiben(name, zuAnsi(azs + u"\r\n"_s)));
        const Ergebnis e = aufzeichnen(argumente.split(u'|'));
        QFile::remove(m_ordner.filePath(name));
        const int c = code.toInt();
        QCOMPARE(e.code, c);
        // Usage errors go on with the usage text.
        fehler.replace(u"$ORDNER"_s, m_ordner.path()).replace(u"$HIER"_s, QDir::currentPath()) +=
            c == 2 ? u"\n\nAufruf: "_s
            : c    ? u"\n"_s
                   : u""_s;
        QVERIFY2(c == 2 ? e.fehler.startsWith(fehler) : e.fehler == fehler, qPrintable(e.fehler));
        if (aus != u"-"_s)
            QCOMPARE(e.aus, aus);
        // A successful run takes at least the duration it was given.
        const QStringList teile = argumente.split(u'|');
        const qsizetype dauer = teile.indexOf(u"--dauer"_s);
        if (c == 0 && dauer >= 0)
            QVERIFY2(e.ms >= teile.value(dauer + 1).toInt() * 1000,
                     qPrintable(QString::number(e.ms)));
        // Whole-second clock readings: at least 14 seconds of searching.
        QVERIFY2(!fehler.contains(u"15 Sekunden"_s) || e.ms >= 14000,
                 qPrintable(QString::number(e.ms)));
    }

    void signalBeendet()
    {
        // A timer that stops the run must not leave the speakers muted.
        einstellungenSchreiben(true);
        QVERIFY(
            dateiSchreiben(u"lang.azs"_s, zuAnsi(u"<Sendaro Aufzeichnungsskript 1.0>\r\n"
                                                 u"BefehlAnwendungStarten=Warten,\"60\"\r\n"_s)));
        QProcess p;
        p.start(m_ordner.filePath(u"aufzeichnen"_s), {u"lang.azs"_s});
        QString aus;
        QTRY_VERIFY_WITH_TIMEOUT(
            (aus += QString::fromUtf8(p.readAllStandardOutput())).endsWith(u"gestartet\n"_s),
            10000);
        p.terminate();
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(aus + QString::fromUtf8(p.readAllStandardOutput()),
                 u"AZS-Datei wird eingeladen\nPC stumm schalten\nTV-Anwendung wird gestartet\n"
                 u"PC nicht mehr stumm schalten\n"_s);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
                 u"(1) Die Aufzeichnung wurde durch das Signal SIGTERM abgebrochen.\n"_s);
    }

    void prozesse()
    {
        const QString pfad = m_ordner.filePath(u"SendaroListe"_s + kPid);
        QVERIFY(QFile::copy(u"/bin/sleep"_s, pfad));
        QProcess schlaf;
        schlaf.start(pfad, {u"60"_s});
        QVERIFY(schlaf.waitForStarted());
        const QString zeile =
            u"\nsendaroliste%1\t%2|%3\n"_s.arg(kPid, pfad).arg(schlaf.processId());
        const Ergebnis e = aufzeichnen({u"--prozesse"_s});
        schlaf.kill();
        schlaf.waitForFinished();
        QCOMPARE(e.code, 0);
        QVERIFY2((u'\n' + e.aus).contains(zeile), qPrintable(e.aus));
    }
};

QTEST_GUILESS_MAIN(TestAufzeichnen)
#include "tst_aufzeichnen.moc"
