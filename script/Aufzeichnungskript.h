#pragma once

#include <QString>

class Desktop;
struct Skriptfelder;

/// The command interpreter: runs the command lines of a loaded definition
/// file against the desktop. Errors are thrown as `Fehler` (number, source,
/// German message); the caller shows them. While `felder.StatusAnzeigen` is
/// on, every command is reported to the status display (Statusanzeige.h).

/// Runs one command line: placeholders replaced, split at "," into command
/// word and parameter (quotes removed), then one of AnwendungStarten,
/// FensterAktivieren, Warten, TastenSenden, Terminieren, Beep (ignoring
/// case). Throws Fehler(1, "BefehlAusführen", ...) when the command fails or
/// is unknown, Fehler(5, ...) when a command that needs a parameter has none
/// and Fehler(6, ...) for a wait too long to count.
void BefehlAusführen(const Skriptfelder& felder, Desktop& desktop, const QString& befehlszeile);

/// The phase procedures: each runs its command list in order and stops at
/// the first error, which it throws again with its own name as source and
/// its fixed message, CR LF and the inner message in front.
void AnwendungStarten(const Skriptfelder& felder, Desktop& desktop);
/// Runs nothing while `felder.KanalWechselnAktiv` is off.
void KanalWechseln(const Skriptfelder& felder, Desktop& desktop);
void AufzeichnungStarten(const Skriptfelder& felder, Desktop& desktop);
void AufzeichnungBeenden(const Skriptfelder& felder, Desktop& desktop);
void AnwendungBeenden(const Skriptfelder& felder, Desktop& desktop);

/// Whether a process of the TV application's executable (`TVAnwendungdatei`)
/// runs, ignoring case.
bool TVAnwendungLaeuft(const Skriptfelder& felder);
