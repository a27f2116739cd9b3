#include <QTest>

#include "script/JokerErsetzen.h"
#include "script/Skriptfelder.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"
#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

class TestJokerErsetzen : public QObject
{
    Q_OBJECT
private slots:
    void ersetzen_data() { falltabelle("script-faelle.txt", "ersetzen"); }
    void ersetzen()
    {
        QFETCH(QString, text);
        QFETCH(QString, suche);
        QFETCH(QString, ersetzt);
        QFETCH(QString, anzahl);
        QCOMPARE(JokerErsetzen(text, suche, u'(' + suche.toUpper() + u')'), ersetzt);
        QCOMPARE(AnzahlVorkommen(text, suche), anzahl.toInt());
    }

    void titel_data() { falltabelle("script-faelle.txt", "titel-bereinigen"); }
    void titel()
    {
        QFETCH(QString, titel);
        QFETCH(QString, erwartet);
        QCOMPARE(TitelBereinigen(titel), erwartet);
    }

    void ausfuehrung_data() { falltabelle("script-faelle.txt", "ausfuehrung"); }
    void ausfuehrung()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, erwartet);
        AufzeichnenderDesktop desktop;
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

    void platzhalterEinsetzen_data() { falltabelle("script-faelle.txt", "platzhalter-einsetzen"); }
    void platzhalterEinsetzen()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, erwartet);
        AufzeichnenderDesktop desktop;
        desktop.sonderOrdnerSetzen(38, u"/opt/"_s);
        desktop.sonderOrdnerSetzen(36, u"/usr"_s);
        desktop.sonderOrdnerSetzen(37, u"/usr/bin"_s);
        const QString geschrieben =
            PlatzhalterEinsetzen(desktop, zeile, u"/opt/Mein TV/"_s, u"Ordner"_s);
        QCOMPARE(geschrieben, erwartet);
        // Read back, the placeholders are found ignoring case.
        if (!erwartet.contains(u"[TV"_s))
            QCOMPARE(OrdnerJokerErsetzen(desktop, geschrieben.toLower()), zeile.toLower());
        // A recording puts back exactly what was written over.
        Skriptfelder felder;
        felder.TVSoftwarePfad = u"/opt/Mein TV"_s;
        felder.TVAnwendungtitel = u"Ordner"_s;
        QCOMPARE(JokerFuerAusfuehrungErsetzen(felder, desktop, geschrieben), zeile);
    }
};

QTEST_GUILESS_MAIN(TestJokerErsetzen)
#include "tst_jokerersetzen.moc"
