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
        QTest::addColumn<QString>("azs");       // lauf.azs; empty: no file
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("aus");    // null: not checked
        QTest::addColumn<QString>("fehler"); // with code 2 its beginning; %1: the program folder
        const auto lauf = [](const char* name, int einstellungen, const QString& azs,
                             const QStringList& argumente, int code, const QString& aus,
                             const QString& fehler) {
            QTest::newRow(name) << einstellungen << azs << argumente << code << aus << fehler;
        };
        const QStringList datei{u"lauf.azs"_s};
        const auto start = [](const QString& befehl) {
            return kKopf + u"\r\nBefehlAnwendungStarten="_s + befehl;
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
             kKopf +
                 u"\r\nTVAnwendungdatei=\"%1\"\r\nBefehlAnwendungBeenden=Terminieren,\"fehlt\""_s
                     .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
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
        lauf("datei fehlt", 0, {}, {u"/irgendwo/fehlt.azs"_s}, 1, {},
             u"(53) Die Definitionsdatei \"fehlt.azs\" wurde im Programmordner \"%1/\" nicht "
             u"gefunden."_s);
        lauf("einstellungen fehlen", -1, start(u"Beep"_s), datei, 1, {},
             u"(1) Der Sendaro ist nicht initialisiert. Die Datei \"sendwacht.cfg\" exisitiert "
             u"nicht. Starten Sie das Hilfsprogramm \"einrichter.exe\", um dieses Problem zu "
             u"korrigieren."_s);
        lauf("dauer", 0, {}, {u"a.azs"_s, u"--dauer"_s, u"1,5"_s}, 2, u""_s,
             u"Die Dauer \"1,5\" ist keine ganze Zahl von Sekunden zwischen 0 und 604800."_s);
    }

    void laeufe()
    {
        QFETCH(int, einstellungen);
        QFETCH(QString, azs);
        QFETCH(QStringList, argumente);
        QFETCH(int, code);
        QFETCH(QString, aus);
        QFETCH(QString, fehler);
        if (einstellungen)
            einstellungenSchreiben(true);
        QVERIFY(einstellungen >= 0 || QFile::remove(m_ordner.filePath(u"sendwacht.cfg"_s)));
        QVERIFY(azs.isEmpty() || dateiSchreiben(u"lauf.azs"_s, zuAnsi(azs + u"\r\n"_s)));
        const Ergebnis e = aufzeichnen(argumente);
        QCOMPARE(e.code, code);
        // Usage errors go on with the usage text.
        fehler.replace(u"%1"_s, m_ordner.path()) += code == 2 ? u"\n\nAufruf: "_s
                                                    : code    ? u"\n"_s
                                                              : u""_s;
        QVERIFY2(code == 2 ? e.fehler.startsWith(fehler) : e.fehler == fehler,
                 qPrintable(e.fehler));
        if (!aus.isNull())
            QCOMPARE(e.aus, aus);
        // Whole-second clock readings: at least 14 seconds of searching.
        QVERIFY2(!fehler.contains(u"15 Sekunden"_s) || e.ms >= 14000,
                 qPrintable(QString::number(e.ms)));
    }

    void signalBeendet()
    {
        // A timer that stops the run must not leave the speakers muted.
        einstellungenSchreiben(true);
        QVERIFY(dateiSchreiben(u"lang.azs"_s,
                               zuAnsi(kKopf + u"\r\nBefehlAnwendungStarten=Warten,\"60\"\r\n"_s)));
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
