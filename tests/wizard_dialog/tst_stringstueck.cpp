// StringStück: cutting the pieces off a multi-line page parameter.

#include <QTest>

#include "wizard_dialog/StringStueck.h"

using namespace Qt::StringLiterals;

class TestStringStueck : public QObject
{
    Q_OBJECT
private slots:
    void einSchnitt_data();
    void einSchnitt();
    void bisZumEnde_data();
    void bisZumEnde();
};

void TestStringStueck::einSchnitt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<bool>("lfWeg");
    QTest::addColumn<QString>("stueck");
    QTest::addColumn<QString>("rest");

    QTest::newRow("leer") << QString() << u"\r"_s << true << QString() << QString();
    QTest::newRow("ohne trenner") << u"abc"_s << u";"_s << true << u"abc"_s << QString();
    QTest::newRow("trenner am anfang") << u";abc"_s << u";"_s << false << QString() << u"abc"_s;
    QTest::newRow("trenner am ende") << u"abc;"_s << u";"_s << false << u"abc"_s << QString();
    QTest::newRow("cr lf, lf bleibt im rest")
        << u"ja\r\nnein"_s << u"\r"_s << true << u"ja"_s << u"\nnein"_s;
    QTest::newRow("lf am anfang faellt weg")
        << u"\nnein"_s << u"\r"_s << true << u"nein"_s << QString();
    QTest::newRow("lf bleibt ohne schalter")
        << u"\nnein"_s << u"\r"_s << false << u"\nnein"_s << QString();
    QTest::newRow("nur ein lf faellt weg")
        << u"\n\nx\ry"_s << u"\r"_s << true << u"\nx"_s << u"y"_s;
    QTest::newRow("einzelnes lf wird leer") << u"\n"_s << u"\r"_s << true << QString() << QString();
    QTest::newRow("lf in der mitte bleibt")
        << u"a\nb\rc"_s << u"\r"_s << true << u"a\nb"_s << u"c"_s;
    QTest::newRow("gross und klein zaehlen") << u"aXbxc"_s << u"x"_s << false << u"aXb"_s << u"c"_s;
    QTest::newRow("trenner aus zwei zeichen")
        << u"ab--cd--"_s << u"--"_s << false << u"ab"_s << u"cd--"_s;
    QTest::newRow("erster von zwei trennern") << u"a;;b"_s << u";"_s << false << u"a"_s << u";b"_s;
}

void TestStringStueck::einSchnitt()
{
    QFETCH(QString, text);
    QFETCH(QString, trenner);
    QFETCH(bool, lfWeg);
    QFETCH(QString, stueck);
    QFETCH(QString, rest);

    QString ganz = text;
    QCOMPARE(StringStück(ganz, trenner, lfWeg), stueck);
    QCOMPARE(ganz, rest);
}

// Cutting with CR (line feeds dropped) until the rest is empty.
void TestStringStueck::bisZumEnde_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("stuecke");

    QTest::newRow("ja nein") << u"ja\r\nnein"_s << QStringList{u"ja"_s, u"nein"_s};
    QTest::newRow("cr lf am ende gibt ein leeres stueck")
        << u"a\r\nb\r\n"_s << QStringList{u"a"_s, u"b"_s, QString()};
    QTest::newRow("leere zeile") << u"a\r\n\r\nb"_s << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("nur cr") << u"a\rb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("leer") << QString() << QStringList{};
}

void TestStringStueck::bisZumEnde()
{
    QFETCH(QString, text);
    QFETCH(QStringList, stuecke);

    QStringList ist;
    for (int schutz = 0; !text.isEmpty() && schutz < 100; ++schutz)
        ist << StringStück(text, u"\r"_s, true);
    QCOMPARE(ist, stuecke);
    // Once the rest is empty, every further piece is empty too.
    QCOMPARE(StringStück(text, u"\r"_s, true), QString());
}

QTEST_MAIN(TestStringStueck)
#include "tst_stringstueck.moc"
