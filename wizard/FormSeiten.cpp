#include "wizard/FormSeiten.h"

#include <QMessageBox>

#include "wizard_dialog/frmWizard.h"

FormSeiten::FormSeiten(frmWizard& form)
    : m_form(form)
{}

void FormSeiten::ShowShapeNurAnzeige(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                     const QString& Fensterbeschriftung,
                                     const QString& BeschriftungsText,
                                     const QString& Überschrifttext)
{
    m_form.ShowShapeNurAnzeige(Abbrechen, Zurueck, Weiter, Fertigstellen, Fensterbeschriftung,
                               BeschriftungsText, Überschrifttext);
}

QString FormSeiten::ShowShapeTextzeileEingeben(int Abbrechen, int Zurueck, int Weiter,
                                               int Fertigstellen,
                                               const QString& Fensterbeschriftung,
                                               const QString& BeschriftungsText,
                                               const QString& VorgabeText, bool AuswahlIstZwingend)
{
    return m_form.ShowShapeTextzeileEingeben(Abbrechen, Zurueck, Weiter, Fertigstellen,
                                             Fensterbeschriftung, BeschriftungsText, VorgabeText,
                                             AuswahlIstZwingend);
}

QString FormSeiten::ShowShapeDateiAuswählen(
    int Abbrechen, int Zurueck, int Weiter, int Fertigstellen, const QString& Fensterbeschriftung,
    const QString& BeschriftungsText, const QString& TextboxBeschriftung,
    const QString& VorgabeDateiname, int DateisuchParameter,
    const QString& OderBenutzerdefinierterDateisuchParameter, bool DateiSpeichernStattÖffnen,
    bool NurOrdnerAuswählen, bool AuswahlIstZwingend)
{
    return m_form.ShowShapeDateiAuswählen(
        Abbrechen, Zurueck, Weiter, Fertigstellen, Fensterbeschriftung, BeschriftungsText,
        TextboxBeschriftung, VorgabeDateiname, DateisuchParameter,
        OderBenutzerdefinierterDateisuchParameter, DateiSpeichernStattÖffnen, NurOrdnerAuswählen,
        AuswahlIstZwingend);
}

QString FormSeiten::ShowShapeAusListeAuswählen(
    int Abbrechen, int Zurueck, int Weiter, int Fertigstellen, const QString& Fensterbeschriftung,
    const QString& BeschriftungsText, const QString& Listeinträge,
    const QString& VorgabeSelectionsIndexe, bool AuswahlIstZwingend,
    bool MehrfacheAuswahlIstMöglich)
{
    return m_form.ShowShapeAusListeAuswählen(
        Abbrechen, Zurueck, Weiter, Fertigstellen, Fensterbeschriftung, BeschriftungsText,
        Listeinträge, VorgabeSelectionsIndexe, AuswahlIstZwingend, MehrfacheAuswahlIstMöglich);
}

bool FormSeiten::ShowShapeHäkchenSetzen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                        const QString& Fensterbeschriftung,
                                        const QString& BeschriftungsText,
                                        const QString& CheckBoxText, bool VorgabeHäkchen,
                                        bool AuswahlIstZwingend)
{
    return m_form.ShowShapeHäkchenSetzen(Abbrechen, Zurueck, Weiter, Fertigstellen,
                                         Fensterbeschriftung, BeschriftungsText, CheckBoxText,
                                         VorgabeHäkchen, AuswahlIstZwingend);
}

int FormSeiten::ShowShapeOptionAuswählen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                         const QString& Fensterbeschriftung,
                                         const QString& BeschriftungsText,
                                         const QString& Optionstexte, int VorAuswahlIndex)
{
    return m_form.ShowShapeOptionAuswählen(Abbrechen, Zurueck, Weiter, Fertigstellen,
                                           Fensterbeschriftung, BeschriftungsText, Optionstexte,
                                           static_cast<qint16>(VorAuswahlIndex));
}

ComboTextTabelle FormSeiten::ShowShapeComboTextEingeben(int Abbrechen, int Zurueck, int Weiter,
                                                        int Fertigstellen,
                                                        const QString& Fensterbeschriftung,
                                                        const QString& BeschriftungsText,
                                                        const QString& ComboListItems,
                                                        const ComboTextTabelle& arrComboTextItems)
{
    return m_form.ShowShapeComboTextEingeben(Abbrechen, Zurueck, Weiter, Fertigstellen,
                                             Fensterbeschriftung, BeschriftungsText, ComboListItems,
                                             arrComboTextItems);
}

bool FormSeiten::blnBenutzerAbbrechenGedrückt() const
{
    return m_form.blnBenutzerAbbrechenGedrückt;
}

bool FormSeiten::blnBenutzerZurückGedrückt() const
{
    return m_form.blnBenutzerZurückGedrückt;
}

Seiten::Antwort FormSeiten::meldung(const QString& text, const QString& titel, Symbol symbol,
                                    Knoepfe knoepfe)
{
    QMessageBox box(&m_form);
    box.setWindowTitle(titel);
    box.setText(text);
    switch (symbol) {
    case Symbol::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Symbol::Frage:
        box.setIcon(QMessageBox::Question);
        break;
    case Symbol::Warnung:
        box.setIcon(QMessageBox::Warning);
        break;
    case Symbol::Kritisch:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (knoepfe == Knoepfe::OK) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        box.exec();
        return Antwort::OK;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(knoepfe == Knoepfe::JaNein ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Antwort::Ja : Antwort::Nein;
}

void FormSeiten::schliessen()
{
    m_form.hide();
}
