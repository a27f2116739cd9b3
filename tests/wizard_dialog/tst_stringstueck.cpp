// StringStück: cutting the pieces off a multi-line page parameter.

#include <QTest>

#include "wizard_dialog/StringStueck.h"

using namespace Qt::StringLiterals;

class TestStringStueck : public QObject
{
    Q_OBJECT
private slots:
    void stuecke_data();
    void stuecke();
};

// Text, separator, whether a leading line feed is dropped; the pieces cut
// until the rest is empty.
void TestStringStueck::stuecke_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<bool>("lfWeg");
    QTest::addColumn<QStringList>("stuecke");

    const QString cr = u"\r"_s;
    QTest::newRow("leer") << QString() << cr << true << QStringList{};
    QTest::newRow("ohne trenner") << u"abc"_s << u";"_s << true << QStringList{u"abc"_s};
    QTest::newRow("trenner am anfang und doppelt")
        << u";a;;b;"_s << u";"_s << false << QStringList{QString(), u"a"_s, QString(), u"b"_s};
    QTest::newRow("cr lf") << u"ja\r\nnein"_s << cr << true << QStringList{u"ja"_s, u"nein"_s};
    QTest::newRow("lf bleibt ohne schalter")
        << u"ja\r\nnein"_s << cr << false << QStringList{u"ja"_s, u"\nnein"_s};
    QTest::newRow("cr lf am ende gibt ein leeres stueck")
        << u"a\r\nb\r\n"_s << cr << true << QStringList{u"a"_s, u"b"_s, QString()};
    QTest::newRow("nur ein lf vorne faellt weg")
        << u"\n\nx\ry\nz"_s << cr << true << QStringList{u"\nx"_s, u"y\nz"_s};
    QTest::newRow("gross und klein zaehlen")
        << u"aXbxc"_s << u"x"_s << false << QStringList{u"aXb"_s, u"c"_s};
    QTest::newRow("trenner aus zwei zeichen")
        << u"ab--cd--"_s << u"--"_s << false << QStringList{u"ab"_s, u"cd"_s};
}

void TestStringStueck::stuecke()
{
    QFETCH(QString, text);
    QFETCH(QString, trenner);
    QFETCH(bool, lfWeg);
    QFETCH(QStringList, stuecke);

    QStringList ist;
    for (int schutz = 0; !text.isEmpty() && schutz < 100; ++schutz)
        ist << StringStück(text, trenner, lfWeg);
    QCOMPARE(ist, stuecke);
    // Once the rest is empty, it stays empty and every piece is empty.
    QCOMPARE(StringStück(text, trenner, lfWeg), QString());
    QVERIFY(text.isEmpty());
}

QTEST_MAIN(TestStringStueck)
#include "tst_stringstueck.moc"
