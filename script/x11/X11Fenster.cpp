#include "script/x11/X11Fenster.h"

#include <QByteArray>
#include <QDeadlineTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// How long activation waits for the window manager to move the input focus
// before it moves the focus itself.
constexpr int kFokusNachfassenMs = 300;

// How long an unmapped window must stay so before it counts as withdrawn. A
// program that is starting makes its window and sets its properties before
// it maps it; mapping it for the program in between would cut that short
// (a window meant to start full-screen would start in a frame).
constexpr int kZurueckgezogenNachMs = 1000;

// The largest property we read, in 32-bit units; titles and window lists are
// far smaller.
constexpr long kMaxLaenge = 1 << 16;

struct Eigenschaft
{
    Atom typ = 0;
    int format = 0;
    unsigned long anzahl = 0;
    unsigned char* daten = nullptr;

    ~Eigenschaft()
    {
        if (daten)
            XFree(daten);
    }
};

bool lesen(X11Verbindung& v, Window fenster, Atom eigenschaft, Atom typ, Eigenschaft& e)
{
    unsigned long rest = 0;
    const quint64 fehler = v.fehlerzahl();
    const int ergebnis = XGetWindowProperty(v.display(), fenster, eigenschaft, 0, kMaxLaenge, False,
                                            typ, &e.typ, &e.format, &e.anzahl, &rest, &e.daten);
    return ergebnis == Success && v.fehlerzahl() == fehler && e.daten && e.typ != None;
}

} // namespace

X11Fenster::X11Fenster(X11Verbindung& verbindung)
    : m_v(verbindung)
{}

long X11Fenster::fenstermaske()
{
    return PropertyChangeMask | StructureNotifyMask;
}

QList<XId> X11Fenster::fensterEigenschaft(XId fenster, XId eigenschaft)
{
    QList<XId> ergebnis;
    Eigenschaft e;
    if (lesen(m_v, fenster, eigenschaft, AnyPropertyType, e) && e.format == 32) {
        // Xlib hands format-32 data over as longs.
        const auto* werte = reinterpret_cast<const unsigned long*>(e.daten);
        for (unsigned long i = 0; i < e.anzahl; ++i)
            ergebnis << werte[i];
    }
    return ergebnis;
}

bool X11Fenster::fenstermanagerLaeuft()
{
    const Atom pruef = m_v.atom("_NET_SUPPORTING_WM_CHECK");
    const QList<XId> w = fensterEigenschaft(m_v.wurzel(), pruef);
    if (w.isEmpty() || w.first() == 0)
        return false;
    // A stale property of a window manager that has gone names a window that
    // no longer exists or no longer points to itself.
    const QList<XId> selbst = fensterEigenschaft(w.first(), pruef);
    return !selbst.isEmpty() && selbst.first() == w.first();
}

bool X11Fenster::unterstuetzt(XId atom)
{
    return fensterEigenschaft(m_v.wurzel(), m_v.atom("_NET_SUPPORTED")).contains(atom);
}

bool X11Fenster::hatWmState(XId fenster)
{
    Eigenschaft e;
    const Atom wmState = m_v.atom("WM_STATE");
    return lesen(m_v, fenster, wmState, wmState, e);
}

bool X11Fenster::wmStateZurueckgezogen(XId fenster)
{
    const Atom wmState = m_v.atom("WM_STATE");
    Eigenschaft e;
    return lesen(m_v, fenster, wmState, wmState, e) && e.format == 32 && e.anzahl >= 1 &&
           reinterpret_cast<const unsigned long*>(e.daten)[0] == WithdrawnState;
}

bool X11Fenster::zurueckgezogenesHauptfenster(XId fenster)
{
    // Toolkits keep unmapped helper windows titled with the program's name
    // (Qt's and GTK's client leader, Qt's selection owner), which must not
    // be mistaken for the program's hidden main window: a window meant for
    // the window manager carries WM_CLASS, and a client leader names itself.
    Eigenschaft klasse;
    if (!lesen(m_v, fenster, XA_WM_CLASS, XA_STRING, klasse))
        return false;
    const QList<XId> leiter = fensterEigenschaft(fenster, m_v.atom("WM_CLIENT_LEADER"));
    return leiter.isEmpty() || leiter.first() != fenster;
}

XId X11Fenster::clientSuchen(XId fenster, int tiefe)
{
    if (hatWmState(fenster))
        return fenster;
    if (tiefe <= 0)
        return 0;
    Window wurzel = 0;
    Window eltern = 0;
    Window* kinder = nullptr;
    unsigned int anzahl = 0;
    const quint64 fehler = m_v.fehlerzahl();
    if (!XQueryTree(m_v.display(), fenster, &wurzel, &eltern, &kinder, &anzahl) ||
        m_v.fehlerzahl() != fehler)
        return 0;
    XId gefunden = 0;
    for (unsigned int i = 0; i < anzahl && !gefunden; ++i)
        gefunden = clientSuchen(kinder[i], tiefe - 1);
    if (kinder)
        XFree(kinder);
    return gefunden;
}

QList<X11Fenster::Eintrag> X11Fenster::hauptfenster()
{
    QList<XId> fenster;
    if (fenstermanagerLaeuft())
        fenster = fensterEigenschaft(m_v.wurzel(), m_v.atom("_NET_CLIENT_LIST"));

    // A window its program has withdrawn (hidden to the tray, or not shown
    // yet) is an unmapped child of the root that no window manager holds.
    QList<XId> zurueckgezogen;
    Window wurzel = 0;
    Window eltern = 0;
    Window* kinder = nullptr;
    unsigned int anzahl = 0;
    if (XQueryTree(m_v.display(), m_v.wurzel(), &wurzel, &eltern, &kinder, &anzahl)) {
        // A window manager without EWMH marks its clients with WM_STATE,
        // usually inside a frame window of its own.
        QList<XId> clients;
        QList<XId> sichtbar;
        for (unsigned int i = 0; i < anzahl; ++i) {
            if (fenster.isEmpty())
                if (const XId c = clientSuchen(kinder[i], 2))
                    clients << c;
            XWindowAttributes a;
            const quint64 fehler = m_v.fehlerzahl();
            if (!XGetWindowAttributes(m_v.display(), kinder[i], &a) || m_v.fehlerzahl() != fehler ||
                a.c_class != InputOutput || a.override_redirect)
                continue;
            if (a.map_state == IsViewable)
                sichtbar << kinder[i];
            else if ((!hatWmState(kinder[i]) || wmStateZurueckgezogen(kinder[i])) &&
                     zurueckgezogenesHauptfenster(kinder[i]))
                zurueckgezogen << kinder[i];
        }
        if (kinder)
            XFree(kinder);
        if (fenster.isEmpty())
            fenster = clients.isEmpty() ? sichtbar : clients;
        zurueckgezogen.removeIf([&](XId z) { return fenster.contains(z); });
    }
    QHash<XId, QDeadlineTimer> gesehen;
    for (XId z : std::as_const(zurueckgezogen)) {
        const auto alt = m_zurueckgezogenAb.constFind(z);
        gesehen.insert(z, alt != m_zurueckgezogenAb.cend() ? *alt
                                                           : QDeadlineTimer(kZurueckgezogenNachMs));
    }
    m_zurueckgezogenAb = gesehen;
    zurueckgezogen.removeIf([&](XId z) { return !gesehen.value(z).hasExpired(); });

    QList<Eintrag> liste;
    const auto aufnehmen = [&](XId f, bool weg) {
        const quint64 fehler = m_v.fehlerzahl();
        // Select first, then read: a title set in between still reaches us.
        XSelectInput(m_v.display(), f, fenstermaske());
        const QString t = titel(f);
        // An untitled withdrawn window can match no search; leave it out.
        if (m_v.fehlerzahl() == fehler && (!weg || !t.isEmpty()))
            liste << Eintrag{f, t, weg};
    };
    for (XId f : std::as_const(fenster))
        aufnehmen(f, false);
    for (XId f : std::as_const(zurueckgezogen))
        aufnehmen(f, true);
    return liste;
}

int X11Fenster::msBisZurueckgezogenZaehlt() const
{
    qint64 ms = -1;
    for (const QDeadlineTimer& ab : m_zurueckgezogenAb)
        if (!ab.hasExpired())
            ms = ms < 0 ? ab.remainingTime() : std::min(ms, ab.remainingTime());
    return static_cast<int>(ms);
}

QString X11Fenster::titel(XId fenster)
{
    {
        Eigenschaft e;
        if (lesen(m_v, fenster, m_v.atom("_NET_WM_NAME"), m_v.atom("UTF8_STRING"), e) &&
            e.format == 8)
            return QString::fromUtf8(reinterpret_cast<const char*>(e.daten),
                                     static_cast<qsizetype>(e.anzahl));
    }
    XTextProperty text{};
    const quint64 fehler = m_v.fehlerzahl();
    if (!XGetWMName(m_v.display(), fenster, &text) || m_v.fehlerzahl() != fehler || !text.value)
        return QString();
    QString ergebnis;
    char** liste = nullptr;
    int anzahl = 0;
    if (text.encoding == XA_STRING) {
        ergebnis = QString::fromLatin1(reinterpret_cast<const char*>(text.value),
                                       static_cast<qsizetype>(text.nitems));
    } else if (Xutf8TextPropertyToTextList(m_v.display(), &text, &liste, &anzahl) >= Success &&
               liste) {
        for (int i = 0; i < anzahl; ++i)
            ergebnis += QString::fromUtf8(liste[i]);
        XFreeStringList(liste);
    } else {
        ergebnis = QString::fromLatin1(reinterpret_cast<const char*>(text.value),
                                       static_cast<qsizetype>(text.nitems));
    }
    XFree(text.value);
    return ergebnis;
}

XId X11Fenster::hauptfensterZu(XId fenster)
{
    // Walks up to the child of the root that holds `fenster`.
    XId aktuell = fenster;
    for (int i = 0; i < 64 && aktuell != 0 && aktuell != m_v.wurzel(); ++i) {
        Window wurzel = 0;
        Window eltern = 0;
        Window* kinder = nullptr;
        unsigned int anzahl = 0;
        const quint64 fehler = m_v.fehlerzahl();
        if (!XQueryTree(m_v.display(), aktuell, &wurzel, &eltern, &kinder, &anzahl) ||
            m_v.fehlerzahl() != fehler)
            return 0;
        if (kinder)
            XFree(kinder);
        if (eltern == m_v.wurzel())
            return aktuell;
        aktuell = eltern;
    }
    return 0;
}

bool X11Fenster::fokusLiegtIn(XId fenster)
{
    Window fokus = 0;
    int zurueck = 0;
    XGetInputFocus(m_v.display(), &fokus, &zurueck);
    if (fokus == None || fokus == PointerRoot)
        return false;
    return fokus == fenster || hauptfensterZu(fokus) == hauptfensterZu(fenster);
}

XId X11Fenster::aktivesFenster()
{
    if (fenstermanagerLaeuft()) {
        const QList<XId> aktiv = fensterEigenschaft(m_v.wurzel(), m_v.atom("_NET_ACTIVE_WINDOW"));
        return aktiv.isEmpty() ? 0 : aktiv.first();
    }
    Window fokus = 0;
    int zurueck = 0;
    XGetInputFocus(m_v.display(), &fokus, &zurueck);
    if (fokus == None || fokus == PointerRoot)
        return 0;
    return hauptfensterZu(fokus);
}

bool X11Fenster::istIkonisiert(XId fenster)
{
    const Atom wmState = m_v.atom("WM_STATE");
    Eigenschaft e;
    if (lesen(m_v, fenster, wmState, wmState, e) && e.format == 32 && e.anzahl >= 1 &&
        reinterpret_cast<const unsigned long*>(e.daten)[0] == IconicState)
        return true;
    return fensterEigenschaft(fenster, m_v.atom("_NET_WM_STATE"))
        .contains(m_v.atom("_NET_WM_STATE_HIDDEN"));
}

bool X11Fenster::istAbgebildet(XId fenster)
{
    XWindowAttributes a;
    const quint64 fehler = m_v.fehlerzahl();
    if (!XGetWindowAttributes(m_v.display(), fenster, &a) || m_v.fehlerzahl() != fehler)
        return false;
    return a.map_state == IsViewable || (hatWmState(fenster) && !wmStateZurueckgezogen(fenster));
}

void X11Fenster::zeigen(XId fenster)
{
    // ICCCM: mapping an iconified client asks the window manager to restore
    // it; without a window manager this simply maps it.
    XMapRaised(m_v.display(), fenster);
    XFlush(m_v.display());
}

void X11Fenster::aktivierenOhneWarten(XId fenster)
{
    Display* d = m_v.display();
    const Atom aktiv = m_v.atom("_NET_ACTIVE_WINDOW");
    if (fenstermanagerLaeuft() && unterstuetzt(aktiv)) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = fenster;
        e.xclient.message_type = aktiv;
        e.xclient.format = 32;
        // Source 2 is a pager: the request of the user's own tool, which
        // window managers honour without focus-stealing prevention.
        e.xclient.data.l[0] = 2;
        e.xclient.data.l[1] = static_cast<long>(m_v.serverzeit());
        e.xclient.data.l[2] = static_cast<long>(aktivesFenster());
        XSendEvent(d, m_v.wurzel(), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XFlush(d);
        return;
    }
    XMapRaised(d, fenster);
    XSync(d, False);
    XWindowAttributes a;
    const quint64 fehler = m_v.fehlerzahl();
    if (XGetWindowAttributes(d, fenster, &a) && m_v.fehlerzahl() == fehler &&
        a.map_state == IsViewable) {
        XSetInputFocus(d, fenster, RevertToPointerRoot, CurrentTime);
        XSync(d, False);
    }
}

bool X11Fenster::aktivieren(XId fenster, int maxMs)
{
    Display* d = m_v.display();
    const Atom aktiv = m_v.atom("_NET_ACTIVE_WINDOW");
    if (fenstermanagerLaeuft() && unterstuetzt(aktiv)) {
        // Active in the window manager's eyes is not enough: the keys go
        // where the server's input focus is.
        const auto istAktiv = [&] { return aktivesFenster() == fenster && fokusLiegtIn(fenster); };
        if (istAktiv() && !istIkonisiert(fenster))
            return true;
        const QDeadlineTimer frist(maxMs);
        if (!istAbgebildet(fenster)) {
            // Withdrawn: the window manager takes it in again once it is
            // mapped, and only then honours the activation request.
            XMapRaised(d, fenster);
            XFlush(d);
            if (!m_v.wartenBis([&] { return istAbgebildet(fenster); },
                               static_cast<int>(frist.remainingTime())))
                return false;
        }
        if (istIkonisiert(fenster))
            XMapWindow(d, fenster);
        aktivierenOhneWarten(fenster);
        if (m_v.wartenBis(istAktiv, std::min(maxMs, kFokusNachfassenMs)))
            return true;
        // The window manager names the window active but the focus stayed
        // elsewhere (its request came too late against a focus change the
        // server made meanwhile): set the focus ourselves.
        if (aktivesFenster() == fenster) {
            const quint64 fehler = m_v.fehlerzahl();
            XSetInputFocus(d, fenster, RevertToParent, m_v.serverzeit());
            XSync(d, False);
            if (m_v.fehlerzahl() != fehler)
                return false;
        }
        return m_v.wartenBis(istAktiv, static_cast<int>(frist.remainingTime()));
    }

    // No window manager (or one without EWMH activation): do it ourselves.
    XMapRaised(d, fenster);
    XFlush(d);
    const bool sichtbar = m_v.wartenBis(
        [&] {
            XWindowAttributes a;
            const quint64 fehler = m_v.fehlerzahl();
            return XGetWindowAttributes(d, fenster, &a) && m_v.fehlerzahl() == fehler &&
                   a.map_state == IsViewable;
        },
        maxMs);
    if (!sichtbar)
        return false;
    XRaiseWindow(d, fenster);
    const quint64 fehler = m_v.fehlerzahl();
    XSetInputFocus(d, fenster, RevertToPointerRoot, CurrentTime);
    XSync(d, False);
    if (m_v.fehlerzahl() != fehler)
        return false;
    return fokusLiegtIn(fenster);
}

void X11Fenster::ikonisieren(XId fenster)
{
    XIconifyWindow(m_v.display(), fenster, m_v.bildschirm());
    XFlush(m_v.display());
}

void X11Fenster::ikonischAnfangen(XId fenster)
{
    Display* d = m_v.display();
    const quint64 fehler = m_v.fehlerzahl();
    XWMHints* alt = XGetWMHints(d, fenster);
    XWMHints hinweise{};
    if (alt) {
        hinweise = *alt;
        XFree(alt);
    }
    if (m_v.fehlerzahl() != fehler)
        return;
    hinweise.flags |= StateHint;
    hinweise.initial_state = IconicState;
    XSetWMHints(d, fenster, &hinweise);
    XFlush(d);
}

std::optional<qint64> X11Fenster::prozessId(XId fenster)
{
    Eigenschaft e;
    if (lesen(m_v, fenster, m_v.atom("_NET_WM_PID"), XA_CARDINAL, e) && e.format == 32 &&
        e.anzahl >= 1)
        return static_cast<qint64>(reinterpret_cast<const unsigned long*>(e.daten)[0]);
    return std::nullopt;
}
