#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "system/AnsiText.h"
#include "system/Einstellungsarray.h"
#include "system/Prozessliste.h"
#include "tests/gemeinsam/X11Testhilfe.h"

using namespace Qt::StringLiterals;

namespace {
const QString kPid = QString::number(QCoreApplication::applicationPid());
// The TV application: a copy of the key-recording window under a name no
// other process has.
const QString kTv = u"TVTest"_s + kPid;
const QString kKopf = u"<Sendaro Aufzeichnungsskript 1.0>"_s;
const QString kStartfehler = u"(1) Fehler beim Starten der TV-Applikation.\r\n"_s;
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
        QString aus;
        QString fehler;
        qint64 ms = 0;
    };

    QTemporaryDir m_ordner;

    Ergebnis
    aufzeichnen(const QStringList& argumente,
                const QProcessEnvironment& umgebung = QProcessEnvironment::systemEnvironment())
    {
        QProcess p;
        p.setProcessEnvironment(umgebung);
        QElapsedTimer uhr;
        uhr.start();
        p.start(m_ordner.filePath(u"aufzeichnen"_s), argumente);
        Ergebnis e;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished(5000);
            return e;
        }
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
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

    void dateiSchreiben(const QString& name, const QStringList& zeilen)
    {
        QFile datei(m_ordner.filePath(name));
        QVERIFY(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
        datei.write(zuAnsi(zeilen.join(u"\r\n"_s) + u"\r\n"_s));
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
        // The test window runs detached; it is ended by its own id (the only
        // process of its name) if the run did not end it.
        ProzessBeenden(kTv);
        tastaturbelegung(u"us"_s);
    }

    void aufzeichnung_data()
    {
        QTest::addColumn<QString>("belegung");
        QTest::addColumn<bool>("status");
        QTest::newRow("us") << u"us"_s << false;
        QTest::newRow("de mit statusfenster") << u"de"_s << true;
    }

    void aufzeichnung()
    {
        QFETCH(QString, belegung);
        QFETCH(bool, status);
        QVERIFY(tastaturbelegung(belegung));
        // The window's title only begins with the title of the definition.
        dateiSchreiben(
            u"test.azs"_s,
            {kKopf, u"TVAnwendungdatei=\"%1\""_s.arg(kTv),
             u"TVAnwendungtitel=\"Sendaro Test %1\""_s.arg(kPid),
             u"BefehlAnwendungStarten=AnwendungStarten,\"[TVSoftwarePfad]/%1 --titel "
             u"'Sendaro Test %2 - Eingabe' --ausgabe [TVSoftwarePfad]/%3.txt\""_s.arg(kTv, kPid,
                                                                                      belegung),
             u"BefehlAnwendungStarten=FensterAktivieren,\"[TVAnwendungtitel]\""_s,
             u"BefehlKanalWechseln=TastenSenden,\"[Kanal]\""_s,
             u"BefehlAufnahmeStarten=TastenSenden,\"[Enter][Titel] yzYZäöüßÄ@€<>|/\\#\""_s,
             u"BefehlAufnahmeBeenden=TastenSenden,\"[Enter]Ende[Strg]a\""_s,
             u"BefehlAnwendungBeenden=Terminieren,\"%1\""_s.arg(kTv)});
        QStringList argumente{u"test.azs"_s,         u"--kanal"_s, u"07"_s, u"--titel"_s,
                              u"Tatort: Das Ende"_s, u"--dauer"_s, u"1"_s};
        if (status)
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

    void laeufe_data()
    {
        QTest::addColumn<int>("einstellungen"); // -1: no file, 0: as usual, 1: muting on
        QTest::addColumn<QStringList>("azs");   // lauf.azs; none: no file
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("aus");    // null: not checked
        QTest::addColumn<QString>("fehler"); // with code 2 its beginning; %1: the program folder
        const auto lauf = [](const char* name, int einstellungen, const QStringList& azs,
                             const QStringList& argumente, int code, const QString& aus,
                             const QString& fehler) {
            QTest::newRow(name) << einstellungen << azs << argumente << code << aus << fehler;
        };
        const QStringList datei{u"lauf.azs"_s};
        const auto start = [](const QString& befehl) {
            return QStringList{kKopf, u"BefehlAnwendungStarten="_s + befehl};
        };

        // Muting is undone on the error path too.
        lauf("falscher titel", 1, start(u"FensterAktivieren,\"Gibt es nicht\""_s), datei, 1,
             u"AZS-Datei wird eingeladen\nPC stumm schalten\nTV-Anwendung wird gestartet\n"
             u"PC nicht mehr stumm schalten\n"_s,
             kStartfehler + u"Der Befehl \"FensterAktivieren\" schlug fehl, da ein Fenster mit dem "
                            u"Titel \"Gibt es nicht\" 15 Sekunden lang nicht gefunden werden "
                            u"konnte."_s);
        // The test itself is the running "TV application": the start phase is
        // skipped, and ending a program that does not run is no error.
        lauf("terminieren ohne prozess", 0,
             {kKopf,
              u"TVAnwendungdatei=\"%1\""_s.arg(
                  QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
              u"BefehlAnwendungStarten=Xyz"_s, u"BefehlAnwendungBeenden=Terminieren,\"fehlt\""_s},
             {u"lauf.azs"_s, u"--dauer"_s, u"0"_s}, 0,
             u"AZS-Datei wird eingeladen\nKanal \"01\" wird aktiviert\nAufzeichnung wird "
             u"gestartet\n0 Sekunden aufzeichnen\nAufzeichnung beenden\nTV-Anwendung schließen\n"_s,
             QString());
        lauf("unbekannter befehl", 0, start(u"Starten,\"x\""_s), datei, 1, {},
             kStartfehler + u"Unbekannter Befehl \"Starten\" gefunden."_s);
        lauf("ungueltige tasten", 0, start(u"TastenSenden,\"{Unbekannt}\""_s), datei, 1, {},
             kStartfehler + u"Die Tastenkombination \"{Unbekannt}\" enthält ungültige Werte."_s);
        lauf("fehlendes programm", 0, start(u"AnwendungStarten,\"[TVSoftwarePfad]/fehlt\""_s),
             datei, 1, {},
             kStartfehler + u"Die Anwendung \"%1/fehlt\" konnte nicht gestartet werden."_s);
        lauf("falscher kopf", 0, {u"<Sendaro Aufzeichnungsskript 2.0>"_s}, datei, 1, {},
             u"(1) Das Format oder die Version der Skriptdatei ist ungültig."_s);
        lauf("datei fehlt", 0, {}, {u"/irgendwo/fehlt.azs"_s}, 1, {},
             u"(53) Die Definitionsdatei \"fehlt.azs\" wurde im Programmordner \"%1/\" nicht "
             u"gefunden."_s);
        lauf("einstellungen fehlen", -1, start(u"Beep"_s), datei, 1, {},
             u"(1) Der Sendaro ist nicht initialisiert. Die Datei \"sendwacht.cfg\" exisitiert "
             u"nicht. Starten Sie das Hilfsprogramm \"einrichter.exe\", um dieses Problem zu "
             u"korrigieren."_s);

        lauf("unbekannte option", 0, {}, {u"a.azs"_s, u"--schnell"_s}, 2, u""_s,
             u"Unbekannte Option --schnell."_s);
        lauf("ohne datei", 0, {}, {u"--dauer"_s, u"3"_s}, 2, u""_s,
             u"Es fehlt die Definitionsdatei."_s);
        lauf("zwei dateien", 0, {}, {u"a.azs"_s, u"b.azs"_s}, 2, u""_s,
             u"Es kann nur eine Definitionsdatei angegeben werden."_s);
        lauf("wert fehlt", 0, {}, {u"a.azs"_s, u"--kanal"_s}, 2, u""_s,
             u"Zur Option --kanal fehlt der Wert."_s);
        lauf("dauer", 0, {}, {u"a.azs"_s, u"--dauer"_s, u"1,5"_s}, 2, u""_s,
             u"Die Dauer \"1,5\" ist keine ganze Zahl von Sekunden zwischen 0 und 604800."_s);
        lauf("prozesse mit datei", 0, {}, {u"--prozesse"_s, u"a.azs"_s}, 2, u""_s,
             u"--prozesse wird ohne weitere Argumente aufgerufen."_s);
    }

    void laeufe()
    {
        QFETCH(int, einstellungen);
        QFETCH(QStringList, azs);
        QFETCH(QStringList, argumente);
        QFETCH(int, code);
        QFETCH(QString, aus);
        QFETCH(QString, fehler);
        if (einstellungen)
            einstellungenSchreiben(true);
        if (einstellungen < 0)
            QVERIFY(QFile::remove(m_ordner.filePath(u"sendwacht.cfg"_s)));
        if (!azs.isEmpty())
            dateiSchreiben(u"lauf.azs"_s, azs);
        const Ergebnis e = aufzeichnen(argumente);
        QCOMPARE(e.code, code);
        fehler.replace(u"%1"_s, m_ordner.path());
        if (code == 2)
            QVERIFY2(e.fehler.startsWith(fehler + u"\n\nAufruf: aufzeichnen DATEI.azs"_s),
                     qPrintable(e.fehler));
        else
            QCOMPARE(e.fehler, fehler.isEmpty() ? fehler : fehler + u'\n');
        if (!aus.isNull())
            QCOMPARE(e.aus, aus);
        // Whole-second clock readings: at least 14 seconds of searching.
        if (fehler.contains(u"15 Sekunden"_s))
            QVERIFY2(e.ms >= 14000, qPrintable(QString::number(e.ms)));
    }

    void signalBeendet()
    {
        // A timer that stops the run must not leave the speakers muted.
        einstellungenSchreiben(true);
        dateiSchreiben(u"lang.azs"_s, {kKopf, u"BefehlAnwendungStarten=Warten,\"60\""_s});
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
        const QString zeile = u"sendaroliste%1\t%2|%3\n"_s.arg(kPid, pfad).arg(schlaf.processId());
        const Ergebnis e = aufzeichnen({u"--prozesse"_s});
        schlaf.kill();
        schlaf.waitForFinished();
        QCOMPARE(e.code, 0);
        QVERIFY2(e.aus.contains(zeile), qPrintable(e.aus));
    }

    void ohneXServer_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::newRow("ohne statusfenster") << QStringList{u"test.azs"_s};
        QTest::newRow("mit statusfenster") << QStringList{u"test.azs"_s, u"--status"_s};
    }

    void ohneXServer()
    {
        QFETCH(QStringList, argumente);
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.remove(u"DISPLAY"_s);
        umgebung.remove(u"QT_QPA_PLATFORM"_s);
        const Ergebnis e = aufzeichnen(argumente, umgebung);
        QCOMPARE(e.code, 1);
        QVERIFY2(e.fehler.contains(u"(1) Keine Verbindung zum X-Server"_s), qPrintable(e.fehler));
    }
};

QTEST_GUILESS_MAIN(TestAufzeichnen)
#include "tst_aufzeichnen.moc"
