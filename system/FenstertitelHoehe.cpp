#include "system/FenstertitelHoehe.h"

#include <cmath>

#include <QWidget>

#include "system/Fehler.h"

using namespace Qt::StringLiterals;

namespace {
// Rounds half to even, as the suite's integer conversion does.
double gerundet(double wert)
{
    return std::nearbyint(wert);
}
} // namespace

qint32 FenstertitelHoeheAusMassen(const Fenstermasse& m)
{
    double faktorX = 1, faktorY = 1;
    switch (m.einheit) {
    case Skalierung::Twips:
        break;
    case Skalierung::Pixel:
        faktorX = m.twipsProPixelX;
        faktorY = m.twipsProPixelY;
        break;
    default:
        throw Fehler(1, u"GetFensterTitelHoeheInTwips"_s,
                     u"Nur Twips oder Pixel werden als Scalemode unterstützt."_s);
    }
    if (m.minimiert)
        return 0;
    const double rahmen = gerundet((m.aussenBreite - m.innenBreite * faktorX) / 2);
    const double hoehe = gerundet(m.aussenHoehe - m.innenHoehe * faktorY - rahmen);
    if (!std::isfinite(hoehe) || std::abs(hoehe) > 2147483647.0)
        throw Fehler(6, u"GetFensterTitelHoeheInTwips"_s, u"Überlauf"_s);
    return static_cast<qint32>(hoehe);
}

qint32 GetFensterTitelHoeheInTwips(const QWidget& form)
{
    Fenstermasse m;
    m.einheit = Skalierung::Pixel;
    m.minimiert = form.isMinimized();
    m.twipsProPixelX = 1440.0 / form.logicalDpiX();
    m.twipsProPixelY = 1440.0 / form.logicalDpiY();
    const QRect aussen = form.frameGeometry();
    m.aussenBreite = aussen.width() * m.twipsProPixelX;
    m.aussenHoehe = aussen.height() * m.twipsProPixelY;
    m.innenBreite = form.width();
    m.innenHoehe = form.height();
    return FenstertitelHoeheAusMassen(m);
}
