// aufzeichnen: runs the recording of a definition file without the wizard,
// for timers such as cron or systemd.
#include <cstring>
#include <exception>
#include <memory>
#include <vector>

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include "script/Statusanzeige.h"
#include "script/gui/Statusfenster.h"
#include "script/x11/X11Desktop.h"
#include "system/Fehler.h"
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
