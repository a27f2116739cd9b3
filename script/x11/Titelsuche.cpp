#include "script/x11/Titelsuche.h"

#include <functional>

qsizetype titelWaehlen(const QStringList& titel, const QString& suche)
{
    if (suche.isEmpty())
        return -1;
    const auto finde = [&](auto passt) -> qsizetype {
        for (qsizetype i = 0; i < titel.size(); ++i) {
            if (passt(titel.at(i)))
                return i;
        }
        return -1;
    };
    constexpr auto ohne = Qt::CaseInsensitive;
    for (const auto& passt : std::initializer_list<std::function<bool(const QString&)>>{
             [&](const QString& t) { return t == suche; },
             [&](const QString& t) { return t.compare(suche, ohne) == 0; },
             [&](const QString& t) { return t.startsWith(suche, ohne); },
             [&](const QString& t) { return t.endsWith(suche, ohne); },
             [&](const QString& t) { return t.contains(suche, ohne); }}) {
        if (const qsizetype i = finde(passt); i >= 0)
            return i;
    }
    return -1;
}
