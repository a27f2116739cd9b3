#include <QTest>

#include "script/SendKeys.h"

using namespace Qt::StringLiterals;

class TestSendKeys : public QObject
{
    Q_OBJECT
private slots:
    void gueltig_data();
    void gueltig();
    void ungueltig_data();
    void ungueltig();
    void alleTastennamen();
    void modifikatorenWerdenImmerGeloest_data();
    void modifikatorenWerdenImmerGeloest();
    void ungueltigLaesstErgebnisUnveraendert();
};

void TestSendKeys::gueltig_data()
{
    QTest::addColumn<QString>("tasten");
    QTest::addColumn<QString>("erwartet");

    QTest::newRow("leer") << QString() << QString();
    QTest::newRow("buchstaben") << u"Ab1"_s << u"'A' 'b' '1'"_s;
    QTest::newRow("leerzeichen") << u"a b"_s << u"'a' ' ' 'b'"_s;
    QTest::newRow("umlaute und altgr") << u"ä@€"_s << u"'ä' '@' '€'"_s;
    QTest::newRow("tilde ist enter") << u"a~"_s << u"'a' ENTER"_s;
    QTest::newRow("umschalt nur naechste taste") << u"+ab"_s << u"Shift↓ 'a' Shift↑ 'b'"_s;
    QTest::newRow("umschalt fuer gruppe") << u"+(ab)c"_s << u"Shift↓ 'a' 'b' Shift↑ 'c'"_s;
    QTest::newRow("alt f4") << u"%{F4}"_s << u"Alt↓ F4 Alt↑"_s;
    QTest::newRow("alt r") << u"%r"_s << u"Alt↓ 'r' Alt↑"_s;
    QTest::newRow("drei modifikatoren")
        << u"+^%a"_s << u"Shift↓ Ctrl↓ Alt↓ 'a' Shift↑ Ctrl↑ Alt↑"_s;
    QTest::newRow("modifikator vor tilde") << u"^~"_s << u"Ctrl↓ ENTER Ctrl↑"_s;
    QTest::newRow("verschachtelt drei tief")
        << u"+(a^(b%(c)d)e)"_s << u"Shift↓ 'a' Ctrl↓ 'b' Alt↓ 'c' Alt↑ 'd' Ctrl↑ 'e' Shift↑"_s;
    QTest::newRow("leere gruppe") << u"()a"_s << u"'a'"_s;
    QTest::newRow("gleicher modifikator nach gruppe")
        << u"+(a)+b"_s << u"Shift↓ 'a' Shift↑ Shift↓ 'b' Shift↑"_s;
    QTest::newRow("modifikator am ende") << u"a+"_s << u"'a' Shift↓ Shift↑"_s;
    QTest::newRow("wiederholung") << u"{LEFT 42}"_s << u"LEFT×42"_s;
    QTest::newRow("wiederholung zeichen") << u"{h 10}"_s << u"'h'×10"_s;
    QTest::newRow("wiederholung null") << u"+{a 0}b"_s << u"Shift↓ Shift↑ 'b'"_s;
    QTest::newRow("wiederholung mit mehreren blanks") << u"{TAB   3}"_s << u"TAB×3"_s;
    QTest::newRow("blank ohne zahl") << u"{TAB }"_s << u"TAB"_s;
    QTest::newRow("name gross klein egal") << u"{enter}{Tab}{eSc}"_s << u"ENTER TAB ESC"_s;
    QTest::newRow("aliase") << u"{ESCAPE}{BS}{BKSP}{DEL}{INS}"_s
                            << u"ESC BACKSPACE BACKSPACE DELETE INSERT"_s;
    QTest::newRow("ziffernblock") << u"{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}"_s
                                  << u"ADD SUBTRACT MULTIPLY DIVIDE"_s;
    QTest::newRow("sonderzeichen in klammern")
        << u"{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}"_s << u"'+' '^' '%' '~' '(' ')' '{' '}' '[' ']'"_s;
    QTest::newRow("schliessende klammer wiederholt") << u"{} 3}"_s << u"'}'×3"_s;
    QTest::newRow("zeichen in klammern") << u"{a}{ä}{@}{*}{A}"_s << u"'a' 'ä' '@' '*' 'A'"_s;
    QTest::newRow("eckige klammern ohne bedeutung")
        << u"[Kanal]"_s << u"'[' 'K' 'a' 'n' 'a' 'l' ']'"_s;
    QTest::newRow("zeichen ausserhalb bmp") << u"😀{😀}"_s << u"'😀' '😀'"_s;
    QTest::newRow("modifikator vor benannter taste mit wiederholung")
        << u"+{TAB 2}"_s << u"Shift↓ TAB×2 Shift↑"_s;
    QTest::newRow("f16") << u"{f16}"_s << u"F16"_s;
}

void TestSendKeys::gueltig()
{
    QFETCH(QString, tasten);
    QFETCH(QString, erwartet);
    QList<TastenAktion> aktionen;
    QString fehler;
    QVERIFY2(SendKeysZerlegen(tasten, aktionen, &fehler), qPrintable(fehler));
    QCOMPARE(SendKeysBeschreibung(aktionen), erwartet);
}

void TestSendKeys::ungueltig_data()
{
    QTest::addColumn<QString>("tasten");

    QTest::newRow("unbekannter name") << u"{ENTR}"_s;
    QTest::newRow("f17") << u"{F17}"_s;
    QTest::newRow("leere klammer") << u"{}"_s;
    QTest::newRow("leere klammer dann text") << u"{}a"_s;
    QTest::newRow("nur blank in klammer") << u"{ }"_s;
    QTest::newRow("blank vor name") << u"{ ENTER}"_s;
    QTest::newRow("klammer offen") << u"abc{ENTER"_s;
    QTest::newRow("klammer offen am ende") << u"{"_s;
    QTest::newRow("klammer offen nach zahl") << u"{ENTER 3"_s;
    QTest::newRow("klammer offen nach blank") << u"{ENTER "_s;
    QTest::newRow("schliessende klammer allein") << u"a}"_s;
    QTest::newRow("zeichen und danach klammer") << u"{a}}"_s;
    QTest::newRow("runde klammer offen") << u"+(ab"_s;
    QTest::newRow("runde klammer zu allein") << u"ab)"_s;
    QTest::newRow("runde klammer zu zu viel") << u"(a))"_s;
    QTest::newRow("vierte ebene") << u"((((a))))"_s;
    QTest::newRow("negative wiederholung") << u"{ENTER -1}"_s;
    QTest::newRow("wiederholung mit buchstabe") << u"{ENTER 2x}"_s;
    QTest::newRow("blank nach zahl") << u"{ENTER 3 }"_s;
    QTest::newRow("zwei zahlen") << u"{a 1 2}"_s;
    QTest::newRow("wiederholung zu gross") << u"{a 99999999999}"_s;
    QTest::newRow("zu viele anschlaege") << u"{a 60000}{b 60000}"_s;
    QTest::newRow("zwei zeichen in klammer") << u"{ab}"_s;
    QTest::newRow("umschalt doppelt") << u"++a"_s;
    QTest::newRow("strg doppelt") << u"^^a"_s;
    QTest::newRow("alt doppelt mit anderem dazwischen") << u"%+%a"_s;
    QTest::newRow("umschalt in umschalt gruppe") << u"+(a+b)"_s;
    QTest::newRow("strg in tieferer gruppe") << u"^(a(^b))"_s;
    QTest::newRow("einzelnes surrogat") << QString(QChar(0xD800));
    // An error late in the text rejects everything before it as well.
    QTest::newRow("fehler am ende") << u"Hallo Welt{ENTER}{XYZ}"_s;
}

void TestSendKeys::ungueltig()
{
    QFETCH(QString, tasten);
    QList<TastenAktion> aktionen;
    QString fehler;
    QVERIFY(!SendKeysZerlegen(tasten, aktionen, &fehler));
    QVERIFY(aktionen.isEmpty());
    QVERIFY(!fehler.isEmpty());
}

void TestSendKeys::alleTastennamen()
{
    const QStringList namen{u"ENTER"_s,  u"TAB"_s,   u"ESC"_s,      u"ESCAPE"_s,     u"BACKSPACE"_s,
                            u"BS"_s,     u"BKSP"_s,  u"BREAK"_s,    u"CAPSLOCK"_s,   u"CLEAR"_s,
                            u"DELETE"_s, u"DEL"_s,   u"INSERT"_s,   u"INS"_s,        u"HOME"_s,
                            u"END"_s,    u"PGUP"_s,  u"PGDN"_s,     u"UP"_s,         u"DOWN"_s,
                            u"LEFT"_s,   u"RIGHT"_s, u"NUMLOCK"_s,  u"SCROLLLOCK"_s, u"PRTSC"_s,
                            u"HELP"_s,   u"ADD"_s,   u"SUBTRACT"_s, u"MULTIPLY"_s,   u"DIVIDE"_s};
    QStringList alle = namen;
    for (int i = 1; i <= 16; ++i)
        alle << u"F%1"_s.arg(i);
    for (const QString& name : std::as_const(alle)) {
        for (const QString& schreibweise : {name, name.toLower()}) {
            QList<TastenAktion> aktionen;
            QVERIFY2(SendKeysZerlegen(u"{"_s + schreibweise + u"}"_s, aktionen),
                     qPrintable(schreibweise));
            QCOMPARE(aktionen.size(), 1);
            QCOMPARE(aktionen.first().art, TastenAktion::Art::Taste);
        }
    }
    // Different names must not collapse onto one key, aliases aside.
    QList<TastenAktion> aktionen;
    QVERIFY(SendKeysZerlegen(u"{F1}{F10}{F16}{UP}{DOWN}{PGUP}{PGDN}"_s, aktionen));
    QCOMPARE(SendKeysBeschreibung(aktionen), u"F1 F10 F16 UP DOWN PGUP PGDN"_s);
}

void TestSendKeys::modifikatorenWerdenImmerGeloest_data()
{
    QTest::addColumn<QString>("tasten");
    QTest::newRow("einfach") << u"+a^b%c"_s;
    QTest::newRow("gruppen") << u"+(^(%(a)b)c)"_s;
    QTest::newRow("am ende") << u"+^%"_s;
    QTest::newRow("vor leerer gruppe") << u"+()"_s;
    QTest::newRow("nach gruppe offen") << u"(+)a"_s;
}

void TestSendKeys::modifikatorenWerdenImmerGeloest()
{
    QFETCH(QString, tasten);
    QList<TastenAktion> aktionen;
    QVERIFY(SendKeysZerlegen(tasten, aktionen));
    QMap<Modifikator, int> gehalten;
    for (const TastenAktion& a : std::as_const(aktionen)) {
        if (a.art == TastenAktion::Art::Druecken)
            QCOMPARE(++gehalten[a.modifikator], 1);
        else if (a.art == TastenAktion::Art::Loesen)
            QCOMPARE(--gehalten[a.modifikator], 0);
    }
    for (int n : std::as_const(gehalten))
        QCOMPARE(n, 0);
}

void TestSendKeys::ungueltigLaesstErgebnisUnveraendert()
{
    QList<TastenAktion> aktionen;
    QVERIFY(SendKeysZerlegen(u"ab"_s, aktionen));
    const auto vorher = aktionen;
    QVERIFY(!SendKeysZerlegen(u"cd{"_s, aktionen));
    QCOMPARE(aktionen, vorher);
}

QTEST_GUILESS_MAIN(TestSendKeys)
#include "tst_sendkeys.moc"
