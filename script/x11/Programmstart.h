#pragma once

#include <optional>

#include <QStringList>

/// Splits a command line into program and arguments the way a POSIX shell
/// splits words, without running one: blanks separate words; single quotes
/// keep everything literally; double quotes keep everything except that a
/// backslash escapes `"`, `\`, `$`, `` ` `` and a line break; outside quotes a
/// backslash makes the next character literal. Nothing is expanded. Returns
/// nothing for an unclosed quote.
std::optional<QStringList> befehlszeileZerlegen(const QString& zeile);

/// Starts a program detached from us (it outlives us and never becomes our
/// zombie), its input from /dev/null. `zeile` is split with
/// befehlszeileZerlegen; when the whole trimmed line names an executable
/// file, it is taken as the program as it stands, so a path with blanks works
/// unquoted. Returns the process id, or nothing when the line is empty or
/// unbalanced, or the program does not exist or cannot be executed.
std::optional<qint64> programmAbloesen(const QString& zeile);
