#pragma once

#include <QString>

#include "wizard_dialog/ComboTextTabelle.h"

/// What the wizard driver needs of its window: one call per page, the
/// buttons that ended it, and message boxes. frmWizard stands behind it in
/// the program; tests put a scripted user there.
///
/// Every page call begins with the states of Abbrechen, Zurück, Weiter and
/// Fertig stellen (0 hidden, 1 shown and enabled, 2 shown but greyed) and
/// the window caption, and returns when a navigation button ended the page;
/// a page whose Abbrechen, Zurück and Weiter are all greyed and whose
/// Fertig stellen is not enabled is a status page and returns at once.
/// Multi-line texts are joined by CR LF; positions count from 1.
class Seiten
{
public:
    virtual ~Seiten() = default;

    virtual void ShowShapeNurAnzeige(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                     const QString& Fensterbeschriftung,
                                     const QString& BeschriftungsText,
                                     const QString& Überschrifttext) = 0;
    /// The line as typed, untrimmed.
    virtual QString
    ShowShapeTextzeileEingeben(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                               const QString& Fensterbeschriftung, const QString& BeschriftungsText,
                               const QString& VorgabeText, bool AuswahlIstZwingend) = 0;
    /// `DateisuchParameter` 0–7 picks a built-in filter (1: programs), any
    /// other value takes the caller's filter text.
    virtual QString ShowShapeDateiAuswählen(
        int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
        const QString& Fensterbeschriftung, const QString& BeschriftungsText,
        const QString& TextboxBeschriftung, const QString& VorgabeDateiname, int DateisuchParameter,
        const QString& OderBenutzerdefinierterDateisuchParameter, bool DateiSpeichernStattÖffnen,
        bool NurOrdnerAuswählen, bool AuswahlIstZwingend) = 0;
    /// The selected positions as decimal digits (joined by ";" when several
    /// may be chosen); empty when none is selected.
    virtual QString
    ShowShapeAusListeAuswählen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                               const QString& Fensterbeschriftung, const QString& BeschriftungsText,
                               const QString& Listeinträge, const QString& VorgabeSelectionsIndexe,
                               bool AuswahlIstZwingend, bool MehrfacheAuswahlIstMöglich) = 0;
    virtual bool ShowShapeHäkchenSetzen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                        const QString& Fensterbeschriftung,
                                        const QString& BeschriftungsText,
                                        const QString& CheckBoxText, bool VorgabeHäkchen,
                                        bool AuswahlIstZwingend) = 0;
    /// The number of the chosen option, 0 when none is chosen.
    virtual int ShowShapeOptionAuswählen(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                                         const QString& Fensterbeschriftung,
                                         const QString& BeschriftungsText,
                                         const QString& Optionstexte, int VorAuswahlIndex) = 0;
    /// The command-step editor; the table as the user left it.
    virtual ComboTextTabelle
    ShowShapeComboTextEingeben(int Abbrechen, int Zurueck, int Weiter, int Fertigstellen,
                               const QString& Fensterbeschriftung, const QString& BeschriftungsText,
                               const QString& ComboListItems,
                               const ComboTextTabelle& arrComboTextItems) = 0;

    /// How the page last shown was ended; read Abbrechen first.
    virtual bool blnBenutzerAbbrechenGedrückt() const = 0;
    virtual bool blnBenutzerZurückGedrückt() const = 0;

    enum class Symbol
    {
        Information,
        Frage,
        Warnung,
        Kritisch
    };
    enum class Knoepfe
    {
        OK,
        JaNein,           ///< Ja is the default button
        JaNeinNeinVorgabe ///< Nein is the default button
    };
    enum class Antwort
    {
        OK,
        Ja,
        Nein
    };
    /// A modal message box; closing it through its frame answers Nein
    /// (or OK for a box with OK alone).
    virtual Antwort meldung(const QString& text, const QString& titel, Symbol symbol,
                            Knoepfe knoepfe) = 0;

    /// Unloads the window at the end of the run.
    virtual void schliessen() = 0;
};
