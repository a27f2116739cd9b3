#pragma once

#include <optional>

#include <QString>
#include <QStringList>

/// What `aufzeichnen` was asked to do.
struct Laufoptionen
{
    /// List the running processes instead of recording.
    bool prozesse = false;
    /// The definition file; only its file-name part counts.
    QString datei;
    QString kanal = QStringLiteral("01");
    QString titel = QStringLiteral("Beispielsendung");
    int dauerSekunden = 15;
    /// Value of [TVAufzeichnungenPfad]: an absolute folder ending in "/", or
    /// empty, so that a definition can write "[TVAufzeichnungenPfad]name"
    /// and fall back to a file name of its own without the option.
    QString aufnahmeordner;
    bool status = false;
};

/// Reads the arguments (without the program name). A relative recording
/// folder is taken from the current directory, so call this before the
/// program changes it. Empty result: they do
/// not form a valid call; `fehler` then says why, in German.
std::optional<Laufoptionen> BefehlszeileLesen(const QStringList& argumente, QString& fehler);

/// The usage text, in German, ending in a line break.
QString Aufrufhilfe();
