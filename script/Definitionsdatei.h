#pragma once

#include <QString>
#include <QStringList>

struct Skriptfelder;

/// Definition files (*.azs): one TV application, its general settings and
/// its five command lists. Files live in the program's folder; readers that
/// are given a path use only its file-name part. On disk the text is
/// Windows-1252 with CR LF line ends. On reading, CR LF, CR alone and LF
/// alone each end a line, and a file that is valid UTF-8 as a whole is read
/// as UTF-8 (see TextdateiLesen). Only regular files are read, of at most
/// 4 MiB with lines of at most 64 Ki characters; anything else is refused
/// with Fehler 75 and a message that says why.

/// The line up to the first apostrophe that stands outside double quotes.
QString KommentarEntfernen(const QString& zeile);

/// The text before the first "=", trimmed of blanks and tabs, lower-cased;
/// empty when the line has no "=".
QString ZeilenSchluessel(const QString& zeile);

/// The text after the first "=", trimmed of blanks and tabs, without one
/// leading and then one trailing double quote; empty without "=".
QString ZeilenWert(const QString& zeile);

/// Loads the file named by `felder.SkriptDateiname` into the fields.
/// A missing file loads nothing and is no error; a wrong header throws
/// Fehler(1, "SkriptEinladen", "Das Format oder die Version der Skriptdatei
/// ist ungültig."). A file that cannot be read (also one too large, or no
/// regular file) throws Fehler 75. On any error the fields stay empty.
void SkriptEinladen(Skriptfelder& felder);

/// Three parallel lists: file names, descriptions and default folders of
/// every "*.azs" file of a folder, sorted by description (ordinal, stable).
struct Skriptdateiliste
{
    QStringList dateinamen;
    QStringList beschreibungen;
    QStringList standardverzeichnisse;
};
/// A folder that does not exist gives empty lists; entries that are no
/// regular files (also links to pipes or devices) are left out; a folder or
/// a file in it that cannot be read throws Fehler 75.
Skriptdateiliste SkriptdateienAuflisten(const QString& ordner);

/// The single-value readers throw Fehler 53 for a missing file and Fehler 75
/// for one that cannot be read.

/// The value of the first line with the given key; empty when there is none.
QString SchluesselwertLesen(const QString& datei, const QString& schluessel);

/// Item `index` + 1 of the first command line under `schluessel` whose
/// command is `befehl` (both ignoring case); empty when none matches.
QString BefehlsparameterLesen(const QString& datei, const QString& schluessel,
                              const QString& befehl, int index);

/// What the wizard writes into a definition file; folders and the window
/// title in it have already been replaced by their placeholders.
struct Definition
{
    QString Beschreibung;
    QString TVAnwendungdatei;
    QString TVAnwendungtitel;
    QString Standardverzeichnis;
    QString AuswahlInfo;
    QStringList BefehleAnwendungStarten;
    QStringList BefehleKanalWechseln;
    QStringList BefehleAufnahmeStarten;
    QStringList BefehleAufnahmeBeenden;
    QStringList BefehleAnwendungBeenden;
};

/// Writes a definition file in the program's folder in its fixed layout,
/// replacing an existing file of that name as a whole (Fehler 75 when that
/// fails; the old file then stays as it was). The format has no line breaks
/// inside values: in `AuswahlInfo` one is written as "[Enter]", in every
/// other value as a blank.
void DefinitionSchreiben(const QString& dateiname, const Definition& definition);
