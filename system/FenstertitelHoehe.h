#pragma once

#include <QtGlobal>

class QWidget;

/// The height of a window's title bar, which the suite's dialogs add to the
/// heights they are designed with.

/// The unit a form measures its inside in.
enum class Skalierung
{
    Twips,
    Pixel,
    Andere,
};

/// A form's measures: outside in twips, inside in the form's unit.
struct Fenstermasse
{
    Skalierung einheit = Skalierung::Pixel;
    bool minimiert = false;
    double aussenBreite = 0;
    double aussenHoehe = 0;
    double innenBreite = 0;
    double innenHoehe = 0;
    double twipsProPixelX = 15;
    double twipsProPixelY = 15;
};

/// Title bar with the upper frame in twips: outer height minus inner height
/// minus one side frame, rounded half to even; 0 for a minimised form.
/// Throws Fehler(1, "GetFensterTitelHoeheInTwips", ...) for a unit other
/// than twips or pixels.
qint32 FenstertitelHoeheAusMassen(const Fenstermasse& masse);

/// The same for a shown window (Qt measures its inside in pixels). A window
/// not yet shown or without decorations has no title bar: 0.
qint32 GetFensterTitelHoeheInTwips(const QWidget& form);
