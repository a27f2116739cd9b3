#include "script/x11/Titelsuche.h"

qsizetype titelWaehlen(const QStringList& titel, const QString& suche,
                       const std::function<bool(qsizetype)>& vonAnwendung)
{
    if (suche.isEmpty())
        return -1;
    const auto finde = [&](auto passt) -> qsizetype {
        for (qsizetype i = 0; i < titel.size(); ++i) {
            if (passt(i, titel.at(i)))
                return i;
        }
        return -1;
    };
    constexpr auto ohne = Qt::CaseInsensitive;
    using Regel = std::function<bool(qsizetype, const QString&)>;
    for (const Regel& passt : std::initializer_list<Regel>{
             [&](qsizetype, const QString&t) { return t == suche; },
             [&](qsizetype, const QString&t) { return t.compare(suche, ohne) == 0; },
             [&](qsizetype, const QString&t) { return t.startsWith(suche, ohne); },
             // The process is asked last: it costs a look at the process list.
             [&](qsizetype i, const QString&t) {
                 return t.endsWith(suche, ohne) && vonAnwendung && vonAnwendung(i);
             }}) {
        if (const qsizetype i = finde(passt); i >= 0)
            return i;
    }
    return -1;
}
