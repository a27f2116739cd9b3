#pragma once

#include "script/x11/X11Desktop.h"
#include "wizard/Umgebung.h"

/// The wizard's surroundings on the real desktop: the X server, /proc, the
/// ALSA mixer, the event loop.
class EchteUmgebung : public Umgebung
{
public:
    Desktop& desktop() override { return m_desktop; }
    /// Whether the X server could be reached; `fehlermeldung()` says why not.
    bool verbunden() const { return m_desktop.verbunden(); }
    QString fehlermeldung() const { return m_desktop.fehlermeldung(); }

    bool anwendungMinimiertStarten(const QString& startDatei, int maxMs) override;
    Prozessliste prozessliste() override;
    void pcStummschalten() override;
    void pcStummschaltungZuruecksetzen() override;
    double zufall() override;
    void schlafen(int ms) override;
    void ereignisseVerarbeiten() override;

private:
    X11Desktop m_desktop;
};
