#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include "system/AnsiText.h"
#include "system/Einstellungsarray.h"
#include "system/Prozessliste.h"

using namespace Qt::StringLiterals;

/// `aufzeichnen` as a user runs it: copied into a program folder of the
/// test's own, with a settings file and definition files written there, on
/// a real X server (with and without a window manager). The TV application
/// is a copy of the key-recording test window under a name no other process
/// has.
class TestAufzeichnen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void aufzeichnung_data();
    void aufzeichnung();
    void falscherTitel();
    void fehlermeldungen_data();
    void fehlermeldungen();
    void terminierenOhneProzess();
    void signalBeendet();
    void ohneEinstellungen();
    void ohneDefinition();
    void falscheArgumente_data();
    void falscheArgumente();
    void prozesse();
    void ohneXServer_data();
    void ohneXServer();

private:
    struct Ergebnis
    {
        int code = -1;
        QString aus;
        QString fehler;
        qint64 ms = 0;
    };
    Ergebnis
    aufzeichnen(const QStringList& argumente, const QString& ordner = {},
                const QProcessEnvironment& umgebung = QProcessEnvironment::systemEnvironment());
    void einstellungenSchreiben(bool stumm);
    void definitionSchreiben(const QString& name, const QString& prozess, const QStringList& zeilen,
                             const QString& kopf = u"<Sendaro Aufzeichnungsskript 1.0>"_s);
    static void tastaturbelegung(const QString& belegung);

    QTemporaryDir m_ordner;
    const QString m_tv = u"TVTest%1"_s.arg(QCoreApplication::applicationPid());
    const QString m_titel = u"Sendaro Test %1"_s.arg(QCoreApplication::applicationPid());
};

void TestAufzeichnen::initTestCase()
{
    QVERIFY(m_ordner.isValid());
    QVERIFY(QFile::copy(QStringLiteral(AUFZEICHNEN_PFAD), m_ordner.filePath(u"aufzeichnen"_s)));
    QVERIFY(QFile::copy(QStringLiteral(TASTENFENSTER_PFAD), m_ordner.filePath(m_tv)));
}

void TestAufzeichnen::cleanup()
{
    // The test window runs detached; it is ended by its own id (the only
    // process of its name) if the run did not end it.
    ProzessBeenden(m_tv);
    tastaturbelegung(u"us"_s);
}

TestAufzeichnen::Ergebnis TestAufzeichnen::aufzeichnen(const QStringList& argumente,
                                                       const QString& ordner,
                                                       const QProcessEnvironment& umgebung)
{
    const QString programm = (ordner.isEmpty() ? m_ordner.path() : ordner) + u"/aufzeichnen"_s;
    QProcess p;
    p.setProcessEnvironment(umgebung);
    QElapsedTimer uhr;
    uhr.start();
    p.start(programm, argumente);
    Ergebnis e;
    if (!p.waitForFinished(60000)) {
        ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
        p.waitForFinished(5000);
        return e;
    }
    e.ms = uhr.elapsed();
    e.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    e.aus = QString::fromUtf8(p.readAllStandardOutput());
    e.fehler = QString::fromUtf8(p.readAllStandardError());
    return e;
}

void TestAufzeichnen::einstellungenSchreiben(bool stumm)
{
    Einstellungsarray a(0, 20);
    a.textSetzen(10, u"test.azs"_s);
    a.textSetzen(11, m_ordner.path());
    a.wahrheitswertSetzen(15, stumm);
    a.wahrheitswertSetzen(17, true);
    EinstellungsdateiSchreiben(m_ordner.filePath(u"sendwacht.cfg"_s), a);
}

void TestAufzeichnen::definitionSchreiben(const QString& name, const QString& prozess,
                                          const QStringList& zeilen, const QString& kopf)
{
    QStringList alle{kopf, u"Beschreibung=\"Testfenster\""_s,
                     u"TVAnwendungdatei=\"%1\""_s.arg(prozess),
                     u"TVAnwendungtitel=\"%1\""_s.arg(m_titel)};
    alle += zeilen;
    QFile datei(m_ordner.filePath(name));
    QVERIFY(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
    datei.write(zuAnsi(alle.join(u"\r\n"_s) + u"\r\n"_s));
}

void TestAufzeichnen::tastaturbelegung(const QString& belegung)
{
    QProcess::execute(u"setxkbmap"_s, {belegung});
}

void TestAufzeichnen::aufzeichnung_data()
{
    QTest::addColumn<QString>("belegung");
    QTest::addColumn<bool>("status");
    QTest::newRow("us") << u"us"_s << false;
    QTest::newRow("de") << u"de"_s << false;
    QTest::newRow("de mit statusfenster") << u"de"_s << true;
}

void TestAufzeichnen::aufzeichnung()
{
    QFETCH(QString, belegung);
    QFETCH(bool, status);
    einstellungenSchreiben(false);
    tastaturbelegung(belegung);
    const QString eingabe = m_ordner.filePath(u"eingabe.txt"_s);
    QFile::remove(eingabe);
    // The window's title only begins with the title of the definition.
    definitionSchreiben(
        u"test.azs"_s, m_tv,
        {u"BefehlAnwendungStarten=AnwendungStarten,\"[TVSoftwarePfad]/%1 --titel '%2 - Eingabe' "
         u"--ausgabe [TVSoftwarePfad]/eingabe.txt\""_s.arg(m_tv, m_titel),
         u"BefehlAnwendungStarten=FensterAktivieren,\"[TVAnwendungtitel]\""_s,
         u"BefehlKanalWechseln=TastenSenden,\"[Kanal]\""_s,
         u"BefehlAufnahmeStarten=TastenSenden,\"[Enter][Titel] yzYZäöüßÄ@€<>|/\\#\""_s,
         u"BefehlAufnahmeBeenden=TastenSenden,\"[Enter]Ende[Strg]a\""_s,
         u"BefehlAnwendungBeenden=Terminieren,\"%1\""_s.arg(m_tv)});

    QStringList argumente{u"test.azs"_s,         u"--kanal"_s, u"07"_s, u"--titel"_s,
                          u"Tatort: Das Ende"_s, u"--dauer"_s, u"1"_s};
    if (status)
        argumente << u"--status"_s;
    const Ergebnis e = aufzeichnen(argumente);
    QVERIFY2(!e.fehler.contains(u'('), qPrintable(e.fehler));
    QCOMPARE(e.code, 0);
    QCOMPARE(e.aus, u"AZS-Datei wird eingeladen\n"
                    u"TV-Anwendung wird gestartet\n"
                    u"Kanal \"07\" wird aktiviert\n"
                    u"Aufzeichnung wird gestartet\n"
                    u"1 Sekunden aufzeichnen\n"
                    u"Aufzeichnung beenden\n"
                    u"TV-Anwendung schließen\n"_s);

    QFile datei(eingabe);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(datei.readAll()),
             u"07<Return>Tatort--Das-Ende yzYZäöüßÄ@€<>|/\\#<Return>Ende<Ctrl+A>"_s);
    QTRY_VERIFY(!ProzessLaeuft(m_tv));
}

void TestAufzeichnen::falscherTitel()
{
    // Muting is on: it must be undone on the error path too.
    einstellungenSchreiben(true);
    definitionSchreiben(u"titel.azs"_s, u"gibtsnicht-%1"_s.arg(QCoreApplication::applicationPid()),
                        {u"BefehlAnwendungStarten=FensterAktivieren,\"Gibt es nicht\""_s});
    const Ergebnis e = aufzeichnen({u"titel.azs"_s});
    QCOMPARE(e.code, 1);
    QCOMPARE(e.fehler, u"(1) Fehler beim Starten der TV-Applikation.\r\nDer Befehl "
                       u"\"FensterAktivieren\" schlug fehl, da ein Fenster mit dem Titel \"Gibt "
                       u"es nicht\" 15 Sekunden lang nicht gefunden werden konnte.\n"_s);
    QCOMPARE(e.aus, u"AZS-Datei wird eingeladen\n"
                    u"PC stumm schalten\n"
                    u"TV-Anwendung wird gestartet\n"
                    u"PC nicht mehr stumm schalten\n"_s);
    // Whole-second clock readings: at least 14 seconds of searching.
    QVERIFY2(e.ms >= 14000, qPrintable(QString::number(e.ms)));
}

void TestAufzeichnen::fehlermeldungen_data()
{
    QTest::addColumn<QString>("kopf");
    QTest::addColumn<QString>("befehl");
    QTest::addColumn<QString>("meldung");
    const QString kopf = u"<Sendaro Aufzeichnungsskript 1.0>"_s;
    const QString phase = u"(1) Fehler beim Starten der TV-Applikation.\r\n"_s;
    QTest::newRow("unbekannter befehl")
        << kopf << u"Starten,\"x\""_s << phase + u"Unbekannter Befehl \"Starten\" gefunden."_s;
    QTest::newRow("ungueltige tasten")
        << kopf << u"TastenSenden,\"{Unbekannt}\""_s
        << phase + u"Die Tastenkombination \"{Unbekannt}\" enthält ungültige Werte."_s;
    QTest::newRow("fehlendes programm")
        << kopf << u"AnwendungStarten,\"[TVSoftwarePfad]/gibtsnicht\""_s
        << phase + u"Die Anwendung \"%1/gibtsnicht\" konnte nicht gestartet werden."_s;
    QTest::newRow("falscher kopf") << u"<Sendaro Aufzeichnungsskript 2.0>"_s << u"Beep"_s
                                   << u"(1) Das Format oder die Version der Skriptdatei ist "
                                      u"ungültig."_s;
}

void TestAufzeichnen::fehlermeldungen()
{
    QFETCH(QString, kopf);
    QFETCH(QString, befehl);
    QFETCH(QString, meldung);
    einstellungenSchreiben(false);
    definitionSchreiben(u"fehler.azs"_s, u"gibtsnicht-%1"_s.arg(QCoreApplication::applicationPid()),
                        {u"BefehlAnwendungStarten="_s + befehl}, kopf);
    const Ergebnis e = aufzeichnen({u"fehler.azs"_s});
    QCOMPARE(e.code, 1);
    QCOMPARE(e.fehler, meldung.replace(u"%1"_s, m_ordner.path()) + u'\n');
}

void TestAufzeichnen::terminierenOhneProzess()
{
    // The test itself is the running "TV application": the start phase is
    // skipped, and ending a program that does not run is no error.
    einstellungenSchreiben(false);
    definitionSchreiben(u"laeuft.azs"_s,
                        QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                        {u"BefehlAnwendungStarten=Xyz"_s,
                         u"BefehlAnwendungBeenden=Terminieren,\"gibtsnicht-%1\""_s.arg(
                             QCoreApplication::applicationPid())});
    const Ergebnis e = aufzeichnen({u"laeuft.azs"_s, u"--dauer"_s, u"0"_s});
    QCOMPARE(e.fehler, QString());
    QCOMPARE(e.code, 0);
    QCOMPARE(e.aus, u"AZS-Datei wird eingeladen\n"
                    u"Kanal \"01\" wird aktiviert\n"
                    u"Aufzeichnung wird gestartet\n"
                    u"0 Sekunden aufzeichnen\n"
                    u"Aufzeichnung beenden\n"
                    u"TV-Anwendung schließen\n"_s);
}

void TestAufzeichnen::signalBeendet()
{
    // A timer that stops the run must not leave the speakers muted.
    einstellungenSchreiben(true);
    definitionSchreiben(u"lang.azs"_s, u"gibtsnicht-%1"_s.arg(QCoreApplication::applicationPid()),
                        {u"BefehlAnwendungStarten=Warten,\"60\""_s});
    QProcess p;
    p.start(m_ordner.filePath(u"aufzeichnen"_s), {u"lang.azs"_s});
    QString aus;
    QTRY_VERIFY_WITH_TIMEOUT(
        (aus += QString::fromUtf8(p.readAllStandardOutput())).endsWith(u"gestartet\n"_s), 10000);
    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(aus + QString::fromUtf8(p.readAllStandardOutput()),
             u"AZS-Datei wird eingeladen\nPC stumm schalten\nTV-Anwendung wird gestartet\n"
             u"PC nicht mehr stumm schalten\n"_s);
    QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
             u"(1) Die Aufzeichnung wurde durch das Signal SIGTERM abgebrochen.\n"_s);
}

void TestAufzeichnen::ohneEinstellungen()
{
    QTemporaryDir leer;
    QVERIFY(QFile::copy(QStringLiteral(AUFZEICHNEN_PFAD), leer.filePath(u"aufzeichnen"_s)));
    const Ergebnis e = aufzeichnen({u"test.azs"_s}, leer.path());
    QCOMPARE(e.code, 1);
    QCOMPARE(e.fehler, u"(1) Der Sendaro ist nicht initialisiert. Die Datei \"sendwacht.cfg\" "
                       u"exisitiert nicht. Starten Sie das Hilfsprogramm \"einrichter.exe\", um "
                       u"dieses Problem zu korrigieren.\n"_s);
}

void TestAufzeichnen::ohneDefinition()
{
    einstellungenSchreiben(false);
    const Ergebnis e = aufzeichnen({u"/irgendwo/fehlt.azs"_s});
    QCOMPARE(e.code, 1);
    QCOMPARE(e.fehler, u"(53) Die Definitionsdatei \"fehlt.azs\" wurde im Programmordner \"%1/\" "
                       u"nicht gefunden.\n"_s.arg(m_ordner.path()));
}

void TestAufzeichnen::falscheArgumente_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QString>("meldung");
    QTest::newRow("unbekannte option")
        << QStringList{u"test.azs"_s, u"--schnell"_s} << u"Unbekannte Option --schnell."_s;
    QTest::newRow("ohne datei") << QStringList{u"--dauer"_s, u"3"_s}
                                << u"Es fehlt die Definitionsdatei."_s;
    QTest::newRow("zwei dateien") << QStringList{u"a.azs"_s, u"b.azs"_s}
                                  << u"Es kann nur eine Definitionsdatei angegeben werden."_s;
    QTest::newRow("wert fehlt") << QStringList{u"a.azs"_s, u"--kanal"_s}
                                << u"Zur Option --kanal fehlt der Wert."_s;
    QTest::newRow("dauer")
        << QStringList{u"a.azs"_s, u"--dauer"_s, u"1,5"_s}
        << u"Die Dauer \"1,5\" ist keine ganze Zahl von Sekunden zwischen 0 und 604800."_s;
    QTest::newRow("prozesse mit datei") << QStringList{u"--prozesse"_s, u"a.azs"_s}
                                        << u"--prozesse wird ohne weitere Argumente aufgerufen."_s;
}

void TestAufzeichnen::falscheArgumente()
{
    QFETCH(QStringList, argumente);
    QFETCH(QString, meldung);
    const Ergebnis e = aufzeichnen(argumente);
    QCOMPARE(e.code, 2);
    QVERIFY2(e.fehler.startsWith(meldung + u"\n\nAufruf: aufzeichnen DATEI.azs"_s),
             qPrintable(e.fehler));
    QCOMPARE(e.aus, QString());
}

void TestAufzeichnen::prozesse()
{
    const QString name = u"SendaroListe%1"_s.arg(QCoreApplication::applicationPid());
    const QString pfad = m_ordner.filePath(name);
    QVERIFY(QFile::copy(u"/bin/sleep"_s, pfad));
    QProcess schlaf;
    schlaf.start(pfad, {u"60"_s});
    QVERIFY(schlaf.waitForStarted());
    const qint64 pid = schlaf.processId();
    const Ergebnis e = aufzeichnen({u"--prozesse"_s});
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    schlaf.waitForFinished();
    QCOMPARE(e.code, 0);
    const QString zeile = u"%1\t%2|%3\n"_s.arg(name.toLower(), pfad, QString::number(pid));
    QVERIFY2(e.aus.contains(zeile), qPrintable(e.aus));
}

void TestAufzeichnen::ohneXServer_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::newRow("ohne statusfenster") << QStringList{u"test.azs"_s};
    QTest::newRow("mit statusfenster") << QStringList{u"test.azs"_s, u"--status"_s};
}

void TestAufzeichnen::ohneXServer()
{
    QFETCH(QStringList, argumente);
    einstellungenSchreiben(false);
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.remove(u"DISPLAY"_s);
    umgebung.remove(u"QT_QPA_PLATFORM"_s);
    const Ergebnis e = aufzeichnen(argumente, {}, umgebung);
    QCOMPARE(e.code, 1);
    QVERIFY2(e.fehler.contains(u"(1) Keine Verbindung zum X-Server"_s), qPrintable(e.fehler));
}

QTEST_GUILESS_MAIN(TestAufzeichnen)
#include "tst_aufzeichnen.moc"
