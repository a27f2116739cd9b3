#include "script/x11/X11Verbindung.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

// Xlib last: its macros (None, Bool, Status ...) would break Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

namespace {

// Xlib has one error handler per process. Errors on our connections are
// counted; errors on any other Xlib connection of the process go to the
// handler that was there before.
std::vector<X11Verbindung*>& verbindungen()
{
    static std::vector<X11Verbindung*> alle;
    return alle;
}
XErrorHandler vorherigerHandler = nullptr;

int fehlerBehandeln(Display* display, XErrorEvent* fehler)
{
    for (X11Verbindung* v : verbindungen()) {
        if (v->display() == display) {
            v->fehlerZaehlen();
            return 0;
        }
    }
    return vorherigerHandler ? vorherigerHandler(display, fehler) : 0;
}

// Puts our handler in place again should another part of the process (Qt's
// xcb plugin sets one for its Xlib display) have replaced it meanwhile.
void fehlerfalleSichern()
{
    XErrorHandler alt = XSetErrorHandler(fehlerBehandeln);
    if (alt != fehlerBehandeln)
        vorherigerHandler = alt;
}

} // namespace

X11Verbindung::X11Verbindung()
{
    const QByteArray name = qgetenv("DISPLAY");
    m_display = XOpenDisplay(nullptr);
    if (!m_display) {
        m_fehlermeldung =
            name.isEmpty()
                ? u"Keine Verbindung zum X-Server: Es ist kein X-Display angegeben "
                  "(die Umgebungsvariable DISPLAY ist leer). Das Programm muss in einer "
                  "grafischen X11-Sitzung laufen."_s
                : u"Keine Verbindung zum X-Display „%1“ möglich. Läuft dort ein X-Server, "
                  "und ist der Zugriff erlaubt?"_s.arg(QString::fromLocal8Bit(name));
        return;
    }
    m_bildschirm = XDefaultScreen(m_display);
    m_wurzel = XRootWindow(m_display, m_bildschirm);
    verbindungen().push_back(this);
    fehlerfalleSichern();
    // New, vanished and renamed top-level windows, the window manager's
    // client list and active window, and the answers to _NET_WM_PING that
    // clients send to the root window (some with the StructureNotify mask,
    // some with SubstructureNotify).
    XSelectInput(m_display, m_wurzel,
                 SubstructureNotifyMask | StructureNotifyMask | PropertyChangeMask);

    if (QCoreApplication::instance()) {
        m_melder =
            std::make_unique<QSocketNotifier>(XConnectionNumber(m_display), QSocketNotifier::Read);
        QObject::connect(m_melder.get(), &QSocketNotifier::activated, m_melder.get(),
                         [this] { ereignisseAbholen(); });
    }
}

X11Verbindung::~X11Verbindung()
{
    m_melder.reset();
    auto& alle = verbindungen();
    std::erase(alle, this);
    if (m_display) {
        if (m_zeitfenster)
            XDestroyWindow(m_display, m_zeitfenster);
        XCloseDisplay(m_display);
    }
}

quint64 X11Verbindung::fehlerzahl()
{
    fehlerfalleSichern();
    return m_fehlerzahl;
}

XId X11Verbindung::atom(const char* name)
{
    const QByteArray schluessel(name);
    auto it = m_atome.constFind(schluessel);
    if (it != m_atome.constEnd())
        return *it;
    const Atom a = XInternAtom(m_display, name, False);
    m_atome.insert(schluessel, a);
    return a;
}

void X11Verbindung::beobachterHinzufuegen(Beobachter beobachter)
{
    m_beobachter.push_back(std::move(beobachter));
}

void X11Verbindung::ereignisseAbholen()
{
    if (!m_display || m_holtGerade)
        return;
    m_holtGerade = true;
    // XPending flushes our requests and reads what the socket holds without
    // blocking; observers may make round trips that queue further events,
    // which this loop then picks up too.
    while (XPending(m_display) > 0) {
        XEvent ereignis;
        XNextEvent(m_display, &ereignis);
        for (const Beobachter& b : m_beobachter)
            b(ereignis);
    }
    m_holtGerade = false;
}

bool X11Verbindung::aufEreignisWarten(int maxMs)
{
    if (!m_display)
        return false;
    XFlush(m_display);
    // Events may already sit in Xlib's queue (read during a round trip); the
    // socket would then stay silent.
    if (XEventsQueued(m_display, QueuedAfterReading) > 0) {
        ereignisseAbholen();
        return true;
    }
    if (maxMs <= 0 || !m_melder)
        return false;
    bool kam = false;
    QEventLoop schleife;
    QTimer uhr;
    uhr.setSingleShot(true);
    uhr.setTimerType(Qt::PreciseTimer);
    QObject::connect(&uhr, &QTimer::timeout, &schleife, &QEventLoop::quit);
    const auto verbindung =
        QObject::connect(m_melder.get(), &QSocketNotifier::activated, &schleife, [&] {
            kam = true;
            schleife.quit();
        });
    uhr.start(maxMs);
    schleife.exec();
    QObject::disconnect(verbindung);
    ereignisseAbholen();
    return kam;
}

bool X11Verbindung::wartenBis(const std::function<bool()>& erfuellt, int maxMs)
{
    const QDeadlineTimer frist(maxMs, Qt::PreciseTimer);
    ereignisseAbholen();
    while (!erfuellt()) {
        if (frist.hasExpired())
            return false;
        aufEreignisWarten(static_cast<int>(frist.remainingTime()));
    }
    return true;
}

unsigned long X11Verbindung::serverzeit()
{
    if (!m_display)
        return CurrentTime;
    if (!m_zeitfenster) {
        XSetWindowAttributes a{};
        a.event_mask = PropertyChangeMask;
        m_zeitfenster = XCreateWindow(m_display, m_wurzel, -1, -1, 1, 1, 0, 0, InputOnly,
                                      CopyFromParent, CWEventMask, &a);
    }
    // Appending nothing still makes the server send a PropertyNotify that
    // carries its time; XWindowEvent takes just that event from the queue.
    const Atom a = atom("_SENDARO_ZEIT");
    XChangeProperty(m_display, m_zeitfenster, a, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent e;
    XWindowEvent(m_display, m_zeitfenster, PropertyChangeMask, &e);
    return e.xproperty.time;
}

void X11Verbindung::synchronisieren()
{
    if (m_display)
        XSync(m_display, False);
}
