// aufzeichnen: runs the recording of a definition file without the wizard,
// for timers such as cron or systemd.
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QTextStream>

#include "script/Statusanzeige.h"
#include "script/gui/Statusfenster.h"
#include "script/x11/X11Desktop.h"
#include "script/x11/X11Tastatur.h"
#include "system/Fehler.h"
#include "system/Programmordner.h"
#include "tools/aufzeichnen/Aufzeichnungslauf.h"
#include "tools/aufzeichnen/Befehlszeile.h"

using namespace Qt::StringLiterals;

namespace {
constexpr int kErfolg = 0;
constexpr int kFehler = 1;
constexpr int kAufruffehler = 2;

bool hatArgument(int argc, char** argv, const char* gesucht)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], gesucht) == 0)
            return true;
    }
    return false;
}

/// The application object: widgets only when the status window is wanted,
/// so that a run from a timer needs nothing but the X connection.
std::unique_ptr<QCoreApplication> anwendungErzeugen(int& argc, char** argv)
{
    if (!hatArgument(argc, argv, "--status"))
        return std::make_unique<QCoreApplication>(argc, argv);
    // Qt aborts when its platform cannot start. With "offscreen" as the
    // fallback the program lives on and reports the missing display itself.
    static std::vector<char*> argumente(argv, argv + argc);
    static char option[] = "-platform";
    static char plattform[] = "xcb;offscreen";
    if (!hatArgument(argc, argv, "-platform")) {
        argumente.insert(argumente.begin() + 1, {option, plattform});
        argc += 2;
    }
    argumente.push_back(nullptr);
    auto app = std::make_unique<QApplication>(argc, argumente.data());
    // Closing the status window must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);
    return app;
}
int g_signalRohr[2] = {-1, -1};

void signalEmpfangen(int nummer)
{
    // A key sequence being typed stops before its next key.
    X11Tastatur::abbruchMelden();
    const char zeichen = static_cast<char>(nummer);
    const ssize_t geschrieben = write(g_signalRohr[1], &zeichen, 1);
    static_cast<void>(geschrieben);
}

/// A timer (or the user) may end the run with SIGTERM, SIGINT or SIGHUP. The
/// signal is handled in the event loop: every key still pressed is released,
/// borrowed keycodes and Caps Lock are restored, the speakers this run muted
/// are unmuted, the reason is printed and the program ends at once.
void signaleAbfangen(QCoreApplication& app, QTextStream& aus, QTextStream& fehler)
{
    if (pipe2(g_signalRohr, O_CLOEXEC) != 0)
        return;
    auto* melder = new QSocketNotifier(g_signalRohr[0], QSocketNotifier::Read, &app);
    QObject::connect(melder, &QSocketNotifier::activated, &app, [&aus, &fehler] {
        char nummer = 0;
        if (read(g_signalRohr[0], &nummer, 1) != 1)
            return;
        X11Tastatur::alleZuruecksetzen();
        AufzeichnungAbbrechen();
        aus.flush();
        fehler << Fehler(1, u"aufzeichnen"_s,
                         u"Die Aufzeichnung wurde durch das Signal %1 abgebrochen."_s.arg(
                             u"SIG"_s + QString::fromLocal8Bit(sigabbrev_np(nummer))))
                      .anzeigetext()
               << Qt::endl;
        // Leaving through main() is not possible from inside the command
        // that is waiting; nothing else needs to be undone.
        _exit(1);
    });
    struct sigaction aktion
    {
    };
    aktion.sa_handler = signalEmpfangen;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    for (const int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &aktion, nullptr);
}
} // namespace

int main(int argc, char** argv)
{
    const std::unique_ptr<QCoreApplication> app = anwendungErzeugen(argc, argv);
    QTextStream aus(stdout);
    QTextStream fehler(stderr);

    QString aufruffehler;
    const std::optional<Laufoptionen> optionen =
        BefehlszeileLesen(QCoreApplication::arguments().mid(1), aufruffehler);
    if (!optionen) {
        fehler << aufruffehler << u'\n' << u'\n' << Aufrufhilfe();
        return kAufruffehler;
    }
    if (optionen->prozesse) {
        ProzesseAusgeben(aus);
        return kErfolg;
    }

    // Programs the definition starts inherit the program folder, so that it
    // can name files beside it (the channel list) by a relative name.
    QDir::setCurrent(AppPfad());
    signaleAbfangen(*app, aus, fehler);
    int ergebnis = kErfolg;
    X11Desktop desktop;
    if (optionen->status)
        StatusfensterEinrichten();
    try {
        if (!desktop.verbunden())
            throw Fehler(1, u"aufzeichnen"_s, desktop.fehlermeldung());
        AufzeichnungDurchfuehren(*optionen, desktop, aus);
    } catch (const Fehler& f) {
        aus.flush();
        fehler << f.anzeigetext() << Qt::endl;
        ergebnis = kFehler;
    } catch (const std::exception& e) {
        aus.flush();
        fehler << QString::fromLocal8Bit(e.what()) << Qt::endl;
        ergebnis = kFehler;
    }
    // The status window belongs to the application object; it goes first.
    StatusanzeigeFabrikSetzen({});
    return ergebnis;
}
