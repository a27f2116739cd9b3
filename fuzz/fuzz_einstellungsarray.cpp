// The settings decoder on arbitrary bytes: it must never crash, and a file
// it reads completely must encode back to exactly the same bytes, also after
// one element has been replaced (the others keep their bytes).

#include <cstddef>
#include <cstdint>
#include <optional>

#include "system/Einstellungsarray.h"
#include "system/Fehler.h"

using namespace Qt::StringLiterals;

namespace {
void umwandeln(const Einstellungswert& wert)
{
    try {
        wert.alsText();
    } catch (const Fehler&) {
    }
    try {
        wert.alsWahrheitswert();
    } catch (const Fehler&) {
    }
    try {
        wert.alsZahl();
    } catch (const Fehler&) {
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    const QByteArrayView eingabe(reinterpret_cast<const char*>(daten), qsizetype(groesse));
    std::optional<Einstellungsarray> array;
    try {
        array = Einstellungsarray::dekodieren(eingabe);
    } catch (const Fehler&) {
        return 0;
    }

    for (qint64 index = array->untergrenze(); index <= array->obergrenze(); ++index) {
        try {
            umwandeln(array->element(qint32(index)));
        } catch (const Fehler&) {
            if (array->vollstaendig())
                __builtin_trap(); // every element of a complete array is readable
            break;
        }
    }
    if (!array->vollstaendig() || array->anzahl() == 0)
        return 0;

    if (array->kodieren() != eingabe)
        __builtin_trap();

    Einstellungsarray geaendert = *array;
    const qint32 erstes = array->untergrenze();
    geaendert.textSetzen(erstes, u"geändert"_s);
    const Einstellungsarray wieder = Einstellungsarray::dekodieren(geaendert.kodieren());
    if (wieder.element(erstes).alsText() != u"geändert"_s)
        __builtin_trap();
    for (qint64 index = qint64(erstes) + 1; index <= array->obergrenze(); ++index) {
        if (wieder.element(qint32(index)).bytes() != array->element(qint32(index)).bytes())
            __builtin_trap();
    }
    return 0;
}
