// The window search of the command interpreter on a real X server (run it
// through tests/mit-x.sh --wm or --ohne-wm):
//  1. CPU time of a failing 15-second search (FensterAktivieren with a title
//     that never appears), as a share of one core;
//  2. latency from the mapping of a new window to its activation through
//     the interpreter.
// Prints figures; asserts nothing.
#include <algorithm>
#include <optional>
#include <vector>

#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QProcess>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include "script/Aufzeichnungskript.h"
#include "script/Skriptfelder.h"
#include "script/x11/X11Desktop.h"
#include "system/Fehler.h"

using namespace Qt::StringLiterals;

namespace {
qint64 monotonNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

double cpuSekunden()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    const auto s = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return s(r.ru_utime) + s(r.ru_stime);
}

/// Forwards to the X11 desktop and notes when an activation first succeeds
/// and how often it was tried.
class MessenderDesktop : public Desktop
{
public:
    X11Desktop x;
    std::optional<qint64> aktiviertNs;
    int versuche = 0;

    bool programmStarten(const QString& z, Fensterart a) override
    {
        return x.programmStarten(z, a);
    }
    bool fensterZeigen(const QString& t) override { return x.fensterZeigen(t); }
    bool fensterAktivieren(const QString& t, const QString& a) override
    {
        ++versuche;
        const bool ok = x.fensterAktivieren(t, a);
        if (ok && !aktiviertNs)
            aktiviertNs = monotonNs();
        return ok;
    }
    void aufFensteraenderungWarten(int ms) override { x.aufFensteraenderungWarten(ms); }
    bool tastenSenden(const QString& t) override { return x.tastenSenden(t); }
    void beep() override { x.beep(); }
    QString sonderOrdner(int n) override { return x.sonderOrdner(n); }
    QDateTime jetzt() override { return x.jetzt(); }
    void warten(int ms) override { x.warten(ms); }
    void ereignisseVerarbeiten() override { x.ereignisseVerarbeiten(); }
};

/// Child mode: maps a window with the given title after `verzoegerungMs` and
/// prints the monotonic time of the mapping in nanoseconds.
int fensterZeigen(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QString::fromLocal8Bit(argv[2]));
    w.resize(200, 100);
    QTimer::singleShot(QString::fromLatin1(argv[3]).toInt(), [&] {
        // Taken before the map request goes out, so the figure is an upper
        // bound of the latency.
        const qint64 jetzt = monotonNs();
        w.show();
        QCoreApplication::processEvents();
        QTextStream(stdout) << jetzt << Qt::endl;
    });
    QTimer::singleShot(20000, &app, &QCoreApplication::quit);
    return QApplication::exec();
}

void fehlschlagMessen(QTextStream& aus)
{
    MessenderDesktop d;
    Skriptfelder f;
    const double cpuVorher = cpuSekunden();
    const qint64 vorher = monotonNs();
    QString meldung;
    try {
        BefehlAusführen(f, d, u"FensterAktivieren,\"Dieses Fenster gibt es nie\""_s);
    } catch (const Fehler& e) {
        meldung = e.anzeigetext();
    }
    const double wand = double(monotonNs() - vorher) / 1e9;
    const double cpu = cpuSekunden() - cpuVorher;
    aus << "Fehlschlagende Fenstersuche:\n";
    aus << u"  Dauer %1 s, CPU %2 s = %3 % eines Kerns, %4 Versuche\n"_s.arg(wand, 0, 'f', 2)
               .arg(cpu, 0, 'f', 3)
               .arg(100.0 * cpu / wand, 0, 'f', 2)
               .arg(d.versuche);
    aus << "  Meldung: " << meldung.replace(u"\r\n"_s, u" / "_s) << "\n";
}

void latenzMessen(QTextStream& aus, const char* programm)
{
    constexpr int kLaeufe = 5;
    std::vector<double> latenzen;
    for (int i = 0; i < kLaeufe; ++i) {
        const QString titel =
            u"Latenzfenster %1 %2"_s.arg(QCoreApplication::applicationPid()).arg(i);
        QProcess kind;
        kind.start(QString::fromLocal8Bit(programm), {u"--fenster"_s, titel, u"1000"_s});
        if (!kind.waitForStarted())
            return;
        MessenderDesktop d;
        Skriptfelder f;
        try {
            BefehlAusführen(f, d, u"FensterAktivieren,\""_s + titel + u'"');
        } catch (const Fehler& e) {
            aus << "  Lauf " << i << ": " << e.meldung() << "\n";
        }
        kind.waitForReadyRead(5000);
        const qint64 gezeigt = QString::fromLatin1(kind.readLine()).trimmed().toLongLong();
        if (d.aktiviertNs && gezeigt > 0)
            latenzen.push_back(double(*d.aktiviertNs - gezeigt) / 1e6);
        kind.kill();
        kind.waitForFinished();
    }
    std::sort(latenzen.begin(), latenzen.end());
    aus << "Latenz vom Abbilden eines neuen Fensters bis zur Aktivierung (" << latenzen.size()
        << " Läufe):\n  ";
    for (const double l : latenzen)
        aus << u"%1 ms  "_s.arg(l, 0, 'f', 1);
    if (!latenzen.empty())
        aus << u"\n  Median %1 ms, höchstens %2 ms\n"_s
                   .arg(latenzen[latenzen.size() / 2], 0, 'f', 1)
                   .arg(latenzen.back(), 0, 'f', 1);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--fenster") == 0)
        return fensterZeigen(argc, argv);
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);
    aus << "Fenstermanager: " << (qgetenv("SENDARO_TEST_WM") == "1" ? "openbox" : "keiner") << "\n";
    latenzMessen(aus, argv[0]);
    aus.flush();
    fehlschlagMessen(aus);
    return 0;
}
