#pragma once

#include <QString>

#include "system/Prozessliste.h"

class Desktop;

/// Everything the wizard does outside its window besides files: the desktop
/// the engine drives, the start of the TV application, the process list,
/// the speakers, the clock and chance. The program uses the real ones
/// (X11, /proc, ALSA); tests replace them.
class Umgebung
{
public:
    virtual ~Umgebung() = default;

    /// The desktop the engine's commands run on.
    virtual Desktop& desktop() = 0;
    /// Starts the TV application minimised and without the focus, then
    /// waits, with the event loop running and a wait cursor, until a window
    /// of the new process maps or `maxMs` pass. False when the program cannot
    /// be started (not found, not executable).
    virtual bool anwendungMinimiertStarten(const QString& startDatei, int maxMs) = 0;
    /// A fresh snapshot of the running processes.
    virtual Prozessliste prozessliste() = 0;
    virtual void pcStummschalten() = 0;
    virtual void pcStummschaltungZuruecksetzen() = 0;
    /// A random number in [0, 1).
    virtual double zufall() = 0;
    /// Waits the given time while the event loop runs.
    virtual void schlafen(int ms) = 0;
    /// Processes the pending events once.
    virtual void ereignisseVerarbeiten() = 0;
};
