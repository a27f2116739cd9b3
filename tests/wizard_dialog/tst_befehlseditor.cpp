// The command-step editor: the table going in and coming back after the
// user's changes, and every row within reach below a long caption.

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>

#include "Seitenhelfer.h"

using namespace Qt::StringLiterals;

namespace {
/// Whether row k is seen whole in the part of the page that shows the rows.
bool zeileSichtbar(const frmWizard& d, int k)
{
    const QWidget* seite = element(d, u"ShapeComboTextEingeben"_s);
    auto aufSeite = [seite](const QWidget* w) {
        return QRect(w->mapTo(seite, QPoint()), w->size());
    };
    const QRect sichtbar =
        aufSeite(element<QScrollArea>(d, u"ShapeComboTextZeilenbereich"_s)->viewport()) &
        seite->rect();
    return sichtbar.contains(aufSeite(element(d, u"ShapeComboTextComboFrame"_s, k))) &&
           sichtbar.contains(aufSeite(element(d, u"ShapeComboTextText"_s, k)));
}
} // namespace

class TestBefehlseditor : public QObject
{
    Q_OBJECT
private slots:
    void rundreise_data();
    void rundreise();
    void erreichbar_data();
    void erreichbar();

private:
    frmWizard m_dialog;
};

// The table's rows (see zeigen), the command list unless the wizard's; with
// "bearbeitet" the user chooses the fifth command in row 2 with the keyboard
// and types into the parameter fields of rows 2 and 3. The rows returned,
// the rest empty.
void TestBefehlseditor::rundreise_data()
{
    QTest::addColumn<QString>("ein");
    QTest::addColumn<QString>("liste");
    QTest::addColumn<bool>("bearbeitet");
    QTest::addColumn<QString>("aus");

    QTest::newRow("schreibweise und leerzeichen")
        << u"  tastensenden  ,  [Kanal] "_s << QString() << false << u"TastenSenden,[Kanal]"_s;
    QTest::newRow("unbekannter befehl, zellen ohne wert")
        << u"Schlafen,5|-,-|Beep,-|-,x"_s << QString() << false << u",5|,|Beep,|,x"_s;
    QTest::newRow("zeilen ueber zwoelf bleiben")
        << u"-,-|"_s.repeated(12) + u"Beep,x"_s << QString() << false
        << u",|"_s.repeated(12) + u"Beep,x"_s;
    QTest::newRow("liste mit anfuehrungszeichen; doppelt: der letzte")
        << u"warten,2|BEEP,"_s << u" , \"Warten\" ,Beep,beep"_s << false << u"Warten,2|beep,"_s;
    QTest::newRow("bearbeitet") << u"FensterAktivieren,WinTV|Beep,x"_s << QString() << true
                                << u"FensterAktivieren,WinTV|TastenSenden,[Alt][F4]|, 3 "_s;
}

void TestBefehlseditor::rundreise()
{
    QFETCH(QString, ein);
    QFETCH(QString, liste);
    QFETCH(bool, bearbeitet);
    QFETCH(QString, aus);

    bool leerGewaehlt = false;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        // An empty command chooses the empty first name.
        leerGewaehlt =
            element<QComboBox>(m_dialog, u"ShapeComboTextCombo12"_s)->currentIndex() == 0;
        if (bearbeitet) {
            auto* combo = element<QComboBox>(m_dialog, u"ShapeComboTextCombo2"_s);
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_Home);
            for (int i = 0; i < 4; ++i)
                QTest::keyClick(combo, Qt::Key_Down);
            for (const auto& [k, text] : {std::pair{2, u"[Alt][F4]"_s}, {3, u" 3 "_s}}) {
                auto* feld = element<QLineEdit>(m_dialog, u"ShapeComboTextText"_s, k);
                klicken(feld);
                feld->selectAll();
                QTest::keyClicks(feld, text);
            }
        }
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const QString ergebnis = zeigen(m_dialog, u"befehle", u"Befehle"_s, ein, liste);
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY(m_dialog.blnBenutzerWeiterGedrückt && leerGewaehlt);
    QStringList erwartet = aus.split(u'|');
    while (erwartet.size() < 12)
        erwartet << u","_s;
    QCOMPARE(ergebnis, erwartet.join(u'|'));
}

// Tab reaches every row, and the row with the focus is seen whole, also where
// a long caption leaves too little room and the rows scroll; what is typed
// in the last row comes back.
void TestBefehlseditor::erreichbar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("rollt");
    QTest::newRow("kurze beschriftung") << u"Befehle"_s << false;
    QTest::newRow("lange beschriftung") << u"Eine lange Beschriftung. "_s.repeated(40) << true;
}

void TestBefehlseditor::erreichbar()
{
    QFETCH(QString, text);
    QFETCH(bool, rollt);

    QStringList fehler;
    bool zeile12Verdeckt = false;
    auto pruefe = [&](int k, bool befehl) {
        const QWidget* soll =
            element(m_dialog, befehl ? u"ShapeComboTextCombo"_s : u"ShapeComboTextText"_s, k);
        if (m_dialog.focusWidget() != soll || !zeileSichtbar(m_dialog, k))
            fehler << soll->objectName();
    };
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        zeile12Verdeckt = !zeileSichtbar(m_dialog, 12);
        pruefe(1, false);
        // Down to the last parameter field (command 2, parameter 2, ...), and
        // one step back.
        for (int i = 0; i < 22; ++i) {
            QTest::keyClick(m_dialog.focusWidget(), Qt::Key_Tab);
            pruefe(2 + i / 2, i % 2 == 0);
        }
        QTest::keyClicks(m_dialog.focusWidget(), u"zwoelf"_s);
        QTest::keyClick(m_dialog.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        pruefe(12, true);
        // The first row comes back into view when it gets the focus.
        element(m_dialog, u"ShapeComboTextText1"_s)->setFocus();
        pruefe(1, false);
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const QString ergebnis = zeigen(m_dialog, u"befehle", text, u"Warten,3"_s);
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u", "_s)));
    QCOMPARE(zeile12Verdeckt, rollt);
    QCOMPARE(ergebnis, u"Warten,3"_s + u"|,"_s.repeated(10) + u"|,zwoelf"_s);
}

QTEST_MAIN(TestBefehlseditor)
#include "tst_befehlseditor.moc"
