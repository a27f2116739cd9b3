#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QSet>

#include "script/x11/X11Fenster.h"

/// Iconifies the windows of freshly started programs as they appear, for a
/// start "minimised, without the focus". X offers no way to start another
/// program iconified, so this watches new top-level windows, recognises the
/// program's by _NET_WM_PID (the process or a child of it), asks for an
/// iconic start before they map and iconifies them once they have mapped;
/// then it gives the focus back to the window that had it before.
class X11Startbeobachter
{
public:
    X11Startbeobachter(X11Verbindung& verbindung, X11Fenster& fenster);

    /// Watches the windows of process `pid` for `dauerMs`.
    void beobachten(qint64 pid, int dauerMs);

    void ereignis(const _XEvent& ereignis);

    /// The window is shown or activated on purpose: leave it alone from now
    /// on and do not take the focus back from it.
    void freigeben(XId fenster);

private:
    struct Auftrag
    {
        qint64 pid = 0;
        QDeadlineTimer frist;
        XId vorherAktiv = 0;
    };

    void pruefen(XId fenster);
    const Auftrag* auftragFuer(qint64 pid) const;
    void fokusZurueck(XId fenster, XId vorherAktiv);

    X11Verbindung& m_v;
    X11Fenster& m_fenster;
    QList<Auftrag> m_auftraege;
    QSet<XId> m_kandidaten;
    QSet<XId> m_vorbereitet;
    QSet<XId> m_fokusZurueck; // windows after whose start the focus goes back
    QObject m_kontext;        // ends pending timers with us
};
