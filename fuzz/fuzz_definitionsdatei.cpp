// The definition readers on a file made of arbitrary bytes: the full load,
// the listing, both single-value readers and the line primitives must never
// crash or hang, whatever the file holds.

#include <cstddef>
#include <cstdint>

#include <QFile>
#include <QTemporaryDir>

#include "script/Definitionsdatei.h"
#include "script/Skriptfelder.h"
#include "system/AnsiText.h"
#include "system/Fehler.h"
#include "system/Programmordner.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse)
{
    static QTemporaryDir ordner;
    static const bool eingerichtet = [] {
        AppPfadSetzen(ordner.path());
        return ordner.isValid();
    }();
    if (!eingerichtet)
        __builtin_trap();

    const QByteArray eingabe(reinterpret_cast<const char*>(daten), qsizetype(groesse));
    {
        QFile datei(ordner.filePath(u"f.azs"_s));
        if (!datei.open(QIODevice::WriteOnly) || datei.write(eingabe) != eingabe.size())
            __builtin_trap();
    }

    // A readable file may only be refused for its format (1) or, beyond the
    // readers' limits, for a line or a file of absurd length (75).
    const auto erlaubt = [&](const Fehler& f) {
        return f.nummer() == 75 &&
               (f.meldung().contains(u"länger als"_s) || f.meldung().contains(u"größer als"_s));
    };
    try {
        Skriptfelder felder;
        felder.SkriptDateiname = u"f.azs"_s;
        SkriptEinladen(felder);
    } catch (const Fehler& f) {
        if (f.nummer() != 1 && !erlaubt(f))
            __builtin_trap();
    }
    try {
        const Skriptdateiliste liste = SkriptdateienAuflisten(ordner.path());
        if (liste.dateinamen.size() != 1 || liste.beschreibungen.size() != 1 ||
            liste.standardverzeichnisse.size() != 1)
            __builtin_trap();
        SchluesselwertLesen(u"f.azs"_s, u"Beschreibung"_s);
        BefehlsparameterLesen(u"f.azs"_s, u"BefehlAnwendungStarten"_s, u"AnwendungStarten"_s, 1);
    } catch (const Fehler& f) {
        if (!erlaubt(f))
            __builtin_trap();
    }

    const QString zeile = ausDateitext(eingabe);
    const QString ohneKommentar = KommentarEntfernen(zeile);
    if (!zeile.startsWith(ohneKommentar))
        __builtin_trap();
    ZeilenSchluessel(ohneKommentar);
    ZeilenWert(ohneKommentar);
    return 0;
}
