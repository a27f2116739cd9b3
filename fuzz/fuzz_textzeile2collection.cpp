// The splitter on arbitrary lines and settings. The first byte chooses the
// switches, the next two the separators; the rest is the line. Without quote
// handling and trimming, the items joined by the separator give the line
// back (for a separator that cannot overlap itself).

#include <cstddef>
#include <cstdint>

#include "system/TextZeile2Collection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    if (groesse < 3)
        return 0;
    const bool anfuehrungszeichen = daten[0] & 1;
    const bool trimmen = daten[0] & 2;
    const bool behalten = daten[0] & 4;
    static const char* const trennzeichen[] = {",", ";", ", ", "ab", "\"", " "};
    const QString trenner = QString::fromLatin1(trennzeichen[daten[1] % 6]);
    const QString trenner2 =
        daten[2] % 3 == 0 ? QString() : QString::fromLatin1(trennzeichen[daten[2] % 6]);
    const QString zeile =
        QString::fromUtf8(reinterpret_cast<const char*>(daten) + 3, qsizetype(groesse) - 3);

    const QStringList teile =
        TextZeile2Collection(zeile, trenner, trenner2, anfuehrungszeichen, trimmen, behalten);

    if (!anfuehrungszeichen && !trimmen && trenner2.isEmpty() && trenner.size() == 1 &&
        teile.join(trenner) != zeile)
        __builtin_trap();
    return 0;
}
