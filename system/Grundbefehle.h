#pragma once

#include <QString>
#include <QVariant>

/// Path and file helpers. Paths are taken apart at "\" and at "/"; only the
/// native separator "/" is ever added.

/// The file-name part: everything after the last "\" or "/"; the whole path
/// when it holds neither; empty when the path ends in a separator.
QString DateinameAusPfad(const QString& pfad);

/// The folder part without its trailing separator; empty when the path holds
/// no separator or only one in the first position.
QString OrdnerAusPfad(const QString& pfad);

/// The path with a trailing "/" unless it already ends in one ("" gives "/").
QString PfadMitBackslash(const QString& pfad);

/// True when an ordinary file matches the path. The file-name part may hold
/// the wildcards "*" and "?" (DOS rules: "*.*" matches every name, matching
/// ignores case). Hidden files (a name starting with "."), folders, sockets,
/// devices and pipes never count. Any failure of the lookup gives false.
bool DateiExistiert(const QString& pfad);

/// True when the path can be made the current directory. Afterwards the
/// program's folder is the current directory, whatever the outcome.
bool OrdnerExistiert(const QString& pfad);

/// The substitute when the value is a database null, else the value.
QVariant NullErsetzen(const QVariant& wert, const QVariant& ersatz);

/// Appends one line (Windows-1252, CR LF) to a log file, optionally with date
/// and time and the free memory in front. Every error is ignored.
void LogZeileSchreiben(const QString& datei, const QString& text, bool mitDatum, bool mitSpeicher);

/// Free physical memory in bytes as a signed 32-bit number: 2 GiB or more
/// come out negative, 4 GiB or more as -1, as the suite has always logged it.
qint32 GetFreierSpeicher();
