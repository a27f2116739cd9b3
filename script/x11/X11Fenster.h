#pragma once

#include <optional>

#include <QDeadlineTimer>
#include <QHash>
#include <QList>
#include <QString>

#include "script/x11/X11Verbindung.h"

/// Top-level windows of the X server and what we do with them: list them with
/// their titles, show, activate and iconify them. With a window manager the
/// top-level windows are its client windows; without one, the viewable
/// children of the root window. Either way, titled windows that their program
/// has withdrawn (unmapped, as to the tray) count too.
class X11Fenster
{
public:
    explicit X11Fenster(X11Verbindung& verbindung);

    struct Eintrag
    {
        XId id = 0;
        QString titel;
        bool zurueckgezogen = false; ///< withdrawn: not mapped, not managed
    };

    /// The event mask we keep on every top-level window we have seen: title
    /// and state changes, and its mapping.
    static long fenstermaske();

    /// All top-level windows with their titles, oldest first where the
    /// window manager tells the order; the withdrawn ones (with a title)
    /// after all others, once they have stayed withdrawn for a second.
    /// Selects `fenstermaske()` on each, so a later title change or mapping
    /// is reported as an event.
    QList<Eintrag> hauptfenster();

    /// Milliseconds until a window that was withdrawn at the last
    /// `hauptfenster()` counts as withdrawn; -1 when none is waiting.
    int msBisZurueckgezogenZaehlt() const;

    /// Whether an EWMH window manager runs (_NET_SUPPORTING_WM_CHECK).
    bool fenstermanagerLaeuft();

    /// The title: _NET_WM_NAME (UTF-8), else WM_NAME; empty when neither.
    QString titel(XId fenster);

    /// The active top-level window: the window manager's _NET_ACTIVE_WINDOW,
    /// or without one the top-level window that holds the input focus.
    XId aktivesFenster();

    bool istIkonisiert(XId fenster);

    /// Shows the window normally: maps and raises it, restoring it when it
    /// is iconified.
    void zeigen(XId fenster);

    /// Activates the window and waits, with the event loop running, at most
    /// `maxMs` until it really is the active one. A withdrawn window is
    /// mapped again first. With a window manager through a
    /// _NET_ACTIVE_WINDOW request; without one by mapping, raising and
    /// focusing it ourselves.
    bool aktivieren(XId fenster, int maxMs);

    /// Asks the window manager to iconify the window (no effect without one).
    void ikonisieren(XId fenster);

    /// Asks the window manager to map the window iconified (WM_HINTS
    /// initial state), for a window that is not mapped yet.
    void ikonischAnfangen(XId fenster);

    /// Sends a _NET_ACTIVE_WINDOW request without waiting for it, or without
    /// a window manager sets the input focus.
    void aktivierenOhneWarten(XId fenster);

    /// The process id the window's owner announces (_NET_WM_PID).
    std::optional<qint64> prozessId(XId fenster);

    /// Whether the window is mapped (viewable, or iconified by the window
    /// manager, which it then marks with a WM_STATE other than withdrawn).
    bool istAbgebildet(XId fenster);

private:
    bool unterstuetzt(XId atom);
    QList<XId> fensterEigenschaft(XId fenster, XId eigenschaft);
    XId hauptfensterZu(XId fenster);
    XId clientSuchen(XId fenster, int tiefe);
    bool hatWmState(XId fenster);
    bool wmStateZurueckgezogen(XId fenster);
    bool zurueckgezogenesHauptfenster(XId fenster);
    bool fokusLiegtIn(XId fenster);

    X11Verbindung& m_v;
    // Withdrawn windows seen by hauptfenster(), and from when they count.
    QHash<XId, QDeadlineTimer> m_zurueckgezogenAb;
};
