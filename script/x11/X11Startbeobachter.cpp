#include "script/x11/X11Startbeobachter.h"

#include <QFile>
#include <QTimer>

#include <X11/Xlib.h>

namespace {

// The parent process id from /proc/PID/stat ("pid (name) state ppid ..."; the
// name may itself hold blanks and parentheses, so read after the last ")").
qint64 elternprozess(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray zeile = stat.readAll();
    const qsizetype klammer = zeile.lastIndexOf(')');
    if (klammer < 0)
        return 0;
    const QList<QByteArray> felder = zeile.mid(klammer + 1).simplified().split(' ');
    return felder.size() >= 2 ? felder.at(1).toLongLong() : 0;
}

} // namespace

X11Startbeobachter::X11Startbeobachter(X11Verbindung& verbindung, X11Fenster& fenster)
    : m_v(verbindung)
    , m_fenster(fenster)
{}

void X11Startbeobachter::beobachten(qint64 pid, int dauerMs)
{
    m_auftraege.removeIf([](const Auftrag& a) { return a.frist.hasExpired(); });
    m_auftraege.append(Auftrag{pid, QDeadlineTimer(dauerMs), m_fenster.aktivesFenster()});
}

const X11Startbeobachter::Auftrag* X11Startbeobachter::auftragFuer(qint64 pid) const
{
    // A start script may hand over to the real program: its children count.
    for (int tiefe = 0; tiefe < 32 && pid > 1; ++tiefe) {
        for (const Auftrag& a : m_auftraege) {
            if (a.pid == pid)
                return &a;
        }
        pid = elternprozess(pid);
    }
    return nullptr;
}

void X11Startbeobachter::ereignis(const XEvent& e)
{
    if (m_auftraege.isEmpty())
        return;
    m_auftraege.removeIf([](const Auftrag& a) { return a.frist.hasExpired(); });
    if (m_auftraege.isEmpty()) {
        m_kandidaten.clear();
        m_vorbereitet.clear();
        return;
    }
    switch (e.type) {
    case CreateNotify:
        if (e.xcreatewindow.parent == m_v.wurzel() && !e.xcreatewindow.override_redirect) {
            XSelectInput(m_v.display(), e.xcreatewindow.window, X11Fenster::fenstermaske());
            m_kandidaten.insert(e.xcreatewindow.window);
            pruefen(e.xcreatewindow.window);
        }
        break;
    case PropertyNotify:
        // The process id announced, or the window manager took the window
        // on (WM_STATE; it may honour the iconic start and never map it).
        if ((e.xproperty.atom == m_v.atom("_NET_WM_PID") ||
             e.xproperty.atom == m_v.atom("WM_STATE")) &&
            m_kandidaten.contains(e.xproperty.window))
            pruefen(e.xproperty.window);
        break;
    case MapNotify:
        if (m_kandidaten.contains(e.xmap.window))
            pruefen(e.xmap.window);
        break;
    case DestroyNotify:
        m_kandidaten.remove(e.xdestroywindow.window);
        m_vorbereitet.remove(e.xdestroywindow.window);
        break;
    default:
        break;
    }
}

void X11Startbeobachter::pruefen(XId fenster)
{
    const std::optional<qint64> pid = m_fenster.prozessId(fenster);
    if (!pid)
        return; // not announced yet; a PropertyNotify follows
    const Auftrag* auftrag = auftragFuer(*pid);
    if (!auftrag) {
        m_kandidaten.remove(fenster);
        return;
    }
    if (!m_fenster.istAbgebildet(fenster)) {
        // Ask for an iconic start; the program may still overwrite the hint
        // before it maps, so the window stays a candidate.
        if (!m_vorbereitet.contains(fenster)) {
            m_fenster.ikonischAnfangen(fenster);
            m_vorbereitet.insert(fenster);
        }
        return;
    }
    m_kandidaten.remove(fenster);
    m_vorbereitet.remove(fenster);
    if (!m_fenster.istIkonisiert(fenster))
        m_fenster.ikonisieren(fenster);
    fokusZurueck(fenster, auftrag->vorherAktiv);
}

void X11Startbeobachter::freigeben(XId fenster)
{
    m_kandidaten.remove(fenster);
    m_vorbereitet.remove(fenster);
    m_fokusZurueck.remove(fenster);
}

void X11Startbeobachter::fokusZurueck(XId fenster, XId vorherAktiv)
{
    if (!vorherAktiv)
        return;
    m_fokusZurueck.insert(fenster);
    // The window manager or the program itself may move the focus to the new
    // window a moment after it maps; look twice, without waiting here (we are
    // inside the event pump).
    for (int ms : {300, 1000}) {
        QTimer::singleShot(ms, &m_kontext, [this, fenster, vorherAktiv, ms] {
            if (!m_fokusZurueck.contains(fenster))
                return;
            if (ms == 1000)
                m_fokusZurueck.remove(fenster);
            const XId jetzt = m_fenster.aktivesFenster();
            if (jetzt == fenster || jetzt == 0)
                m_fenster.aktivierenOhneWarten(vorherAktiv);
        });
    }
}
