#include <QTest>

#include "script/SendKeys.h"

using namespace Qt::StringLiterals;

class TestSendKeys : public QObject
{
    Q_OBJECT
private slots:
    void gueltig_data()
    {
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<QString>("erwartet");
        const auto zeile = [](const QString& t, const QString& e) {
            QTest::newRow(qPrintable(t)) << t << e;
        };
        zeile(u"Ab1 ä@€😀{😀}"_s, u"'A' 'b' '1' ' ' 'ä' '@' '€' '😀' '😀'"_s);
        zeile(u"a~"_s, u"'a' ENTER"_s);
        zeile(u"+ab"_s, u"Shift↓ 'a' Shift↑ 'b'"_s);
        zeile(u"+(ab)c"_s, u"Shift↓ 'a' 'b' Shift↑ 'c'"_s);
        zeile(u"+^%a"_s, u"Shift↓ Ctrl↓ Alt↓ 'a' Shift↑ Ctrl↑ Alt↑"_s);
        zeile(u"+(a^(b%(c)d)e)"_s, u"Shift↓ 'a' Ctrl↓ 'b' Alt↓ 'c' Alt↑ 'd' Ctrl↑ 'e' Shift↑"_s);
        zeile(u"()a"_s, u"'a'"_s);
        zeile(u"+(a)+b"_s, u"Shift↓ 'a' Shift↑ Shift↓ 'b' Shift↑"_s);
        zeile(u"a+"_s, u"'a' Shift↓ Shift↑"_s);
        zeile(u"{LEFT 42}{h 10}+{a 0}b"_s, u"LEFT×42 'h'×10 Shift↓ Shift↑ 'b'"_s);
        zeile(u"{TAB   3}{TAB }{} 3}"_s, u"TAB×3 TAB '}'×3"_s);
        // Names ignore case; aliases give their key's first name.
        zeile(u"{Enter}{esc}{ESCAPE}{bs}{bksp}{del}{ins}{PgDn}{prtsc}{divide}{f1}{F16}"_s,
              u"ENTER ESC ESC BACKSPACE BACKSPACE DELETE INSERT PGDN PRTSC DIVIDE F1 F16"_s);
        zeile(u"{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}{ä}{A}"_s,
              u"'+' '^' '%' '~' '(' ')' '{' '}' '[' ']' 'ä' 'A'"_s);
        zeile(u"[Kanal]"_s, u"'[' 'K' 'a' 'n' 'a' 'l' ']'"_s);
    }

    void gueltig()
    {
        QFETCH(QString, tasten);
        QFETCH(QString, erwartet);
        QList<TastenAktion> aktionen;
        QString fehler;
        QVERIFY2(SendKeysZerlegen(tasten, aktionen, &fehler), qPrintable(fehler));
        QCOMPARE(SendKeysBeschreibung(aktionen), erwartet);
    }

    void ungueltig_data()
    {
        QTest::addColumn<QString>("tasten");
        // An error late in the text rejects everything before it as well.
        for (const QString& t :
             {u"{ENTR}"_s, u"{F17}"_s, u"{}a"_s, u"{ ENTER}"_s, u"abc{ENTER"_s, u"a}"_s, u"+(ab"_s,
              u"(a))"_s, u"((((a))))"_s, u"{ENTER -1}"_s, u"{ENTER 3 }"_s, u"{a 99999999999}"_s,
              u"{a 60000}{b 60000}"_s, u"{ab}"_s, u"++a"_s, u"%+%a"_s, u"^(a(^b))"_s,
              QString(QChar(0xD800)), u"Hallo Welt{ENTER}{XYZ}"_s})
            QTest::newRow(qPrintable(t)) << t;
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
