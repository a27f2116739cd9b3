#pragma once

#include <QString>

class Desktop;
struct Skriptfelder;

/// Every occurrence of `suche` in `text` replaced by `ersatz`, ignoring case,
/// left to right, without overlaps; untouched characters keep their case and
/// a replacement is never searched again. An empty search text changes
/// nothing.
QString JokerErsetzen(const QString& text, const QString& suche, const QString& ersatz);

/// How often `suche` occurs in `text`, ignoring case; overlapping
/// occurrences count ("aa" occurs twice in "aaa").
int AnzahlVorkommen(const QString& text, const QString& suche);

/// The special folder of the given number (38 programs, 36 system, 37 system
/// programs) without a trailing separator; empty when there is none.
QString GetSonderOrdner(Desktop& desktop, int nummer);

/// "[ProgrammeOrdner]", "[WindowsOrdner]" and "[System32Ordner]" replaced by
/// their folders, in this order.
QString OrdnerJokerErsetzen(Desktop& desktop, const QString& text);

/// `ordner` replaced by `platzhalter` wherever it stands as whole path
/// components, with exact case (Linux folder names are case-sensitive and
/// short: "/opt" must not hit "/home/me/optik" or "/OPT"). An occurrence
/// counts only after the start of the text or a blank, tab, `"`, `'`, `,`,
/// `=` or `(`, and before the end of the text or `/`, `\`, a blank, tab,
/// `"`, `'`, `,` or `)`. Trailing separators of `ordner` are ignored (the
/// root "/" stays); an empty `ordner` changes nothing.
QString OrdnerDurchPlatzhalterErsetzen(const QString& text, const QString& ordner,
                                       const QString& platzhalter);

/// For writing a definition: the special folders 38, 36 and 37 replaced, in
/// this order, by "[ProgrammeOrdner]", "[WindowsOrdner]" and
/// "[System32Ordner]" (as whole path components, see above). For the
/// default folder.
QString SonderOrdnerPlatzhalterEinsetzen(Desktop& desktop, const QString& text);

/// For writing a command line: `programmordner` by "[TVSoftwarePfad]" first
/// (so a TV application below a special folder is stored relative to its
/// own folder), then the special folders as above, then the window title by
/// "[TVAnwendungtitel]", with exact case: read back, the placeholder gives
/// the title as typed, so the program file "kaffeine" of the window
/// "Kaffeine" has to keep its own letters, or it is not found. Text a
/// placeholder already stands for is never searched again, so a title such
/// as "Ordner" cannot break "[ProgrammeOrdner]" apart.
QString PlatzhalterEinsetzen(Desktop& desktop, const QString& text, const QString& programmordner,
                             const QString& titel);

/// The broadcast title made safe for file names: every character outside
/// "abcdefghijklmnopqrstuvwxyz0123456789öäüß!§$%&()={}[]+-#;" (ignoring
/// case) becomes "-"; the length does not change.
QString TitelBereinigen(const QString& titel);

/// Replaces the placeholders of a command line just before it runs, in the
/// fixed order [TVSoftwarePfad], [TVAufzeichnungenPfad], [Kanal],
/// [TVAnwendungtitel], [Datum], [Zeit], [Titel], then the three folders.
/// A value inserted by an earlier step is still subject to the later ones.
QString JokerFuerAusfuehrungErsetzen(const Skriptfelder& felder, Desktop& desktop,
                                     const QString& zeile);
