#include "script/x11/X11Tastatur.h"

#include <algorithm>
#include <bit>
#include <csignal>
#include <span>
#include <vector>

#include <xkbcommon/xkbcommon.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// Borrowed keycodes are cleared when the receiving client has answered a
// ping sent after the keys, at the latest after this time; for a client that
// does not answer pings, after the shorter one.
constexpr int kFreigabeSpaetestensMs = 15000;
constexpr int kFreigabeOhnePingMs = 3000;

// Set from a signal handler: the process is about to end.
volatile std::sig_atomic_t g_abbruch = 0;

std::vector<X11Tastatur*>& alleTastaturen()
{
    static std::vector<X11Tastatur*> alle;
    return alle;
}

KeySym sondertastenKeysym(Sondertaste t)
{
    switch (t) {
    case Sondertaste::Enter:
        return XK_Return;
    case Sondertaste::Tab:
        return XK_Tab;
    case Sondertaste::Escape:
        return XK_Escape;
    case Sondertaste::Backspace:
        return XK_BackSpace;
    case Sondertaste::Break:
        return XK_Break;
    case Sondertaste::CapsLock:
        return XK_Caps_Lock;
    case Sondertaste::Clear:
        return XK_Clear;
    case Sondertaste::Delete:
        return XK_Delete;
    case Sondertaste::Insert:
        return XK_Insert;
    case Sondertaste::Home:
        return XK_Home;
    case Sondertaste::End:
        return XK_End;
    case Sondertaste::PageUp:
        return XK_Prior;
    case Sondertaste::PageDown:
        return XK_Next;
    case Sondertaste::Up:
        return XK_Up;
    case Sondertaste::Down:
        return XK_Down;
    case Sondertaste::Left:
        return XK_Left;
    case Sondertaste::Right:
        return XK_Right;
    case Sondertaste::NumLock:
        return XK_Num_Lock;
    case Sondertaste::ScrollLock:
        return XK_Scroll_Lock;
    case Sondertaste::PrintScreen:
        return XK_Print;
    case Sondertaste::Help:
        return XK_Help;
    case Sondertaste::Add:
        return XK_KP_Add;
    case Sondertaste::Subtract:
        return XK_KP_Subtract;
    case Sondertaste::Multiply:
        return XK_KP_Multiply;
    case Sondertaste::Divide:
        return XK_KP_Divide;
    default:
        break;
    }
    // F1 to F16 follow each other in both enums.
    return XK_F1 + static_cast<KeySym>(static_cast<int>(t) - static_cast<int>(Sondertaste::F1));
}

// Keys that set a modifier while held and that we may press for a character.
// Locks are left out (pressing them would toggle a state), and so is
// Mode_switch, which switches the group rather than setting its modifier.
int modifikatorRang(KeySym s)
{
    switch (s) {
    case XK_Shift_L:
    case XK_Control_L:
    case XK_Alt_L:
    case XK_ISO_Level3_Shift:
    case XK_ISO_Level5_Shift:
        return 0;
    case XK_Shift_R:
    case XK_Control_R:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Super_L:
    case XK_Hyper_L:
        return 1;
    case XK_Meta_R:
    case XK_Super_R:
    case XK_Hyper_R:
        return 2;
    default:
        return -1;
    }
}

bool istSperrtaste(KeySym s)
{
    return s == XK_Caps_Lock || s == XK_Num_Lock || s == XK_Shift_Lock;
}

bool istZiffernblock(KeySym s)
{
    return s >= XK_KP_Space && s <= XK_KP_Equal;
}

// The group a key really uses when `gruppe` is active: keys with fewer
// groups wrap, clamp or redirect as their group info says.
int wirksameGruppe(XkbDescPtr k, unsigned int kc, int gruppe)
{
    const int anzahl = XkbKeyNumGroups(k, kc);
    if (anzahl <= 0)
        return -1;
    if (gruppe < anzahl)
        return gruppe;
    const unsigned char info = XkbKeyGroupInfo(k, kc);
    switch (XkbOutOfRangeGroupInfo(info)) {
    case XkbRedirectIntoRange: {
        const int ziel = XkbOutOfRangeGroupNumber(info);
        return ziel < anzahl ? ziel : 0;
    }
    case XkbClampIntoRange:
        return anzahl - 1;
    default:
        return gruppe % anzahl;
    }
}

// The shift level the key type selects for the given modifier state.
int ebene(const XkbKeyTypeRec* typ, unsigned int mods)
{
    const unsigned int m = mods & typ->mods.mask;
    for (int i = 0; i < typ->map_count; ++i) {
        const XkbKTMapEntryRec& e = typ->map[i];
        if (e.active && e.mods.mask == m)
            return e.level;
    }
    return 0;
}

} // namespace

X11Tastatur::X11Tastatur(X11Verbindung& verbindung)
    : m_v(verbindung)
{
    alleTastaturen().push_back(this);
    m_freigabe.setSingleShot(true);
    QObject::connect(&m_freigabe, &QTimer::timeout, &m_freigabe, [this] { ersatzFreigeben(); });
    if (!m_v.offen())
        return;
    Display* d = m_v.display();
    int ereignis = 0;
    int fehler = 0;
    int haupt = 0;
    int neben = 0;
    if (!XTestQueryExtension(d, &ereignis, &fehler, &haupt, &neben))
        return;
    int opcode = 0;
    haupt = XkbMajorVersion;
    neben = XkbMinorVersion;
    if (!XkbQueryExtension(d, &opcode, &m_xkbEreignisBasis, &fehler, &haupt, &neben))
        return;
    const unsigned int art = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(d, XkbUseCoreKbd, art, art);
    m_verfuegbar = true;
}

X11Tastatur::~X11Tastatur()
{
    std::erase(alleTastaturen(), this);
    zuruecksetzen();
    if (m_karte)
        XkbFreeKeyboard(m_karte, 0, True);
}

void X11Tastatur::abbruchMelden() noexcept
{
    g_abbruch = 1;
}

void X11Tastatur::alleZuruecksetzen()
{
    for (X11Tastatur* t : alleTastaturen())
        t->zuruecksetzen();
}

void X11Tastatur::zuruecksetzen()
{
    if (!m_v.offen())
        return;
    loslassen();
    feststelltasteZurueck();
    ersatzFreigeben();
    XSync(m_v.display(), False);
}

// Releases every key we hold, the last pressed first.
void X11Tastatur::loslassen()
{
    for (qsizetype i = m_gedrueckt.size() - 1; i >= 0; --i)
        XTestFakeKeyEvent(m_v.display(), m_gedrueckt.at(i), False, CurrentTime);
    m_gedrueckt.clear();
    m_gehalten = 0;
}

// Caps Lock would turn letters round and make keys without a capital form
// (ß, µ) type something else; it is off while we type.
void X11Tastatur::feststelltasteAus()
{
    XkbStateRec zustand{};
    XkbGetState(m_v.display(), XkbUseCoreKbd, &zustand);
    if (!(zustand.locked_mods & LockMask))
        return;
    XkbLockModifiers(m_v.display(), XkbUseCoreKbd, LockMask, 0);
    m_feststelltasteAus = true;
}

// Switches Caps Lock back. Toggling rather than setting keeps the effect of
// a {CAPSLOCK} the keys themselves contained.
void X11Tastatur::feststelltasteZurueck()
{
    if (!m_feststelltasteAus)
        return;
    m_feststelltasteAus = false;
    XkbStateRec zustand{};
    XkbGetState(m_v.display(), XkbUseCoreKbd, &zustand);
    XkbLockModifiers(m_v.display(), XkbUseCoreKbd, LockMask,
                     (zustand.locked_mods & LockMask) ? 0 : LockMask);
}

void X11Tastatur::ereignis(const XEvent& e)
{
    if (e.type == ClientMessage) {
        const XClientMessageEvent& m = e.xclient;
        if (m_ping != 0 && m.message_type == m_v.atom("WM_PROTOCOLS") && m.format == 32 &&
            static_cast<Atom>(m.data.l[0]) == m_v.atom("_NET_WM_PING") && m.data.l[1] == m_ping) {
            m_ping = 0;
            m_pingBeantwortet = true;
            // While sending, the codes are in use; sending frees them itself.
            if (!m_sendetGerade)
                ersatzFreigeben();
        }
    } else if (e.type == MappingNotify) {
        XMappingEvent kopie = e.xmapping;
        XRefreshKeyboardMapping(&kopie);
        m_karteVeraltet = true;
    } else if (m_xkbEreignisBasis >= 0 && e.type == m_xkbEreignisBasis) {
        const auto* x = reinterpret_cast<const XkbAnyEvent*>(&e);
        if (x->xkb_type == XkbMapNotify || x->xkb_type == XkbNewKeyboardNotify)
            m_karteVeraltet = true;
    }
}

void X11Tastatur::kartePruefen()
{
    Display* d = m_v.display();
    // After the round trip every notice of an earlier map change is queued.
    XSync(d, False);
    m_v.ereignisseAbholen();
    if (m_karteVeraltet || !m_karte) {
        if (m_karte)
            XkbFreeKeyboard(m_karte, 0, True);
        m_karte =
            XkbGetMap(d, XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask, XkbUseCoreKbd);
        m_karteVeraltet = false;
        m_indexVeraltet = true;
    }
    XkbStateRec zustand{};
    XkbGetState(d, XkbUseCoreKbd, &zustand);
    if (zustand.group != m_gruppe || zustand.locked_mods != m_gesperrt) {
        m_gruppe = zustand.group;
        m_gesperrt = zustand.locked_mods;
        m_indexVeraltet = true;
    }
    if (m_indexVeraltet)
        indexBauen();
}

void X11Tastatur::indexBauen()
{
    m_indexVeraltet = false;
    m_nachKeysym.clear();
    m_nachZeichen.clear();
    m_freieKeycodes.clear();
    std::fill(std::begin(m_modTaste), std::end(m_modTaste), 0u);
    m_druckbar = 0;
    XkbDescPtr k = m_karte;
    if (!k || !k->map)
        return;

    // A new keymap (setxkbmap) replaces our borrowed keysyms as well: those
    // keycodes are no longer ours to clear or to count on.
    m_ersatz.removeIf([k](const auto& e) {
        const unsigned int kc = e.key();
        return kc < k->min_key_code || kc > k->max_key_code || XkbKeyNumGroups(k, kc) <= 0 ||
               XkbKeySymEntry(k, kc, 0, 0) != e.value();
    });

    int rang[8];
    std::fill(std::begin(rang), std::end(rang), 99);
    for (unsigned int kc = k->min_key_code; kc <= k->max_key_code; ++kc) {
        const unsigned int mm = k->map->modmap ? k->map->modmap[kc] : 0;
        const int g = wirksameGruppe(k, kc, m_gruppe);
        if (!mm || g < 0)
            continue;
        const int r = modifikatorRang(XkbKeySymEntry(k, kc, 0, g));
        if (r < 0)
            continue;
        for (int bit = 0; bit < 8; ++bit) {
            if (bit != LockMapIndex && (mm & (1u << bit)) && r < rang[bit]) {
                rang[bit] = r;
                m_modTaste[bit] = kc;
            }
        }
    }
    for (int bit = 0; bit < 8; ++bit) {
        if (m_modTaste[bit])
            m_druckbar |= 1u << bit;
    }

    const auto eintragen = [](auto& index, auto schluessel, const Anschlag& a) {
        auto it = index.find(schluessel);
        if (it == index.end() || std::popcount(a.mods) < std::popcount(it->mods))
            index.insert(schluessel, a);
    };
    for (unsigned int kc = k->min_key_code; kc <= k->max_key_code; ++kc) {
        const int g = wirksameGruppe(k, kc, m_gruppe);
        if (g < 0) {
            if (!m_ersatz.contains(kc))
                m_freieKeycodes << kc;
            continue;
        }
        const XkbKeyTypeRec* typ = XkbKeyKeyType(k, kc, g);
        const int breite = XkbKeyGroupWidth(k, kc, g);
        const unsigned int moeglich = typ->mods.mask & m_druckbar;
        // Every combination of pressable modifiers this key type looks at,
        // on top of the locks in force (Caps Lock turns the levels round).
        for (unsigned int s = moeglich;; s = (s - 1) & moeglich) {
            const int e = ebene(typ, s | m_gesperrt);
            const KeySym sym = e < breite ? XkbKeySymEntry(k, kc, e, g) : NoSymbol;
            if (sym != NoSymbol) {
                const Anschlag a{kc, s};
                eintragen(m_nachKeysym, static_cast<unsigned long>(sym), a);
                const char32_t c = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(sym));
                if (c >= 0x20 && c != 0x7f && !istZiffernblock(sym))
                    eintragen(m_nachZeichen, c, a);
            }
            if (s == 0)
                break;
        }
    }
}

unsigned long X11Tastatur::keysymFuer(const TastenAktion& a)
{
    if (a.art == TastenAktion::Art::Taste)
        return sondertastenKeysym(a.taste);
    switch (a.zeichen) {
    case U'\t':
        return XK_Tab;
    case U'\n':
    case U'\r':
        return XK_Return;
    case U'\b':
        return XK_BackSpace;
    case 0x1b:
        return XK_Escape;
    case 0x7f:
        return XK_Delete;
    default:
        break;
    }
    if (a.zeichen < 0x20)
        return NoSymbol;
    return xkb_utf32_to_keysym(a.zeichen);
}

const X11Tastatur::Anschlag* X11Tastatur::finden(const TastenAktion& a,
                                                 unsigned long* keysymOhneTaste)
{
    *keysymOhneTaste = NoSymbol;
    if (a.art == TastenAktion::Art::Zeichen) {
        auto it = m_nachZeichen.constFind(a.zeichen);
        if (it != m_nachZeichen.constEnd())
            return &*it;
    }
    const unsigned long sym = keysymFuer(a);
    auto it = m_nachKeysym.constFind(sym);
    if (it != m_nachKeysym.constEnd())
        return &*it;
    *keysymOhneTaste = sym;
    return nullptr;
}

// Lends keycodes to the keysyms that the actions from `ab` on need and the
// map lacks, as many as there are keycodes. With `neuVerteilen` the keycodes
// lent before are given out anew as well (their old keysyms are not needed
// any more); each keycode changed costs every client a keymap update, so they
// are overwritten rather than cleared and lent again.
bool X11Tastatur::ersatzZuweisen(const QList<TastenAktion>& aktionen, qsizetype ab,
                                 bool neuVerteilen)
{
    QList<unsigned int> codes = m_freieKeycodes;
    if (neuVerteilen)
        codes = m_ersatz.keys() + codes;
    QList<unsigned long> noetig;
    for (qsizetype i = ab; i < aktionen.size() && noetig.size() < codes.size(); ++i) {
        const TastenAktion& a = aktionen.at(i);
        if (a.art != TastenAktion::Art::Zeichen && a.art != TastenAktion::Art::Taste)
            continue;
        unsigned long sym = NoSymbol;
        const Anschlag* an = finden(a, &sym);
        if (an && neuVerteilen && m_ersatz.contains(an->keycode))
            sym = m_ersatz.value(an->keycode);
        else if (an)
            continue;
        if (sym != NoSymbol && !noetig.contains(sym))
            noetig << sym;
    }
    // A keysym still needed stays on its keycode; the others are given out.
    for (auto it = m_ersatz.cbegin(); it != m_ersatz.cend(); ++it) {
        if (noetig.removeOne(it.value()))
            codes.removeOne(it.key());
    }
    if (noetig.isEmpty())
        return false;
    Display* d = m_v.display();
    for (qsizetype i = 0; i < noetig.size(); ++i) {
        const unsigned int kc = codes.at(i);
        KeySym sym = noetig.at(i);
        XChangeKeyboardMapping(d, static_cast<int>(kc), 1, &sym, 1);
        m_ersatz.insert(kc, noetig.at(i));
    }
    m_karteVeraltet = true;
    kartePruefen();
    return true;
}

void X11Tastatur::taste(unsigned int keycode, bool gedrueckt)
{
    XTestFakeKeyEvent(m_v.display(), keycode, gedrueckt ? True : False, CurrentTime);
    if (gedrueckt)
        m_gedrueckt << keycode;
    else
        m_gedrueckt.removeOne(keycode);
}

void X11Tastatur::tippen(const Anschlag& a, int wiederholungen)
{
    const unsigned int fehlt = a.mods & ~m_gehalten;
    QList<unsigned int> dazu;
    for (int bit = 0; bit < 8; ++bit) {
        if (fehlt & (1u << bit)) {
            taste(m_modTaste[bit], true);
            dazu << m_modTaste[bit];
        }
    }
    if (m_ersatz.contains(a.keycode))
        m_ersatzBenutzt = true;
    for (int i = 0; i < wiederholungen; ++i) {
        taste(a.keycode, true);
        taste(a.keycode, false);
    }
    for (qsizetype i = dazu.size() - 1; i >= 0; --i)
        taste(dazu.at(i), false);
}

// Asks the client that has the focus to answer as soon as it has read
// everything sent so far. False when it does not take part in the protocol.
bool X11Tastatur::pingSenden()
{
    Display* d = m_v.display();
    Window fokus = 0;
    int zurueck = 0;
    XGetInputFocus(d, &fokus, &zurueck);
    if (fokus == None || fokus == PointerRoot)
        return false;
    const Atom ping = m_v.atom("_NET_WM_PING");
    Atom* protokolle = nullptr;
    int anzahl = 0;
    const quint64 fehler = m_v.fehlerzahl();
    bool kann = false;
    if (XGetWMProtocols(d, fokus, &protokolle, &anzahl) && m_v.fehlerzahl() == fehler) {
        kann = std::find(protokolle, protokolle + anzahl, ping) != protokolle + anzahl;
        XFree(protokolle);
    }
    if (!kann)
        return false;
    static long zaehler = 0;
    m_ping = ++zaehler;
    m_pingBeantwortet = false;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = fokus;
    e.xclient.message_type = m_v.atom("WM_PROTOCOLS");
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(ping);
    e.xclient.data.l[1] = m_ping; // handed back unchanged, so it names our ping
    e.xclient.data.l[2] = static_cast<long>(fokus);
    XSendEvent(d, fokus, False, NoEventMask, &e);
    XFlush(d);
    return true;
}

// Clears the borrowed keycodes once the client has read the keys: at its
// answer to a ping, or after a time long enough for a busy client.
void X11Tastatur::nachLesenFreigeben()
{
    if (m_ersatz.isEmpty())
        return;
    if (!m_ersatzBenutzt) {
        if (!m_freigabe.isActive())
            m_freigabe.start(kFreigabeOhnePingMs);
        return;
    }
    m_ersatzBenutzt = false;
    m_freigabe.start(pingSenden() ? kFreigabeSpaetestensMs : kFreigabeOhnePingMs);
}

bool X11Tastatur::senden(const QList<TastenAktion>& aktionen)
{
    if (!m_verfuegbar)
        return false;
    m_freigabe.stop();
    m_ping = 0;
    m_sendetGerade = true;
    feststelltasteAus();
    const bool ok = sendenOhneRahmen(aktionen);
    feststelltasteZurueck();
    XSync(m_v.display(), False);
    m_sendetGerade = false;
    nachLesenFreigeben();
    return ok;
}

bool X11Tastatur::sendenOhneRahmen(const QList<TastenAktion>& aktionen)
{
    kartePruefen();

    const auto modifikatorTaste = [this](Modifikator m) -> const Anschlag* {
        static constexpr KeySym umschalt[] = {XK_Shift_L, XK_Shift_R, NoSymbol};
        static constexpr KeySym strg[] = {XK_Control_L, XK_Control_R, NoSymbol};
        static constexpr KeySym alt[] = {XK_Alt_L, XK_Alt_R, XK_Meta_L};
        const std::span<const KeySym> kandidaten = m == Modifikator::Umschalt ? umschalt
                                                   : m == Modifikator::Strg   ? strg
                                                                              : alt;
        for (KeySym s : kandidaten) {
            auto it = m_nachKeysym.constFind(s);
            if (it != m_nachKeysym.constEnd() && it->mods == 0)
                return &*it;
        }
        return nullptr;
    };

    // Check everything before the first key goes out.
    bool fehltEtwas = false;
    for (const TastenAktion& a : aktionen) {
        if (a.art == TastenAktion::Art::Druecken || a.art == TastenAktion::Art::Loesen) {
            if (!modifikatorTaste(a.modifikator))
                return false;
            continue;
        }
        unsigned long sym = NoSymbol;
        if (!finden(a, &sym)) {
            if (sym == NoSymbol)
                return false;
            fehltEtwas = true;
        }
    }
    if (fehltEtwas && m_freieKeycodes.isEmpty() && m_ersatz.isEmpty())
        return false;
    if (fehltEtwas)
        ersatzZuweisen(aktionen, 0, false);

    Display* d = m_v.display();
    QHash<Modifikator, unsigned int> gehalten;
    bool ok = true;
    for (qsizetype i = 0; ok && i < aktionen.size(); ++i) {
        if (g_abbruch) {
            ok = false;
            break;
        }
        const TastenAktion& a = aktionen.at(i);
        switch (a.art) {
        case TastenAktion::Art::Druecken: {
            const unsigned int kc = modifikatorTaste(a.modifikator)->keycode;
            taste(kc, true);
            gehalten.insert(a.modifikator, kc);
            m_gehalten |= m_karte->map->modmap[kc];
            break;
        }
        case TastenAktion::Art::Loesen: {
            const unsigned int kc = gehalten.take(a.modifikator);
            if (kc) {
                taste(kc, false);
                m_gehalten &= ~static_cast<unsigned int>(m_karte->map->modmap[kc]);
            }
            break;
        }
        case TastenAktion::Art::Zeichen:
        case TastenAktion::Art::Taste: {
            unsigned long sym = NoSymbol;
            const Anschlag* an = finden(a, &sym);
            if (!an) {
                // More missing keysyms than free keycodes: let the clients
                // read the keys typed so far with the current map, then lend
                // the keycodes anew. No modifier stays down meanwhile: the
                // user may type, and the program may end during the wait.
                for (const unsigned int kc : std::as_const(gehalten))
                    taste(kc, false);
                XSync(d, False);
                if (m_ersatzBenutzt && pingSenden())
                    m_v.wartenBis([this] { return m_pingBeantwortet || g_abbruch; },
                                  kFreigabeSpaetestensMs);
                else
                    m_v.wartenBis([] { return g_abbruch != 0; }, kFreigabeOhnePingMs);
                m_ping = 0;
                m_ersatzBenutzt = false;
                if (g_abbruch) {
                    ok = false;
                    break;
                }
                ersatzZuweisen(aktionen, i, true);
                for (const unsigned int kc : std::as_const(gehalten))
                    taste(kc, true);
                an = finden(a, &sym);
                if (!an) {
                    ok = false;
                    break;
                }
            }
            const Anschlag anschlag = *an;
            tippen(anschlag, a.wiederholungen);
            if (a.art == TastenAktion::Art::Taste && istSperrtaste(sondertastenKeysym(a.taste)))
                kartePruefen(); // the levels depend on the lock just toggled
            break;
        }
        }
    }
    loslassen();
    XSync(d, False);
    return ok;
}

void X11Tastatur::ersatzFreigeben()
{
    m_freigabe.stop();
    m_ping = 0;
    if (m_ersatz.isEmpty() || !m_v.offen())
        return;
    Display* d = m_v.display();
    for (auto it = m_ersatz.cbegin(); it != m_ersatz.cend(); ++it) {
        KeySym leer = NoSymbol;
        XChangeKeyboardMapping(d, static_cast<int>(it.key()), 1, &leer, 1);
    }
    m_ersatz.clear();
    m_karteVeraltet = true;
    XFlush(d);
}
