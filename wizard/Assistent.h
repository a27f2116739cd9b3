#pragma once

#include "script/Skriptfelder.h"
#include "wizard/Assistentenzustand.h"

class ComboTextTabelle;
class Seiten;
class Umgebung;

/// The wizard driver: the start-up reading, then the pages S1 to S21, the
/// saving of the definition and the test recording, walked as a table of
/// steps. Each step shows its page and names the step that follows; Back
/// and Cancel are decided in one place (`navigation`).
///
/// Errors before the file-name page, and on the pages of the test that wait
/// for the user, are not caught: `ausfuehren` throws them (a `Fehler`) and
/// the program ends with the message. From the file-name page until the file
/// is written, and while the test recording runs, the driver catches them.
class Assistent
{
public:
    Assistent(Seiten& seiten, Umgebung& umgebung);

    /// Runs the wizard from the start-up reading until Cancel, the end of
    /// the test or an error that ends it.
    void ausfuehren();

    const Assistentenzustand& zustand() const { return z; }
    const Skriptfelder& felder() const { return f; }

    /// The e-mail address of the Sendaro's service, named in the message
    /// after saving.
    static QString serviceadresse();

    enum class Schritt
    {
        S1,
        S2,
        S3,
        S4,
        S5,
        S6,
        S7,
        S8,
        S9,
        S10,
        S11,
        S12,
        S13,
        S14,
        S15,
        S16,
        S17,
        S18,
        S19,
        S20,
        S21,
        Testfrage,
        Testlauf,
        Ergebnis,
        Abschluss,
        Ende
    };

private:
    // Settings elements: current definition, folder of the TV application,
    // mute, channel switching.
    static constexpr qint32 kElementDefinition = 10;
    static constexpr qint32 kElementProgrammordner = 11;
    static constexpr qint32 kElementStummschaltung = 15;
    static constexpr qint32 kElementKanalWechseln = 17;

    enum class Knopf
    {
        Weiter,
        Zurueck,
        Abbrechen
    };
    /// How the page just shown was ended (Abbrechen is read first).
    Knopf gedrueckt() const;
    /// The step after a page: Cancel ends the run, Back goes to `zurueck`,
    /// Next to `weiter`.
    Schritt navigation(Schritt zurueck, Schritt weiter) const;

    void startlesung();

    Schritt s1();
    Schritt s2();
    Schritt s3();
    Schritt listenseite(bool erkannte);
    void hinweisZeigen();
    Schritt s4();
    Schritt s5();
    Schritt s6();
    Schritt s7();
    Schritt s8();
    void definitionLaden();
    Schritt s9();
    Schritt s10();
    Schritt s11();
    Schritt s12();
    Schritt s13();
    Schritt s14();
    Schritt befehlsseite(int nummer);
    Schritt s20();
    Schritt s21();
    Schritt speichern();
    Schritt testfrage();
    Schritt testlauf();
    Schritt ergebnis();
    Schritt abschluss();

    /// Folder placeholders and the TV application's folder and title put in
    /// for `Arbeitstext`, with the field values of the moment.
    void WerteEinsetzen();
    void statusseite(const QString& beschriftung, const QString& statuszeile);

    Seiten& m_seiten;
    Umgebung& m_umgebung;
    Assistentenzustand z;
    Skriptfelder f;
    QString m_vorgeschlagenerName;
    QString m_testtext;
};

/// The numeric value of a page result as Val reads it: the leading decimal
/// digits after blanks, 0 when there are none.
int Zahlwert(const QString& text);

/// One command list as the rows of the command-step editor, and back.
ComboTextTabelle ListeAlsTabelle(const QStringList& liste);
QStringList TabelleAlsListe(const ComboTextTabelle& tabelle);
