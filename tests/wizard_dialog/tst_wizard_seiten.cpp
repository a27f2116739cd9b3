// The pages driven as a user would: button states over consecutive pages,
// Enter and Esc, what each page type shows and returns, the required-input
// gate, the layout below the caption, the command-step editor with its help,
// the file page's browse button; and StringStück.

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>

#include "Seitenhelfer.h"
#include "system/Programmordner.h"
#include "wizard_dialog/Dateifilter.h"
#include "wizard_dialog/StringStueck.h"

using namespace Qt::StringLiterals;

class TestWizardSeiten : public QObject
{
    Q_OBJECT
private slots:
    void knopfzustaende_data() { falltabelle("wizard-faelle.txt", "knopfzustaende"); }
    void knopfzustaende();
    void tasten_data() { falltabelle("wizard-faelle.txt", "tasten"); }
    void tasten();
    void hilfe();
    void stuecke_data() { falltabelle("wizard-faelle.txt", "stuecke"); }
    void stuecke();
    void ergebnis_data() { falltabelle("wizard-faelle.txt", "ergebnis"); }
    void ergebnis();
    void pflichteingabe_data() { falltabelle("wizard-faelle.txt", "pflichteingabe"); }
    void pflichteingabe();
    void layout_data() { falltabelle("wizard-faelle.txt", "layout"); }
    void layout();
    void befehleRundreise_data() { falltabelle("wizard-faelle.txt", "rundreise"); }
    void befehleRundreise();
    void befehleErreichbar();
    void filter_data() { falltabelle("wizard-faelle.txt", "filter"); }
    void filter();
    void durchsuchen_data() { falltabelle("wizard-faelle.txt", "durchsuchen"); }
    void durchsuchen();

private:
    // One dialog for all pages, as the wizard keeps one for its whole run.
    frmWizard m_dialog;
};

static void listeKlicken(QListWidget* liste, int i)
{
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                      liste->visualItemRect(liste->item(i)).center());
}

void TestWizardSeiten::stuecke()
{
    QFETCH(QString, text);
    QFETCH(QString, trenner);
    QFETCH(QString, lfWeg);
    QFETCH(QString, stuecke);
    QStringList ist;
    for (int schutz = 0; !text.isEmpty() && schutz < 100; ++schutz)
        ist << StringStück(text, trenner, lfWeg == u"ja");
    QCOMPARE(ist.join(u'|'), stuecke);
    QCOMPARE(StringStück(text, trenner, lfWeg == u"ja"), QString());
    QVERIFY(text.isEmpty());
}

void TestWizardSeiten::ergebnis()
{
    QFETCH(QString, art);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, klicks);
    QFETCH(QString, gezeigt);
    QFETCH(QString, ergebnis);
    QStringList ist;
    Wachhund wachhund(m_dialog, [&] {
        auto* liste = element<QListWidget>(m_dialog, u"ShapeAusListeauswählenListe"_s);
        const QRegularExpression eintrag(u"(Label\\d+|HäkchenSetzenCheck)$"_s);
        QList<QWidget*> felder;
        for (QWidget* w : m_dialog.findChildren<QWidget*>()) {
            if (w->isVisible() && eintrag.match(w->objectName()).hasMatch()) {
                felder << w;
                ist << w->property("text").toString();
            }
        }
        for (int i = 0; liste->isVisible() && i < liste->count(); ++i)
            ist << liste->item(i)->text();
        for (const QChar k : klicks) {
            if (liste->isVisible())
                listeKlicken(liste, k.digitValue() - 1);
            else
                klicken(felder.at(k.digitValue() - 1));
        }
        klicken(element(m_dialog, u"cmdWeiter"_s));
    });
    const QString rueckgabe = zeigen(m_dialog, art, u"Frage"_s, a, b);
    QVERIFY(!wachhund.abgelaufen && m_dialog.blnBenutzerWeiterGedrückt);
    QCOMPARE(ist.join(u'|'), gezeigt);
    QCOMPARE(rueckgabe, ergebnis);
}

void TestWizardSeiten::pflichteingabe()
{
    QFETCH(QString, art);
    QFETCH(QString, vorgabe);
    QFETCH(QString, zustand);
    QFETCH(QString, vorher);
    QFETCH(QString, nachher);
    QString istVorher, istNachher;
    Wachhund wachhund(m_dialog, [&] {
        istVorher = knoepfe(m_dialog);
        auto* feld = element<QLineEdit>(m_dialog, u"ShapeDateinameAuswählenDateiname"_s);
        if (art == u"liste")
            listeKlicken(element<QListWidget>(m_dialog, u"ShapeAusListeauswählenListe"_s), 1);
        else if (art == u"haekchen")
            klicken(element(m_dialog, u"ShapeHäkchenSetzenCheck"_s));
        else
            QTest::keyClicks(feld, feld->text().trimmed().isEmpty() ? u"x"_s : u"\b\b\b"_s);
        istNachher = knoepfe(m_dialog);
        m_dialog.SeiteBeenden();
    });
    zeigen(m_dialog, art, u"Frage"_s, u"a|b"_s, vorgabe, true, zustand);
    QVERIFY(!wachhund.abgelaufen);
    QCOMPARE(istVorher, vorher);
    QCOMPARE(istNachher, nachher);
}

// Shown below a short and a long caption, the page's controls keep their gaps
// below the caption, which is as high as its text needs.
void TestWizardSeiten::layout()
{
    QFETCH(QString, art);
    QFETCH(QString, a);
    QFETCH(QString, fokus);
    QFETCH(QString, folge);
    folge.replace(u'Z', QString::number(QFontMetrics(m_dialog.font()).height()));
    const QString lang = u"Bitte geben Sie den Fenstertitel der TV-Anwendung an. "_s.repeated(4) +
                         u"\r\n\r\nAchten Sie auf Groß- und Kleinschreibung."_s;
    for (const QString& text : {u"Kurz."_s, lang}) {
        QString istFokus, istFolge;
        QRect seite, beschriftung, liste;
        Wachhund wachhund(m_dialog, [&] {
            istFokus = m_dialog.focusWidget()->objectName();
            const QWidget* s = nullptr;
            for (const QLabel* l : m_dialog.findChildren<QLabel*>()) {
                if (l->isVisible() && l->text() == QString(text).replace(u"\r\n"_s, u"\n"_s)) {
                    s = l->parentWidget();
                    seite = s->geometry();
                    if (l->height() == l->heightForWidth(l->width()))
                        beschriftung = l->geometry();
                }
            }
            // The page's controls and the editor's rows, named by what follows
            // the part their names share with the page's.
            QList<std::pair<QRect, QString>> teile;
            const QString name = s->objectName();
            for (const QWidget* w : s->findChildren<QWidget*>()) {
                const QWidget* p = w->parentWidget();
                if (!w->isVisible() || w->inherits("QScrollArea") ||
                    (p != s && !p->objectName().endsWith(u"Flaeche")))
                    continue;
                const QString& o = w->objectName();
                const auto n = std::mismatch(o.begin(), o.end(), name.begin(), name.end()).first;
                teile.append({QRect(w->mapTo(s, QPoint()), w->size()), o.sliced(n - o.begin())});
            }
            std::sort(teile.begin(), teile.end(), [](const auto& x, const auto& y) {
                return std::pair(x.first.y(), x.first.x()) < std::pair(y.first.y(), y.first.x());
            });
            int unten = -1, oben = -1;
            for (const auto& [r, teil] : teile) {
                istFolge += u' ' + teil +
                            (r.y() == oben ? u"="_s : QString::asprintf("%+d", r.y() - unten - 1));
                oben = r.y();
                unten = r.bottom();
                liste = teil == u"Liste" ? r : liste;
            }
            m_dialog.SeiteBeenden();
        });
        zeigen(m_dialog, art, text, a);
        QVERIFY(!wachhund.abgelaufen);
        const Twips t(m_dialog);
        QCOMPARE(istFokus, fokus);
        QCOMPARE(istFolge.trimmed(), folge);
        QCOMPARE(seite.topLeft(), QPoint(t.x(2055), t.y(75)));
        QCOMPARE(beschriftung.width(), t.x(5910));
        if (art == u"liste")
            QCOMPARE(liste.bottom() + 1 + 3, seite.height());
    }
}

void TestWizardSeiten::befehleRundreise()
{
    QFETCH(QString, ein);
    QFETCH(QString, liste);
    QFETCH(QString, bearbeitet);
    QFETCH(QString, aus);
    Wachhund wachhund(m_dialog, [&] {
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
        klicken(element(m_dialog, u"cmdWeiter"_s));
    });
    const QString ergebnis = zeigen(m_dialog, u"befehle", u"Befehle"_s, ein, liste);
    QVERIFY(!wachhund.abgelaufen && m_dialog.blnBenutzerWeiterGedrückt);
    QCOMPARE(ergebnis, aus);
}

void TestWizardSeiten::befehleErreichbar()
{
    // Below a caption too long for all rows, Tab reaches every row and the
    // focused row scrolls into view whole, also on the way back.
    QStringList fehler;
    bool zeile12Verdeckt = false;
    auto sichtbar = [&](int k) {
        const QWidget* zeile = element(m_dialog, u"ShapeComboTextComboFrame"_s, k);
        return zeile->visibleRegion().boundingRect() == zeile->rect();
    };
    auto pruefe = [&](int k, bool befehl) {
        const QWidget* soll =
            element(m_dialog, befehl ? u"ShapeComboTextCombo"_s : u"ShapeComboTextText"_s, k);
        if (m_dialog.focusWidget() != soll || !sichtbar(k))
            fehler << soll->objectName();
    };
    Wachhund wachhund(m_dialog, [&] {
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
        klicken(element(m_dialog, u"cmdWeiter"_s));
    });
    const QString ergebnis =
        zeigen(m_dialog, u"befehle", u"Eine lange Beschriftung. "_s.repeated(40), u"Warten,3"_s);
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u", "_s)));
    QVERIFY(zeile12Verdeckt);
    QCOMPARE(ergebnis, u"Warten,3"_s + u"|,"_s.repeated(10) + u"|,zwoelf"_s);
}

void TestWizardSeiten::filter()
{
    QFETCH(QString, text);
    QFETCH(QString, qt);
    QFETCH(QString, gezeigt);
    QFETCH(QString, muster);
    QCOMPARE(DateifilterFuerQt(DateifilterLesen(text)), qt);
    // Qt's own chooser reads it: the first description as written, its patterns.
    QFileDialog d;
    d.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    d.setNameFilter(qt);
    QCOMPARE(d.findChild<QComboBox*>(u"fileTypeCombo"_s)->currentText(), gezeigt);
    QCOMPARE(d.findChild<QFileSystemModel*>()->nameFilters().join(u' '), muster);
}

void TestWizardSeiten::durchsuchen()
{
    QFETCH(QString, art);
    QFETCH(QString, nummer);
    QFETCH(QString, eigenerFilter);
    QFETCH(QString, fertig);
    QFETCH(QString, antwort);
    QFETCH(QString, filter);
    const bool speichern = art == u"speichern", ordner = art == u"ordner";
    QList<Dateiwahl> anfragen;
    m_dialog.dateiwahl = [&](QWidget* besitzer, const Dateiwahl& wahl) {
        anfragen << wahl;
        return besitzer == &m_dialog ? antwort : QString();
    };
    QString fokus;
    Wachhund wachhund(m_dialog, [&] {
        klicken(element(m_dialog, u"ShapeDateinameAuswählenDurchsuchen"_s));
        fokus = m_dialog.focusWidget()->objectName();
        m_dialog.SeiteBeenden();
    });
    const QString ergebnis = m_dialog.ShowShapeDateiAuswählen(
        1, 1, 1, fertig == u"ja" ? 1 : 0, u"T"_s, u"Datei"_s, u"Start-Datei"_s, u"vorgabe.azs"_s,
        nummer.toInt(), eigenerFilter, speichern, ordner);
    QVERIFY(!wachhund.abgelaufen);
    QCOMPARE(anfragen.size(), 1);
    const Dateiwahl& a = anfragen.first();
    using A = Dateiwahl::Art;
    QCOMPARE(a.art, ordner ? A::Ordner : speichern ? A::Speichern : A::Oeffnen);
    QCOMPARE(a.filter, filter);
    // Saving proposes the field's text and asks nothing before an existing file.
    QCOMPARE(a.vorschlag, speichern ? u"vorgabe.azs"_s : QString());
    QCOMPARE(a.optionen.testFlag(QFileDialog::DontConfirmOverwrite), speichern);
    QCOMPARE(a.optionen.testFlag(QFileDialog::HideNameFilterDetails), !ordner);
    QCOMPARE(a.optionen.testFlag(QFileDialog::ShowDirsOnly), ordner);
    QCOMPARE(a.titel.startsWith(u"Bitte wählen Sie einen Ordner"_s), ordner);
    // A cancelled chooser leaves the field; a choice focuses Fertig stellen or Weiter.
    QCOMPARE(ergebnis, antwort.isEmpty() ? u"vorgabe.azs"_s : antwort);
    QCOMPARE(fokus, fertig == u"ja" ? u"cmdFertigstellen"_s : u"cmdWeiter"_s);
}

// Pages shown one after the other, as text pages and as caller-defined ones.
void TestWizardSeiten::knopfzustaende()
{
    QFETCH(QString, seiten);
    QFETCH(QString, erwartet);
    frmWizard& d = m_dialog;
    const QPushButton* fertig = element<QPushButton>(d, u"cmdFertigstellen"_s);
    for (const bool userdefiniert : {false, true}) {
        bool wartete = false;
        for (const QString& zustand : seiten.split(u' ')) {
            // A click left over from the previous page must not count.
            d.blnBenutzerWeiterGedrückt = true;
            Wachhund seite(d, [&] {
                wartete = !d.blnBenutzerFertig;
                d.SeiteBeenden();
            });
            wartete = false;
            zeigen(d, userdefiniert ? u"userdefiniert" : u"nuranzeige",
                   userdefiniert ? u"shapenuranzeige"_s : u"Text"_s, {}, {}, false, zustand);
        }
        QVERIFY(d.blnBenutzerFertig && element(d, u"ShapeNurAnzeige"_s)->isVisible());
        QVERIFY(!d.blnBenutzerWeiterGedrückt && !d.blnBenutzerZurückGedrückt &&
                !d.blnBenutzerAbbrechenGedrückt && !d.blnBenutzerFertigstellenGedrückt);
        QVERIFY(element(d, u"cmdHilfe"_s)->isHidden());
        const QString standard = element<QPushButton>(d, u"cmdWeiter"_s)->isDefault() ? u"Weiter"_s
                                 : fertig->isDefault()                                ? u"Fertig"_s
                                                                                      : u"-"_s;
        QString platz = fertig->isHidden() ? u"-"_s : QString();
        for (const int links : {5640, 210}) {
            if (fertig->isVisible() && fertig->x() == Twips(d).x(links))
                platz = QString::number(links);
        }
        const QString ist = knoepfe(d) + u'/' + standard + u'/' + platz;
        QCOMPARE(ist + (wartete ? u"/wartet"_s : u"/sofort"_s), erwartet);
    }
}

void TestWizardSeiten::tasten()
{
    QFETCH(QString, zustand);
    QFETCH(QString, art);
    QFETCH(QString, vorgabe);
    QFETCH(QString, taste);
    QFETCH(QString, flag);
    // Where nothing may happen, a second without effect is enough.
    Wachhund wachhund(m_dialog, flag.isEmpty() ? 1000 : 5000, [&] {
        QWidget* ziel = QApplication::focusWidget();
        QTest::keyClick(ziel && ziel->window() == &m_dialog ? ziel : &m_dialog,
                        taste == u"esc" ? Qt::Key_Escape : Qt::Key_Return);
    });
    zeigen(m_dialog, art, u"Frage"_s, u"a|b"_s, vorgabe, true, zustand);
    QCOMPARE(wachhund.abgelaufen, flag.isEmpty());
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, flag == u"weiter");
    QCOMPARE(m_dialog.blnBenutzerAbbrechenGedrückt, flag == u"abbrechen");
    QCOMPARE(m_dialog.blnBenutzerFertigstellenGedrückt, flag == u"fertig");
    QVERIFY(!m_dialog.blnBenutzerZurückGedrückt);
}

void TestWizardSeiten::hilfe()
{
    // Help opens at the section on the commands; the editor goes on waiting.
    AppPfadSetzen(QStringLiteral(SENDARO_PROGRAMMORDNER));
    Wachhund wachhund(m_dialog, [&] { klicken(element(m_dialog, u"cmdHilfe"_s)); });
    bool warteteMitHilfe = false;
    QTimer::singleShot(300, [&] {
        warteteMitHilfe =
            !m_dialog.blnBenutzerFertig && element(m_dialog, u"cmdHilfe"_s)->isVisible();
        klicken(element(m_dialog, u"cmdWeiter"_s));
    });
    zeigen(m_dialog, u"befehle", u"Befehle"_s);
    AppPfadSetzen(QString());
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY(warteteMitHilfe && m_dialog.blnBenutzerWeiterGedrückt);
    auto* browser = m_dialog.findChild<QTextBrowser*>();
    QVERIFY(browser && browser->window()->isVisible());
    QCOMPARE(browser->source().fragment(), u"kontext125"_s);
    QVERIFY(browser->toPlainText().contains(u"TastenSenden"_s));
}

QTEST_MAIN(TestWizardSeiten)
#include "tst_wizard_seiten.moc"
