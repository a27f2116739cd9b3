#pragma once

#include <memory>

#include <QString>

#include "script/DesktopGrundlage.h"

/// The desktop on a real X server: programs, windows and keystrokes through
/// an Xlib connection of its own to $DISPLAY (XTest for keys, XKB for the
/// keyboard map). The clock, waits and special folders come from
/// DesktopGrundlage.
///
/// Needs a QCoreApplication: X events are read in the Qt event loop. When no
/// X display can be opened, `verbunden()` is false, `fehlermeldung()` says
/// why, and every window and key operation fails (programs still start).
class X11Desktop : public DesktopGrundlage
{
public:
    X11Desktop();
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    /// Whether the connection to the X server is open.
    bool verbunden() const;
    /// Why there is no connection (German), empty when connected.
    QString fehlermeldung() const;

    /// The process id of the program started last, 0 before the first.
    qint64 letzteProzessId() const;

    /// Starts the program detached: it never becomes our zombie and keeps
    /// running when we end. `MinimiertOhneFokus` iconifies the windows the
    /// new process (or a child of it) maps during the next 15 seconds and
    /// gives the focus back to the window that had it, as far as a window
    /// manager allows (best effort; needs the event loop to run).
    bool programmStarten(const QString& befehlszeile, Fensterart art) override;
    /// Waits, with the event loop running, until a top-level window of
    /// process `pid` is mapped (shown or iconified), at most `maxMs`.
    /// Returns whether one is.
    bool aufFensterDesProzessesWarten(qint64 pid, int maxMs);
    bool fensterZeigen(const QString& titel) override;
    /// Waits at most one second, with the event loop running, for the
    /// window manager to make the window active.
    bool fensterAktivieren(const QString& titel, const QString& anwendungsdatei) override;
    void aufFensteraenderungWarten(int maxMs) override;
    bool tastenSenden(const QString& tasten) override;
    void beep() override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};
