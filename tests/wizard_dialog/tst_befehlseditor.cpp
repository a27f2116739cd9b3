// The command-step editor page: the table going in, what the rows show,
// and the table coming back after the user's changes.

#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include "Seitenhelfer.h"

using namespace Qt::StringLiterals;

namespace {
const QString Befehle =
    u",AnwendungStarten,FensterAktivieren,Warten,TastenSenden,Terminieren,Beep"_s;

/// Rows as "command|parameter" texts; "-" stands for a cell without value.
ComboTextTabelle tabelle(const QStringList& zeilen, int mindestens = 12)
{
    ComboTextTabelle t(qMax(mindestens, static_cast<int>(zeilen.size())));
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QStringList zellen = zeilen.at(i).split(u'|');
        for (int s = 0; s < 2 && s < zellen.size(); ++s) {
            if (zellen.at(s) != u"-")
                t.setzen(static_cast<int>(i) + 1, s + 1, zellen.at(s));
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

QStringList leer(int n)
{
    return QStringList(n, u"|"_s);
}

// The caption of the channel page for a new application.
const QString Kanalseite =
    u"Bitte geben Sie jetzt an, wie vor der Aufzeichnung zum richtigen Kanal gewechselt werden "
    "kann. Verwenden Sie den Platzhalter \"[Kanal]\". Dieser Platzhalter wird bei der Ausführung "
    "durch die tatsächliche Programmplatznummer des Senders ersetzt. Zum Beispiel durch \"02\" "
    "für \"ZDF\".\r\n\r\nIn der Regel reicht es, bei der laufenden TV-Anwendung, zweistellig "
    "die Programmplatznummer einzutippen. Passen Sie, falls nötig, die Befehle an Ihre "
    "TV-Anwendung an."_s;

/// A caption that leaves room for about three rows on the page.
QString platzFuerDreiZeilen(const frmWizard& dialog)
{
    const Twips t(dialog);
    const int zeilen = (t.y(4635) - 8 - 3 * t.y(285)) / dialog.fontMetrics().height();
    QStringList text;
    for (int i = 1; i <= zeilen; ++i)
        text << u"Zeile "_s + QString::number(i);
    return text.join(u"\r\n"_s);
}

QRect aufSeite(const QWidget* w, const QWidget* seite)
{
    return QRect(w->mapTo(seite, QPoint(0, 0)), w->size());
}

/// The part of the page in which the rows can be seen.
QRect zeilenSichtbar(const frmWizard& dialog)
{
    const QWidget* seite = element(dialog, u"ShapeComboTextEingeben"_s);
    const auto* bereich = element<QScrollArea>(dialog, u"ShapeComboTextZeilenbereich"_s);
    return aufSeite(bereich->viewport(), seite) & seite->rect();
}

/// Row k as placed on the page (its frame; the parameter field lies level).
QRect zeileAufSeite(const frmWizard& dialog, int k)
{
    return aufSeite(element(dialog, u"ShapeComboTextComboFrame"_s + QString::number(k)),
                    element(dialog, u"ShapeComboTextEingeben"_s));
}
} // namespace

// A user action on row r: choose command c (index in the field's list) or
// type text t into the parameter field, given as "r:c=index" or "r:t=text".
using Aktionen = QStringList;

class TestBefehlseditor : public QObject
{
    Q_OBJECT
private slots:
    void rundreise_data();
    void rundreise();
    void zeilenZeigen();
    void wiederverwendet();
    void erreichbar_data();
    void erreichbar();
    void neueSeiteBeginntOben();
    void mausradAufBefehlsfeld();

private:
    frmWizard m_dialog;
};

void TestBefehlseditor::rundreise_data()
{
    QTest::addColumn<QString>("liste");
    QTest::addColumn<ComboTextTabelle>("ein");
    QTest::addColumn<Aktionen>("aktionen");
    QTest::addColumn<QStringList>("aus");

    QTest::newRow("eine zeile, sonst leer")
        << Befehle << tabelle({u"TastenSenden|[Kanal]"_s}) << Aktionen{}
        << QStringList{u"TastenSenden|[Kanal]"_s} + leer(11);
    QTest::newRow("befehl in anderer schreibweise")
        << Befehle << tabelle({u"  tastensenden  |[Alt]r"_s}) << Aktionen{}
        << QStringList{u"TastenSenden|[Alt]r"_s} + leer(11);
    QTest::newRow("parameter mit leerzeichen")
        << Befehle << tabelle({u"Warten|  5  "_s}) << Aktionen{}
        << QStringList{u"Warten|5"_s} + leer(11);
    QTest::newRow("unbekannter befehl")
        << Befehle << tabelle({u"Schlafen|5"_s, u"Beep|"_s}) << Aktionen{}
        << QStringList{u"|5"_s, u"Beep|"_s} + leer(10);
    QTest::newRow("zellen ohne wert")
        << Befehle << tabelle({u"-|-"_s, u"Beep|-"_s, u"-|x"_s}) << Aktionen{}
        << QStringList{u"|"_s, u"Beep|"_s, u"|x"_s} + leer(9);
    QTest::newRow("zeilen ueber zwoelf bleiben")
        << Befehle << tabelle(leer(12) + QStringList{u"Beep|13"_s, u"x|14"_s}) << Aktionen{}
        << leer(12) + QStringList{u"Beep|13"_s, u"x|14"_s};
    QTest::newRow("kurze tabelle waechst auf zwoelf")
        << Befehle << tabelle({u"Beep|"_s}, 1) << Aktionen{} << QStringList{u"Beep|"_s} + leer(11);
    QTest::newRow("doppelter name: der letzte gewinnt")
        << u",Warten,warten"_s << tabelle({u"WARTEN|1"_s}) << Aktionen{}
        << QStringList{u"warten|1"_s} + leer(11);
    QTest::newRow("liste mit anfuehrungszeichen und leerzeichen")
        << u" , \"Warten\" ,Beep"_s << tabelle({u"warten|2"_s, u"beep|"_s}) << Aktionen{}
        << QStringList{u"Warten|2"_s, u"Beep|"_s} + leer(10);
    QTest::newRow("befehl gewaehlt, parameter getippt")
        << Befehle << tabelle({u"FensterAktivieren|WinTV"_s})
        << Aktionen{u"2:c=4"_s, u"2:t=[Alt][F4]"_s}
        << QStringList{u"FensterAktivieren|WinTV"_s, u"TastenSenden|[Alt][F4]"_s} + leer(10);
    QTest::newRow("befehl auf leer gesetzt, parameter bleibt")
        << Befehle << tabelle({u"Beep|x"_s}) << Aktionen{u"1:c=0"_s}
        << QStringList{u"|x"_s} + leer(11);
    QTest::newRow("parameter getippte leerzeichen bleiben")
        << Befehle << tabelle({u"Warten|"_s}) << Aktionen{u"1:t= 3 "_s}
        << QStringList{u"Warten| 3 "_s} + leer(11);
}

void TestBefehlseditor::rundreise()
{
    QFETCH(QString, liste);
    QFETCH(ComboTextTabelle, ein);
    QFETCH(Aktionen, aktionen);
    QFETCH(QStringList, aus);

    const ComboTextTabelle vorher = ein;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        for (const QString& a : aktionen) {
            const QString zeile = a.section(u':', 0, 0);
            const QString art = a.section(u':', 1).section(u'=', 0, 0);
            const QString wert = a.section(u'=', 1);
            if (art == u"c") {
                // Keyboard: Home goes to the first name, Down to the next.
                auto* combo = element<QComboBox>(m_dialog, u"ShapeComboTextCombo"_s + zeile);
                combo->setFocus();
                QTest::keyClick(combo, Qt::Key_Home);
                for (int i = 0; i < wert.toInt(); ++i)
                    QTest::keyClick(combo, Qt::Key_Down);
            } else {
                auto* feld = element<QLineEdit>(m_dialog, u"ShapeComboTextText"_s + zeile);
                klicken(feld);
                feld->selectAll();
                QTest::keyClicks(feld, wert);
            }
        }
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const ComboTextTabelle ergebnis =
        m_dialog.ShowShapeComboTextEingeben(1, 1, 1, 0, u"T"_s, u"Befehle"_s, liste, ein);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(m_dialog.blnBenutzerWeiterGedrückt);
    QCOMPARE(zeilen(ergebnis), aus);
    QCOMPARE(ein, vorher);
}

void TestBefehlseditor::zeilenZeigen()
{
    QStringList befehle, parameter, namenZeile1;
    int gewaehltZeile2 = -2;
    bool fokusAufParameter1 = false;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        for (int k = 1; k <= 12; ++k) {
            auto* combo =
                element<QComboBox>(m_dialog, u"ShapeComboTextCombo"_s + QString::number(k));
            befehle << combo->currentText();
            parameter << element<QLineEdit>(m_dialog, u"ShapeComboTextText"_s + QString::number(k))
                             ->text();
        }
        auto* combo1 = element<QComboBox>(m_dialog, u"ShapeComboTextCombo1"_s);
        for (int i = 0; i < combo1->count(); ++i)
            namenZeile1 << combo1->itemText(i);
        gewaehltZeile2 = element<QComboBox>(m_dialog, u"ShapeComboTextCombo2"_s)->currentIndex();
        fokusAufParameter1 = m_dialog.focusWidget() == element(m_dialog, u"ShapeComboTextText1"_s);
        klicken(knopf(m_dialog, u"cmdZurück"_s));
    });
    m_dialog.ShowShapeComboTextEingeben(
        1, 1, 1, 0, u"T"_s, u"Befehle"_s, Befehle,
        tabelle({u"TastenSenden|[Kanal]"_s, u"-|-"_s, u"Schlafen|5"_s}));
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(m_dialog.blnBenutzerZurückGedrückt);
    QCOMPARE(namenZeile1,
             (QStringList{QString(), u"AnwendungStarten"_s, u"FensterAktivieren"_s, u"Warten"_s,
                          u"TastenSenden"_s, u"Terminieren"_s, u"Beep"_s}));
    QCOMPARE(befehle, QStringList{u"TastenSenden"_s} + QStringList(11, QString()));
    QCOMPARE(parameter, (QStringList{u"[Kanal]"_s, QString(), u"5"_s} + QStringList(9, QString())));
    // An empty command chooses the empty first name.
    QCOMPARE(gewaehltZeile2, 0);
    QVERIFY(fokusAufParameter1);
}

void TestBefehlseditor::wiederverwendet()
{
    // The rows keep nothing from the previous call.
    for (const QString& befehl : {u"Beep"_s, u"Warten"_s}) {
        Wachhund wachhund(m_dialog);
        spaeter([this] {
            auto* feld = element<QLineEdit>(m_dialog, u"ShapeComboTextText5"_s);
            QTest::keyClicks(feld, u"getippt"_s);
            klicken(knopf(m_dialog, u"cmdWeiter"_s));
        });
        const ComboTextTabelle ergebnis = m_dialog.ShowShapeComboTextEingeben(
            1, 1, 1, 0, u"T"_s, u"Befehle"_s, Befehle, tabelle({befehl + u"|1"_s}));
        QVERIFY(!wachhund.abgelaufen());
        QCOMPARE(zeilen(ergebnis),
                 QStringList{befehl + u"|1"_s} + leer(3) + QStringList{u"|getippt"_s} + leer(7));
    }
}

// Every row can be reached with Tab and Shift+Tab and is seen whole while it
// has the focus, also where a long caption leaves too little room on the
// page; what is typed there comes back in the table.
void TestBefehlseditor::erreichbar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("verdeckt");
    QTest::newRow("kurze beschriftung") << u"Befehle"_s << false;
    QTest::newRow("kanalseite") << Kanalseite << true;
    QTest::newRow("platz fuer drei zeilen") << platzFuerDreiZeilen(m_dialog) << true;
}

void TestBefehlseditor::erreichbar()
{
    QFETCH(QString, text);
    QFETCH(bool, verdeckt);

    QStringList fehler;
    bool zeile12Verdeckt = false;
    auto pruefeFokus = [&](int k, bool befehl) {
        const QString name =
            (befehl ? u"ShapeComboTextCombo"_s : u"ShapeComboTextText"_s) + QString::number(k);
        if (m_dialog.focusWidget() != element(m_dialog, name)) {
            fehler << name + u" hat nicht den Fokus"_s;
            return;
        }
        const QRect zeile = zeileAufSeite(m_dialog, k);
        if (!zeilenSichtbar(m_dialog).contains(zeile))
            fehler << name + u" nicht ganz sichtbar"_s;
        // The parameter field lies level with the frame.
        const QRect feld = aufSeite(element(m_dialog, u"ShapeComboTextText"_s + QString::number(k)),
                                    element(m_dialog, u"ShapeComboTextEingeben"_s));
        if (!zeilenSichtbar(m_dialog).contains(feld))
            fehler << u"Parameterfeld "_s + QString::number(k) + u" nicht ganz sichtbar"_s;
    };
    auto tab = [this](bool vor) {
        QTest::keyClick(m_dialog.focusWidget(), vor ? Qt::Key_Tab : Qt::Key_Backtab,
                        vor ? Qt::NoModifier : Qt::ShiftModifier);
    };

    Wachhund wachhund(m_dialog);
    spaeter([&] {
        zeile12Verdeckt = !zeilenSichtbar(m_dialog).contains(zeileAufSeite(m_dialog, 12));
        pruefeFokus(1, false);
        // Down to the last parameter field: command 2, parameter 2, ...
        for (int i = 0; i < 22 && fehler.isEmpty(); ++i) {
            tab(true);
            pruefeFokus(2 + i / 2, i % 2 == 0);
        }
        QTest::keyClicks(m_dialog.focusWidget(), u"zwoelf"_s);
        tab(false);
        QTest::keyClick(m_dialog.focusWidget(), Qt::Key_End);
        // And back up to the first parameter field.
        for (int i = 0; i < 21 && fehler.isEmpty(); ++i) {
            tab(false);
            pruefeFokus(11 - i / 2, i % 2 == 1);
        }
        klicken(knopf(m_dialog, u"cmdWeiter"_s));
    });
    const ComboTextTabelle ergebnis = m_dialog.ShowShapeComboTextEingeben(
        1, 1, 1, 0, u"T"_s, text, Befehle,
        tabelle({u"FensterAktivieren|WinTV2000"_s, u"TastenSenden|[Kanal]"_s, u"Warten|3"_s}));
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u"; "_s)));
    QCOMPARE(zeile12Verdeckt, verdeckt);
    QCOMPARE(element<QScrollArea>(m_dialog, u"ShapeComboTextZeilenbereich"_s)
                 ->verticalScrollBar()
                 ->isVisibleTo(&m_dialog),
             verdeckt);
    QCOMPARE(zeilen(ergebnis), (QStringList{u"FensterAktivieren|WinTV2000"_s,
                                            u"TastenSenden|[Kanal]"_s, u"Warten|3"_s} +
                                leer(8) + QStringList{u"Beep|zwoelf"_s}));
}

void TestBefehlseditor::neueSeiteBeginntOben()
{
    // The rows are reused; a page left scrolled down must not start there.
    bool unten = false;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        element(m_dialog, u"ShapeComboTextText12"_s)->setFocus();
        unten = zeilenSichtbar(m_dialog).contains(zeileAufSeite(m_dialog, 12));
        m_dialog.SeiteBeenden();
    });
    m_dialog.ShowShapeComboTextEingeben(1, 1, 1, 0, u"T"_s, Kanalseite, Befehle,
                                        ComboTextTabelle(12));
    QVERIFY(unten);

    QRect ersteZeile, beschriftung, sichtbar;
    spaeter([&] {
        ersteZeile = zeileAufSeite(m_dialog, 1);
        beschriftung = element(m_dialog, u"ShapeComboTextLabel"_s)->geometry();
        sichtbar = zeilenSichtbar(m_dialog);
        m_dialog.SeiteBeenden();
    });
    m_dialog.ShowShapeComboTextEingeben(1, 1, 1, 0, u"T"_s, Kanalseite, Befehle,
                                        ComboTextTabelle(12));
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(ersteZeile.top(), beschriftung.bottom() + 1 + 8);
    QVERIFY(sichtbar.contains(ersteZeile));
}

void TestBefehlseditor::mausradAufBefehlsfeld()
{
    // Scrolling past a command field moves the rows, not the field's entry.
    int vorher = -2, nachher = -2, wert = -1;
    Wachhund wachhund(m_dialog);
    spaeter([&] {
        auto* combo = element<QComboBox>(m_dialog, u"ShapeComboTextCombo3"_s);
        vorher = combo->currentIndex();
        const QPointF mitte(combo->width() / 2.0, combo->height() / 2.0);
        QWheelEvent rad(mitte, combo->mapToGlobal(mitte), QPoint(), QPoint(0, -120), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &rad);
        nachher = combo->currentIndex();
        wert = element<QScrollArea>(m_dialog, u"ShapeComboTextZeilenbereich"_s)
                   ->verticalScrollBar()
                   ->value();
        m_dialog.SeiteBeenden();
    });
    m_dialog.ShowShapeComboTextEingeben(1, 1, 1, 0, u"T"_s, Kanalseite, Befehle,
                                        tabelle({u"-|-"_s, u"-|-"_s, u"Warten|3"_s}));
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(nachher, vorher);
    QVERIFY(wert > 0);
}

QTEST_MAIN(TestBefehlseditor)
#include "tst_befehlseditor.moc"
