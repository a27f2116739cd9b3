#include "wizard_dialog/ComboTextTabelle.h"

ComboTextTabelle::ComboTextTabelle(int zeilen)
    : m_zeilen(qMax(zeilen, 0))
{}

QVariant ComboTextTabelle::wert(int zeile, int spalte) const
{
    if (zeile < 1 || zeile > zeilen() || spalte < 1 || spalte > 2)
        return {};
    return m_zeilen.at(zeile - 1).at(static_cast<size_t>(spalte - 1));
}

QString ComboTextTabelle::text(int zeile, int spalte) const
{
    const QVariant w = wert(zeile, spalte);
    return w.isNull() ? QString() : w.toString();
}

void ComboTextTabelle::setzen(int zeile, int spalte, const QVariant& wert)
{
    if (zeile < 1 || spalte < 1 || spalte > 2)
        return;
    if (zeile > zeilen())
        m_zeilen.resize(zeile);
    m_zeilen[zeile - 1][static_cast<size_t>(spalte - 1)] = wert;
}
