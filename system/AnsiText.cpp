#include "system/AnsiText.h"

#include <array>

namespace {
// 0x80..0x9F of Windows-1252. The five bytes Windows leaves undefined map to
// the C1 control characters of the same value, as MultiByteToWideChar does.
constexpr std::array<char16_t, 32> k80bis9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char ansiZeichen(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < k80bis9F.size(); ++i) {
        if (k80bis9F[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}
// Strict UTF-8 as RFC 3629 defines it: no overlong forms, no surrogates,
// nothing above U+10FFFF, and no sequence cut short at the end. Checked on
// the bytes themselves: a stateful decoder keeps an incomplete sequence at
// the end for a next call and reports no error for it, which turned a
// Windows-1252 text ending in "ß" or "ä" into one that lost that letter.
bool istUtf8(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        qsizetype laenge = 0;
        unsigned char min = 0x80; // allowed range of the second byte
        unsigned char max = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            laenge = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            laenge = 3;
            if (b == 0xE0)
                min = 0xA0; // overlong
            else if (b == 0xED)
                max = 0x9F; // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            laenge = 4;
            if (b == 0xF0)
                min = 0x90; // overlong
            else if (b == 0xF4)
                max = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (n - i < laenge)
            return false;
        for (qsizetype k = 1; k < laenge; ++k) {
            const auto f = static_cast<unsigned char>(bytes[i + k]);
            if (f < (k == 1 ? min : 0x80) || f > (k == 1 ? max : 0xBF))
                return false;
        }
        i += laenge;
    }
    return true;
}
} // namespace

QByteArray zuAnsi(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A surrogate pair is one character outside the code page: one "?".
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes.append(ansiZeichen(c.unicode()));
    }
    return bytes;
}

QString ausAnsi(QByteArrayView bytes)
{
    QString text;
    text.resize(bytes.size());
    QChar* ziel = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        ziel[i] = QChar(b >= 0x80 && b < 0xA0 ? k80bis9F[b - 0x80] : char16_t(b));
    }
    return text;
}

QString ausDateitext(QByteArrayView bytes)
{
    if (!istUtf8(bytes))
        return ausAnsi(bytes);
    // A byte order mark is no character of the text.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    return QString::fromUtf8(bytes);
}
