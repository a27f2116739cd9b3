// tvverknuepfen on a real X server (run it through tests/mit-x.sh --wm or
// --ohne-wm):
//  1. CPU time of the wizard while its first page waits 10 s for the user,
//     as a share of one core;
//  2. time from the start of the program to its first page on the screen
//     with 1,000 definition files in the program folder, next to a bare Qt
//     program that shows one window, measured in turns in the same run.
// Prints figures; asserts nothing.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

extern char** environ;

using namespace Qt::StringLiterals;

namespace {
constexpr const char* kAssistententitel = "TV-Anwendung verknüpfen";
constexpr const char* kLeerTitel = "Leeres Fenster";
constexpr int kDefinitionen = 1000;
constexpr int kDurchgaenge = 7;

qint64 monotonNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

/// Watches the X server for a mapped window of a given process and title.
class Fensterwache
{
public:
    Fensterwache()
        : m_d(XOpenDisplay(nullptr))
    {
        if (!m_d)
            return;
        // Windows of other programs may go at any moment.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        m_pid = XInternAtom(m_d, "_NET_WM_PID", False);
        m_name = XInternAtom(m_d, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(m_d, "UTF8_STRING", False);
        XSelectInput(m_d, DefaultRootWindow(m_d), SubstructureNotifyMask);
        XSync(m_d, False);
    }
    ~Fensterwache()
    {
        if (m_d)
            XCloseDisplay(m_d);
    }
    Fensterwache(const Fensterwache&) = delete;
    Fensterwache& operator=(const Fensterwache&) = delete;

    bool offen() const { return m_d != nullptr; }

    /// Waits until a window of `pid` titled `titel` is mapped; the time of
    /// that moment in ns (monotonic), or -1 after `maxMs`.
    qint64 abwarten(pid_t pid, const QByteArray& titel, int maxMs)
    {
        const qint64 ende = monotonNs() + qint64(maxMs) * 1000000;
        for (;;) {
            while (XPending(m_d)) {
                XEvent e;
                XNextEvent(m_d, &e);
                Window w = 0;
                if (e.type == CreateNotify) {
                    w = e.xcreatewindow.window;
                    // Told of its mapping and title from now on; it may be
                    // mapped already, so it is looked at once at once.
                    XSelectInput(m_d, w, StructureNotifyMask | PropertyChangeMask);
                } else if (e.type == MapNotify) {
                    w = e.xmap.window;
                } else if (e.type == PropertyNotify) {
                    w = e.xproperty.window;
                }
                if (w && passt(w, pid, titel))
                    return monotonNs();
            }
            const qint64 rest = (ende - monotonNs()) / 1000000;
            if (rest <= 0)
                return -1;
            pollfd p{ConnectionNumber(m_d), POLLIN, 0};
            poll(&p, 1, static_cast<int>(std::min<qint64>(rest, 1000)));
        }
    }

private:
    bool passt(Window w, pid_t pid, const QByteArray& titel)
    {
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_d, w, &a) || a.map_state != IsViewable)
            return false;
        const QByteArray p = eigenschaft(w, m_pid, XA_CARDINAL);
        return p.size() == int(sizeof(long)) &&
               *reinterpret_cast<const long*>(p.constData()) == pid &&
               eigenschaft(w, m_name, m_utf8) == titel;
    }

    QByteArray eigenschaft(Window w, Atom name, Atom typ)
    {
        Atom t = 0;
        int format = 0;
        unsigned long anzahl = 0;
        unsigned long rest = 0;
        unsigned char* daten = nullptr;
        QByteArray wert;
        if (XGetWindowProperty(m_d, w, name, 0, 1024, False, typ, &t, &format, &anzahl, &rest,
                               &daten) == Success &&
            daten) {
            const int bytes = format == 32 ? int(sizeof(long)) : format / 8;
            wert = QByteArray(reinterpret_cast<const char*>(daten), int(anzahl) * bytes);
        }
        if (daten)
            XFree(daten);
        return wert;
    }

    Display* m_d = nullptr;
    Atom m_pid = 0;
    Atom m_name = 0;
    Atom m_utf8 = 0;
};

pid_t starten(const QString& programm)
{
    const QByteArray p = QFile::encodeName(programm);
    char* argv[] = {const_cast<char*>(p.constData()), nullptr};
    pid_t pid = 0;
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_addopen(&aktionen, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&aktionen, 2, "/dev/null", O_WRONLY, 0);
    const int rc = posix_spawn(&pid, p.constData(), &aktionen, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&aktionen);
    return rc == 0 ? pid : -1;
}

void beenden(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

/// CPU time of all threads of a process so far: utime + stime in clock
/// ticks from /proc/PID/stat, and the scheduler's nanoseconds summed over
/// /proc/PID/task/*/schedstat.
struct Cpuzeit
{
    qint64 ticks = 0;
    qint64 ns = 0;
};

Cpuzeit cpuzeit(pid_t pid)
{
    Cpuzeit z;
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray zeile = stat.readAll();
        // Fields after the command name, which is in parentheses and may
        // hold blanks: state is field 3, utime 14, stime 15.
        const QList<QByteArray> f = zeile.mid(zeile.lastIndexOf(')') + 2).split(' ');
        if (f.size() > 12)
            z.ticks = f.at(11).toLongLong() + f.at(12).toLongLong();
    }
    const QStringList threads =
        QDir(u"/proc/%1/task"_s.arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& t : threads) {
        QFile s(u"/proc/%1/task/%2/schedstat"_s.arg(pid).arg(t));
        if (s.open(QIODevice::ReadOnly))
            z.ns += s.readAll().split(' ').value(0).toLongLong();
    }
    return z;
}

/// A program folder of its own: the wizard and einrichter, copied (the
/// wizard finds its folder through its own path), and the settings file.
bool programmordnerAnlegen(const QString& ordner)
{
    QDir().mkpath(ordner);
    for (const QString& quelle : {QStringLiteral(TVVERKNUEPFEN), QStringLiteral(EINRICHTER)}) {
        const QString ziel = ordner + u'/' + QFileInfo(quelle).fileName();
        if (::link(QFile::encodeName(quelle).constData(), QFile::encodeName(ziel).constData()) !=
                0 &&
            !QFile::copy(quelle, ziel))
            return false;
    }
    return QProcess::execute(ordner + u"/einrichter"_s, {}) == 0;
}

/// `anzahl` definition files, each for an application whose folder does not
/// exist, so the detection looks for every one of them in vain.
void definitionenAnlegen(const QString& ordner, int anzahl)
{
    for (int i = 1; i <= anzahl; ++i) {
        QFile f(u"%1/anwendung-%2.azs"_s.arg(ordner).arg(i, 4, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly))
            continue;
        const QString n = u"%1"_s.arg(i, 4, 10, QLatin1Char('0'));
        const QString text =
            u"<Sendaro Aufzeichnungsskript 1.0>\r\n\r\n'***Allgemeine Einstellungen***\r\n"
            u"Beschreibung=\"TV-Anwendung "_s +
            n + u"\"\r\nTVAnwendungdatei=\"tv"_s + n + u"\"\r\nTVAnwendungtitel=\"TV "_s + n +
            u"\"\r\nStandardverzeichnis=\"[ProgrammeOrdner]/tv-"_s + n +
            u"\"\r\nAuswahlInfo=\"\"\r\n\r\n'***Befehle um die TV-Anwendung zu starten\r\n"
            u"BefehlAnwendungStarten=AnwendungStarten,\"[TVSoftwarePfad]/tv"_s +
            n +
            u"\"\r\nBefehlAnwendungStarten=FensterAktivieren,\"[TVAnwendungtitel]\"\r\n\r\n"
            u"'***Befehle um den Kanal zu wechseln\r\nBefehlKanalWechseln=TastenSenden,\"[Kanal]\""
            u"\r\n\r\n'***Befehle um die Aufnahme zu starten\r\n"
            u"BefehlAufnahmeStarten=TastenSenden,\"[Alt]r\"\r\n\r\n"
            u"'***Befehle um die Aufnahme zu beenden\r\nBefehlAufnahmeBeenden=TastenSenden,"
            u"\"[ESC]\"\r\n\r\n'***Befehle um die TV-Anwendung zu schließen***\r\n"
            u"BefehlAnwendungBeenden=TastenSenden,\"[Alt][F4]\"\r\n\r\n"_s;
        f.write(text.toLatin1());
    }
}

/// Start to first window on the screen, in ms; -1 when none came.
double startzeit(Fensterwache& wache, const QString& programm, const char* titel,
                 pid_t* laeuft = nullptr)
{
    const qint64 beginn = monotonNs();
    const pid_t pid = starten(programm);
    if (pid < 0)
        return -1;
    const qint64 gezeigt = wache.abwarten(pid, QByteArray(titel), 30000);
    if (laeuft && gezeigt >= 0)
        *laeuft = pid;
    else
        beenden(pid);
    return gezeigt < 0 ? -1 : double(gezeigt - beginn) / 1e6;
}

double median(std::vector<double> werte)
{
    std::sort(werte.begin(), werte.end());
    return werte.empty() ? -1 : werte[werte.size() / 2];
}

} // namespace

int main()
{
    Fensterwache wache;
    if (!wache.offen()) {
        std::fputs("bench_assistent: kein X-Server (tests/mit-x.sh benutzen)\n", stderr);
        return 1;
    }
    QTemporaryDir tmp;
    const QString leer = tmp.path() + u"/leer"_s;
    const QString voll = tmp.path() + u"/tausend"_s;
    if (!programmordnerAnlegen(leer) || !programmordnerAnlegen(voll)) {
        std::fputs("bench_assistent: Programmordner nicht anlegbar\n", stderr);
        return 1;
    }
    definitionenAnlegen(voll, kDefinitionen);

    // 1. The welcome page waits for the user.
    pid_t pid = -1;
    if (startzeit(wache, leer + u"/tvverknuepfen"_s, kAssistententitel, &pid) < 0) {
        std::fputs("bench_assistent: der Assistent zeigt keine Seite\n", stderr);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const Cpuzeit vorher = cpuzeit(pid);
    const qint64 t0 = monotonNs();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const Cpuzeit nachher = cpuzeit(pid);
    const double sekunden = double(monotonNs() - t0) / 1e9;
    beenden(pid);
    const double tickMs = 1000.0 / double(sysconf(_SC_CLK_TCK));
    const double msTicks = double(nachher.ticks - vorher.ticks) * tickMs;
    const double msGenau = double(nachher.ns - vorher.ns) / 1e6;
    std::printf("Willkommensseite wartet %.1f s: %.2f ms Prozessorzeit (utime+stime %.0f ms), "
                "%.4f %% eines Kerns (Ziel: unter 0,1 %%); bis dahin seit dem Start %.0f ms\n",
                sekunden, msGenau, msTicks, msGenau / (sekunden * 10.0), double(vorher.ns) / 1e6);

    // 2. Start to first page, in turns with the bare program, so both see
    // the same machine.
    std::vector<double> assistent;
    std::vector<double> ohneDefinitionen;
    std::vector<double> nackt;
    for (int i = 0; i < kDurchgaenge; ++i) {
        const double n = startzeit(wache, QStringLiteral(LEERESFENSTER), kLeerTitel);
        const double a = startzeit(wache, voll + u"/tvverknuepfen"_s, kAssistententitel);
        const double o = startzeit(wache, leer + u"/tvverknuepfen"_s, kAssistententitel);
        if (n < 0 || a < 0 || o < 0) {
            std::fputs("bench_assistent: ein Fenster kam nicht\n", stderr);
            return 1;
        }
        // The first turn fills the caches; it is not counted.
        if (i > 0) {
            nackt.push_back(n);
            assistent.push_back(a);
            ohneDefinitionen.push_back(o);
        }
    }
    const double a = median(assistent);
    const double n = median(nackt);
    std::printf("Start bis zur ersten Seite mit %d Definitionsdateien: %.1f ms (Median aus %zu), "
                "leeres Qt-Fenster: %.1f ms, Verhältnis %.2f (Ziel: höchstens 1,5); "
                "ohne Definitionsdateien: %.1f ms\n",
                kDefinitionen, a, assistent.size(), n, a / n, median(ohneDefinitionen));
    return 0;
}
