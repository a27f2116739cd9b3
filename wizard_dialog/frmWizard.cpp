// What every page shares: button states, the default button, the
// required-input gate, showing the page, the wait and the buttons' effects.

#include "wizard_dialog/frmWizard.h"

#include <algorithm>
#include <limits>

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyleHints>

#include "system/Programmordner.h"
#include "system/TextZeile2Collection.h"
#include "wizard_dialog/Bildfeld.h"
#include "wizard_dialog/Hilfefenster.h"
#include "wizard_dialog/StringStueck.h"

using namespace Qt::StringLiterals;

namespace {
// Button states arrive as 32-bit numbers and are kept as 16-bit ones; a
// value that does not fit counts as "leave the button as it is".
qint16 zustandSpeichern(qint32 zustand)
{
    if (zustand < std::numeric_limits<qint16>::min() ||
        zustand > std::numeric_limits<qint16>::max())
        return -1;
    return static_cast<qint16>(zustand);
}

void knopfAnwenden(QPushButton* knopf, qint16 zustand)
{
    switch (zustand) {
    case 0:
        knopf->hide();
        knopf->setEnabled(false);
        break;
    case 1:
        knopf->show();
        knopf->setEnabled(true);
        break;
    case 2:
        knopf->show();
        knopf->setEnabled(false);
        break;
    default:
        break;
    }
}

bool bedienbar(const QWidget* w)
{
    return !w->isHidden() && w->isEnabled();
}

bool istEingabetaste(int taste)
{
    return taste == Qt::Key_Return || taste == Qt::Key_Enter;
}
} // namespace

frmWizard::frmWizard(QWidget* parent)
    : QDialog(parent)
    , dateiwahl(DateiwahlAnzeigen)
    , m_twips(*this)
{
    fensterAufbauen();
    // Key events go to the focused control first, mouse events to the
    // button under the pointer; the application's filter sees both before
    // any of the dialog's controls acts on them.
    QCoreApplication::instance()->installEventFilter(this);
}

frmWizard::~frmWizard()
{
    if (QCoreApplication* anwendung = QCoreApplication::instance())
        anwendung->removeEventFilter(this);
}

QString frmWizard::StringStück(QString& GanzerString, const QString& Trennzeichen,
                               bool chr10raustrimmen)
{
    return ::StringStück(GanzerString, Trennzeichen, chr10raustrimmen);
}

void frmWizard::ShapesVerbergen()
{
    blnBenutzerWeiterGedrückt = false;
    blnBenutzerZurückGedrückt = false;
    blnBenutzerAbbrechenGedrückt = false;
    blnBenutzerFertigstellenGedrückt = false;
    blnBenutzerFertig = false;
    for (Bildfeld* feld : findChildren<Bildfeld*>()) {
        if (LeerzeichenEntfernen(feld->objectName()).toLower().startsWith(u"shape"_s))
            feld->hide();
    }
}

void frmWizard::KnoepfeAnwenden()
{
    knopfAnwenden(cmdAbbrechen, m_zustand[KnopfAbbrechen]);
    knopfAnwenden(cmdZurück, m_zustand[KnopfZurueck]);
    knopfAnwenden(cmdWeiter, m_zustand[KnopfWeiter]);
    knopfAnwenden(cmdFertigstellen, m_zustand[KnopfFertigstellen]);

    const qint16 fertig = m_zustand[KnopfFertigstellen];
    if (fertig == 1 || fertig == 2) {
        // Without Weiter, Fertig stellen takes its place; beside a shown
        // Weiter it goes back to its own. A Weiter that an earlier page hid
        // and this one leaves alone moves nothing.
        if (m_zustand[KnopfWeiter] == 0)
            cmdFertigstellen->move(cmdWeiter->x(), cmdFertigstellen->y());
        else if (!cmdWeiter->isHidden())
            cmdFertigstellen->move(m_twips.x(210), cmdFertigstellen->y());
    }
    standardknopfSetzen();
    tabfolgeSetzen();
}

void frmWizard::tabfolgeSetzen()
{
    // Tab visits the strip in the order its buttons stand, after the page's
    // controls, which all come earlier in the chain.
    std::array<QPushButton*, 5> knoepfe{cmdFertigstellen, cmdHilfe, cmdZurück, cmdWeiter,
                                        cmdAbbrechen};
    std::stable_sort(knoepfe.begin(), knoepfe.end(),
                     [](const QPushButton* a, const QPushButton* b) { return a->x() < b->x(); });
    for (size_t i = 0; i + 1 < knoepfe.size(); ++i)
        setTabOrder(knoepfe.at(i), knoepfe.at(i + 1));
}

void frmWizard::standardknopfSetzen()
{
    cmdWeiter->setDefault(false);
    cmdFertigstellen->setDefault(false);
    if (m_zustand[KnopfFertigstellen] == 1)
        cmdFertigstellen->setDefault(true);
    else if (m_zustand[KnopfWeiter] == 1)
        cmdWeiter->setDefault(true);
}

void frmWizard::GrafikUebernehmen(const QPixmap* GrafikfürAnzeige)
{
    if (GrafikfürAnzeige && !GrafikfürAnzeige->isNull())
        WizardPicture->setPixmap(*GrafikfürAnzeige);
}

void frmWizard::SeiteBeenden()
{
    blnBenutzerFertig = true;
    if (m_warteschleife)
        m_warteschleife->quit();
}

bool frmWizard::eingabeFehlt() const
{
    switch (m_seite) {
    case Seite::Textzeile:
    case Seite::Datei:
        return LeerzeichenEntfernen(ShapeDateinameAuswählenDateiname->text()).isEmpty();
    case Seite::Liste:
        return ShapeAusListeauswählenListe->selectedItems().isEmpty();
    case Seite::Haekchen:
        return !ShapeHäkchenSetzenCheck->isChecked();
    default:
        return false;
    }
}

void frmWizard::PflichteingabePruefen()
{
    if (m_auswahlIstZwingend && eingabeFehlt()) {
        cmdWeiter->setEnabled(false);
        cmdFertigstellen->setEnabled(false);
    } else {
        KnoepfeAnwenden();
    }
}

void frmWizard::seiteVorbereiten(Seite seite, qint32 abbrechen, qint32 zurueck, qint32 weiter,
                                 qint32 fertigstellen, const QPixmap* grafik)
{
    m_zustand = {zustandSpeichern(abbrechen), zustandSpeichern(zurueck), zustandSpeichern(weiter),
                 zustandSpeichern(fertigstellen)};
    m_seite = seite;
    ++m_seitenNummer;
    m_seitenBeginn.start();
    // Pages with a gate set it again once their controls are filled.
    m_auswahlIstZwingend = false;
    ShapesVerbergen();
    KnoepfeAnwenden();
    if (seite != Seite::Userdefiniert)
        GrafikUebernehmen(grafik);
}

void frmWizard::beschriftungSetzen(QWidget* feld, QLabel* label, const QString& text)
{
    QString name = text;
    feld->setAccessibleName(name.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n'));
    if (label)
        label->setBuddy(feld);
}

void frmWizard::seiteZeigen(Bildfeld* seite, const QString& fensterbeschriftung)
{
    seite->move(m_twips.x(2055), m_twips.y(75));
    seite->hintergrundSetzen(Qt::white);
    setWindowTitle(fensterbeschriftung);
    seite->show();
}

void frmWizard::dialogZeigen(bool aktivieren)
{
    if (!m_zentriert) {
        // setGeometry places the client area, whatever frame it gets.
        if (const QScreen* bildschirm = screen()) {
            QRect flaeche = rect();
            flaeche.moveCenter(bildschirm->availableGeometry().center());
            setGeometry(flaeche);
        }
        m_zentriert = true;
    }
    if (!aktivieren && !isVisible()) {
        // A status page stays on screen while the caller works; it does not
        // take the focus from the window the caller is driving.
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    show();
    if (aktivieren && !isActiveWindow()) {
        raise();
        activateWindow();
    }
    // Showing a dialog for the first time makes a button the default when
    // none is; the page's own choice has to win.
    standardknopfSetzen();
}

bool frmWizard::istStatusseite() const
{
    return !cmdWeiter->isEnabled() && !cmdZurück->isEnabled() &&
           (cmdFertigstellen->isHidden() || !cmdFertigstellen->isEnabled());
}

void frmWizard::fokusSetzen(QWidget* ziel)
{
    // A control that cannot take the focus is left alone.
    if (ziel && bedienbar(ziel) && ziel->focusPolicy() != Qt::NoFocus)
        ziel->setFocus(Qt::OtherFocusReason);
}

void frmWizard::warten()
{
    if (blnBenutzerFertig)
        return;
    QEventLoop schleife;
    m_warteschleife = &schleife;
    // The buttons end the loop through SeiteBeenden; a caller that sets the
    // flag itself is noticed each time the loop runs out of work.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
            &schleife, [this, &schleife] {
                if (blnBenutzerFertig)
                    schleife.quit();
            });
    schleife.exec();
    m_warteschleife = nullptr;
}

void frmWizard::knopfGeklickt(bool& flag)
{
    flag = true;
    SeiteBeenden();
}

bool frmWizard::eventFilter(QObject* objekt, QEvent* ereignis)
{
    switch (ereignis->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(ereignis)->button() != Qt::LeftButton)
            break;
        for (QPushButton* knopf : {cmdWeiter, cmdZurück, cmdAbbrechen, cmdFertigstellen}) {
            if (objekt == knopf)
                return mausAmKnopf(knopf, ereignis->type());
        }
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (auto* ziel = qobject_cast<QWidget*>(objekt); ziel && ziel->window() == this)
            return tasteFiltern(ziel, static_cast<QKeyEvent*>(ereignis));
        break;
    default:
        break;
    }
    return QDialog::eventFilter(objekt, ereignis);
}

bool frmWizard::mausAmKnopf(QPushButton* knopf, QEvent::Type art)
{
    if (art == QEvent::MouseButtonRelease) {
        // A press that began on an earlier page does not end this one.
        if (m_druckSeite == m_seitenNummer)
            return false;
        knopf->setDown(false);
        return true;
    }
    // Within the double-click interval after the page began, a press is the
    // second click of a double click on the previous page's button.
    if (m_seitenBeginn.isValid() &&
        m_seitenBeginn.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval())
        return true;
    m_druckSeite = m_seitenNummer;
    return false;
}

bool frmWizard::tasteFiltern(QWidget* ziel, QKeyEvent* taste)
{
    if (taste->type() == QEvent::KeyRelease) {
        m_losgelasseneTaste = taste->key();
        m_losgelassenUm = taste->timestamp();
        return false;
    }
    // The X server repeats a held key as a release and a press with one time
    // stamp; Qt marks the press as a repeat only when it sees both at once.
    const bool wiederholt =
        taste->isAutoRepeat() || (taste->timestamp() != 0 && taste->key() == m_losgelasseneTaste &&
                                  taste->timestamp() == m_losgelassenUm);
    // A held key acts once: its repeats press no button, neither as Enter or
    // Esc nor as a button's Alt+letter. Accepting the shortcut check keeps
    // the mnemonic from firing.
    if (wiederholt && (istEingabetaste(taste->key()) || taste->key() == Qt::Key_Escape ||
                       taste->modifiers().testFlag(Qt::AltModifier))) {
        taste->accept();
        return true;
    }
    // The buttons are no auto-default buttons, so the focus passing over one
    // never makes it the default; Enter still presses the focused one.
    auto* knopf = qobject_cast<QPushButton*>(ziel);
    if (taste->type() == QEvent::KeyPress && istEingabetaste(taste->key()) && knopf &&
        !knopf->isDefault() && knopf->isEnabled()) {
        knopf->click();
        return true;
    }
    return false;
}

void frmWizard::reject()
{
    // Esc presses "Abbrechen" when it can be pressed; the dialog itself
    // never closes on it.
    if (bedienbar(cmdAbbrechen))
        cmdAbbrechen->click();
}

void frmWizard::closeEvent(QCloseEvent* ereignis)
{
    // The window frame's close ends the page as "Abbrechen" does, so the
    // driver always sees a defined end; the driver closes the window.
    if (ereignis->spontaneous()) {
        ereignis->ignore();
        knopfGeklickt(blnBenutzerAbbrechenGedrückt);
        return;
    }
    // QDialog's own handling would run reject() and so press "Abbrechen".
    QWidget::closeEvent(ereignis);
}

void frmWizard::hilfeGeklickt()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (!m_hilfe)
        m_hilfe = new Hilfefenster(this);
    // A missing help file is not reported.
    m_hilfe->zeigen(AppPfad() + u"sendwacht.hlp"_s, 125);
    QGuiApplication::restoreOverrideCursor();
}

int frmWizard::textHoeheSetzen(QLabel* label, const QString& text, int oben)
{
    // Pieces joined by CR LF (or a lone CR) are lines of the label.
    QString zeilen = text;
    zeilen.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    // A label with a buddy reads "&" as the mark of a shortcut key; the
    // caller's "&" is plain text.
    if (label->buddy())
        zeilen.replace(u'&', u"&&"_s);
    label->setText(zeilen);
    const int breite = label->width();
    // An empty label keeps the height of one line.
    int hoehe = zeilen.isEmpty() ? label->fontMetrics().height() : label->heightForWidth(breite);
    if (hoehe < 0)
        hoehe = label->sizeHint().height();
    label->setGeometry(label->x(), oben, breite, hoehe);
    return oben + hoehe;
}
