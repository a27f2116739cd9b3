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
