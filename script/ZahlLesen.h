#pragma once

#include <optional>

#include <QStringView>

/// Reads a number from the beginning of a text the way the suite's
/// definition files have always been read: blanks, tabs and line feeds are
/// skipped wherever they stand; an optional sign, digits, "." as decimal
/// point and an exponent with "E" or "D"; or "&H" (hexadecimal) or "&O"
/// (octal) digits, which give a signed 16-bit value when they fit in 16 bits
/// and a signed 32-bit value otherwise ("&HFFFF" is -1). Reading stops at the
/// first other character; a text without a number gives 0. Empty result:
/// the number does not fit (overflow).
std::optional<double> ZahlLesen(QStringView text);

/// The number of 100-ms ticks of a wait of `text` seconds: the number read
/// by `ZahlLesen` times 10, rounded to the nearest whole number with a half
/// going to the even neighbour. Empty result: overflow (not a 32-bit number).
std::optional<qint32> WartetakteLesen(QStringView text);
