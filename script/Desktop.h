#pragma once

#include <QDateTime>
#include <QString>

/// Everything the script engine does on the desktop goes through this
/// interface: the X11 back-end (script/x11) drives a real X server; tests of
/// the engine's own logic use a fake that records the calls.
///
/// Every wait runs the Qt event loop, so windows stay responsive and no wait
/// burns the processor.
class Desktop
{
public:
    virtual ~Desktop() = default;

    enum class Fensterart
    {
        Normal,            ///< shown normally, with the focus
        MinimiertOhneFokus ///< minimised, without taking the focus (best effort)
    };

    /// Starts a program from a command line: the program path, optionally
    /// followed by arguments, split with shell-like quoting; no shell is
    /// involved. Returns false when the program does not exist or cannot be
    /// executed. Does not wait for the program.
    virtual bool programmStarten(const QString& befehlszeile, Fensterart art) = 0;

    /// Looks for a top-level window whose title is exactly `titel`, hidden
    /// (withdrawn) ones included; when there is one, shows it normally
    /// (restoring it when minimised, mapping it again when hidden). Returns
    /// whether such a window was found.
    virtual bool fensterZeigen(const QString& titel) = 0;

    /// One attempt to activate a top-level window by its title, hidden
    /// (withdrawn) ones included: a title equal to `titel`, else one that
    /// begins with it, each ignoring case; else one that ends with it, but
    /// only for a window of the process that the process list names under
    /// `anwendungsdatei` (the TV application's executable). A title that
    /// merely contains `titel` never counts. Returns true once the window is
    /// the active one and holds the keyboard focus; may wait a moment (event
    /// loop running) for the window manager. An empty title matches nothing.
    virtual bool fensterAktivieren(const QString& titel, const QString& anwendungsdatei) = 0;

    /// Waits, running the event loop, until the set of top-level windows or
    /// one of their titles may have changed, or at most `maxMs` milliseconds.
    /// Lets a window search wait for the window instead of polling.
    virtual void aufFensteraenderungWarten(int maxMs) = 0;

    /// Sends keystrokes in the SendKeys notation to the focused window.
    /// The whole text is checked first: an invalid notation, or a character
    /// no key can give (a control character), sends nothing at all and
    /// returns false. Characters come out as written, whatever the keyboard
    /// layout and Caps Lock; no modifier stays pressed afterwards.
    virtual bool tastenSenden(const QString& tasten) = 0;

    /// The default system sound.
    virtual void beep() = 0;

    /// The special folder of the given number without a trailing separator
    /// (38 programs, 36 system, 37 system programs), or empty.
    virtual QString sonderOrdner(int nummer) = 0;

    /// The current local date and time.
    virtual QDateTime jetzt() = 0;

    /// Waits the given time while the event loop runs.
    virtual void warten(int ms) = 0;

    /// Processes the pending events once and returns.
    virtual void ereignisseVerarbeiten() = 0;
};
