#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "script/Definitionsdatei.h"
#include "script/Skriptfelder.h"
#include "system/Fehler.h"
#include "system/Programmordner.h"

using namespace Qt::StringLiterals;

class TestDefinitionsdatei : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void kommentarEntfernen_data();
    void kommentarEntfernen();
    void schluesselUndWert_data();
    void schluesselUndWert();
    void kopf_data();
    void kopf();
    void fehlendeDateiLaedtNichts();
    void handgeschriebenCrLf1252();
    void nurCrUtf8Und1252();
    void crLfUeberBlockgrenze();
    void auflisten();
    void schluesselwertLesen();
    void befehlsparameterLesen_data();
    void befehlsparameterLesen();
    void leseFehler();
    void schreibenWieVorlage();

private:
    void schreiben(const QString& name, const QByteArray& inhalt);
    void kopieren(const QString& fixture);
    std::unique_ptr<QTemporaryDir> m_ordner;
};

void TestDefinitionsdatei::init()
{
    m_ordner = std::make_unique<QTemporaryDir>();
    QVERIFY(m_ordner->isValid());
    AppPfadSetzen(m_ordner->path());
}

void TestDefinitionsdatei::schreiben(const QString& name, const QByteArray& inhalt)
{
    QFile f(m_ordner->filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(inhalt), inhalt.size());
}

void TestDefinitionsdatei::kopieren(const QString& fixture)
{
    QVERIFY(QFile::copy(QStringLiteral(SENDARO_TESTDATEN) + u'/' + fixture,
                        m_ordner->filePath(fixture)));
}

void TestDefinitionsdatei::kommentarEntfernen_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QString>("ohne");
    QTest::newRow("kommentar ungetrimmt") << u"a=b  ' c"_s << u"a=b  "_s;
    QTest::newRow("apostroph in anfuehrung") << u"B=\"Peter's TV\""_s << u"B=\"Peter's TV\""_s;
    QTest::newRow("ohne anfuehrung") << u"B=Peter's TV"_s << u"B=Peter"_s;
    QTest::newRow("nach geschlossener anfuehrung") << u"B=\"Peter's\" 'x"_s << u"B=\"Peter's\" "_s;
}

void TestDefinitionsdatei::kommentarEntfernen()
{
    QFETCH(QString, zeile);
    QFETCH(QString, ohne);
    QCOMPARE(KommentarEntfernen(zeile), ohne);
}

void TestDefinitionsdatei::schluesselUndWert_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QString>("schluessel");
    QTest::addColumn<QString>("wert");
    QTest::newRow("ohne gleich") << u"Beschreibung"_s << QString() << QString();
    QTest::newRow("wert mit gleich") << u"Beschreibung=a=b"_s << u"beschreibung"_s << u"a=b"_s;
    QTest::newRow("blanks und tab")
        << u"  Beschreibung\t=  Test"_s << u"beschreibung"_s << u"Test"_s;
    QTest::newRow("nur anfang anfuehrung") << u"k=\"abc"_s << u"k"_s << u"abc"_s;
    QTest::newRow("nur ende anfuehrung") << u"k=abc\""_s << u"k"_s << u"abc\""_s;
    QTest::newRow("zwei anfuehrungen") << u"k=\"\""_s << u"k"_s << QString();
    QTest::newRow("innere bleiben") << u"k=\"a\"b\"\""_s << u"k"_s << u"a\"b\""_s;
}

void TestDefinitionsdatei::schluesselUndWert()
{
    QFETCH(QString, zeile);
    QFETCH(QString, schluessel);
    QFETCH(QString, wert);
    QCOMPARE(ZeilenSchluessel(zeile), schluessel);
    QCOMPARE(ZeilenWert(zeile), wert);
}

void TestDefinitionsdatei::kopf_data()
{
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<bool>("gueltig");
    QTest::newRow("gross") << QByteArray("<SENDARO AUFZEICHNUNGSSKRIPT 1.0>\r\nBeschreibung=x")
                           << true;
    QTest::newRow("ohne zeilenende") << QByteArray("<Sendaro Aufzeichnungsskript 1.0>") << true;
    QTest::newRow("blank davor") << QByteArray(" <Sendaro Aufzeichnungsskript 1.0>\r\n") << false;
    QTest::newRow("leer") << QByteArray() << false;
    QTest::newRow("lf beendet nicht")
        << QByteArray("<Sendaro Aufzeichnungsskript 1.0>\nBeschreibung=x\n") << false;
}

void TestDefinitionsdatei::kopf()
{
    QFETCH(QByteArray, inhalt);
    QFETCH(bool, gueltig);
    schreiben(u"k.azs"_s, inhalt);

    Skriptfelder felder;
    felder.SkriptDateiname = u"/woanders/k.azs"_s; // only the file name counts
    felder.Beschreibung = u"vorher"_s;
    felder.BefehleKanalWechseln = {u"vorher"_s};
    try {
        SkriptEinladen(felder);
        QVERIFY(gueltig);
        QCOMPARE(felder.Beschreibung, inhalt.contains("=x") ? u"x"_s : QString());
    } catch (const Fehler& f) {
        QVERIFY2(!gueltig, qPrintable(f.anzeigetext()));
        QCOMPARE(f.nummer(), 1);
        QCOMPARE(f.quelle(), u"SkriptEinladen"_s);
        QCOMPARE(f.meldung(), u"Das Format oder die Version der Skriptdatei ist ungültig."_s);
        QVERIFY(felder.Beschreibung.isEmpty());
    }
    QVERIFY(felder.BefehleKanalWechseln.isEmpty());
}

void TestDefinitionsdatei::fehlendeDateiLaedtNichts()
{
    Skriptfelder felder;
    felder.SkriptDateiname = u"gibtsnicht.azs"_s;
    felder.TVAnwendungtitel = u"alt"_s;
    felder.BefehleAnwendungBeenden = {u"Beep"_s};
    SkriptEinladen(felder);
    QVERIFY(felder.TVAnwendungtitel.isEmpty());
    QVERIFY(felder.BefehleAnwendungBeenden.isEmpty());
}

void TestDefinitionsdatei::handgeschriebenCrLf1252()
{
    kopieren(u"definition-kommentare-tabs-verschachtelt.azs"_s);
    Skriptfelder felder;
    felder.SkriptDateiname = u"definition-kommentare-tabs-verschachtelt.azs"_s;
    SkriptEinladen(felder);
    QCOMPARE(felder.Beschreibung, u"Peter's Fernseh-Spaß"_s);
    QCOMPARE(felder.TVAnwendungdatei, u"tv.exe"_s);
    QCOMPARE(felder.TVAnwendungtitel, u"Peter"_s);
    QCOMPARE(felder.BefehleAnwendungStarten,
             QStringList({u"AnwendungStarten,\"[TVSoftwarePfad]\\tv.exe\""_s, u"Warten,3"_s,
                          u"FensterAktivieren,\"[TVAnwendungtitel]\""_s}));
    QCOMPARE(felder.BefehleKanalWechseln,
             QStringList({u"TastenSenden,\"[Kanal]\""_s, u"TastenSenden,\"Kanal 'a', Größe\""_s}));
    QCOMPARE(felder.BefehleAufnahmeStarten, QStringList({u"TastenSenden,\"^r\""_s}));
    QCOMPARE(felder.BefehleAufnahmeBeenden, QStringList({u"Warten,\"1\"\nBeep"_s}));
    QCOMPARE(felder.BefehleAnwendungBeenden, QStringList({u"Terminieren,\"tv.exe\""_s}));
}

void TestDefinitionsdatei::nurCrUtf8Und1252()
{
    kopieren(u"definition-nur-cr-utf8-und-1252.azs"_s);
    Skriptfelder felder;
    felder.SkriptDateiname = u"definition-nur-cr-utf8-und-1252.azs"_s;
    SkriptEinladen(felder);
    QCOMPARE(felder.Beschreibung, u"Fernsehgerät für Küche"_s);
    QCOMPARE(felder.TVAnwendungtitel, u"Übertragung läuft"_s);
    QCOMPARE(felder.TVAnwendungdatei, u"fernseh.exe"_s);
    QCOMPARE(felder.BefehleAnwendungStarten,
             QStringList({u"AnwendungStarten,\"/opt/Grüße/tv\""_s}));
    QCOMPARE(felder.BefehleAnwendungBeenden, QStringList({u"TastenSenden,\"%{F4}\""_s}));
}

void TestDefinitionsdatei::crLfUeberBlockgrenze()
{
    // The reader works in blocks of 64 KiB: a CR LF split between two blocks
    // is still one line end, not a CR followed by a line that starts with LF.
    QByteArray inhalt("<Sendaro Aufzeichnungsskript 1.0>\r\nBefehlAnwendungStarten=Warten,\"");
    inhalt += QByteArray(65535 - inhalt.size() - 1, 'x') + "\"";
    QCOMPARE(inhalt.size(), 65535);
    inhalt += "\r\nBefehlAnwendungStarten=Beep\r\n";
    schreiben(u"lang.azs"_s, inhalt);

    Skriptfelder felder;
    felder.SkriptDateiname = u"lang.azs"_s;
    SkriptEinladen(felder);
    QCOMPARE(felder.BefehleAnwendungStarten.size(), 2);
    QCOMPARE(felder.BefehleAnwendungStarten[0].size(), 65535 - 35 - 23);
    QCOMPARE(felder.BefehleAnwendungStarten[1], u"Beep"_s);
}

void TestDefinitionsdatei::auflisten()
{
    const QByteArray kopf("<Sendaro Aufzeichnungsskript 1.0>\r\n");
    schreiben(u"eins.azs"_s, kopf + "Beschreibung=\"b\"\r\nStandardverzeichnis=\"/opt/b\"\r\n");
    // No header check: a file SkriptEinladen would refuse is listed all the same.
    schreiben(u"zwei.AZS"_s, "Beschreibung=\"a\"\r\n");
    schreiben(u"drei.azs"_s, kopf + "Standardverzeichnis=\"/x\"\r\nBeschreibung=B\r\n");
    // The description after the first start command is not read any more.
    schreiben(u"vier.azs"_s, "BefehlAnwendungStarten=Beep\r\nBeschreibung=\"spaet\"\r\n");
    schreiben(u".versteckt.azs"_s, "Beschreibung=\"C\"\r\nStandardverzeichnis=\"/c\"\r\n");
    schreiben(u"anders.txt"_s, "Beschreibung=\"A\"\r\n");
    QVERIFY(QDir(m_ordner->path()).mkdir(u"ordner.azs"_s));

    const Skriptdateiliste liste = SkriptdateienAuflisten(m_ordner->path());
    QCOMPARE(liste.beschreibungen, QStringList({u""_s, u"B"_s, u"C"_s, u"a"_s, u"b"_s}));
    QCOMPARE(liste.dateinamen, QStringList({u"vier.azs"_s, u"drei.azs"_s, u".versteckt.azs"_s,
                                            u"zwei.AZS"_s, u"eins.azs"_s}));
    QCOMPARE(liste.standardverzeichnisse,
             QStringList({u""_s, u"/x"_s, u"/c"_s, u""_s, u"/opt/b"_s}));

    const Skriptdateiliste leer = SkriptdateienAuflisten(m_ordner->filePath(u"fehlt"_s));
    QVERIFY(leer.dateinamen.isEmpty());
}

void TestDefinitionsdatei::schluesselwertLesen()
{
    schreiben(u"s.azs"_s, "Beschreibung=\"erste\"\r\n beschreibung = \"zweite\"\r\n"
                          "'AuswahlInfo=\"auskommentiert\"\r\nAuswahlInfo=\"a[Enter]b\"\r");
    QCOMPARE(SchluesselwertLesen(u"s.azs"_s, u"  Beschreibung "_s), u"erste"_s);
    QCOMPARE(SchluesselwertLesen(u"irgendwo/s.azs"_s, u"AUSWAHLINFO"_s), u"a[Enter]b"_s);
    QCOMPARE(SchluesselwertLesen(u"s.azs"_s, u"Standardverzeichnis"_s), QString());
}

void TestDefinitionsdatei::befehlsparameterLesen_data()
{
    QTest::addColumn<QString>("befehl");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("parameter");
    QTest::newRow("zweiter befehl passt") << u"AnwendungStarten"_s << 1 << u"/opt/tv,neu/tv"_s;
    QTest::newRow("gross klein") << u" anwendungstarten "_s << 1 << u"/opt/tv,neu/tv"_s;
    QTest::newRow("index 0 ist der befehl")
        << u"FensterAktivieren"_s << 0 << u"FensterAktivieren"_s;
    QTest::newRow("zu wenig teile") << u"AnwendungStarten"_s << 2 << QString();
    QTest::newRow("dritter teil") << u"Warten"_s << 2 << u"x"_s;
}

void TestDefinitionsdatei::befehlsparameterLesen()
{
    QFETCH(QString, befehl);
    QFETCH(int, index);
    QFETCH(QString, parameter);
    schreiben(u"b.azs"_s, "BefehlKanalWechseln=AnwendungStarten,\"/falsch\"\r\n"
                          "BefehlAnwendungStarten=FensterAktivieren,\"Titel\"\r\n"
                          "BefehlAnwendungStarten=Warten,3,x\r\n"
                          "BefehlAnwendungStarten=AnwendungStarten,\"/opt/tv,neu/tv\"\r\n");
    QCOMPARE(BefehlsparameterLesen(u"b.azs"_s, u"befehlanwendungstarten "_s, befehl, index),
             parameter);
}

void TestDefinitionsdatei::leseFehler()
{
    try {
        SchluesselwertLesen(u"fehlt.azs"_s, u"Beschreibung"_s);
        QFAIL("keine Ausnahme");
    } catch (const Fehler& f) {
        QCOMPARE(f.nummer(), 53);
        QCOMPARE(f.quelle(), u"SchluesselwertLesen"_s);
    }
    QVERIFY(QDir(m_ordner->path()).mkdir(u"ordner.azs"_s));
    try {
        BefehlsparameterLesen(u"ordner.azs"_s, u"BefehlAnwendungStarten"_s, u"Beep"_s, 1);
        QFAIL("keine Ausnahme");
    } catch (const Fehler& f) {
        QCOMPARE(f.nummer(), 75);
        QVERIFY(f.meldung().contains(u"kann nicht gelesen werden"_s));
    }
}

void TestDefinitionsdatei::schreibenWieVorlage()
{
    Definition d;
    d.Beschreibung = u"Peter's TV"_s;
    d.TVAnwendungdatei = u"tv.exe"_s;
    d.TVAnwendungtitel = u"Peter's TV – Live"_s;
    d.Standardverzeichnis = u"[ProgrammeOrdner]/Peters TV"_s;
    d.AuswahlInfo = u"Vorher einschalten.\r\nDann Größe wählen."_s;
    d.BefehleAnwendungStarten = {u"AnwendungStarten,\"[TVSoftwarePfad]/tv.exe\""_s,
                                 u"Warten,\"3\""_s, u"FensterAktivieren,\"[TVAnwendungtitel]\""_s};
    d.BefehleKanalWechseln = {u"TastenSenden,\"[Kanal]{ENTER}\""_s};
    d.BefehleAufnahmeStarten = {u"TastenSenden,\"^r\""_s};
    d.BefehleAnwendungBeenden = {u"TastenSenden,\"%{F4}\""_s, u"Terminieren,\"tv.exe\""_s};

    schreiben(u"neu.azs"_s, QByteArray(5000, 'x')); // an older, longer file is replaced whole
    DefinitionSchreiben(u"/anderer/ordner/neu.azs"_s, d);

    QFile geschrieben(m_ordner->filePath(u"neu.azs"_s));
    QVERIFY(geschrieben.open(QIODevice::ReadOnly));
    QFile erwartet(QStringLiteral(SENDARO_TESTDATEN "/definition-geschrieben-erwartet.azs"));
    QVERIFY(erwartet.open(QIODevice::ReadOnly));
    QCOMPARE(geschrieben.readAll(), erwartet.readAll());

    // Read back, the general values come out whole, apostrophes included.
    Skriptfelder felder;
    felder.SkriptDateiname = u"neu.azs"_s;
    SkriptEinladen(felder);
    QCOMPARE(felder.Beschreibung, d.Beschreibung);
    QCOMPARE(felder.TVAnwendungtitel, d.TVAnwendungtitel);
    QCOMPARE(felder.BefehleAnwendungStarten, d.BefehleAnwendungStarten);
    QVERIFY(felder.BefehleAufnahmeBeenden.isEmpty());
    QCOMPARE(felder.BefehleAnwendungBeenden, d.BefehleAnwendungBeenden);
}

QTEST_GUILESS_MAIN(TestDefinitionsdatei)
#include "tst_definitionsdatei.moc"
