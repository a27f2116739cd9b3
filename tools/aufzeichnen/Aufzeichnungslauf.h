#pragma once

#include <QTextStream>

class Desktop;
struct Laufoptionen;

/// One recording of a definition file, with the rules of the wizard's test
/// recording: the settings (elements 11, 15 and 17 of sendwacht.cfg) and the
/// definition are read from the program's folder; then mute (when set),
/// start the TV application (only when its process does not run), switch
/// the channel, start the recording, wait, stop the recording, close the
/// application (each only while its process runs) and unmute. Each phase is
/// printed on `aus` as it starts. Throws `Fehler`; speakers this run muted
/// are unmuted before. A definition that is missing, hidden, no regular
/// file, unreadable, of a wrong format or without any command is an error
/// before anything runs.
void AufzeichnungDurchfuehren(const Laufoptionen& optionen, Desktop& desktop, QTextStream& aus);

/// For a run that is ended from outside (a signal): unmutes the speakers
/// when the running recording muted them, and says so on the run's output.
/// Does nothing when no recording runs.
void AufzeichnungAbbrechen();

/// Prints the process list, one entry a line: key, a tab, path|pid.
void ProzesseAusgeben(QTextStream& aus);
