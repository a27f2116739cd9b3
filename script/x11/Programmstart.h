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

/// Starts a program fully detached from us: in a session of its own, with
/// /dev/null as standard input, output and error and no other descriptor of
/// ours, so it neither holds our caller's pipes open nor writes into them; it
/// outlives us and never becomes our zombie. `zeile` is split with
/// befehlszeileZerlegen; when the whole trimmed line names an executable
/// file, it is taken as the program as it stands, so a path with blanks works
/// unquoted. Returns the process id once the program runs, or nothing when
/// the line is empty or unbalanced, or the program does not exist or cannot
/// be executed.
std::optional<qint64> programmAbloesen(const QString& zeile);
