#pragma once

#include <QPaintDevice>
#include <QRect>
#include <QtGlobal>

/// Turns design measures in twips (1/1440 inch) into pixels at a paint
/// device's logical resolution: 15 twips make one pixel at 96 dpi.
class Twips
{
public:
    explicit Twips(const QPaintDevice& geraet)
        : m_dpiX(geraet.logicalDpiX())
        , m_dpiY(geraet.logicalDpiY())
    {}

    int x(int twips) const { return qRound(twips * m_dpiX / 1440.0); }
    int y(int twips) const { return qRound(twips * m_dpiY / 1440.0); }
    QRect rechteck(int links, int oben, int breite, int hoehe) const
    {
        return {x(links), y(oben), x(breite), y(hoehe)};
    }

private:
    int m_dpiX;
    int m_dpiY;
};
