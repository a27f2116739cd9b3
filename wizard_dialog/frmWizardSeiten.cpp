// The text, text-line, file, list, check-box and caller-defined pages.

#include "wizard_dialog/frmWizard.h"

#include <array>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "system/TextZeile2Collection.h"
#include "wizard_dialog/Bildfeld.h"
#include "wizard_dialog/Dateifilter.h"
#include "wizard_dialog/KlickLabel.h"
#include "wizard_dialog/StringStueck.h"

using namespace Qt::StringLiterals;

namespace {
// Gaps below the caption label, in pixels.
constexpr int AbstandUeberschrift = 6;
constexpr int AbstandListe = 6;
constexpr int ListeRandUnten = 3;
constexpr int AbstandHaekchen = 6;
constexpr int AbstandDurchsuchen = 3;

const QString CR = u"\r"_s;

QString dateifilter(qint32 nummer, const QString& eigenerFilter)
{
    static const std::array<QString, 8> voreinstellungen{
        u"Alle Dateien (*.*)|*.*"_s,
        // Linux programs are the executable files, whatever their names.
        u"Programme|"_s + AusfuehrbareDateien,
        u"Grafiken (*.jpg *.gif *.bmp *.wmf *.pcx *.tif)|*.jpg;*.gif;*.bmp;*.wmf;*.pcx;*.tif"_s,
        u"Symbole (*.ico *.cur *.ani)|*.ico;*.cur;*.ani"_s,
        u"Textdateien (*.txt *.doc *.rtf *.wri)|*.txt;*.doc;*.rtf;*.wri"_s,
        u"Internetseiten (*.htm *.html)|*.htm;*.html"_s,
        u"Multimedia (*.avi *.mpg *.wav)|*.avi;*.mpg;*.wav"_s,
        u"Audio (*.wav)|*.wav"_s,
    };
    if (nummer >= 0 && nummer < static_cast<qint32>(voreinstellungen.size()))
        return voreinstellungen.at(static_cast<size_t>(nummer));
    return eigenerFilter;
}
} // namespace

void frmWizard::keinFokus()
{
    // No control of the page has the focus: the window holds it itself, so
    // Enter and Esc reach its default and cancel buttons. Left without any
    // focus, the window would hand it to its first button on activation.
    setFocus(Qt::OtherFocusReason);
}

void frmWizard::ShowShapeNurAnzeige(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                    qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                    const QString& BeschriftungsText,
                                    const QString& Überschrifttext, const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::NurAnzeige, Abbrechen, Zurueck, Weiter, Fertigstellen,
                     GrafikfürAnzeige);
    int oben = textHoeheSetzen(ShapeNurAnzeigeÜberschrift, Überschrifttext, 0);
    if (!Überschrifttext.isEmpty()) {
        ShapeNurAnzeigeÜberschrift->show();
        oben += AbstandUeberschrift;
    } else {
        ShapeNurAnzeigeÜberschrift->hide();
        oben = ShapeNurAnzeigeÜberschrift->y();
    }
    textHoeheSetzen(ShapeNurAnzeigeLabel, BeschriftungsText, oben);
    seiteZeigen(ShapeNurAnzeige, Fensterbeschriftung);

    if (istStatusseite()) {
        dialogZeigen(false);
        blnBenutzerFertig = true;
        return;
    }
    dialogZeigen();
    keinFokus();
    warten();
}

QString frmWizard::ShowShapeTextzeileEingeben(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                              qint32 Fertigstellen,
                                              const QString& Fensterbeschriftung,
                                              const QString& BeschriftungsText,
                                              const QString& VorgabeText, bool AuswahlIstZwingend,
                                              const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::Textzeile, Abbrechen, Zurueck, Weiter, Fertigstellen, GrafikfürAnzeige);
    m_auswahlIstZwingend = AuswahlIstZwingend;
    // The caption is the field's label here.
    ShapeDateinameAuswählenLabel2->setBuddy(nullptr);
    beschriftungSetzen(ShapeDateinameAuswählenDateiname, ShapeDateinameAuswählenLabel,
                       BeschriftungsText);
    int unten = textHoeheSetzen(ShapeDateinameAuswählenLabel, BeschriftungsText, 0);
    ShapeDateinameAuswählenDateiname->setText(VorgabeText);
    ShapeDateinameAuswählenDurchsuchen->hide();
    ShapeDateinameAuswählenLabel2->hide();
    PflichteingabePruefen();

    // The hidden second label keeps one empty line between text and field.
    unten = textHoeheSetzen(ShapeDateinameAuswählenLabel2, QString(), unten);
    ShapeDateinameAuswählenDateiname->move(0, unten);

    seiteZeigen(ShapeDateinameAuswählen, Fensterbeschriftung);
    dialogZeigen();
    fokusSetzen(ShapeDateinameAuswählenDateiname);
    ShapeDateinameAuswählenDateiname->end(false);
    warten();
    return ShapeDateinameAuswählenDateiname->text();
}

QString frmWizard::ShowShapeDateiAuswählen(
    qint32 Abbrechen, qint32 Zurueck, qint32 Weiter, qint32 Fertigstellen,
    const QString& Fensterbeschriftung, const QString& BeschriftungsText,
    const QString& TextboxBeschriftung, const QString& VorgabeDateiname, qint32 DateisuchParameter,
    const QString& OderBenutzerdefinierterDateisuchParameter, bool DateiSpeichernStattÖffnen,
    bool NurOrdnerAuswählen, bool AuswahlIstZwingend, const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::Datei, Abbrechen, Zurueck, Weiter, Fertigstellen, GrafikfürAnzeige);
    m_filtertext = dateifilter(DateisuchParameter, OderBenutzerdefinierterDateisuchParameter);
    m_nurOrdnerAuswaehlen = NurOrdnerAuswählen;
    m_dateiSpeichernStattOeffnen = DateiSpeichernStattÖffnen;
    m_auswahlIstZwingend = AuswahlIstZwingend;
    ShapeDateinameAuswählenLabel->setBuddy(nullptr);
    beschriftungSetzen(ShapeDateinameAuswählenDateiname, ShapeDateinameAuswählenLabel2,
                       TextboxBeschriftung);

    ShapeDateinameAuswählenDurchsuchen->show();
    ShapeDateinameAuswählenLabel2->show();
    const int labelHoehe = textHoeheSetzen(ShapeDateinameAuswählenLabel2, TextboxBeschriftung, 0);
    const int unten = textHoeheSetzen(ShapeDateinameAuswählenLabel, BeschriftungsText, 0);
    ShapeDateinameAuswählenDateiname->setText(VorgabeDateiname);
    PflichteingabePruefen();

    // One empty line of the second label's height between text and label.
    const int feldOben =
        textHoeheSetzen(ShapeDateinameAuswählenLabel2, TextboxBeschriftung, unten + labelHoehe);
    ShapeDateinameAuswählenDateiname->move(0, feldOben);
    ShapeDateinameAuswählenDurchsuchen->move(ShapeDateinameAuswählenDurchsuchen->x(),
                                             feldOben + ShapeDateinameAuswählenDateiname->height() +
                                                 AbstandDurchsuchen);

    seiteZeigen(ShapeDateinameAuswählen, Fensterbeschriftung);
    dialogZeigen();
    fokusSetzen(ShapeDateinameAuswählenDateiname);
    warten();
    return ShapeDateinameAuswählenDateiname->text();
}

QString frmWizard::ShowShapeAusListeAuswählen(
    qint32 Abbrechen, qint32 Zurueck, qint32 Weiter, qint32 Fertigstellen,
    const QString& Fensterbeschriftung, const QString& BeschriftungsText, QString Listeinträge,
    const QString& VorgabeSelectionsIndexe, bool AuswahlIstZwingend,
    bool MehrfacheAuswahlIstMöglich, const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::Liste, Abbrechen, Zurueck, Weiter, Fertigstellen, GrafikfürAnzeige);
    m_auswahlIstZwingend = AuswahlIstZwingend;
    m_mehrfacheAuswahlIstMoeglich = MehrfacheAuswahlIstMöglich;
    beschriftungSetzen(ShapeAusListeauswählenListe, ShapeAusListeauswählenLabel, BeschriftungsText);
    const int unten = textHoeheSetzen(ShapeAusListeauswählenLabel, BeschriftungsText, 0);

    QListWidget* liste = ShapeAusListeauswählenListe;
    liste->clear();
    // Several entries are chosen by plain clicks, each toggling its entry;
    // a single selection always keeps the entry clicked last.
    liste->setSelectionMode(MehrfacheAuswahlIstMöglich ? QAbstractItemView::MultiSelection
                                                       : QAbstractItemView::SingleSelection);
    while (!Listeinträge.isEmpty())
        liste->addItem(StringStück(Listeinträge, CR, true));

    const QString vorgabe = u';' + VorgabeSelectionsIndexe + u';';
    for (int i = 0; i < liste->count(); ++i) {
        if (!vorgabe.contains(u';' + QString::number(i + 1) + u';'))
            continue;
        liste->item(i)->setSelected(true);
        if (!MehrfacheAuswahlIstMöglich) {
            liste->setCurrentRow(i);
            liste->scrollToItem(liste->item(i));
            break;
        }
    }

    const int oben = unten + AbstandListe;
    liste->setGeometry(0, oben, seitenBreite(), seitenHoehe() - oben - ListeRandUnten);
    PflichteingabePruefen();

    seiteZeigen(ShapeAusListeauswählen, Fensterbeschriftung);
    dialogZeigen();
    fokusSetzen(liste);
    warten();

    QStringList gewaehlt;
    for (int i = 0; i < liste->count(); ++i) {
        if (liste->item(i)->isSelected())
            gewaehlt << QString::number(i + 1);
    }
    return gewaehlt.join(u';');
}

bool frmWizard::ShowShapeHäkchenSetzen(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                       qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                       const QString& BeschriftungsText,
                                       const QString& CheckBoxText, bool VorgabeHäkchen,
                                       bool AuswahlIstZwingend, const QPixmap* GrafikfürAnzeige)
{
    seiteVorbereiten(Seite::Haekchen, Abbrechen, Zurueck, Weiter, Fertigstellen, GrafikfürAnzeige);
    m_auswahlIstZwingend = AuswahlIstZwingend;
    const int unten = textHoeheSetzen(ShapeHäkchenSetzenLabel, BeschriftungsText, 0);
    ShapeHäkchenSetzenCheck->setChecked(VorgabeHäkchen);
    PflichteingabePruefen();

    // The box's text wraps in its label, at the box's height.
    const int oben = unten + AbstandHaekchen;
    ShapeHäkchenSetzenCheck->move(0, oben);
    beschriftungSetzen(ShapeHäkchenSetzenCheck, ShapeHäkchenSetzenCheckLabel, CheckBoxText);
    textHoeheSetzen(ShapeHäkchenSetzenCheckLabel, CheckBoxText, oben);

    seiteZeigen(ShapeHäkchenSetzen, Fensterbeschriftung);
    dialogZeigen();
    fokusSetzen(ShapeHäkchenSetzenCheck);
    warten();
    return ShapeHäkchenSetzenCheck->isChecked();
}

void frmWizard::ShowShapeUserdefiniert(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                       qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                       const QString& ShapeName,
                                       const QString& ControlNameFuerSetfocus)
{
    seiteVorbereiten(Seite::Userdefiniert, Abbrechen, Zurueck, Weiter, Fertigstellen, nullptr);
    for (Bildfeld* feld : findChildren<Bildfeld*>()) {
        if (feld->objectName().compare(ShapeName, Qt::CaseInsensitive) == 0) {
            seiteZeigen(feld, Fensterbeschriftung);
            dialogZeigen();
        }
    }
    if (!ControlNameFuerSetfocus.isEmpty()) {
        for (QWidget* w : findChildren<QWidget*>()) {
            if (w->objectName().compare(ControlNameFuerSetfocus, Qt::CaseInsensitive) == 0)
                fokusSetzen(w);
        }
    }
    if (istStatusseite()) {
        blnBenutzerFertig = true;
        return;
    }
    warten();
}
