#include <QTest>

#include "script/SendKeys.h"
#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

class TestSendKeys : public QObject
{
    Q_OBJECT
private slots:
    void gueltig_data() { falltabelle("script-faelle.txt", "sendkeys"); }
    void gueltig()
    {
        QFETCH(QString, tasten);
        QFETCH(QString, erwartet);
        QList<TastenAktion> aktionen;
        QString fehler;
        QVERIFY2(SendKeysZerlegen(tasten, aktionen, &fehler), qPrintable(fehler));
        QCOMPARE(SendKeysBeschreibung(aktionen), erwartet);
    }

    // A modifier holds for the next key or group only.
    void bereich_data() { falltabelle("tasten-faelle.txt", "bereich"); }
    void bereich()
    {
        QFETCH(QString, tasten);
        QFETCH(QString, aktionen);
        QList<TastenAktion> ist;
        QVERIFY(SendKeysZerlegen(tasten, ist));
        QCOMPARE(SendKeysBeschreibung(ist), aktionen);
    }

    void ungueltig_data()
    {
        falltabelle("script-faelle.txt", "sendkeys-ungueltig");
        QTest::newRow("einzelnes surrogat") << QString(QChar(0xD800));
    }
    void ungueltig()
    {
        QFETCH(QString, tasten);
        QList<TastenAktion> aktionen;
        QVERIFY(SendKeysZerlegen(u"x"_s, aktionen));
        const QList<TastenAktion> vorher = aktionen;
        QString fehler;
        QVERIFY(!SendKeysZerlegen(tasten, aktionen, &fehler));
        QCOMPARE(aktionen, vorher); // the result of an invalid text is left alone
        QVERIFY(!fehler.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSendKeys)
#include "tst_sendkeys.moc"
