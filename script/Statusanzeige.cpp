#include "script/Statusanzeige.h"

namespace {
struct Zustand
{
    StatusanzeigeFabrik fabrik;
    std::unique_ptr<Statusanzeige> anzeige;
};

Zustand& zustand()
{
    static Zustand z;
    return z;
}
} // namespace

void StatusanzeigeFabrikSetzen(StatusanzeigeFabrik fabrik)
{
    Zustand& z = zustand();
    z.anzeige.reset();
    z.fabrik = std::move(fabrik);
}

Statusanzeige* AktuelleStatusanzeige()
{
    Zustand& z = zustand();
    if (!z.anzeige && z.fabrik)
        z.anzeige = z.fabrik();
    return z.anzeige.get();
}
