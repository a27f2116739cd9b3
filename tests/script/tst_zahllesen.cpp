#include <QTest>

#include "script/ZahlLesen.h"

using namespace Qt::StringLiterals;

class TestZahlLesen : public QObject
{
    Q_OBJECT
private slots:
    void zahl_data();
    void zahl();
    void takte_data();
    void takte();
};

void TestZahlLesen::zahl_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("erwartet");
    QTest::newRow("ganz") << u"3"_s << 3.0;
    QTest::newRow("dezimalpunkt") << u"2.5"_s << 2.5;
    QTest::newRow("nur nachkomma") << u".5"_s << 0.5;
    QTest::newRow("punkt allein") << u"."_s << 0.0;
    QTest::newRow("zweiter punkt beendet") << u"1.2.3"_s << 1.2;
    QTest::newRow("komma beendet") << u"2,5"_s << 2.0;
    QTest::newRow("leer") << QString() << 0.0;
    QTest::newRow("buchstabe zuerst") << u"x1"_s << 0.0;
    QTest::newRow("minus") << u"-2.5"_s << -2.5;
    QTest::newRow("plus") << u"+4"_s << 4.0;
    QTest::newRow("zwei vorzeichen") << u"--4"_s << 0.0;
    QTest::newRow("blanks tabs zeilenvorschub") << u" 1 2\t3\n4"_s << 1234.0;
    QTest::newRow("wagenruecklauf beendet") << u"1\r2"_s << 1.0;
    QTest::newRow("exponent") << u"1.5E2"_s << 150.0;
    QTest::newRow("exponent klein d") << u"2d1"_s << 20.0;
    QTest::newRow("exponent negativ") << u"25e-1"_s << 2.5;
    QTest::newRow("exponent ohne ziffern") << u"3e"_s << 3.0;
    QTest::newRow("exponent nur vorzeichen") << u"3e+x"_s << 3.0;
    QTest::newRow("hex") << u"&H10"_s << 16.0;
    QTest::newRow("hex klein mit rest") << u"&hfFz"_s << 255.0;
    QTest::newRow("hex 16 bit negativ") << u"&HFFFF"_s << -1.0;
    QTest::newRow("hex 8000") << u"&H8000"_s << -32768.0;
    QTest::newRow("hex 32 bit") << u"&H10000"_s << 65536.0;
    QTest::newRow("hex 32 bit negativ") << u"&HFFFFFFFF"_s << -1.0;
    QTest::newRow("hex ohne ziffern") << u"&H"_s << 0.0;
    QTest::newRow("oktal") << u"&O17"_s << 15.0;
    QTest::newRow("oktal 8 beendet") << u"&O18"_s << 1.0;
    QTest::newRow("kaufmanns-und allein") << u"&12"_s << 0.0;
    QTest::newRow("unterlauf") << u"1e-400"_s << 0.0;
    QTest::newRow("umlaut beendet") << u"7ä8"_s << 7.0;
}

void TestZahlLesen::zahl()
{
    QFETCH(QString, text);
    QFETCH(double, erwartet);
    const std::optional<double> wert = ZahlLesen(text);
    QVERIFY(wert.has_value());
    QCOMPARE(*wert, erwartet);
}

void TestZahlLesen::takte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("takte");
    QTest::addColumn<bool>("ueberlauf");
    QTest::newRow("2.5") << u"2.5"_s << 25 << false;
    QTest::newRow("0.25 zur geraden") << u"0.25"_s << 2 << false;
    QTest::newRow("0.15 zur geraden") << u"0.15"_s << 2 << false;
    QTest::newRow("0.05 zur geraden") << u"0.05"_s << 0 << false;
    QTest::newRow("0.26") << u"0.26"_s << 3 << false;
    QTest::newRow("negativ") << u"-1.25"_s << -12 << false;
    QTest::newRow("grenze") << u"214748364.7"_s << 2147483647 << false;
    QTest::newRow("ueber grenze") << u"214748364.8"_s << 0 << true;
    QTest::newRow("riesig") << u"1e400"_s << 0 << true;
    QTest::newRow("viele ziffern") << QString(400, u'9') << 0 << true;
    QTest::newRow("hex zu lang") << u"&H100000000"_s << 0 << true;
}

void TestZahlLesen::takte()
{
    QFETCH(QString, text);
    QFETCH(int, takte);
    QFETCH(bool, ueberlauf);
    const std::optional<qint32> wert = WartetakteLesen(text);
    QCOMPARE(!wert.has_value(), ueberlauf);
    if (wert)
        QCOMPARE(*wert, takte);
}

QTEST_GUILESS_MAIN(TestZahlLesen)
#include "tst_zahllesen.moc"
