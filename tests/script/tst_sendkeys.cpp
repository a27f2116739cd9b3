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

        QTest::newRow("zeichen") << u"Ab1 ä@€😀{😀}"_s << u"'A' 'b' '1' ' ' 'ä' '@' '€' '😀' '😀'"_s;
        QTest::newRow("tilde ist enter") << u"a~"_s << u"'a' ENTER"_s;
        QTest::newRow("umschalt nur naechste taste") << u"+ab"_s << u"Shift↓ 'a' Shift↑ 'b'"_s;
        QTest::newRow("umschalt fuer gruppe") << u"+(ab)c"_s << u"Shift↓ 'a' 'b' Shift↑ 'c'"_s;
        QTest::newRow("alt f4") << u"%{F4}"_s << u"Alt↓ F4 Alt↑"_s;
        QTest::newRow("drei modifikatoren")
            << u"+^%a"_s << u"Shift↓ Ctrl↓ Alt↓ 'a' Shift↑ Ctrl↑ Alt↑"_s;
        QTest::newRow("verschachtelt drei tief")
            << u"+(a^(b%(c)d)e)"_s << u"Shift↓ 'a' Ctrl↓ 'b' Alt↓ 'c' Alt↑ 'd' Ctrl↑ 'e' Shift↑"_s;
        QTest::newRow("leere gruppe") << u"()a"_s << u"'a'"_s;
        QTest::newRow("gleicher modifikator nach gruppe")
            << u"+(a)+b"_s << u"Shift↓ 'a' Shift↑ Shift↓ 'b' Shift↑"_s;
        QTest::newRow("modifikator am ende") << u"a+"_s << u"'a' Shift↓ Shift↑"_s;
        QTest::newRow("wiederholung") << u"{LEFT 42}{h 10}"_s << u"LEFT×42 'h'×10"_s;
        QTest::newRow("wiederholung null") << u"+{a 0}b"_s << u"Shift↓ Shift↑ 'b'"_s;
        QTest::newRow("blanks vor zahl und ohne zahl") << u"{TAB   3}{TAB }"_s << u"TAB×3 TAB"_s;
        // Every name, lower case; aliases give their key's first name.
        QTest::newRow("alle namen")
            << u"{enter}{tab}{esc}{escape}{backspace}{bs}{bksp}{break}{capslock}{clear}{delete}{"
               u"del}"
               u"{insert}{ins}{home}{end}{pgup}{pgdn}{up}{down}{left}{right}{numlock}{scrolllock}"
               u"{prtsc}{help}{add}{subtract}{multiply}{divide}{f1}{f2}{f3}{f4}{f5}{f6}{f7}{f8}{f9}"
               u"{f10}{f11}{f12}{f13}{f14}{f15}{f16}"_s
            << u"ENTER TAB ESC ESC BACKSPACE BACKSPACE BACKSPACE BREAK CAPSLOCK CLEAR DELETE "
               u"DELETE "
               u"INSERT INSERT HOME END PGUP PGDN UP DOWN LEFT RIGHT NUMLOCK SCROLLLOCK PRTSC HELP "
               u"ADD SUBTRACT MULTIPLY DIVIDE F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 F13 F14 F15 F16"_s;
        QTest::newRow("sonderzeichen in klammern")
            << u"{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}"_s << u"'+' '^' '%' '~' '(' ')' '{' '}' '[' ']'"_s;
        QTest::newRow("schliessende klammer wiederholt") << u"{} 3}"_s << u"'}'×3"_s;
        QTest::newRow("zeichen in klammern") << u"{a}{ä}{@}{*}{A}"_s << u"'a' 'ä' '@' '*' 'A'"_s;
        QTest::newRow("eckige klammern ohne bedeutung")
            << u"[Kanal]"_s << u"'[' 'K' 'a' 'n' 'a' 'l' ']'"_s;
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

        QTest::newRow("unbekannter name") << u"{ENTR}"_s;
        QTest::newRow("f17") << u"{F17}"_s;
        QTest::newRow("leere klammer dann text") << u"{}a"_s;
        QTest::newRow("blank vor name") << u"{ ENTER}"_s;
        QTest::newRow("klammer offen") << u"abc{ENTER"_s;
        QTest::newRow("schliessende klammer allein") << u"a}"_s;
        QTest::newRow("runde klammer offen") << u"+(ab"_s;
        QTest::newRow("runde klammer zu zu viel") << u"(a))"_s;
        QTest::newRow("vierte ebene") << u"((((a))))"_s;
        QTest::newRow("negative wiederholung") << u"{ENTER -1}"_s;
        QTest::newRow("blank nach zahl") << u"{ENTER 3 }"_s;
        QTest::newRow("wiederholung zu gross") << u"{a 99999999999}"_s;
        QTest::newRow("zu viele anschlaege") << u"{a 60000}{b 60000}"_s;
        QTest::newRow("zwei zeichen in klammer") << u"{ab}"_s;
        QTest::newRow("modifikator doppelt") << u"++a"_s;
        QTest::newRow("alt doppelt mit anderem dazwischen") << u"%+%a"_s;
        QTest::newRow("strg in tieferer gruppe") << u"^(a(^b))"_s;
        QTest::newRow("einzelnes surrogat") << QString(QChar(0xD800));
        // An error late in the text rejects everything before it as well.
        QTest::newRow("fehler am ende") << u"Hallo Welt{ENTER}{XYZ}"_s;
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
