#pragma once

#include <array>

#include <QList>
#include <QString>
#include <QVariant>

/// The table the command-step editor takes and returns: rows counted from 1,
/// column 1 the command name, column 2 its parameter. A cell holds a text or
/// no value at all (a null QVariant); both read as the empty text.
class ComboTextTabelle
{
public:
    ComboTextTabelle() = default;
    /// A table of `zeilen` rows whose cells hold no value.
    explicit ComboTextTabelle(int zeilen);

    int zeilen() const { return static_cast<int>(m_zeilen.size()); }

    /// The cell's value; a null QVariant outside the table.
    QVariant wert(int zeile, int spalte) const;
    /// The cell's value as text; empty for a cell without value.
    QString text(int zeile, int spalte) const;
    /// Sets a cell; the table grows to `zeile` rows when it is shorter.
    /// Columns other than 1 and 2 are ignored.
    void setzen(int zeile, int spalte, const QVariant& wert);

    friend bool operator==(const ComboTextTabelle&, const ComboTextTabelle&) = default;

private:
    QList<std::array<QVariant, 2>> m_zeilen;
};
