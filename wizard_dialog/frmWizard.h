#pragma once

#include <array>

#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QList>
#include <QPixmap>
#include <QString>

#include "wizard_dialog/ComboTextTabelle.h"
#include "wizard_dialog/Dateiauswahl.h"
#include "wizard_dialog/Twips.h"

class QCheckBox;
class QComboBox;
class QEventLoop;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class Bildfeld;
class Hilfefenster;
class KlickLabel;
class Zeilenbereich;

/// The wizard window. Every page is one call of a ShowShape… operation: it
/// shows the page, runs the event loop until a navigation button ends the
/// page and returns what the user entered. Which button that was the caller
/// reads from the public flags (Abbrechen first, then Zurück).
///
/// Every page operation begins with the four button states of Abbrechen,
/// Zurück, Weiter and Fertig stellen: 0 hidden, 1 shown and enabled, 2 shown
/// but greyed; any other value (also one outside the 16-bit range) leaves the
/// button as the previous page left it. Then comes the window caption, then
/// the page's own parameters; the optional last one is a picture that
/// replaces the one in the picture area (nullptr keeps the current one).
///
/// Multi-line parameters are one text with the pieces joined by CR LF;
/// positions count from 1. The numbered controls are named with their
/// number appended ("ShapeOptionAuswählenOption3").
///
/// A navigation button ends a page only when the user meant that page: a
/// mouse press during the double-click interval after the page began (the
/// second click of a double click on the previous page's button) and a
/// release whose press began before the page are ignored, and so are the
/// repeats of a held Enter, Esc or Alt+letter. Enter presses the focused
/// button, elsewhere the default button, which only KnoepfeAnwenden sets.
class frmWizard : public QDialog
{
    Q_OBJECT
public:
    explicit frmWizard(QWidget* parent = nullptr);
    ~frmWizard() override;

    bool blnBenutzerWeiterGedrückt = false;
    bool blnBenutzerZurückGedrückt = false;
    /// Also set when the user closes the window through its frame.
    bool blnBenutzerAbbrechenGedrückt = false;
    bool blnBenutzerFertigstellenGedrückt = false;
    /// The page is finished; the wait ends on it, also when a caller sets it.
    bool blnBenutzerFertig = false;

    /// A text page, also the status page: with Weiter and Zurück disabled
    /// and Fertig stellen hidden or disabled it returns at once.
    void ShowShapeNurAnzeige(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter, qint32 Fertigstellen,
                             const QString& Fensterbeschriftung, const QString& BeschriftungsText,
                             const QString& Überschrifttext = QString(),
                             const QPixmap* GrafikfürAnzeige = nullptr);

    /// One line of text; returned untrimmed.
    QString ShowShapeTextzeileEingeben(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                       qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                       const QString& BeschriftungsText, const QString& VorgabeText,
                                       bool AuswahlIstZwingend = false,
                                       const QPixmap* GrafikfürAnzeige = nullptr);

    /// A file or folder name with the "&Durchsuchen.." button.
    /// `DateisuchParameter` 0–7 picks a built-in filter (1: "Programme", the
    /// executable files), any other value takes
    /// `OderBenutzerdefinierterDateisuchParameter`; the chooser's list always
    /// ends with "Alle Dateien (*)".
    QString
    ShowShapeDateiAuswählen(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter, qint32 Fertigstellen,
                            const QString& Fensterbeschriftung, const QString& BeschriftungsText,
                            const QString& TextboxBeschriftung, const QString& VorgabeDateiname,
                            qint32 DateisuchParameter = 0,
                            const QString& OderBenutzerdefinierterDateisuchParameter = QString(),
                            bool DateiSpeichernStattÖffnen = false, bool NurOrdnerAuswählen = false,
                            bool AuswahlIstZwingend = false,
                            const QPixmap* GrafikfürAnzeige = nullptr);

    /// A list; the result is the positions of the selected entries joined
    /// by ";" ("1;3"), empty when none. `VorgabeSelectionsIndexe` holds the
    /// positions to pre-select, joined by ";".
    QString ShowShapeAusListeAuswählen(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                       qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                       const QString& BeschriftungsText, QString Listeinträge,
                                       const QString& VorgabeSelectionsIndexe = QString(),
                                       bool AuswahlIstZwingend = false,
                                       bool MehrfacheAuswahlIstMöglich = false,
                                       const QPixmap* GrafikfürAnzeige = nullptr);

    /// One check box; true when it is ticked at the end.
    bool ShowShapeHäkchenSetzen(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                const QString& BeschriftungsText, const QString& CheckBoxText,
                                bool VorgabeHäkchen, bool AuswahlIstZwingend = false,
                                const QPixmap* GrafikfürAnzeige = nullptr);

    /// Up to 10 options; the number of the selected one, 0 when none is.
    qint16 ShowShapeOptionAuswählen(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                    qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                    const QString& BeschriftungsText, const QString& Optionstexte,
                                    qint16 VorAuswahlIndex = 0,
                                    const QPixmap* GrafikfürAnzeige = nullptr);

    /// Up to 10 check boxes; the numbers of the ticked ones joined by CR.
    QString ShowShapeCheckboxenSetzen(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                      qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                      const QString& BeschriftungsText,
                                      const QString& Checkboxentexte,
                                      const QString& VorAuswahlIndexe = QString(),
                                      const QPixmap* GrafikfürAnzeige = nullptr);

    /// Up to 10 labelled text fields; each shown field's text followed by CR.
    QString ShowShapeTexteEingeben(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                   qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                   const QString& BeschriftungsText,
                                   const QString& BeschriftungTextboxen,
                                   const QString& Vorgabetexte,
                                   const QPixmap* GrafikfürAnzeige = nullptr);

    /// Shows a panel of the caller's own: a Bildfeld child of this dialog
    /// named `ShapeName` (ignoring case). Status-page rule as on
    /// ShowShapeNurAnzeige.
    void ShowShapeUserdefiniert(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                qint32 Fertigstellen, const QString& Fensterbeschriftung,
                                const QString& ShapeName,
                                const QString& ControlNameFuerSetfocus = QString());

    /// The command-step editor: 12 rows of command and parameter. Returns a
    /// copy of the table with rows 1 to 12 as the user left them (a shorter
    /// table is extended to 12 rows); `ComboListItems` are the offered
    /// command names, separated by ",". Below a caption too long to leave
    /// room for all rows, the rows scroll.
    ComboTextTabelle ShowShapeComboTextEingeben(qint32 Abbrechen, qint32 Zurueck, qint32 Weiter,
                                                qint32 Fertigstellen,
                                                const QString& Fensterbeschriftung,
                                                const QString& BeschriftungsText,
                                                QString ComboListItems,
                                                ComboTextTabelle arrComboTextItems,
                                                const QPixmap* GrafikfürAnzeige = nullptr);

    /// See StringStueck.h.
    static QString StringStück(QString& GanzerString, const QString& Trennzeichen,
                               bool chr10raustrimmen);

    /// The open chooser: only existing files; the chosen path or empty.
    /// Without a filter all files are offered; without a start folder it
    /// opens in the current directory.
    QString DateiOeffnenDialog(const QString& Filter = QString(),
                               const QString& Startordner = QString());
    /// The save chooser: `Dateiname` is the proposed name; no question
    /// before an existing file is chosen.
    QString DateiSpeichernDialog(const QString& Dateiname = QString(),
                                 const QString& Filter = QString(),
                                 const QString& Startordner = QString());
    /// The folder chooser; the chosen folder or empty.
    QString OrdnerAuswaehlenDialog();

    /// Clears the five flags and hides every page panel.
    void ShapesVerbergen();
    /// Applies the stored button states and picks the default button.
    void KnoepfeAnwenden();
    /// Shows the given picture in the picture area; nullptr or an empty
    /// picture leaves the current one.
    void GrafikUebernehmen(const QPixmap* GrafikfürAnzeige);
    /// Ends the current page.
    void SeiteBeenden();
    /// The required-input gate: with a required input missing, Weiter and
    /// Fertig stellen are greyed, else the stored states are applied again.
    void PflichteingabePruefen();

    /// The choosers behind "&Durchsuchen.."; QFileDialog unless replaced.
    Dateiwahlfunktion dateiwahl;

protected:
    void closeEvent(QCloseEvent* ereignis) override;
    void reject() override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    enum class Seite
    {
        Keine,
        NurAnzeige,
        Textzeile,
        Datei,
        Liste,
        Haekchen,
        Option,
        Checkboxen,
        Texte,
        ComboText,
        Userdefiniert
    };
    enum Knopf
    {
        KnopfAbbrechen,
        KnopfZurueck,
        KnopfWeiter,
        KnopfFertigstellen
    };

    // Building the window (frmWizardAufbau.cpp).
    void fensterAufbauen();
    void bildbereichAufbauen();
    void knopfleisteAufbauen();
    void seitenAufbauen();
    Bildfeld* seiteAnlegen(const QString& name);
    QLabel* beschriftungAnlegen(Bildfeld* seite, const QString& name);
    void optionenAnlegen(int bis);
    void checkboxenAnlegen(int bis);
    void textfelderAnlegen(int bis);

    // Steps shared by the pages (frmWizard.cpp).
    void seiteVorbereiten(Seite seite, qint32 abbrechen, qint32 zurueck, qint32 weiter,
                          qint32 fertigstellen, const QPixmap* grafik);
    void seiteZeigen(Bildfeld* seite, const QString& fensterbeschriftung);
    void dialogZeigen(bool aktivieren = true);
    void standardknopfSetzen();
    void tabfolgeSetzen();
    bool mausAmKnopf(QPushButton* knopf, QEvent::Type art);
    bool tasteFiltern(QWidget* ziel, QKeyEvent* taste);
    bool istStatusseite() const;
    void warten();
    bool eingabeFehlt() const;
    void fokusSetzen(QWidget* ziel);
    void keinFokus();
    void knopfGeklickt(bool& flag);
    void hilfeGeklickt();
    void durchsuchenGeklickt();
    int textHoeheSetzen(QLabel* label, const QString& text, int oben);
    /// Gives `feld` the text as its name for screen readers and makes
    /// `label`, which shows that text, its buddy. Before the label's text is
    /// set.
    void beschriftungSetzen(QWidget* feld, QLabel* label, const QString& text);
    int seitenBreite() const;
    int seitenHoehe() const;

    Twips m_twips;
    std::array<qint16, 4> m_zustand{-1, -1, -1, -1};
    Seite m_seite = Seite::Keine;
    bool m_auswahlIstZwingend = false;
    bool m_mehrfacheAuswahlIstMoeglich = false;
    QString m_filtertext;
    bool m_nurOrdnerAuswaehlen = false;
    bool m_dateiSpeichernStattOeffnen = false;
    QEventLoop* m_warteschleife = nullptr;
    // Pages are counted from 1; a press on a navigation button remembers the
    // page it began on.
    quint64 m_seitenNummer = 0;
    quint64 m_druckSeite = 0;
    QElapsedTimer m_seitenBeginn;
    // The last key released in the dialog and when, to know its repeats.
    int m_losgelasseneTaste = 0;
    quint64 m_losgelassenUm = 0;
    Hilfefenster* m_hilfe = nullptr;
    bool m_zentriert = false;

    Bildfeld* WizardPictureRahmen = nullptr;
    QLabel* WizardPicture = nullptr;
    Bildfeld* PictureButtons = nullptr;
    QPushButton* cmdFertigstellen = nullptr;
    QPushButton* cmdHilfe = nullptr;
    QPushButton* cmdZurück = nullptr;
    QPushButton* cmdWeiter = nullptr;
    QPushButton* cmdAbbrechen = nullptr;

    Bildfeld* ShapeNurAnzeige = nullptr;
    QLabel* ShapeNurAnzeigeÜberschrift = nullptr;
    QLabel* ShapeNurAnzeigeLabel = nullptr;

    Bildfeld* ShapeDateinameAuswählen = nullptr;
    QLabel* ShapeDateinameAuswählenLabel = nullptr;
    QLabel* ShapeDateinameAuswählenLabel2 = nullptr;
    QLineEdit* ShapeDateinameAuswählenDateiname = nullptr;
    QPushButton* ShapeDateinameAuswählenDurchsuchen = nullptr;

    Bildfeld* ShapeAusListeauswählen = nullptr;
    QLabel* ShapeAusListeauswählenLabel = nullptr;
    QListWidget* ShapeAusListeauswählenListe = nullptr;

    Bildfeld* ShapeHäkchenSetzen = nullptr;
    QLabel* ShapeHäkchenSetzenLabel = nullptr;
    QCheckBox* ShapeHäkchenSetzenCheck = nullptr;
    KlickLabel* ShapeHäkchenSetzenCheckLabel = nullptr;

    Bildfeld* ShapeOptionAuswählen = nullptr;
    QLabel* ShapeOptionAuswählenLabel = nullptr;
    QList<QRadioButton*> ShapeOptionAuswählenOption;
    QList<KlickLabel*> ShapeOptionAuswählenOptionLabel;

    Bildfeld* ShapeCheckAuswählen = nullptr;
    QLabel* ShapeCheckAuswählenLabel = nullptr;
    QList<QCheckBox*> ShapeCheckAuswählenCheck;
    QList<KlickLabel*> ShapeCheckAuswählenCheckLabel;

    Bildfeld* ShapeTextboxen = nullptr;
    QLabel* ShapeTextboxenBeschriftung = nullptr;
    QList<QLabel*> ShapeTextboxenLabel;
    QList<QLineEdit*> ShapeTextboxenText;

    Bildfeld* ShapeComboTextEingeben = nullptr;
    QLabel* ShapeComboTextLabel = nullptr;
    Zeilenbereich* ShapeComboTextZeilenbereich = nullptr;
    QList<Bildfeld*> ShapeComboTextComboFrame;
    QList<QComboBox*> ShapeComboTextCombo;
    QList<QLineEdit*> ShapeComboTextText;
};
