#include <QTest>

#include "script/JokerErsetzen.h"
#include "script/Skriptfelder.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"

using namespace Qt::StringLiterals;

class TestJokerErsetzen : public QObject
{
    Q_OBJECT
private slots:
    void ersetzen_data();
    void ersetzen();
    void vorkommen_data();
    void vorkommen();
    void titel_data();
    void titel();
    void ausfuehrung_data();
    void ausfuehrung();
    void ordnerOhneTrenner();
    void reihenfolge();
};

void TestJokerErsetzen::ersetzen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("suche");
    QTest::addColumn<QString>("ersatz");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("kleingeschrieben") << u"TastenSenden,\"[kanal]\" Ende"_s << u"[Kanal]"_s
                                      << u"02"_s << u"TastenSenden,\"02\" Ende"_s;
    QTest::newRow("ohne vorkommen") << u"Beep"_s << u"[Kanal]"_s << u"02"_s << u"Beep"_s;
    QTest::newRow("ohne ueberlappung") << u"aaa"_s << u"aa"_s << u"b"_s << u"ba"_s;
    QTest::newRow("ersatz enthaelt suche") << u"xax"_s << u"a"_s << u"aa"_s << u"xaax"_s;
    QTest::newRow("mehrfach") << u"[A][a][A]"_s << u"[a]"_s << u"-"_s << u"---"_s;
    QTest::newRow("leerer ersatz")
        << u"a[TVAufzeichnungenPfad]b"_s << u"[tvaufzeichnungenpfad]"_s << QString() << u"ab"_s;
    QTest::newRow("umlaut ohne gross klein") << u"ÄRGER"_s << u"ä"_s << u"ae"_s << u"aeRGER"_s;
    QTest::newRow("leere suche") << u"abc"_s << QString() << u"x"_s << u"abc"_s;
}

void TestJokerErsetzen::ersetzen()
{
    QFETCH(QString, text);
    QFETCH(QString, suche);
    QFETCH(QString, ersatz);
    QFETCH(QString, erwartet);
    QCOMPARE(JokerErsetzen(text, suche, ersatz), erwartet);
}

void TestJokerErsetzen::vorkommen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("suche");
    QTest::addColumn<int>("erwartet");
    QTest::newRow("ueberlappend") << u"aaa"_s << u"aa"_s << 2;
    QTest::newRow("gross klein") << u"Kanal KANAL kanal"_s << u"kanal"_s << 3;
    QTest::newRow("keins") << u"abc"_s << u"x"_s << 0;
    QTest::newRow("ziffern") << u"1111"_s << u"11"_s << 3;
    QTest::newRow("leer") << u"abc"_s << QString() << 0;
}

void TestJokerErsetzen::vorkommen()
{
    QFETCH(QString, text);
    QFETCH(QString, suche);
    QFETCH(int, erwartet);
    QCOMPARE(AnzahlVorkommen(text, suche), erwartet);
}

void TestJokerErsetzen::titel_data()
{
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("doppelpunkt und leerzeichen") << u"Tatort: Das Ende"_s << u"Tatort--Das-Ende"_s;
    QTest::newRow("beispiel bleibt") << u"Beispielsendung"_s << u"Beispielsendung"_s;
    QTest::newRow("umlaute gross") << u"ÄÖÜ äöüß"_s << u"ÄÖÜ-äöüß"_s;
    QTest::newRow("erlaubte zeichen") << u"!§$%&()={}[]+-#;"_s << u"!§$%&()={}[]+-#;"_s;
    QTest::newRow("pfadzeichen") << u"a/b\\c*d?e\"f"_s << u"a-b-c-d-e-f"_s;
    QTest::newRow("akzent") << u"Café"_s << u"Caf-"_s;
}

void TestJokerErsetzen::titel()
{
    QFETCH(QString, titel);
    QFETCH(QString, erwartet);
    QCOMPARE(TitelBereinigen(titel), erwartet);
}

void TestJokerErsetzen::ausfuehrung_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("ohne platzhalter") << u"Warten,\"3\""_s << u"Warten,\"3\""_s;
    QTest::newRow("kanal") << u"TastenSenden,\"[KANAL]~\""_s << u"TastenSenden,\"07~\""_s;
    QTest::newRow("programmpfad") << u"AnwendungStarten,\"[TVSoftwarePfad]/tv -f\""_s
                                  << u"AnwendungStarten,\"/opt/TV/tv -f\""_s;
    QTest::newRow("aufzeichnungspfad leer") << u"x[TVAufzeichnungenPfad]y"_s << u"xy"_s;
    QTest::newRow("datum und zeit") << u"[Datum]_[Zeit]"_s << u"20261205_201500"_s;
    QTest::newRow("titel") << u"[Titel].mpg"_s << u"Tatort--Das-Ende.mpg"_s;
    QTest::newRow("fenstertitel") << u"FensterAktivieren,\"[TVAnwendungtitel]\""_s
                                  << u"FensterAktivieren,\"TV 20261205\""_s;
    QTest::newRow("ordner") << u"[ProgrammeOrdner]|[WindowsOrdner]|[System32Ordner]"_s
                            << u"/opt|/usr|/usr/bin"_s;
}

void TestJokerErsetzen::ausfuehrung()
{
    QFETCH(QString, zeile);
    QFETCH(QString, erwartet);
    AufzeichnenderDesktop desktop;
    Skriptfelder felder;
    felder.TVSoftwarePfad = u"/opt/TV"_s;
    felder.Kanal = u"07"_s;
    // The window title is inserted before [Datum], so its placeholder is
    // replaced too.
    felder.TVAnwendungtitel = u"TV [Datum]"_s;
    felder.Titel = u"Tatort: Das Ende"_s;
    QCOMPARE(JokerFuerAusfuehrungErsetzen(felder, desktop, zeile), erwartet);
}

void TestJokerErsetzen::ordnerOhneTrenner()
{
    AufzeichnenderDesktop desktop;
    desktop.sonderOrdnerSetzen(38, u"/srv/programme/"_s);
    desktop.sonderOrdnerSetzen(36, QString());
    desktop.sonderOrdnerSetzen(37, u"/"_s);
    QCOMPARE(GetSonderOrdner(desktop, 38), u"/srv/programme"_s);
    QCOMPARE(GetSonderOrdner(desktop, 99), QString());
    QCOMPARE(
        OrdnerJokerErsetzen(desktop, u"[programmeordner]/tv [WINDOWSORDNER]x [System32Ordner]"_s),
        u"/srv/programme/tv x /"_s);
}

void TestJokerErsetzen::reihenfolge()
{
    AufzeichnenderDesktop desktop;
    Skriptfelder felder;
    felder.TVSoftwarePfad = u"/opt/[Kanal]"_s; // replaced later by [Kanal]
    felder.Kanal = u"03"_s;
    felder.Titel = u"Folge [Kanal]"_s; // [Kanal] was replaced before [Titel]
    QCOMPARE(JokerFuerAusfuehrungErsetzen(felder, desktop, u"[TVSoftwarePfad] [Titel]"_s),
             u"/opt/03 Folge-[Kanal]"_s);
}

QTEST_GUILESS_MAIN(TestJokerErsetzen)
#include "tst_jokerersetzen.moc"
