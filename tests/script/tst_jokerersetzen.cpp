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
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("suche");
        QTest::addColumn<QString>("ersetzt"); // "(SUCHE)" in place of each occurrence
        QTest::addColumn<int>("anzahl");      // AnzahlVorkommen, overlapping ones too
        // The replacement holds the search text: it must not be searched again.
        QTest::newRow("kleingeschrieben")
            << u"Senden,\"[kanal]\" Ende"_s << u"[Kanal]"_s << u"Senden,\"([KANAL])\" Ende"_s << 1;
        QTest::newRow("ueberlappend") << u"aaa"_s << u"aa"_s << u"(AA)a"_s << 2;
        QTest::newRow("mehrfach") << u"Kanal KANAL kanal"_s << u"kanal"_s
                                  << u"(KANAL) (KANAL) (KANAL)"_s << 3;
        QTest::newRow("umlaut") << u"ÄRGER"_s << u"ä"_s << u"(Ä)RGER"_s << 1;
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

    void titel()
    {
        QCOMPARE(TitelBereinigen(u"Tatort: Das Ende"_s), u"Tatort--Das-Ende"_s);
        QCOMPARE(TitelBereinigen(u"ÄÖÜäöüß!§$%&()={}[]+-#;"_s), u"ÄÖÜäöüß!§$%&()={}[]+-#;"_s);
        QCOMPARE(TitelBereinigen(u"a/b\\c*d?e\"Café"_s), u"a-b-c-d-e-Caf-"_s);
    }

    void ausfuehrung_data()
    {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("kanal") << u"TastenSenden,\"[KANAL]~\""_s << u"TastenSenden,\"07~\""_s;
        QTest::newRow("pfade") << u"[TVSoftwarePfad]/tv -f [TVAufzeichnungenPfad]x"_s
                               << u"/opt/TV/tv -f /rec/x"_s;
        QTest::newRow("datum und zeit") << u"[Datum]_[Zeit]"_s << u"20261205_201500"_s;
        // [Kanal] comes before [Titel], so the one in the title stays; the
        // window title comes before [Datum], so its placeholder is replaced.
        QTest::newRow("titel") << u"[Titel].mpg"_s << u"Tatort--Das-Ende-[Kanal].mpg"_s;
        QTest::newRow("fenstertitel") << u"[TVAnwendungtitel]"_s << u"TV 20261205"_s;
        QTest::newRow("ordner") << u"[ProgrammeOrdner]|[WindowsOrdner]|[System32Ordner]"_s
                                << u"/srv/programme||/"_s;
    }

    void ausfuehrung()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, erwartet);
        AufzeichnenderDesktop desktop;
        // Folders come without a trailing separator; a missing one leaves nothing.
        desktop.sonderOrdnerSetzen(38, u"/srv/programme/"_s);
        desktop.sonderOrdnerSetzen(36, QString());
        desktop.sonderOrdnerSetzen(37, u"/"_s);
        Skriptfelder felder;
        felder.TVSoftwarePfad = u"/opt/TV"_s;
        felder.TVAufzeichnungenPfad = u"/rec/"_s;
        felder.Kanal = u"07"_s;
        felder.TVAnwendungtitel = u"TV [Datum]"_s;
        felder.Titel = u"Tatort: Das Ende [Kanal]"_s;
        QCOMPARE(JokerFuerAusfuehrungErsetzen(felder, desktop, zeile), erwartet);
        QCOMPARE(OrdnerJokerErsetzen(desktop, zeile.toLower()),
                 zeile.startsWith(u"[Prog"_s) ? erwartet : zeile.toLower());
    }
};

QTEST_GUILESS_MAIN(TestJokerErsetzen)
#include "tst_jokerersetzen.moc"
