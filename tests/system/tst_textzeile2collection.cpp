#include <QTest>

#include "system/TextZeile2Collection.h"

using namespace Qt::StringLiterals;

// Flags: honour quoted items, trim line and items, keep the quotes.
constexpr int Ohne = 0, Anf = 1, Trim = 2, Behalt = 4;

class TestTextZeile2Collection : public QObject
{
    Q_OBJECT
private slots:
    // Defined below the class: moc cannot read raw strings holding a quote.
    void zerlegen_data();

    void zerlegen()
    {
        QFETCH(QString, zeile);
        QFETCH(int, schalter);
        QFETCH(QStringList, erwartet);
        QFETCH(QString, trenn);
        QFETCH(QString, trenn2);
        QCOMPARE(TextZeile2Collection(zeile, trenn, trenn2, schalter & Anf, schalter & Trim,
                                      schalter & Behalt),
                 erwartet);
    }

    void helfer()
    {
        QCOMPARE(AnfuehrungszeichenEntfernen(u"\"a,b\""_s), u"a,b"_s);
        QCOMPARE(AnfuehrungszeichenEntfernen(u"\"\""_s), QString());
        for (const QString& bleibt : {u"\""_s, u"\"a"_s, u" \"a\""_s})
            QCOMPARE(AnfuehrungszeichenEntfernen(bleibt), bleibt);
        // Positions count from 1; a tab is no blank.
        const QString z = u"a  \tb  "_s;
        QCOMPARE(NaechstesNichtLeerzeichen(z, 1), 1);
        QCOMPARE(NaechstesNichtLeerzeichen(z, 2), 4);
        QCOMPARE(NaechstesNichtLeerzeichen(z, 6), 0);
    }
};

void TestTextZeile2Collection::zerlegen_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<int>("schalter");
    QTest::addColumn<QStringList>("erwartet");
    QTest::addColumn<QString>("trenn");
    QTest::addColumn<QString>("trenn2");
    const auto neu = [](const char* name, const QString& zeile, int schalter,
                        const QStringList& erwartet, const QString& trenn = u","_s,
                        const QString& trenn2 = {}) {
        QTest::newRow(name) << zeile << schalter << erwartet << trenn << trenn2;
    };

    // Lines that split the same with and without trimming.
    for (const int t : {Ohne, Trim}) {
        const auto zeile = [&](const char* name, const QString& z, int schalter,
                               const QStringList& erwartet) {
            QTest::addRow("%s%s", name, t ? " trim" : "")
                << z << (schalter | t) << erwartet << u","_s << QString();
        };
        zeile("einfach", u"a,b,c"_s, Anf, {u"a"_s, u"b"_s, u"c"_s});
        zeile("leer in der mitte", u"a,,b"_s, Anf, {u"a"_s, QString(), u"b"_s});
        zeile("trenner am ende", u"a,b,"_s, Anf, {u"a"_s, u"b"_s, QString()});
        zeile("trenner vorn", u",a"_s, Anf, {QString(), u"a"_s});
        zeile("pfad mit komma", uR"(AnwendungStarten,"C:\x,y\tv.exe")"_s, Anf,
              {u"AnwendungStarten"_s, uR"(C:\x,y\tv.exe)"_s});
        zeile("rest nach anfuehrung verworfen", uR"("ab"cd,e)"_s, Anf, {u"ab"_s, u"e"_s});
        zeile("offene anfuehrung", uR"(a,"b)"_s, Anf, {u"a"_s, uR"("b)"_s});
        zeile("anfuehrung behalten", uR"("b",c)"_s, Anf | Behalt, {uR"("b")"_s, u"c"_s});
        zeile("anfuehrung aus", uR"("a,b",c)"_s, Ohne, {uR"("a)"_s, uR"(b")"_s, u"c"_s});
        zeile("nur behalten", uR"("a,b",c)"_s, Behalt, {uR"("a)"_s, uR"(b")"_s, u"c"_s});
    }
    neu("leere zeile", QString(), Anf, {QString()});
    neu("nur leerzeichen trim", u"   "_s, Anf | Trim, {});
    neu("leerzeichen vor item", u"a, b"_s, Anf, {u"a"_s, u" b"_s});
    neu("leerzeichen vor item trim", u"a, b"_s, Anf | Trim, {u"a"_s, u"b"_s});
    neu("leerzeichen vor anfuehrung", uR"(a, "b,c")"_s, Anf, {u"a"_s, uR"( "b)"_s, uR"(c")"_s});
    neu("leerzeichen vor anfuehrung trim", uR"(a, "b,c")"_s, Anf | Trim, {u"a"_s, u"b,c"_s});
    neu("leerzeichen in anfuehrung trim", uR"(" x ",y)"_s, Anf | Trim, {u"x"_s, u"y"_s});
    neu("tab ist kein leerzeichen", u"\ta ,\tb"_s, Anf | Trim, {u"\ta"_s, u"\tb"_s});
    neu("zweiter trenner", u"a,b;c"_s, Anf, {u"a"_s, u"b"_s, u"c"_s}, u","_s, u";"_s);
    neu("zweiter trenner am ende", u"a;b;"_s, Anf, {u"a"_s, u"b"_s, QString()}, u","_s, u";"_s);
    neu("zweiter trenner nach anfuehrung", uR"("x;y";z)"_s, Anf, {u"x;y"_s, u"z"_s}, u","_s,
        u";"_s);
    neu("gleichstand geht an den ersten", u"a;,b"_s, Anf, {u"a"_s, u"b"_s}, u";,"_s, u";"_s);
    neu("mehrzeichen-trenner", u"a::b::"_s, Anf, {u"a"_s, u"b"_s, QString()}, u"::"_s);
}

QTEST_GUILESS_MAIN(TestTextZeile2Collection)
#include "tst_textzeile2collection.moc"
