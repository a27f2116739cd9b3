// The key-notation parser on arbitrary text (UTF-8). Whatever it accepts must
// release every modifier it holds, hold none twice, stay within the keystroke
// limit, and describe the same list when parsed again.

#include <cstddef>
#include <cstdint>

#include "script/SendKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(daten), qsizetype(groesse));
    QList<TastenAktion> aktionen;
    QString fehler;
    if (!SendKeysZerlegen(text, aktionen, &fehler)) {
        if (!aktionen.isEmpty() || fehler.isEmpty())
            __builtin_trap();
        return 0;
    }
    int gehalten[3] = {0, 0, 0};
    qint64 anschlaege = 0;
    for (const TastenAktion& a : aktionen) {
        int& n = gehalten[static_cast<int>(a.modifikator)];
        if (a.art == TastenAktion::Art::Druecken && ++n != 1)
            __builtin_trap();
        if (a.art == TastenAktion::Art::Loesen && --n != 0)
            __builtin_trap();
        if (a.art == TastenAktion::Art::Zeichen || a.art == TastenAktion::Art::Taste) {
            if (a.wiederholungen < 1)
                __builtin_trap();
            anschlaege += a.wiederholungen;
        }
    }
    if (gehalten[0] || gehalten[1] || gehalten[2] || anschlaege > kMaxTastenanschlaege)
        __builtin_trap();
    QList<TastenAktion> nochmal;
    if (!SendKeysZerlegen(text, nochmal) || nochmal != aktionen)
        __builtin_trap();
    return 0;
}
