#pragma once

#include <QString>
#include <QStringList>

/// Splits one line at a separator (and optionally a second one) into items.
/// Quoted items may contain the separator; "trimmen" trims the line and
/// every item and skips blanks in front of items. Only the blank (code 32)
/// counts as a space. Callers address the items from position 1.
QStringList TextZeile2Collection(const QString& zeile, const QString& trennzeichen,
                                 const QString& trennzeichen2, bool anfuehrungszeichen,
                                 bool trimmen, bool anfuehrungszeichenBehalten);

/// The item without its enclosing double quotes, when it is at least two
/// characters long and begins and ends with one; otherwise unchanged.
QString AnfuehrungszeichenEntfernen(const QString& eintrag);

/// The 1-based position of the first character at or after `start` that is
/// not a blank; 0 when there is none.
qsizetype NaechstesNichtLeerzeichen(const QString& zeile, qsizetype start);

/// Removes leading and trailing blanks (code 32 only; tabs stay).
QString LeerzeichenEntfernen(const QString& text);
