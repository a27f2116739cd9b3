#pragma once

#include <QMap>

#include "script/Desktop.h"

/// The parts of a desktop that need no window system: the clock, waits on
/// the Qt event loop, and the special folders (/opt, /usr, /usr/bin unless
/// set otherwise). Back-ends derive from it.
class DesktopGrundlage : public Desktop
{
public:
    DesktopGrundlage();

    QString sonderOrdner(int nummer) override;
    QDateTime jetzt() override;
    void warten(int ms) override;
    void ereignisseVerarbeiten() override;

    /// Sets the folder returned for a special-folder number (empty: none).
    void sonderOrdnerSetzen(int nummer, const QString& ordner);

private:
    QMap<int, QString> m_sonderOrdner;
};
