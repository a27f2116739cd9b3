#include "script/ZahlLesen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {
bool istZiffer(char c, int basis)
{
    if (basis == 16)
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (basis == 8)
        return c >= '0' && c <= '7';
    return c >= '0' && c <= '9';
}

int ziffernwert(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

/// "&H"/"&O" digits: 16-bit signed when they fit in 16 bits, else 32-bit.
std::optional<double> ganzzahlMitBasis(const std::string& s, size_t pos, int basis)
{
    quint64 wert = 0;
    for (; pos < s.size() && istZiffer(s[pos], basis); ++pos) {
        wert = wert * static_cast<quint64>(basis) + static_cast<quint64>(ziffernwert(s[pos]));
        if (wert > 0xFFFFFFFFu)
            return std::nullopt;
    }
    if (wert <= 0xFFFFu)
        return static_cast<double>(static_cast<qint16>(static_cast<quint16>(wert)));
    return static_cast<double>(static_cast<qint32>(static_cast<quint32>(wert)));
}

/// For a number text that a double cannot hold: whether it is too large
/// (true) rather than too close to zero. Decides by the decimal exponent of
/// its first significant digit.
bool zuGross(const std::string& zahl)
{
    long exponent = 0;
    const size_t e = zahl.find('e');
    if (e != std::string::npos) {
        const std::string teil = zahl.substr(e + 1);
        const char* a = teil.data() + (teil[0] == '+' ? 1 : 0);
        // Exponents beyond the long range are as good as infinite.
        if (std::from_chars(a, teil.data() + teil.size(), exponent).ec != std::errc())
            return teil[0] != '-';
    }
    // Power of ten of the first significant digit of the mantissa.
    const std::string mantisse = zahl.substr(0, e);
    const size_t punkt = std::min(mantisse.find('.'), mantisse.size());
    const size_t erste = mantisse.find_first_of("123456789");
    if (erste == std::string::npos)
        return false;
    const long potenz =
        erste < punkt ? static_cast<long>(punkt - erste) - 1 : -static_cast<long>(erste - punkt);
    return potenz + exponent > 0;
}
} // namespace

std::optional<double> ZahlLesen(QStringView text)
{
    // Only the characters that can belong to a number matter, and they are
    // all ASCII; anything else ends the number anyway.
    std::string s;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        s += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\x01';
    }

    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'h' || s[1] == 'H')
            return ganzzahlMitBasis(s, 2, 16);
        if (s[1] == 'o' || s[1] == 'O')
            return ganzzahlMitBasis(s, 2, 8);
        return 0.0;
    }

    // Longest prefix of the form [sign] digits [. digits] [E|D [sign] digits].
    size_t p = 0;
    if (p < s.size() && (s[p] == '+' || s[p] == '-'))
        ++p;
    size_t ziffern = 0;
    for (; p < s.size() && istZiffer(s[p], 10); ++p)
        ++ziffern;
    if (p < s.size() && s[p] == '.') {
        ++p;
        for (; p < s.size() && istZiffer(s[p], 10); ++p)
            ++ziffern;
    }
    if (ziffern == 0)
        return 0.0;
    std::string zahl = s.substr(0, p);
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E' || s[p] == 'd' || s[p] == 'D')) {
        size_t q = p + 1;
        if (q < s.size() && (s[q] == '+' || s[q] == '-'))
            ++q;
        const size_t exponentAnfang = q;
        while (q < s.size() && istZiffer(s[q], 10))
            ++q;
        if (q > exponentAnfang)
            zahl += 'e' + s.substr(p + 1, q - p - 1);
    }

    // from_chars takes no leading "+" and never depends on the locale.
    const char* anfang = zahl.data();
    if (*anfang == '+')
        ++anfang;
    double wert = 0.0;
    const auto [ende, fehler] = std::from_chars(anfang, zahl.data() + zahl.size(), wert);
    if (fehler == std::errc::result_out_of_range)
        return zuGross(zahl) ? std::nullopt : std::optional<double>(0.0);
    if (fehler != std::errc() || ende != zahl.data() + zahl.size())
        return 0.0;
    return wert;
}

std::optional<qint32> WartetakteLesen(QStringView text)
{
    const std::optional<double> sekunden = ZahlLesen(text);
    if (!sekunden)
        return std::nullopt;
    // nearbyint rounds a half to the even neighbour in the default mode.
    const double takte = std::nearbyint(*sekunden * 10.0);
    if (!(takte >= std::numeric_limits<qint32>::min() &&
          takte <= std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(takte);
}
