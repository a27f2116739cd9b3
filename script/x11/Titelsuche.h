#pragma once

#include <functional>

#include <QStringList>

/// The position in `titel` of the window title that best matches `suche`:
/// the same text, else the same ignoring case, else the first title that
/// begins with it (ignoring case). A title that ends with it (ignoring case)
/// counts only for a window that `vonAnwendung` (asked with its position)
/// names as one of the TV application's own, so a definition can name a
/// program whose title begins with the item playing. A title that merely
/// contains `suche` never counts: a terminal titled with the command that
/// started the run must not receive the keys. Within one rank the earlier
/// title wins; -1 when none matches or `suche` is empty.
qsizetype titelWaehlen(const QStringList& titel, const QString& suche,
                       const std::function<bool(qsizetype)>& vonAnwendung = {});
