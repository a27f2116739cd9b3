// The command-step editor: the table going in and coming back after the
// user's changes, and every row within reach below a long caption.

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>

#include "Seitenhelfer.h"

using namespace Qt::StringLiterals;

namespace {
/// Rows as "command|parameter", separated by ";"; "-" is a cell without value.
ComboTextTabelle tabelle(const QString& zeilen)
{
    ComboTextTabelle t(12);
    const QStringList z = zeilen.split(u';');
    for (int k = 1; k <= z.size(); ++k) {
        for (int s = 1; s <= 2; ++s) {
            if (const QString zelle = z.at(k - 1).section(u'|', s - 1, s - 1); zelle != u"-")
                t.setzen(k, s, zelle);
        }
    }
    return t;
}

QStringList zeilen(const ComboTextTabelle& t)
{
    QStringList ergebnis;
    for (int k = 1; k <= t.zeilen(); ++k)
        ergebnis << t.text(k, 1) + u'|' + t.text(k, 2);
    return ergebnis;
}

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

/// The command list and the table; the user's actions as "row:c=index"
/// (choose the command at that index with the keyboard) or "row:t=text"
/// (type into the parameter field), separated by ";"; the rows returned,
/// the rest empty.
struct Rundreise
{
    const char* name;
    QStringView liste, ein, aktionen, aus;
};
Q_DECLARE_METATYPE(Rundreise)

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

void TestBefehlseditor::rundreise_data()
{
    QTest::addColumn<Rundreise>("r");
    // Views into these must outlive this function.
    static const QString ueber12 = u"-|-;"_s.repeated(12) + u"Beep|x"_s,
                         zurueck = u"|;"_s.repeated(12) + u"Beep|x"_s;
    const QStringView b = Befehlsliste;
    // clang-format off
    const Rundreise faelle[] = {
        {"schreibweise und leerzeichen", b, u"  tastensenden  |  [Kanal] ", u"",
         u"TastenSenden|[Kanal]"},
        {"unbekannter befehl, zellen ohne wert", b, u"Schlafen|5;-|-;Beep|-;-|x", u"",
         u"|5;|;Beep|;|x"},
        {"zeilen ueber zwoelf bleiben", b, ueber12, u"", zurueck},
        {"liste mit anfuehrungszeichen; doppelt: der letzte", u" , \"Warten\" ,Beep,beep",
         u"warten|2;BEEP|", u"", u"Warten|2;beep|"},
        {"befehl gewaehlt, parameter getippt", b, u"FensterAktivieren|WinTV;Beep|x",
         u"2:c=4;2:t=[Alt][F4];3:t= 3 ", u"FensterAktivieren|WinTV;TastenSenden|[Alt][F4];| 3 "},
    };
    // clang-format on
    for (const Rundreise& r : faelle)
        QTest::newRow(r.name) << r;
}

void TestBefehlseditor::rundreise()
{
    QFETCH(Rundreise, r);
    const ComboTextTabelle eingabe = tabelle(r.ein.toString()), vorher = eingabe;
    bool leerGewaehlt = false;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        // An empty command chooses the empty first name.
        leerGewaehlt =
            element<QComboBox>(m_dialog, u"ShapeComboTextCombo12"_s)->currentIndex() == 0;
        for (const QString& a : r.aktionen.toString().split(u';', Qt::SkipEmptyParts)) {
            const int k = a.section(u':', 0, 0).toInt();
            const QString wert = a.section(u'=', 1);
            if (a.contains(u":c=")) {
                auto* combo = element<QComboBox>(m_dialog, u"ShapeComboTextCombo"_s, k);
                combo->setFocus();
                QTest::keyClick(combo, Qt::Key_Home);
                for (int i = 0; i < wert.toInt(); ++i)
                    QTest::keyClick(combo, Qt::Key_Down);
            } else {
                auto* feld = element<QLineEdit>(m_dialog, u"ShapeComboTextText"_s, k);
                klicken(feld);
                feld->selectAll();
                QTest::keyClicks(feld, wert);
            }
        }
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const ComboTextTabelle ergebnis = m_dialog.ShowShapeComboTextEingeben(
        1, 1, 1, 0, u"T"_s, u"Befehle"_s, r.liste.toString(), eingabe);
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY(m_dialog.blnBenutzerWeiterGedrückt);
    QVERIFY(leerGewaehlt);
    QStringList erwartet = r.aus.toString().split(u';');
    while (erwartet.size() < 12)
        erwartet << u"|"_s;
    QCOMPARE(zeilen(ergebnis), erwartet);
    QCOMPARE(eingabe, vorher);
}

// Tab and Shift+Tab reach every row, and the row with the focus is seen
// whole, also where a long caption leaves too little room and the rows
// scroll; what is typed in the last row comes back.
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
        // back up to the first.
        for (int i = 0; i < 22; ++i) {
            QTest::keyClick(m_dialog.focusWidget(), Qt::Key_Tab);
            pruefe(2 + i / 2, i % 2 == 0);
        }
        QTest::keyClicks(m_dialog.focusWidget(), u"zwoelf"_s);
        for (int i = 0; i < 22; ++i) {
            QTest::keyClick(m_dialog.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            pruefe(12 - (i + 1) / 2, i % 2 == 0);
        }
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const ComboTextTabelle ergebnis = m_dialog.ShowShapeComboTextEingeben(
        1, 1, 1, 0, u"T"_s, text, Befehlsliste, tabelle(u"-|-;-|-;Warten|3"_s));
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u", "_s)));
    QCOMPARE(zeile12Verdeckt, rollt);
    QCOMPARE(zeilen(ergebnis).mid(2),
             QStringList{u"Warten|3"_s} + QStringList(8, u"|"_s) + QStringList{u"|zwoelf"_s});
}

QTEST_MAIN(TestBefehlseditor)
#include "tst_befehlseditor.moc"
