#include "tools/aufzeichnen/Befehlszeile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
// Long enough for any recording, short enough that the wait in
// milliseconds fits an int.
constexpr int kHoechstdauer = 7 * 24 * 3600;
} // namespace

QString Aufrufhilfe()
{
    return u"Aufruf: aufzeichnen DATEI.azs [--kanal NR] [--titel TEXT] [--dauer SEKUNDEN] "
           u"[--aufnahmeordner ORDNER] [--status]\n"
           u"        aufzeichnen --prozesse\n"
           u"\n"
           u"Führt die Aufzeichnung der Definitionsdatei DATEI.azs aus dem Programmordner aus:\n"
           u"TV-Anwendung starten, Kanal wechseln, Aufnahme starten, warten, Aufnahme beenden,\n"
           u"TV-Anwendung schließen.\n"
           u"  --kanal NR         Kanal für [Kanal] (Vorgabe: 01)\n"
           u"  --titel TEXT       Sendungstitel für [Titel] (Vorgabe: Beispielsendung)\n"
           u"  --dauer SEKUNDEN   Dauer der Aufzeichnung in ganzen Sekunden (Vorgabe: 15)\n"
           u"  --aufnahmeordner ORDNER\n"
           u"                     vorhandener Ordner für [TVAufzeichnungenPfad], in dem die\n"
           u"                     TV-Anwendung die Aufnahme ablegt (Vorgabe: leer; dann legt sie\n"
           u"                     sie in ihrem eigenen Ordner ab, den der Hinweis der Definition\n"
           u"                     nennt)\n"
           u"  --status           jeden Befehl im Statusfenster anzeigen\n"
           u"  --prozesse         die laufenden Prozesse auflisten\n"_s;
}

std::optional<Laufoptionen> BefehlszeileLesen(const QStringList& argumente, QString& fehler)
{
    Laufoptionen o;
    bool hatDatei = false;
    bool nurProzesse = true;
    QStringList gesehen;
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString& a = argumente.at(i);
        // An option given twice is a mistake in the timer's command line;
        // taking either value silently would record the wrong thing.
        if (a.startsWith(u"--"_s) && gesehen.contains(a)) {
            fehler = u"Die Option %1 ist mehrfach angegeben."_s.arg(a);
            return std::nullopt;
        }
        gesehen << a;
        // The next option is never a value: "--kanal --dauer 5" lacks the
        // channel rather than naming channel "--dauer".
        const auto wert = [&]() -> std::optional<QString> {
            if (i + 1 >= argumente.size() || argumente.at(i + 1).startsWith(u"--"_s)) {
                fehler = u"Zur Option %1 fehlt der Wert."_s.arg(a);
                return std::nullopt;
            }
            return argumente.at(++i);
        };
        if (a == u"--prozesse"_s) {
            o.prozesse = true;
            continue;
        }
        nurProzesse = false;
        if (a == u"--status"_s) {
            o.status = true;
        } else if (a == u"--kanal"_s || a == u"--titel"_s) {
            const std::optional<QString> w = wert();
            if (!w)
                return std::nullopt;
            (a == u"--kanal"_s ? o.kanal : o.titel) = *w;
        } else if (a == u"--dauer"_s) {
            const std::optional<QString> w = wert();
            if (!w)
                return std::nullopt;
            bool ok = false;
            const int dauer = w->toInt(&ok);
            if (!ok || dauer < 0 || dauer > kHoechstdauer) {
                fehler = u"Die Dauer \"%1\" ist keine ganze Zahl von Sekunden zwischen 0 und %2."_s
                             .arg(*w)
                             .arg(kHoechstdauer);
                return std::nullopt;
            }
            o.dauerSekunden = dauer;
        } else if (a == u"--aufnahmeordner"_s) {
            const std::optional<QString> w = wert();
            if (!w)
                return std::nullopt;
            const QFileInfo ordner(QDir::current(), *w);
            if (w->isEmpty() || !ordner.isDir()) {
                fehler = u"Der Aufnahmeordner \"%1\" ist kein vorhandener Ordner."_s.arg(*w);
                return std::nullopt;
            }
            o.aufnahmeordner = QDir::cleanPath(ordner.absoluteFilePath());
            if (!o.aufnahmeordner.endsWith(u'/'))
                o.aufnahmeordner += u'/';
        } else if (a.startsWith(u'-') && a.size() > 1) {
            fehler = u"Unbekannte Option %1."_s.arg(a);
            return std::nullopt;
        } else if (hatDatei) {
            fehler = u"Es kann nur eine Definitionsdatei angegeben werden."_s;
            return std::nullopt;
        } else {
            o.datei = a;
            hatDatei = true;
        }
    }
    if (o.prozesse) {
        if (!nurProzesse) {
            fehler = u"--prozesse wird ohne weitere Argumente aufgerufen."_s;
            return std::nullopt;
        }
        return o;
    }
    if (!hatDatei || o.datei.isEmpty()) {
        fehler = u"Es fehlt die Definitionsdatei."_s;
        return std::nullopt;
    }
    return o;
}
