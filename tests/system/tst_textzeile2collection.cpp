#include <QTest>

#include "system/TextZeile2Collection.h"

using namespace Qt::StringLiterals;

class TestTextZeile2Collection : public QObject
{
    Q_OBJECT
private slots:
    void zerlegen_data();
    void zerlegen();
    void anfuehrungszeichenEntfernen_data();
    void anfuehrungszeichenEntfernen();
    void naechstesNichtLeerzeichen_data();
    void naechstesNichtLeerzeichen();
};

void TestTextZeile2Collection::zerlegen_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QString>("trenn");
    QTest::addColumn<QString>("trenn2");
    QTest::addColumn<bool>("anfuehrung");
    QTest::addColumn<bool>("trimmen");
    QTest::addColumn<bool>("behalten");
    QTest::addColumn<QStringList>("erwartet");

    const QString k = u","_s;
    for (bool trim : {false, true}) {
        const QByteArray t = trim ? " trim" : " ohne trim";
        QTest::newRow((QByteArray("a,b,c") + t).constData())
            << u"a,b,c"_s << k << QString() << true << trim << false
            << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow((QByteArray("a,,b") + t).constData())
            << u"a,,b"_s << k << QString() << true << trim << false
            << QStringList{u"a"_s, QString(), u"b"_s};
        QTest::newRow((QByteArray("a,b,") + t).constData())
            << u"a,b,"_s << k << QString() << true << trim << false
            << QStringList{u"a"_s, u"b"_s, QString()};
        QTest::newRow((QByteArray(",a") + t).constData())
            << u",a"_s << k << QString() << true << trim << false << QStringList{QString(), u"a"_s};
        QTest::newRow((QByteArray("pfad mit komma") + t).constData())
            << uR"(AnwendungStarten,"C:\x,y\tv.exe")"_s << k << QString() << true << trim << false
            << QStringList{u"AnwendungStarten"_s, uR"(C:\x,y\tv.exe)"_s};
        QTest::newRow((QByteArray("rest nach anfuehrung verworfen") + t).constData())
            << uR"("ab"cd,e)"_s << k << QString() << true << trim << false
            << QStringList{u"ab"_s, u"e"_s};
        QTest::newRow((QByteArray("offene anfuehrung") + t).constData())
            << uR"(a,"b)"_s << k << QString() << true << trim << false
            << QStringList{u"a"_s, uR"("b)"_s};
        QTest::newRow((QByteArray("anfuehrung behalten") + t).constData())
            << uR"("b",c)"_s << k << QString() << true << trim << true
            << QStringList{uR"("b")"_s, u"c"_s};
        QTest::newRow((QByteArray("nur komma") + t).constData())
            << u","_s << k << QString() << true << trim << false
            << QStringList{QString(), QString()};
    }
    QTest::newRow("leer ohne trim")
        << QString() << k << QString() << true << false << false << QStringList{QString()};
    QTest::newRow("leer mit trim")
        << QString() << k << QString() << true << true << false << QStringList{};
    QTest::newRow("nur leerzeichen mit trim")
        << u"   "_s << k << QString() << true << true << false << QStringList{};
    QTest::newRow("nur leerzeichen ohne trim")
        << u"   "_s << k << QString() << true << false << false << QStringList{u"   "_s};
    QTest::newRow("a, b ohne trim")
        << u"a, b"_s << k << QString() << true << false << false << QStringList{u"a"_s, u" b"_s};
    QTest::newRow("a, b mit trim")
        << u"a, b"_s << k << QString() << true << true << false << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("quote nach leerzeichen ohne trim")
        << uR"(a, "b,c")"_s << k << QString() << true << false << false
        << QStringList{u"a"_s, uR"( "b)"_s, uR"(c")"_s};
    QTest::newRow("quote nach leerzeichen mit trim")
        << uR"(a, "b,c")"_s << k << QString() << true << true << false
        << QStringList{u"a"_s, u"b,c"_s};
    QTest::newRow("leerzeichen in quotes mit trim") << uR"(" x ",y)"_s << k << QString() << true
                                                    << true << false << QStringList{u"x"_s, u"y"_s};
    QTest::newRow("leerzeichen in quotes ohne trim")
        << uR"(" x ",y)"_s << k << QString() << true << false << false
        << QStringList{u" x "_s, u"y"_s};
    QTest::newRow("tab ist kein leerzeichen") << u"\ta ,\tb"_s << k << QString() << true << true
                                              << false << QStringList{u"\ta"_s, u"\tb"_s};
    QTest::newRow("quotes aus") << uR"("a,b",c)"_s << k << QString() << false << false << false
                                << QStringList{uR"("a)"_s, uR"(b")"_s, u"c"_s};
    QTest::newRow("verdoppelte quotes bleiben") << uR"("a""b",c)"_s << k << QString() << true
                                                << false << false << QStringList{u"a"_s, u"c"_s};
    QTest::newRow("zweites trennzeichen") << u"a,b;c"_s << k << u";"_s << true << false << false
                                          << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("zweites trennzeichen am ende")
        << u"a;b;"_s << k << u";"_s << true << false << false
        << QStringList{u"a"_s, u"b"_s, QString()};
    QTest::newRow("mehrzeichen-trenner") << u"a::b::"_s << u"::"_s << QString() << true << false
                                         << false << QStringList{u"a"_s, u"b"_s, QString()};
    QTest::newRow("gleichstand geht an erstes")
        << u"a;,b"_s << u";,"_s << u";"_s << true << false << false << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("befehlsliste des editors")
        << u",AnwendungStarten,FensterAktivieren,Warten,TastenSenden,Terminieren,Beep"_s << k
        << QString() << true << true << false
        << QStringList{QString(),   u"AnwendungStarten"_s, u"FensterAktivieren"_s,
                       u"Warten"_s, u"TastenSenden"_s,     u"Terminieren"_s,
                       u"Beep"_s};
}

void TestTextZeile2Collection::zerlegen()
{
    QFETCH(QString, zeile);
    QFETCH(QString, trenn);
    QFETCH(QString, trenn2);
    QFETCH(bool, anfuehrung);
    QFETCH(bool, trimmen);
    QFETCH(bool, behalten);
    QFETCH(QStringList, erwartet);
    QCOMPARE(TextZeile2Collection(zeile, trenn, trenn2, anfuehrung, trimmen, behalten), erwartet);
}

void TestTextZeile2Collection::anfuehrungszeichenEntfernen_data()
{
    QTest::addColumn<QString>("eintrag");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("umschlossen") << uR"("abc")"_s << u"abc"_s;
    QTest::newRow("leer umschlossen") << uR"("")"_s << QString();
    QTest::newRow("einzelnes") << uR"(")"_s << uR"(")"_s;
    QTest::newRow("nur vorn") << uR"("abc)"_s << uR"("abc)"_s;
    QTest::newRow("nur hinten") << uR"(abc")"_s << uR"(abc")"_s;
    QTest::newRow("innen") << uR"(a"b"c)"_s << uR"(a"b"c)"_s;
    QTest::newRow("leer") << QString() << QString();
}

void TestTextZeile2Collection::anfuehrungszeichenEntfernen()
{
    QFETCH(QString, eintrag);
    QFETCH(QString, erwartet);
    QCOMPARE(AnfuehrungszeichenEntfernen(eintrag), erwartet);
}

void TestTextZeile2Collection::naechstesNichtLeerzeichen_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("erwartet");
    QTest::newRow("sofort") << u"abc"_s << 1 << 1;
    QTest::newRow("nach leerzeichen") << u"  abc"_s << 1 << 3;
    QTest::newRow("ab mitte") << u"a  b"_s << 2 << 4;
    QTest::newRow("nur leerzeichen") << u"   "_s << 1 << 0;
    QTest::newRow("hinter dem ende") << u"abc"_s << 4 << 0;
    QTest::newRow("leere zeile") << QString() << 1 << 0;
    QTest::newRow("tab zaehlt") << u" \tx"_s << 1 << 2;
}

void TestTextZeile2Collection::naechstesNichtLeerzeichen()
{
    QFETCH(QString, zeile);
    QFETCH(int, start);
    QFETCH(int, erwartet);
    QCOMPARE(NaechstesNichtLeerzeichen(zeile, start), erwartet);
}

QTEST_GUILESS_MAIN(TestTextZeile2Collection)
#include "tst_textzeile2collection.moc"
