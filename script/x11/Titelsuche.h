#pragma once

#include <QStringList>

/// The position in `titel` of the window title that best matches `suche`:
/// the same text, else the same ignoring case, else the first title that
/// begins with it, else one that ends with it, else one that contains it
/// (all ignoring case); -1 when none does or `suche` is empty. Within one
/// rank the earlier title wins.
qsizetype titelWaehlen(const QStringList& titel, const QString& suche);
