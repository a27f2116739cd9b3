#pragma once

#include <functional>

#include <QFileDialog>
#include <QString>

/// One request of the wizard's browse button to a file or folder chooser.
struct Dateiwahl
{
    enum class Art
    {
        Oeffnen,
        Speichern,
        Ordner
    };

    Art art = Art::Oeffnen;
    QString titel;       ///< window title; empty for the platform's default
    QString startordner; ///< folder the chooser opens in; empty for its default
    QString vorschlag;   ///< save: the proposed file name
    QString filter;      ///< file choosers: the type list in QFileDialog's form
    /// The entry of `filter` that lists executable files; empty when none.
    QString programmfilter;
    QFileDialog::Options optionen;
};

/// Shows a chooser and returns the chosen path, or the empty text when the
/// user cancelled. The wizard dialog calls choosers only through such a
/// function, so tests can answer in place of the user.
using Dateiwahlfunktion = std::function<QString(QWidget* besitzer, const Dateiwahl& wahl)>;

/// The real choosers: Qt's own open, save and folder dialogs (never the
/// desktop's, which could not list executable files), modal over
/// `besitzer`. Their texts are German once QtUebersetzungLaden has run.
QString DateiwahlAnzeigen(QWidget* besitzer, const Dateiwahl& wahl);

/// Where the save chooser opens: the proposed name in the start folder, or
/// the proposed path itself when it is absolute.
QString SpeicherortVorschlag(const Dateiwahl& wahl);
