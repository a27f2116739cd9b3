#include "system/AnsiText.h"

#include <array>

#include <QStringDecoder>

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
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return ausAnsi(bytes);
}
