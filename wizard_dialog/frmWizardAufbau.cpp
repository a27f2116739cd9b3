// Building the wizard window: picture area, page panels and button strip.
// Positions are design measures in twips, converted at the screen's
// logical resolution.

#include "wizard_dialog/frmWizard.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "wizard_dialog/Auswahlliste.h"
#include "wizard_dialog/Bildfeld.h"
#include "wizard_dialog/KlickLabel.h"
#include "wizard_dialog/Zeilenbereich.h"

using namespace Qt::StringLiterals;

namespace {
// Client area and the areas inside it.
constexpr int FensterBreite = 8130;
constexpr int FensterHoehe = 5460;
constexpr int SeiteLinks = 2055;
constexpr int SeiteOben = 75;
constexpr int SeiteBreite = 5910;
constexpr int SeiteHoehe = 4635;
constexpr int LeisteHoehe = 660;
constexpr int KnopfOben = 135;
constexpr int KnopfHoehe = 360;

// Command-step editor rows.
constexpr int ZeilenAnzahl = 12;
constexpr int RahmenLinks = 120;
constexpr int RahmenBreite = 1995;
constexpr int ZeilenHoehe = 285;
constexpr int ComboVersatz = -30;
constexpr int ComboBreite = 2025;
constexpr int ParameterLinks = 2100;
constexpr int ParameterBreite = 3720;

// Gap between an option button or check box and its label, in pixels.
constexpr int KnopfLabelAbstand = 4;

QString nummeriert(const QString& name, int nummer)
{
    return name + QString::number(nummer);
}

// Sizes an option button or check box to its own width and puts the label
// that acts for it beside it, wrapping within the page's width. The label is
// the button's buddy, so screen readers read it with the button.
KlickLabel* labelNebenKnopf(QAbstractButton* knopf, const QString& name, int seitenBreite)
{
    const int knopfBreite = knopf->sizeHint().width();
    knopf->resize(knopfBreite, knopf->sizeHint().height());
    auto* label = new KlickLabel(knopf->parentWidget(), name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(knopfBreite + KnopfLabelAbstand, 0,
                       seitenBreite - knopfBreite - KnopfLabelAbstand, 0);
    label->setBuddy(knopf);
    return label;
}
} // namespace

// Qt's resource registration has to be called from the global namespace.
static void bilderEinbinden()
{
    Q_INIT_RESOURCE(wizard_dialog);
}

int frmWizard::seitenBreite() const
{
    return m_twips.x(SeiteBreite);
}

int frmWizard::seitenHoehe() const
{
    return m_twips.y(SeiteHoehe);
}

void frmWizard::fensterAufbauen()
{
    bilderEinbinden();
    setObjectName(u"frmWizard"_s);
    setModal(false);

    // Verdana where installed; Veranda (fonts-arkpandora) has its metrics.
    QFont schrift;
    schrift.setFamilies({u"Verdana"_s, u"Veranda"_s, u"DejaVu Sans"_s});
    schrift.setPointSizeF(8.25);
    setFont(schrift);

    QPalette farben = palette();
    farben.setColor(QPalette::Window, Qt::white);
    setPalette(farben);
    setAutoFillBackground(true);

    setFixedSize(m_twips.x(FensterBreite), m_twips.y(FensterHoehe));

    bildbereichAufbauen();
    seitenAufbauen();
    knopfleisteAufbauen();
}

void frmWizard::bildbereichAufbauen()
{
    WizardPictureRahmen = new Bildfeld(this, u"WizardPictureRahmen"_s);
    WizardPictureRahmen->setGeometry(m_twips.rechteck(150, 135, 1815, 3435));
    WizardPictureRahmen->hintergrundSetzen(Qt::white);

    WizardPicture = new QLabel(WizardPictureRahmen);
    WizardPicture->setObjectName(u"WizardPicture"_s);
    WizardPicture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QPixmap bild(u":/wizard_dialog/wizardbild.png"_s);
    WizardPicture->setPixmap(bild);
    // Inside the frame lines; a larger picture is cut, not scaled.
    WizardPicture->setGeometry(1, 1, WizardPictureRahmen->width() - 1,
                               WizardPictureRahmen->height() - 1);

    WizardPictureRahmen->kantenlinienZeichnen(QColor(128, 128, 128));
}

void frmWizard::knopfleisteAufbauen()
{
    PictureButtons = new Bildfeld(this, u"PictureButtons"_s);
    PictureButtons->setGeometry(
        m_twips.rechteck(0, FensterHoehe - LeisteHoehe, FensterBreite, LeisteHoehe));
    PictureButtons->hintergrundSetzen(QApplication::palette().color(QPalette::Button));

    auto knopf = [this](const QString& name, const QString& text, int links, int breite) {
        auto* k = new QPushButton(text, PictureButtons);
        k->setObjectName(name);
        k->setGeometry(m_twips.rechteck(links, KnopfOben, breite, KnopfHoehe));
        // The default button is the page's choice alone (KnoepfeAnwenden);
        // an auto-default button would take over the role from the focus.
        k->setAutoDefault(false);
        return k;
    };
    // Created after the pages, so their controls come first in the tab
    // order; KnoepfeAnwenden orders the strip as the buttons stand.
    cmdFertigstellen = knopf(u"cmdFertigstellen"_s, u"Fertig stellen"_s, 210, 1125);
    cmdHilfe = knopf(u"cmdHilfe"_s, u"&Hilfe"_s, 3225, 1140);
    cmdZurück = knopf(u"cmdZurück"_s, u"< &Zurück"_s, 4500, 1140);
    cmdWeiter = knopf(u"cmdWeiter"_s, u"&Weiter >"_s, 5640, 1155);
    cmdAbbrechen = knopf(u"cmdAbbrechen"_s, u"Abbrechen"_s, 6930, 1125);
    cmdHilfe->hide();

    connect(cmdWeiter, &QPushButton::clicked, this,
            [this] { knopfGeklickt(blnBenutzerWeiterGedrückt); });
    connect(cmdZurück, &QPushButton::clicked, this,
            [this] { knopfGeklickt(blnBenutzerZurückGedrückt); });
    connect(cmdAbbrechen, &QPushButton::clicked, this,
            [this] { knopfGeklickt(blnBenutzerAbbrechenGedrückt); });
    connect(cmdFertigstellen, &QPushButton::clicked, this,
            [this] { knopfGeklickt(blnBenutzerFertigstellenGedrückt); });
    connect(cmdHilfe, &QPushButton::clicked, this, &frmWizard::hilfeGeklickt);
}

Bildfeld* frmWizard::seiteAnlegen(const QString& name)
{
    auto* seite = new Bildfeld(this, name);
    seite->setGeometry(m_twips.rechteck(SeiteLinks, SeiteOben, SeiteBreite, SeiteHoehe));
    seite->hintergrundSetzen(Qt::white);
    seite->hide();
    return seite;
}

QLabel* frmWizard::beschriftungAnlegen(Bildfeld* seite, const QString& name)
{
    auto* label = new QLabel(seite);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(0, 0, seitenBreite(), 0);
    return label;
}

void frmWizard::seitenAufbauen()
{
    ShapeNurAnzeige = seiteAnlegen(u"ShapeNurAnzeige"_s);
    ShapeNurAnzeigeÜberschrift =
        beschriftungAnlegen(ShapeNurAnzeige, u"ShapeNurAnzeigeÜberschrift"_s);
    QFont fett = font();
    fett.setPointSizeF(9.75);
    fett.setBold(true);
    ShapeNurAnzeigeÜberschrift->setFont(fett);
    ShapeNurAnzeigeLabel = beschriftungAnlegen(ShapeNurAnzeige, u"ShapeNurAnzeigeLabel"_s);

    ShapeDateinameAuswählen = seiteAnlegen(u"ShapeDateinameAuswählen"_s);
    ShapeDateinameAuswählenLabel =
        beschriftungAnlegen(ShapeDateinameAuswählen, u"ShapeDateinameAuswählenLabel"_s);
    ShapeDateinameAuswählenLabel2 =
        beschriftungAnlegen(ShapeDateinameAuswählen, u"ShapeDateinameAuswählenLabel2"_s);
    ShapeDateinameAuswählenDateiname = new QLineEdit(ShapeDateinameAuswählen);
    ShapeDateinameAuswählenDateiname->setObjectName(u"ShapeDateinameAuswählenDateiname"_s);
    ShapeDateinameAuswählenDateiname->setGeometry(
        0, 0, seitenBreite(), ShapeDateinameAuswählenDateiname->sizeHint().height());
    ShapeDateinameAuswählenDurchsuchen =
        new QPushButton(u"&Durchsuchen.."_s, ShapeDateinameAuswählen);
    ShapeDateinameAuswählenDurchsuchen->setObjectName(u"ShapeDateinameAuswählenDurchsuchen"_s);
    ShapeDateinameAuswählenDurchsuchen->setAutoDefault(false);
    const int durchsuchenBreite =
        qMax(m_twips.x(1500), ShapeDateinameAuswählenDurchsuchen->sizeHint().width());
    ShapeDateinameAuswählenDurchsuchen->setGeometry(seitenBreite() - durchsuchenBreite, 0,
                                                    durchsuchenBreite, m_twips.y(KnopfHoehe));
    connect(ShapeDateinameAuswählenDateiname, &QLineEdit::textChanged, this,
            &frmWizard::PflichteingabePruefen);
    connect(ShapeDateinameAuswählenDurchsuchen, &QPushButton::clicked, this,
            &frmWizard::durchsuchenGeklickt);

    ShapeAusListeauswählen = seiteAnlegen(u"ShapeAusListeauswählen"_s);
    ShapeAusListeauswählenLabel =
        beschriftungAnlegen(ShapeAusListeauswählen, u"ShapeAusListeauswählenLabel"_s);
    ShapeAusListeauswählenListe =
        new Auswahlliste(ShapeAusListeauswählen, u"ShapeAusListeauswählenListe"_s);
    // The list itself keeps a single selection to one entry; every change
    // of the selection runs the gate.
    connect(ShapeAusListeauswählenListe, &QListWidget::itemSelectionChanged, this,
            &frmWizard::PflichteingabePruefen);

    ShapeHäkchenSetzen = seiteAnlegen(u"ShapeHäkchenSetzen"_s);
    ShapeHäkchenSetzenLabel = beschriftungAnlegen(ShapeHäkchenSetzen, u"ShapeHäkchenSetzenLabel"_s);
    ShapeHäkchenSetzenCheck = new QCheckBox(ShapeHäkchenSetzen);
    ShapeHäkchenSetzenCheck->setObjectName(u"ShapeHäkchenSetzenCheck"_s);
    // Its text may be a long path: it wraps in a label beside the box.
    ShapeHäkchenSetzenCheckLabel =
        labelNebenKnopf(ShapeHäkchenSetzenCheck, u"ShapeHäkchenSetzenCheckLabel"_s, seitenBreite());
    connect(ShapeHäkchenSetzenCheckLabel, &KlickLabel::geklickt, ShapeHäkchenSetzenCheck,
            &QCheckBox::toggle);
    connect(ShapeHäkchenSetzenCheck, &QCheckBox::toggled, this, &frmWizard::PflichteingabePruefen);

    ShapeOptionAuswählen = seiteAnlegen(u"ShapeOptionAuswählen"_s);
    ShapeOptionAuswählenLabel =
        beschriftungAnlegen(ShapeOptionAuswählen, u"ShapeOptionAuswählenLabel"_s);
    optionenAnlegen(1);

    ShapeCheckAuswählen = seiteAnlegen(u"ShapeCheckAuswählen"_s);
    ShapeCheckAuswählenLabel =
        beschriftungAnlegen(ShapeCheckAuswählen, u"ShapeCheckAuswählenLabel"_s);
    checkboxenAnlegen(1);

    ShapeTextboxen = seiteAnlegen(u"ShapeTextboxen"_s);
    ShapeTextboxenBeschriftung =
        beschriftungAnlegen(ShapeTextboxen, u"ShapeTextboxenBeschriftung"_s);
    textfelderAnlegen(1);

    ShapeComboTextEingeben = seiteAnlegen(u"ShapeComboTextEingeben"_s);
    ShapeComboTextLabel = beschriftungAnlegen(ShapeComboTextEingeben, u"ShapeComboTextLabel"_s);
    // The rows sit in an area of their own that scrolls when a long caption
    // leaves too little room below it; the page places it.
    ShapeComboTextZeilenbereich =
        new Zeilenbereich(ShapeComboTextEingeben, u"ShapeComboTextZeilenbereich"_s);
    ShapeComboTextZeilenbereich->setGeometry(0, 0, seitenBreite(), 0);
    QWidget* zeilen = ShapeComboTextZeilenbereich->zeilen();
    for (int k = 1; k <= ZeilenAnzahl; ++k) {
        auto* rahmen = new Bildfeld(zeilen, nummeriert(u"ShapeComboTextComboFrame"_s, k));
        rahmen->setGeometry(m_twips.rechteck(RahmenLinks, 0, RahmenBreite, ZeilenHoehe));
        auto* combo = new QComboBox(rahmen);
        combo->setObjectName(nummeriert(u"ShapeComboTextCombo"_s, k));
        // Placed so that the frame cuts off the field's own border at the
        // top and the left: the rows then form one grid with shared lines.
        combo->setGeometry(m_twips.x(ComboVersatz), m_twips.y(ComboVersatz), m_twips.x(ComboBreite),
                           rahmen->height() - m_twips.y(ComboVersatz));
        ShapeComboTextZeilenbereich->radZumRollen(combo);
        // The rows have no labels of their own; screen readers get names.
        combo->setAccessibleName(u"Befehl "_s + QString::number(k));
        auto* parameter = new QLineEdit(zeilen);
        parameter->setObjectName(nummeriert(u"ShapeComboTextText"_s, k));
        parameter->setAccessibleName(u"Parameter "_s + QString::number(k));
        parameter->setGeometry(m_twips.rechteck(ParameterLinks, 0, ParameterBreite, ZeilenHoehe));
        ShapeComboTextComboFrame << rahmen;
        ShapeComboTextCombo << combo;
        ShapeComboTextText << parameter;
    }
}

// The numbered controls exist once: option, check box and text field 1
// from the start, 2 to 10 from the first page that needs them. Each new one
// goes after its predecessor in the tab order.

void frmWizard::optionenAnlegen(int bis)
{
    for (int k = static_cast<int>(ShapeOptionAuswählenOption.size()) + 1; k <= bis; ++k) {
        auto* option = new QRadioButton(ShapeOptionAuswählen);
        option->setObjectName(nummeriert(u"ShapeOptionAuswählenOption"_s, k));
        auto* label = labelNebenKnopf(option, nummeriert(u"ShapeOptionAuswählenOptionLabel"_s, k),
                                      seitenBreite());
        connect(label, &KlickLabel::geklickt, option, [option] { option->setChecked(true); });
        if (!ShapeOptionAuswählenOption.isEmpty()) {
            setTabOrder(ShapeOptionAuswählenOption.last(), option);
            option->hide();
            label->hide();
        }
        ShapeOptionAuswählenOption << option;
        ShapeOptionAuswählenOptionLabel << label;
    }
}

void frmWizard::checkboxenAnlegen(int bis)
{
    for (int k = static_cast<int>(ShapeCheckAuswählenCheck.size()) + 1; k <= bis; ++k) {
        auto* box = new QCheckBox(ShapeCheckAuswählen);
        box->setObjectName(nummeriert(u"ShapeCheckAuswählenCheck"_s, k));
        auto* label =
            labelNebenKnopf(box, nummeriert(u"ShapeCheckAuswählenCheckLabel"_s, k), seitenBreite());
        // Ticked becomes unticked; unticked or half-ticked becomes ticked.
        connect(label, &KlickLabel::geklickt, box, [box] {
            box->setCheckState(box->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        });
        if (!ShapeCheckAuswählenCheck.isEmpty()) {
            setTabOrder(ShapeCheckAuswählenCheck.last(), box);
            box->hide();
            label->hide();
        }
        ShapeCheckAuswählenCheck << box;
        ShapeCheckAuswählenCheckLabel << label;
    }
}

void frmWizard::textfelderAnlegen(int bis)
{
    for (int k = static_cast<int>(ShapeTextboxenText.size()) + 1; k <= bis; ++k) {
        auto* label = new QLabel(ShapeTextboxen);
        label->setObjectName(nummeriert(u"ShapeTextboxenLabel"_s, k));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(0, 0, seitenBreite(), 0);
        auto* feld = new QLineEdit(ShapeTextboxen);
        feld->setObjectName(nummeriert(u"ShapeTextboxenText"_s, k));
        feld->setGeometry(0, 0, seitenBreite(), feld->sizeHint().height());
        if (!ShapeTextboxenText.isEmpty()) {
            setTabOrder(ShapeTextboxenText.last(), feld);
            label->hide();
            feld->hide();
        }
        ShapeTextboxenLabel << label;
        ShapeTextboxenText << feld;
    }
}
