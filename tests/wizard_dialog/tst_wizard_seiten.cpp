// The pages driven as a user would: button states over consecutive pages,
// keys, double clicks and the tab order, what each page type shows and
// returns, the required-input gate, the layout below the caption, what a
// screen reader announces, the command-step editor with its help, the file
// page's browse button and Qt's chooser behind it; and StringStück.

#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "Seitenhelfer.h"
#include "system/Programmordner.h"
#include "wizard_dialog/Dateifilter.h"
#include "wizard_dialog/QtUebersetzung.h"
#include "wizard_dialog/StringStueck.h"

using namespace Qt::StringLiterals;

class TestWizardSeiten : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void knopfzustaende_data() { falltabelle("wizard-faelle.txt", "knopfzustaende"); }
    void knopfzustaende();
    void frischUndBenutzt_data() { falltabelle("wizard-faelle.txt", "frisch-und-benutzt"); }
    void frischUndBenutzt();
    void tasten_data() { falltabelle("wizard-faelle.txt", "tasten"); }
    void tasten();
    void doppelklick_data() { falltabelle("wizard-faelle.txt", "doppelklick"); }
    void doppelklick();
    void tabfolge_data() { falltabelle("wizard-faelle.txt", "tabfolge"); }
    void tabfolge();
    void hilfe();
    void stuecke_data() { falltabelle("wizard-faelle.txt", "stuecke"); }
    void stuecke();
    void ergebnis_data() { falltabelle("wizard-faelle.txt", "ergebnis"); }
    void ergebnis();
    void pflichteingabe_data() { falltabelle("wizard-faelle.txt", "pflichteingabe"); }
    void pflichteingabe();
    void layout_data() { falltabelle("wizard-faelle.txt", "layout"); }
    void layout();
    void zugaenglich_data() { falltabelle("wizard-faelle.txt", "zugaenglich"); }
    void zugaenglich();
    void befehleRundreise_data() { falltabelle("wizard-faelle.txt", "rundreise"); }
    void befehleRundreise();
    void befehleErreichbar();
    void filter_data() { falltabelle("wizard-faelle.txt", "filter"); }
    void filter();
    void durchsuchen_data() { falltabelle("wizard-faelle.txt", "durchsuchen"); }
    void durchsuchen();
    void dateiwahl_data() { falltabelle("wizard-faelle.txt", "dateiwahl"); }
    void dateiwahl();

private:
    // One dialog for all pages, as the wizard keeps one for its whole run.
    frmWizard m_dialog;
};

static void listeKlicken(QListWidget* liste, int i, Qt::KeyboardModifiers tasten = {})
{
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, tasten,
                      liste->visualItemRect(liste->item(i)).center());
}

/// A control's name without the part it shares with the name of its page
/// ("Dateiname" on ShapeDateinameAuswählen); others by their own name.
static QString kurzname(const QWidget* w)
{
    const QWidget* seite = w;
    while (seite->parentWidget() && seite->parentWidget() != w->window())
        seite = seite->parentWidget();
    const QString& o = w->objectName();
    const QString& name = seite->objectName();
    if (seite == w || !name.startsWith(u"Shape"))
        return o;
    return o.sliced(std::mismatch(o.begin(), o.end(), name.begin(), name.end()).first - o.begin());
}

void TestWizardSeiten::initTestCase()
{
    // Qt's choosers speak German, as in the wizard.
    QVERIFY(QtUebersetzungLaden());
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
        const QRegularExpression eintrag(u"(Label\\d+|HäkchenSetzenCheckLabel)$"_s);
        QList<QWidget*> felder;
        for (QWidget* w : m_dialog.findChildren<QWidget*>()) {
            if (w->isVisible() && eintrag.match(w->objectName()).hasMatch()) {
                felder << w;
                ist << w->property("text").toString();
            }
        }
        for (int i = 0; liste->isVisible() && i < liste->count(); ++i)
            ist << liste->item(i)->text();
        Qt::KeyboardModifiers strg;
        for (const QChar k : klicks) {
            if (k == u'^') {
                strg = Qt::ControlModifier;
                continue;
            }
            if (k == u'_')
                QTest::keyClick(liste, Qt::Key_Space, Qt::ControlModifier);
            else if (liste->isVisible())
                listeKlicken(liste, k.digitValue() - 1, strg);
            else if (k.digitValue() <= felder.size())
                klicken(felder.at(k.digitValue() - 1));
            strg = {};
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
        QStringList abgeschnitten;
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
            // Every text whole: wrapped labels as high as their text, buttons as
            // wide as theirs, everything within the page.
            for (const QWidget* w : s->findChildren<QWidget*>()) {
                const auto* l = qobject_cast<const QLabel*>(w);
                const auto* k = qobject_cast<const QAbstractButton*>(w);
                if (!w->isVisible())
                    continue;
                if ((l && l->wordWrap() && l->height() < l->heightForWidth(l->width())) ||
                    (k && !k->text().isEmpty() && k->width() < k->sizeHint().width()) ||
                    w->mapTo(s, QPoint(w->width(), 0)).x() > s->width())
                    abgeschnitten << w->objectName();
            }
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
        QVERIFY2(abgeschnitten.isEmpty(), qPrintable(abgeschnitten.join(u", "_s)));
        QCOMPARE(istFolge.trimmed(), folge);
        QCOMPARE(seite.topLeft(), QPoint(t.x(2055), t.y(75)));
        QCOMPARE(beschriftung.width(), t.x(5910));
        if (art == u"liste")
            QCOMPARE(liste.bottom() + 1 + 3, seite.height());
    }
}

// Option buttons and check boxes carry their texts as names; a label that
// names a control is its buddy, so a screen reader reads it with the control.
void TestWizardSeiten::zugaenglich()
{
    QFETCH(QString, art);
    QFETCH(QString, a);
    QFETCH(QString, namen);
    QList<std::pair<QPoint, QString>> ist;
    Wachhund wachhund(m_dialog, [&] {
        for (QWidget* w : m_dialog.findChildren<QWidget*>()) {
            const bool eingabe =
                qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
                qobject_cast<const QComboBox*>(w) || qobject_cast<const QListWidget*>(w);
            if (!eingabe || !w->isVisible() || w->objectName().startsWith(u"cmd") ||
                w->objectName().endsWith(u"Durchsuchen"))
                continue;
            QAccessibleInterface* schnitt = QAccessible::queryAccessibleInterface(w);
            // Combo boxes tell their entry as name; their own name is the widget's.
            QString name = qobject_cast<const QComboBox*>(w) ? w->accessibleName()
                                                             : schnitt->text(QAccessible::Name);
            // The label's own text doubles a plain "&", as labels with a buddy do.
            bool beschriftet = false;
            for (const QLabel* l : w->parentWidget()->findChildren<QLabel*>()) {
                beschriftet = beschriftet || (l->buddy() == w && l->isVisible() &&
                                              QString(l->text()).replace(u"&&"_s, u"&"_s) == name);
            }
            ist.append({w->mapTo(&m_dialog, QPoint()),
                        kurzname(w) + (beschriftet ? u'=' : u':') + name.replace(u'\n', u' ')});
        }
        m_dialog.SeiteBeenden();
    });
    zeigen(m_dialog, art, u"Frage"_s, a);
    QVERIFY(!wachhund.abgelaufen);
    std::sort(ist.begin(), ist.end(), [](const auto& x, const auto& y) {
        return std::pair(x.first.y(), x.first.x()) < std::pair(y.first.y(), y.first.x());
    });
    QStringList text;
    for (const auto& [ort, eintrag] : ist)
        text << eintrag;
    QCOMPARE(text.join(u'|'), namen);
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
        // A caller's setFocus scrolls through the focus change the active
        // window reports.
        static_cast<void>(QTest::qWaitForWindowActive(&m_dialog));
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
    QFETCH(QString, liste);
    QFETCH(QString, muster);
    QCOMPARE(DateifilterFuerQt(DateifilterLesen(text)), qt);
    // Qt's own chooser reads it: the descriptions as written, the first one's patterns.
    QFileDialog d;
    d.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    d.setNameFilter(qt);
    const auto* typen = d.findChild<QComboBox*>(u"fileTypeCombo"_s);
    QStringList ist;
    for (int i = 0; i < typen->count(); ++i)
        ist << typen->itemText(i);
    QCOMPARE(ist.join(u'|'), liste);
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
    // Saving proposes the field's text (what Qt's chooser then does is tried
    // in dateiwahl).
    QCOMPARE(a.vorschlag, speichern ? u"vorgabe.azs"_s : QString());
    QCOMPARE(a.titel.startsWith(u"Bitte wählen Sie einen Ordner"_s), ordner);
    // A cancelled chooser leaves the field; a choice focuses Fertig stellen or Weiter.
    QCOMPARE(ergebnis, antwort.isEmpty() ? u"vorgabe.azs"_s : antwort);
    QCOMPARE(fokus, fertig == u"ja" ? u"cmdFertigstellen"_s : u"cmdWeiter"_s);
}

// Qt's chooser itself, opened by the browse button in a folder of our own.
void TestWizardSeiten::dateiwahl()
{
    QFETCH(QString, art);
    QFETCH(QString, nummer);
    QFETCH(QString, typ);
    QFETCH(QString, gezeigt);
    QFETCH(QString, typen);
    QFETCH(QString, knoepfe);
    QFETCH(QString, waehlen);
    QFETCH(QString, feld);
    QTemporaryDir ordner;
    QVERIFY(QDir(ordner.path()).mkdir(u"unterordner"_s));
    for (const QString& name : {u"tvprogramm"_s, u"notiz.txt"_s, u"setup.exe"_s}) {
        QFile f(ordner.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(name == u"tvprogramm" ? "#!/bin/sh\n" : "MZ text\n");
        f.setPermissions(name == u"tvprogramm" ? f.permissions() | QFile::ExeOwner | QFile::ExeUser
                                               : QFile::ReadOwner | QFile::WriteOwner);
    }
    const QString vorher = QDir::currentPath();
    QDir::setCurrent(ordner.path());
    m_dialog.dateiwahl = DateiwahlAnzeigen;

    QString istGezeigt, istTypen, istKnoepfe;
    QTimer suche;
    suche.setInterval(20);
    connect(&suche, &QTimer::timeout, this, [&] {
        auto* d = m_dialog.findChild<QFileDialog*>();
        if (!d || !d->isVisible())
            return;
        suche.stop();
        auto* liste = d->findChild<QListView*>(u"listView"_s);
        auto* typwahl = d->findChild<QComboBox*>(u"fileTypeCombo"_s);
        // The user picks a type from the list with the keyboard.
        for (int i = 0; !typ.isEmpty() && typwahl->currentText() != typ && i < 10; ++i)
            QTest::keyClick(typwahl, Qt::Key_Down);
        auto namen = [liste] {
            QStringList n;
            const QModelIndex wurzel = liste->rootIndex();
            for (int i = 0; i < liste->model()->rowCount(wurzel); ++i)
                n << liste->model()->index(i, 0, wurzel).data().toString();
            return n.join(u'|');
        };
        // The folder is read in the background.
        static_cast<void>(QTest::qWaitFor([&] { return namen() == gezeigt; }, 3000));
        istGezeigt = namen();
        QStringList t;
        for (int i = 0; typwahl->isVisible() && i < typwahl->count(); ++i)
            t << typwahl->itemText(i);
        istTypen = t.join(u'|');
        auto* leiste = d->findChild<QDialogButtonBox*>();
        QAbstractButton* annehmen = nullptr;
        for (const auto rolle : {QDialogButtonBox::AcceptRole, QDialogButtonBox::RejectRole}) {
            for (QAbstractButton* k : leiste->buttons()) {
                if (leiste->buttonRole(k) != rolle)
                    continue;
                istKnoepfe +=
                    (istKnoepfe.isEmpty() ? u""_s : u"|"_s) + QString(k->text()).remove(u'&');
                if (rolle == QDialogButtonBox::AcceptRole)
                    annehmen = k;
            }
        }
        if (waehlen.isEmpty()) {
            d->reject();
            return;
        }
        // The user types the name and presses the button.
        auto* name = d->findChild<QLineEdit*>(u"fileNameEdit"_s);
        name->selectAll();
        QTest::keyClicks(name, waehlen);
        QTest::mouseClick(annehmen, Qt::LeftButton);
        // A choice the chooser does not take leaves it open; the user gives up.
        if (d->isVisible())
            d->reject();
    });
    QString ergebnis;
    Wachhund wachhund(m_dialog, 8000, [&] {
        suche.start();
        klicken(element(m_dialog, u"ShapeDateinameAuswählenDurchsuchen"_s));
        m_dialog.SeiteBeenden();
    });
    ergebnis = m_dialog.ShowShapeDateiAuswählen(1, 1, 1, 0, u"T"_s, u"Datei"_s, u"Start-Datei"_s,
                                                u"vorgabe.azs"_s, nummer.toInt(), {},
                                                art == u"speichern", art == u"ordner");
    QDir::setCurrent(vorher);
    QVERIFY(!wachhund.abgelaufen);
    QCOMPARE(istGezeigt, gezeigt);
    QCOMPARE(istTypen, typen);
    QCOMPARE(istKnoepfe, knoepfe);
    QCOMPARE(ergebnis, feld == u"vorgabe.azs" ? feld : QDir(ordner.path()).filePath(feld));
}

// Everything the user sees of the dialog: each shown control with its place,
// whether it takes input, and what it holds; the focus and the caption.
static QString seitenbild(const frmWizard& d)
{
    QStringList bild{d.windowTitle(), d.focusWidget() ? d.focusWidget()->objectName() : u"-"_s};
    for (const QWidget* w : d.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->isVisible())
            continue;
        const QRect r(w->mapTo(&d, QPoint()), w->size());
        QString z = u"%1 %2,%3 %4x%5 %6"_s.arg(w->objectName())
                        .arg(r.x())
                        .arg(r.y())
                        .arg(r.width())
                        .arg(r.height())
                        .arg(w->isEnabled() ? u"an"_s : u"aus"_s);
        if (const auto* k = qobject_cast<const QAbstractButton*>(w))
            z += u" [%1]%2"_s.arg(k->text()).arg(k->isChecked() ? u" ✓"_s : u""_s);
        if (const auto* k = qobject_cast<const QPushButton*>(w); k && k->isDefault())
            z += u" Standard"_s;
        if (const auto* l = qobject_cast<const QLabel*>(w))
            z += u" „%1“"_s.arg(l->text());
        if (const auto* e = qobject_cast<const QLineEdit*>(w))
            z += u" „%1“"_s.arg(e->text());
        if (const auto* c = qobject_cast<const QComboBox*>(w))
            z += u" „%1“"_s.arg(c->currentText());
        if (const auto* l = qobject_cast<const QListWidget*>(w)) {
            z += u" Modus %1"_s.arg(l->selectionMode());
            for (int i = 0; i < l->count(); ++i)
                z += (l->item(i)->isSelected() ? u" *"_s : u" "_s) + l->item(i)->text();
        }
        bild << z;
    }
    return bild.join(u'\n');
}

// A page looks and answers the same whatever the pages before it left behind,
// the required-input gate included when the field keeps its text.
void TestWizardSeiten::frischUndBenutzt()
{
    QFETCH(QString, art);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, zwingend);
    QFETCH(QString, zustand);
    QFETCH(QString, knoepfe);
    const QString text = art == u"userdefiniert" ? a : u"Frage"_s;
    const auto anzeigen = [&](frmWizard& d, QString* bild, QString* tasten) {
        Wachhund w(d, [&] {
            *bild = seitenbild(d);
            *tasten = ::knoepfe(d);
            d.SeiteBeenden();
        });
        const QString ergebnis = zeigen(d, art, text, a, b, zwingend == u"ja", zustand);
        return w.abgelaufen ? u"(abgelaufen)"_s : ergebnis;
    };
    frmWizard frisch;
    QString bildFrisch, knoepfeFrisch;
    const QString ergebnisFrisch = anzeigen(frisch, &bildFrisch, &knoepfeFrisch);
    QCOMPARE(knoepfeFrisch, knoepfe);

    frmWizard benutzt;
    for (const QString& andere :
         {u"zeile"_s, u"datei"_s, u"liste"_s, u"mehrfach"_s, u"haekchen"_s, u"option"_s, u"check"_s,
          u"texte"_s, u"befehle"_s, u"nuranzeige"_s, u"userdefiniert"_s}) {
        // The user fills in whatever the page offers.
        Wachhund w(benutzt, [&] {
            for (QLineEdit* e : benutzt.findChildren<QLineEdit*>())
                if (e->isVisible())
                    QTest::keyClicks(e, u"xyz"_s);
            for (QAbstractButton* k : benutzt.findChildren<QAbstractButton*>())
                if (k->isVisible() && k->isCheckable())
                    k->click();
            for (QListWidget* l : benutzt.findChildren<QListWidget*>())
                if (l->isVisible() && l->count() > 2)
                    l->item(2)->setSelected(true);
            benutzt.SeiteBeenden();
        });
        zeigen(benutzt, andere, andere == u"userdefiniert" ? u"ShapeTextboxen"_s : u"Vorher"_s,
               andere == u"befehle" ? u"Beep,x|Warten,3"_s : u"x|y|z|w"_s,
               andere == u"befehle" ? QString() : u"3"_s, true, u"2,1,0,1"_s);
    }
    {
        // The same page, its gate the other way round.
        Wachhund w(benutzt, [&] { benutzt.SeiteBeenden(); });
        zeigen(benutzt, art, text, a, b, zwingend != u"ja", u"1,2,1,1"_s);
    }
    QString bildBenutzt, knoepfeBenutzt;
    const QString ergebnisBenutzt = anzeigen(benutzt, &bildBenutzt, &knoepfeBenutzt);
    QCOMPARE(knoepfeBenutzt, knoepfe);
    QCOMPARE(bildBenutzt, bildFrisch);
    QCOMPARE(ergebnisBenutzt, ergebnisFrisch);
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
    QFETCH(QString, standard);
    const QHash<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> tasten{
        {u"enter"_s, {Qt::Key_Return, {}}},
        {u"esc"_s, {Qt::Key_Escape, {}}},
        {u"tab"_s, {Qt::Key_Tab, {}}},
        {u"alt+w"_s, {Qt::Key_W, Qt::AltModifier}},
        {u"alt+z"_s, {Qt::Key_Z, Qt::AltModifier}}};
    auto druecken = [&](const QString& name) {
        QWidget* ziel = m_dialog.focusWidget() ? m_dialog.focusWidget() : &m_dialog;
        const bool gehalten = name.endsWith(u'*');
        const auto [k, mod] = tasten.value(gehalten ? name.chopped(1) : name);
        if (!gehalten) {
            QTest::keyClick(ziel, k, mod);
            return;
        }
        // What the server sends for a key held since before the page: repeats
        // only, then the release.
        const QString text = k == Qt::Key_Return   ? u"\r"_s
                             : k == Qt::Key_Escape ? u"\x1b"_s
                                                   : u"w"_s;
        for (int i = 0; i < 3; ++i) {
            QTest::simulateEvent(ziel, true, k, mod, text, true);
            QTest::simulateEvent(ziel, false, k, mod, text, true);
        }
        QTest::simulateEvent(ziel, false, k, mod, text, false);
    };
    // Where nothing may happen, a second without effect is enough.
    Wachhund wachhund(m_dialog, flag.isEmpty() ? 1000 : 5000, [&] {
        const QWidget* start = m_dialog.focusWidget();
        for (const QString& t : taste.split(u' ')) {
            for (int i = 0; t == u"rundum" && i < 40; ++i) {
                druecken(u"tab"_s);
                if (m_dialog.focusWidget() == start)
                    break;
            }
            if (t != u"rundum")
                druecken(t);
        }
    });
    zeigen(m_dialog, art, u"Frage"_s, u"a|b"_s, vorgabe, true, zustand);
    QCOMPARE(wachhund.abgelaufen, flag.isEmpty());
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, flag == u"weiter");
    QCOMPARE(m_dialog.blnBenutzerZurückGedrückt, flag == u"zurueck");
    QCOMPARE(m_dialog.blnBenutzerAbbrechenGedrückt, flag == u"abbrechen");
    QCOMPARE(m_dialog.blnBenutzerFertigstellenGedrückt, flag == u"fertig");
    // The focus passing over a button does not make it the default.
    const QString ist = element<QPushButton>(m_dialog, u"cmdWeiter"_s)->isDefault() ? u"Weiter"_s
                        : element<QPushButton>(m_dialog, u"cmdFertigstellen"_s)->isDefault()
                            ? u"Fertig"_s
                            : u"-"_s;
    QCOMPARE(ist, standard);
    for (const char* name : {"cmdZurück", "cmdAbbrechen", "cmdHilfe"})
        QVERIFY(!element<QPushButton>(m_dialog, QString::fromUtf8(name))->isDefault());
}

// The second click of a double click on "Weiter" lands on the next page; it
// must not end that page too.
void TestWizardSeiten::doppelklick()
{
    QFETCH(QString, seite1);
    QFETCH(QString, seite2);
    QFETCH(QString, flag);
    auto* weiter = element<QPushButton>(m_dialog, u"cmdWeiter"_s);
    const int intervall = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    auto maus = [&](const QString& folge) {
        for (const QChar c : folge) {
            if (c == u'p')
                QTest::mousePress(weiter, Qt::LeftButton);
            else if (c == u'r')
                QTest::mouseRelease(weiter, Qt::LeftButton);
            else if (c == u'd') // a widget gets the second press as a double click
                QTest::mouseDClick(weiter, Qt::LeftButton);
            else if (c == u'w')
                QTest::qWait(intervall + 50);
        }
    };
    bool ersteMitWeiter = false;
    {
        Wachhund erste(m_dialog, [&] {
            maus(u"w"_s + seite1);
            ersteMitWeiter = m_dialog.blnBenutzerWeiterGedrückt;
            m_dialog.SeiteBeenden();
        });
        zeigen(m_dialog, u"nuranzeige", u"Seite 1"_s);
        QVERIFY(!erste.abgelaufen);
    }
    // A page that moves the focus nowhere: a button pressed before stays down.
    Wachhund zweite(m_dialog, 2 * intervall + 200, [&] { maus(seite2); });
    zeigen(m_dialog, u"userdefiniert", u"ShapeNurAnzeige"_s);
    QCOMPARE(ersteMitWeiter, seite1.endsWith(u'r'));
    QCOMPARE(zweite.abgelaufen, flag.isEmpty());
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, flag == u"weiter");
    QVERIFY(!weiter->isDown());
}

void TestWizardSeiten::tabfolge()
{
    QFETCH(QString, art);
    QFETCH(QString, a);
    QFETCH(QString, zustand);
    QFETCH(QString, folge);
    QStringList ist;
    Wachhund wachhund(m_dialog, [&] {
        const QWidget* start = m_dialog.focusWidget();
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(m_dialog.focusWidget(), Qt::Key_Tab);
            ist << kurzname(m_dialog.focusWidget());
            if (m_dialog.focusWidget() == start)
                break;
        }
        m_dialog.SeiteBeenden();
    });
    zeigen(m_dialog, art, u"Frage"_s, a, {}, false, zustand);
    QVERIFY(!wachhund.abgelaufen);
    QCOMPARE(ist.join(u' '), folge);
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
