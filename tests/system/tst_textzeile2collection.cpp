#include <QTest>

#include "system/TextZeile2Collection.h"
#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

class TestTextZeile2Collection : public QObject
{
    Q_OBJECT
private slots:
    void zerlegen_data() { falltabelle("system-faelle.txt", "zerlegen"); }

    void zerlegen()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, trenn);
        QFETCH(QString, trenn2);
        QFETCH(QString, schalter);
        QFETCH(QString, erwartet);
        const QStringList s = schalter.split(u' ');
        QCOMPARE(TextZeile2Collection(zeile, trenn, trenn2, s.contains(u"anf"_s),
                                      s.contains(u"trim"_s), s.contains(u"behalt"_s)),
                 erwartet == u"(keine)"_s ? QStringList() : erwartet.split(u'|'));
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

QTEST_GUILESS_MAIN(TestTextZeile2Collection)
#include "tst_textzeile2collection.moc"
