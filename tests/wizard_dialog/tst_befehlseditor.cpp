// The command-step editor: the table going in and coming back after the
// user's changes, and every row within reach below a long caption.

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>

#include "Seitenhelfer.h"

using namespace Qt::StringLiterals;

class TestBefehlseditor : public QObject
{
    Q_OBJECT
private slots:
    void rundreise_data() { tabelle("rundreise"); }
    void rundreise();
    void erreichbar();

private:
    frmWizard m_dialog;
};

void TestBefehlseditor::rundreise()
{
    QFETCH(QString, ein);
    QFETCH(QString, liste);
    QFETCH(QString, bearbeitet);
    QFETCH(QString, aus);
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        if (bearbeitet == u"ja") {
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
        klicken(m_dialog, u"cmdWeiter"_s);
    });
    const QString ergebnis = zeigen(m_dialog, u"befehle", u"Befehle"_s, ein, liste);
    QVERIFY(!wachhund.abgelaufen && m_dialog.blnBenutzerWeiterGedrückt);
    QStringList erwartet = aus.split(u'|');
    while (erwartet.size() < 12)
        erwartet << u","_s;
    QCOMPARE(ergebnis, erwartet.join(u'|'));
}

void TestBefehlseditor::erreichbar()
{
    // Below a caption too long for all rows, Tab reaches every row and the
    // focused row scrolls into view whole, also on the way back.
    QStringList fehler;
    bool zeile12Verdeckt = false;
    auto sichtbar = [&](int k) {
        const QWidget* seite = element(m_dialog, u"ShapeComboTextEingeben"_s);
        auto aufSeite = [seite](const QWidget* w) {
            return QRect(w->mapTo(seite, QPoint()), w->size());
        };
        const QRect sicht =
            aufSeite(element<QScrollArea>(m_dialog, u"ShapeComboTextZeilenbereich"_s)->viewport()) &
            seite->rect();
        return sicht.contains(aufSeite(element(m_dialog, u"ShapeComboTextComboFrame"_s, k)));
    };
    auto pruefe = [&](int k, bool befehl) {
        const QWidget* soll =
            element(m_dialog, befehl ? u"ShapeComboTextCombo"_s : u"ShapeComboTextText"_s, k);
        if (m_dialog.focusWidget() != soll || !sichtbar(k))
            fehler << soll->objectName();
    };
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        zeile12Verdeckt = !sichtbar(12);
        pruefe(1, false);
        for (int i = 0; i < 22; ++i) {
            QTest::keyClick(m_dialog.focusWidget(), Qt::Key_Tab);
            pruefe(2 + i / 2, i % 2 == 0);
        }
        QTest::keyClicks(m_dialog.focusWidget(), u"zwoelf"_s);
        QTest::keyClick(m_dialog.focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        pruefe(12, true);
        element(m_dialog, u"ShapeComboTextText1"_s)->setFocus();
        pruefe(1, false);
        klicken(m_dialog, u"cmdWeiter"_s);
    });
    const QString ergebnis =
        zeigen(m_dialog, u"befehle", u"Eine lange Beschriftung. "_s.repeated(40), u"Warten,3"_s);
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u", "_s)));
    QVERIFY(zeile12Verdeckt);
    QCOMPARE(ergebnis, u"Warten,3"_s + u"|,"_s.repeated(10) + u"|,zwoelf"_s);
}

QTEST_MAIN(TestBefehlseditor)
#include "tst_befehlseditor.moc"
