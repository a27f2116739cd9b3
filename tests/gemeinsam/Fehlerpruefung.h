#pragma once

#include <functional>

#include <QString>

#include "system/Fehler.h"

/// What a call raises, as "(number) source: message"; empty if nothing.
inline QString fehlerVon(const std::function<void()>& aufruf)
{
    try {
        aufruf();
    } catch (const Fehler& f) {
        return QStringLiteral("(%1) %2: %3").arg(f.nummer()).arg(f.quelle(), f.meldung());
    }
    return QString();
}
