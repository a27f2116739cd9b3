#include "script/x11/X11Desktop.h"

#include <optional>

#include <QDeadlineTimer>

#include "script/SendKeys.h"
#include "script/x11/Programmstart.h"
#include "script/x11/Titelsuche.h"
#include "script/x11/X11Fenster.h"
#include "script/x11/X11Startbeobachter.h"
#include "script/x11/X11Tastatur.h"
#include "script/x11/X11Verbindung.h"
#include "system/Prozessliste.h"

#include <X11/Xlib.h>

namespace {

// How long a minimised start watches for the program's windows.
constexpr int kMinimiertBeobachtenMs = 15000;
// How long one activation waits for the window manager.
constexpr int kAktivierenMaxMs = 1000;

} // namespace

class X11Desktop::Impl
{
public:
    Impl()
        : fenster(v)
        , tastatur(v)
        , start(v, fenster)
    {
        if (!v.offen())
            return;
        v.beobachterHinzufuegen([this](const XEvent& e) { ereignis(e); });
    }

    void ereignis(const XEvent& e)
    {
        tastatur.ereignis(e);
        start.ereignis(e);
        if (istFensteraenderung(e))
            ++aenderungen;
    }

    bool istFensteraenderung(const XEvent& e)
    {
        switch (e.type) {
        case CreateNotify:
        case DestroyNotify:
        case MapNotify:
        case UnmapNotify:
        case ReparentNotify:
            return true;
        case PropertyNotify: {
            const Atom a = e.xproperty.atom;
            if (e.xproperty.window == v.wurzel())
                return a == v.atom("_NET_CLIENT_LIST") || a == v.atom("_NET_ACTIVE_WINDOW");
            return a == v.atom("_NET_WM_NAME") || a == v.atom("WM_NAME") ||
                   a == v.atom("WM_STATE") || a == v.atom("_NET_WM_STATE");
        }
        default:
            return false;
        }
    }

    X11Verbindung v;
    X11Fenster fenster;
    X11Tastatur tastatur;
    X11Startbeobachter start;
    quint64 aenderungen = 0;
    quint64 standDerSuche = 0;
    qint64 letztePid = 0;
};

X11Desktop::X11Desktop()
    : d(std::make_unique<Impl>())
{}

X11Desktop::~X11Desktop() = default;

bool X11Desktop::verbunden() const
{
    return d->v.offen();
}

QString X11Desktop::fehlermeldung() const
{
    if (d->v.offen() && !d->tastatur.verfuegbar())
        return QStringLiteral("Der X-Server bietet die Erweiterungen XTEST und XKEYBOARD nicht an; "
                              "Tastendrücke können nicht gesendet werden.");
    return d->v.fehlermeldung();
}

qint64 X11Desktop::letzteProzessId() const
{
    return d->letztePid;
}

bool X11Desktop::programmStarten(const QString& befehlszeile, Fensterart art)
{
    const std::optional<qint64> pid = programmAbloesen(befehlszeile);
    if (!pid)
        return false;
    d->letztePid = *pid;
    if (art == Fensterart::MinimiertOhneFokus && d->v.offen())
        d->start.beobachten(*pid, kMinimiertBeobachtenMs);
    return true;
}

bool X11Desktop::aufFensterDesProzessesWarten(qint64 pid, int maxMs)
{
    if (!d->v.offen() || pid <= 0)
        return false;
    const QDeadlineTimer frist(std::max(maxMs, 0));
    for (;;) {
        d->v.ereignisseAbholen();
        d->standDerSuche = d->aenderungen;
        const QList<X11Fenster::Eintrag> liste = d->fenster.hauptfenster();
        for (const X11Fenster::Eintrag& e : liste) {
            if (!e.zurueckgezogen && d->fenster.prozessId(e.id) == pid)
                return true;
        }
        if (frist.hasExpired())
            return false;
        aufFensteraenderungWarten(static_cast<int>(frist.remainingTime()));
    }
}

bool X11Desktop::fensterZeigen(const QString& titel)
{
    if (!d->v.offen())
        return false;
    const QList<X11Fenster::Eintrag> liste = d->fenster.hauptfenster();
    for (const X11Fenster::Eintrag& e : liste) {
        if (e.titel == titel) {
            d->start.freigeben(e.id);
            d->fenster.zeigen(e.id);
            return true;
        }
    }
    return false;
}

bool X11Desktop::fensterAktivieren(const QString& titel, const QString& anwendungsdatei)
{
    if (!d->v.offen())
        return false;
    // Note the state before listing: whatever changes from here on makes the
    // next aufFensteraenderungWarten return at once.
    d->v.ereignisseAbholen();
    d->standDerSuche = d->aenderungen;
    const QList<X11Fenster::Eintrag> liste = d->fenster.hauptfenster();
    QStringList titelliste;
    for (const X11Fenster::Eintrag& e : liste)
        titelliste << e.titel;
    // The process list is read only when a title ends with the text, and
    // then once per attempt.
    std::optional<QString> anwendungsPid;
    const auto vonAnwendung = [&](qsizetype k) {
        const std::optional<qint64> pid = d->fenster.prozessId(liste.at(k).id);
        if (!pid || anwendungsdatei.isEmpty())
            return false;
        if (!anwendungsPid) {
            const QString wert = GetProzessliste().wert(anwendungsdatei.toLower());
            const qsizetype strich = wert.lastIndexOf(u'|');
            anwendungsPid = strich < 0 ? QString() : wert.mid(strich + 1);
        }
        return !anwendungsPid->isEmpty() && *anwendungsPid == QString::number(*pid);
    };
    const qsizetype i = titelWaehlen(titelliste, titel, vonAnwendung);
    if (i < 0)
        return false;
    d->start.freigeben(liste.at(i).id);
    return d->fenster.aktivieren(liste.at(i).id, kAktivierenMaxMs);
}

void X11Desktop::aufFensteraenderungWarten(int maxMs)
{
    if (!d->v.offen()) {
        warten(maxMs);
        return;
    }
    // A withdrawn window that is about to count is a change, too.
    int ms = std::max(maxMs, 0);
    if (const int reif = d->fenster.msBisZurueckgezogenZaehlt(); reif >= 0)
        ms = std::min(ms, reif);
    const QDeadlineTimer frist(ms, Qt::PreciseTimer);
    d->v.ereignisseAbholen();
    while (d->aenderungen == d->standDerSuche && !frist.hasExpired())
        d->v.aufEreignisWarten(static_cast<int>(frist.remainingTime()));
    d->standDerSuche = d->aenderungen;
}

bool X11Desktop::tastenSenden(const QString& tasten)
{
    QList<TastenAktion> aktionen;
    if (!SendKeysZerlegen(tasten, aktionen))
        return false;
    if (!d->v.offen())
        return false;
    return d->tastatur.senden(aktionen);
}

void X11Desktop::beep()
{
    if (!d->v.offen())
        return;
    XBell(d->v.display(), 0);
    XFlush(d->v.display());
}
