#pragma once

#include <QHash>
#include <QList>
#include <QTimer>

#include "script/SendKeys.h"
#include "script/x11/X11Verbindung.h"

struct _XkbDesc;

/// Types key actions with XTest into whatever window has the focus, using the
/// server's current XKB keyboard map and active group: a character is typed
/// with the key and the modifiers (Shift, AltGr, ...) that give it in this
/// map, so umlauts and AltGr characters come out right under any layout. A
/// keysym the map lacks is put on an unused keycode for the moment. That
/// keycode is cleared again once the receiving client has read the keys
/// (it answers a _NET_WM_PING sent after them, and reads its events in
/// order), or after a few seconds when it does not answer pings: a client
/// that looked the key up only after the clearing would get nothing.
///
/// Caps Lock is switched off while keys are sent and restored afterwards, so
/// it never changes what is typed. Nothing stays pressed while the sender
/// waits, and a program that ends on a signal calls abbruchMelden() from its
/// handler and alleZuruecksetzen() before it exits, so no key stays down and
/// no keycode stays borrowed.
class X11Tastatur
{
public:
    explicit X11Tastatur(X11Verbindung& verbindung);
    ~X11Tastatur();
    X11Tastatur(const X11Tastatur&) = delete;
    X11Tastatur& operator=(const X11Tastatur&) = delete;

    /// Whether the server offers XTest and XKB.
    bool verfuegbar() const { return m_verfuegbar; }

    /// Notes changes of the keyboard map (setxkbmap and the like).
    void ereignis(const _XEvent& ereignis);

    /// Types the actions. Checks first that every key can be typed; when one
    /// cannot, nothing is sent and the result is false. Every key pressed
    /// here is released again before it returns.
    bool senden(const QList<TastenAktion>& aktionen);

    /// The keysym that a key or character action types, before it is looked
    /// up in the keyboard map; NoSymbol (0) for a control character that no
    /// key gives.
    static unsigned long keysymFuer(const TastenAktion& a);

    /// Clears the keycodes borrowed for keysyms that the map lacks.
    void ersatzFreigeben();

    /// Puts the keyboard back as the user had it: releases every key still
    /// pressed, clears every borrowed keycode and restores Caps Lock. Safe to
    /// call at any time and more than once.
    void zuruecksetzen();

    /// Async-signal-safe: the process is about to end. Every sender stops
    /// before its next key and waits no longer; it releases what it pressed.
    static void abbruchMelden() noexcept;

    /// zuruecksetzen() for every keyboard of the process, as the last step
    /// before a program ends on a signal.
    static void alleZuruecksetzen();

private:
    struct Anschlag
    {
        unsigned int keycode = 0;
        unsigned int mods = 0; // modifier bits to hold for this key
    };

    void kartePruefen();
    void indexBauen();
    const Anschlag* finden(const TastenAktion& a, unsigned long* keysymOhneTaste);
    bool ersatzZuweisen(const QList<TastenAktion>& aktionen, qsizetype ab, bool neuVerteilen);
    bool sendenOhneRahmen(const QList<TastenAktion>& aktionen);
    void tippen(const Anschlag& a, int wiederholungen);
    bool pingSenden();
    void nachLesenFreigeben();
    void taste(unsigned int keycode, bool gedrueckt);
    void loslassen();
    void feststelltasteAus();
    void feststelltasteZurueck();

    X11Verbindung& m_v;
    bool m_verfuegbar = false;
    int m_xkbEreignisBasis = -1;
    _XkbDesc* m_karte = nullptr;
    bool m_karteVeraltet = true;
    int m_gruppe = -1;
    unsigned int m_gesperrt = 0;
    bool m_indexVeraltet = true;

    QHash<unsigned long, Anschlag> m_nachKeysym;
    QHash<char32_t, Anschlag> m_nachZeichen;
    unsigned int m_modTaste[8] = {}; // a key that sets each modifier bit
    unsigned int m_druckbar = 0;     // modifier bits we can press
    QList<unsigned int> m_freieKeycodes;
    QHash<unsigned int, unsigned long> m_ersatz; // borrowed keycode -> keysym

    unsigned int m_gehalten = 0;     // modifier bits held for the notation
    QList<unsigned int> m_gedrueckt; // keycodes we hold down now
    bool m_ersatzBenutzt = false;    // a borrowed keycode was typed
    bool m_sendetGerade = false;
    bool m_feststelltasteAus = false; // we switched Caps Lock off for sending
    long m_ping = 0;                  // token of the ping awaited, 0: none
    bool m_pingBeantwortet = false;
    QTimer m_freigabe;
};
