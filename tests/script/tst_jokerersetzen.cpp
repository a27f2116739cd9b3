#include <QTest>

#include "script/JokerErsetzen.h"
#include "script/Skriptfelder.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"

using namespace Qt::StringLiterals;

class TestJokerErsetzen : public QObject
{
    Q_OBJECT
private slots:
    void ersetzen_data()
    {
        // The replacement holds the search text itself: it must not be
        // searched again.
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("suche");
        QTest::addColumn<QString>("ersetzt"); // "(SUCHE)" in place of each occurrence
        QTest::addColumn<int>("anzahl");      // AnzahlVorkommen, overlapping ones too
        QTest::newRow("kleingeschrieben")
            << u"Senden,\"[kanal]\" Ende"_s << u"[Kanal]"_s << u"Senden,\"([KANAL])\" Ende"_s << 1;
        QTest::newRow("ohne vorkommen") << u"Beep"_s << u"[Kanal]"_s << u"Beep"_s << 0;
        QTest::newRow("ohne ueberlappung") << u"aaa"_s << u"aa"_s << u"(AA)a"_s << 2;
        QTest::newRow("mehrfach") << u"Kanal KANAL kanal"_s << u"kanal"_s
                                  << u"(KANAL) (KANAL) (KANAL)"_s << 3;
        QTest::newRow("umlaut ohne gross klein") << u"ÄRGER"_s << u"ä"_s << u"(Ä)RGER"_s << 1;
        QTest::newRow("leere suche") << u"abc"_s << QString() << u"abc"_s << 0;
    }

    void ersetzen()
    {
        QFETCH(QString, text);
        QFETCH(QString, suche);
        QFETCH(QString, ersetzt);
        QFETCH(int, anzahl);
        QCOMPARE(JokerErsetzen(text, suche, u'(' + suche.toUpper() + u')'), ersetzt);
        QCOMPARE(AnzahlVorkommen(text, suche), anzahl);
    }

    void titel_data()
    {
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("doppelpunkt und leerzeichen")
            << u"Tatort: Das Ende"_s << u"Tatort--Das-Ende"_s;
        QTest::newRow("beispiel bleibt") << u"Beispielsendung"_s << u"Beispielsendung"_s;
        QTest::newRow("erlaubte zeichen")
            << u"ÄÖÜäöüß!§$%&()={}[]+-#;"_s << u"ÄÖÜäöüß!§$%&()={}[]+-#;"_s;
        QTest::newRow("pfadzeichen und akzent") << u"a/b\\c*d?e\"Café"_s << u"a-b-c-d-e-Caf-"_s;
    }

    void titel()
    {
        QFETCH(QString, titel);
        QFETCH(QString, erwartet);
        QCOMPARE(TitelBereinigen(titel), erwartet);
    }

    void ausfuehrung_data()
    {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("ohne platzhalter") << u"Warten,\"3\""_s << u"Warten,\"3\""_s;
        QTest::newRow("kanal") << u"TastenSenden,\"[KANAL]~\""_s << u"TastenSenden,\"07~\""_s;
        QTest::newRow("programmpfad") << u"AnwendungStarten,\"[TVSoftwarePfad]/tv -f\""_s
                                      << u"AnwendungStarten,\"/opt/TV/tv -f\""_s;
        QTest::newRow("aufzeichnungspfad leer") << u"x[TVAufzeichnungenPfad]y"_s << u"xy"_s;
        QTest::newRow("datum und zeit") << u"[Datum]_[Zeit]"_s << u"20261205_201500"_s;
        // [Kanal] comes before [Titel], so the one in the title stays; the
        // window title comes before [Datum], so its placeholder is replaced.
        QTest::newRow("titel") << u"[Titel].mpg"_s << u"Tatort--Das-Ende-[Kanal].mpg"_s;
        QTest::newRow("fenstertitel") << u"[TVAnwendungtitel]"_s << u"TV 20261205"_s;
        QTest::newRow("ordner") << u"[ProgrammeOrdner]|[WindowsOrdner]|[System32Ordner]"_s
                                << u"/opt|/usr|/usr/bin"_s;
    }

    void ausfuehrung()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, erwartet);
        AufzeichnenderDesktop desktop;
        Skriptfelder felder;
        felder.TVSoftwarePfad = u"/opt/TV"_s;
        felder.Kanal = u"07"_s;
        felder.TVAnwendungtitel = u"TV [Datum]"_s;
        felder.Titel = u"Tatort: Das Ende [Kanal]"_s;
        QCOMPARE(JokerFuerAusfuehrungErsetzen(felder, desktop, zeile), erwartet);
    }

    void sonderordner()
    {
        // Folders come without a trailing separator; a missing one leaves nothing.
        AufzeichnenderDesktop desktop;
        desktop.sonderOrdnerSetzen(38, u"/srv/programme/"_s);
        desktop.sonderOrdnerSetzen(36, QString());
        desktop.sonderOrdnerSetzen(37, u"/"_s);
        QCOMPARE(GetSonderOrdner(desktop, 99), QString());
        QCOMPARE(OrdnerJokerErsetzen(desktop,
                                     u"[programmeordner]/tv [WINDOWSORDNER]x [System32Ordner]"_s),
                 u"/srv/programme/tv x /"_s);
    }
};

QTEST_GUILESS_MAIN(TestJokerErsetzen)
#include "tst_jokerersetzen.moc"
