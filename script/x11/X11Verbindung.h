#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QHash>
#include <QString>

class QSocketNotifier;

// Xlib's own types, declared here so that only the .cpp files of this folder
// include Xlib (its macros clash with Qt's names).
struct _XDisplay;
union _XEvent;
using XId = unsigned long;

/// One Xlib connection of our own to the X server named by $DISPLAY, with the
/// atoms we use, a trap for X errors and the event pump that runs inside the
/// Qt event loop. Never blocks on the server except for ordinary round trips.
/// Selects SubstructureNotify, StructureNotify and PropertyChange on the root
/// window.
class X11Verbindung
{
public:
    X11Verbindung();
    ~X11Verbindung();
    X11Verbindung(const X11Verbindung&) = delete;
    X11Verbindung& operator=(const X11Verbindung&) = delete;

    bool offen() const { return m_display != nullptr; }
    /// Why the connection could not be opened (German), empty when open.
    const QString& fehlermeldung() const { return m_fehlermeldung; }

    _XDisplay* display() const { return m_display; }
    XId wurzel() const { return m_wurzel; }
    int bildschirm() const { return m_bildschirm; }

    /// The atom of the given name, created when missing; cached.
    XId atom(const char* name);

    /// Number of X errors on this connection so far. Compare before and after
    /// a round trip: a request on a window that vanished meanwhile must not
    /// end the program, as Xlib's default handler would.
    quint64 fehlerzahl();

    /// Called for every event read from the server.
    using Beobachter = std::function<void(const _XEvent&)>;
    void beobachterHinzufuegen(Beobachter beobachter);

    /// Hands every event already read or waiting on the socket to the
    /// observers; never blocks.
    void ereignisseAbholen();

    /// Runs the Qt event loop until the server sends something or `maxMs`
    /// have passed; then fetches the events. False on timeout.
    bool aufEreignisWarten(int maxMs);

    /// Runs the Qt event loop, fetching X events as they come, until
    /// `erfuellt` holds (checked at once and after every batch of events) or
    /// `maxMs` have passed. Returns the last result of `erfuellt`.
    bool wartenBis(const std::function<bool()>& erfuellt, int maxMs);

    /// A fresh timestamp of the server (its clock at this moment), for
    /// requests that the server or a window manager compares with the time
    /// of the last focus change: CurrentTime from a window manager would be
    /// its own last event time, which may be older and then is ignored.
    unsigned long serverzeit();

    /// Sends the output buffer to the server and waits until it has handled
    /// everything, so that all effects of our requests are in place.
    void synchronisieren();

    /// Counts an X error of this connection (called by the error handler).
    void fehlerZaehlen() { ++m_fehlerzahl; }

private:
    _XDisplay* m_display = nullptr;
    XId m_wurzel = 0;
    int m_bildschirm = 0;
    QString m_fehlermeldung;
    QHash<QByteArray, XId> m_atome;
    XId m_zeitfenster = 0; // unmapped window of ours whose property changes tell the time
    std::vector<Beobachter> m_beobachter;
    std::unique_ptr<QSocketNotifier> m_melder;
    quint64 m_fehlerzahl = 0;
    bool m_holtGerade = false;
};
