#pragma once

#include "wizard/Seiten.h"

class frmWizard;

/// The pages on the real wizard window, message boxes as QMessageBox over it.
class FormSeiten : public Seiten
{
public:
    explicit FormSeiten(frmWizard& form);

    void ShowShapeNurAnzeige(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                             const QString& Fensterbeschriftung, const QString& BeschriftungsText,
                             const QString& Überschrifttext) override;
    QString ShowShapeTextzeileEingeben(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                       const QString& Fensterbeschriftung,
                                       const QString& BeschriftungsText, const QString& VorgabeText,
                                       bool AuswahlIstZwingend) override;
    QString ShowShapeDateiAuswählen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                    const QString& Fensterbeschriftung,
                                    const QString& BeschriftungsText,
                                    const QString& TextboxBeschriftung,
                                    const QString& VorgabeDateiname, int DateisuchParameter,
                                    const QString& OderBenutzerdefinierterDateisuchParameter,
                                    bool DateiSpeichernStattÖffnen, bool NurOrdnerAuswählen,
                                    bool AuswahlIstZwingend) override;
    QString
    ShowShapeAusListeAuswählen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                               const QString& Fensterbeschriftung, const QString& BeschriftungsText,
                               const QString& Listeinträge, const QString& VorgabeSelectionsIndexe,
                               bool AuswahlIstZwingend, bool MehrfacheAuswahlIstMöglich) override;
    bool ShowShapeHäkchenSetzen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                const QString& Fensterbeschriftung,
                                const QString& BeschriftungsText, const QString& CheckBoxText,
                                bool VorgabeHäkchen, bool AuswahlIstZwingend) override;
    int ShowShapeOptionAuswählen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                 const QString& Fensterbeschriftung,
                                 const QString& BeschriftungsText, const QString& Optionstexte,
                                 int VorAuswahlIndex) override;
    ComboTextTabelle ShowShapeComboTextEingeben(int Abbrechen, int Zurueck, int Weiter,
                                                int Fertigstellen,
                                                const QString& Fensterbeschriftung,
                                                const QString& BeschriftungsText,
                                                const QString& ComboListItems,
                                                const ComboTextTabelle& arrComboTextItems) override;

    bool blnBenutzerAbbrechenGedrückt() const override;
    bool blnBenutzerZurückGedrückt() const override;

    Antwort meldung(const QString& text, const QString& titel, Symbol symbol,
                    Knoepfe knoepfe) override;
    void schliessen() override;

private:
    frmWizard& m_form;
};
