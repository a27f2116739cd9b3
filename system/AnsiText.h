#pragma once

#include <QByteArray>
#include <QString>

/// Texts in the suite's files are stored in Windows-1252, so that the files
/// stay exchangeable with the Windows programs of the suite.

/// Encodes a text in Windows-1252; a character that code page cannot hold is
/// written as "?".
QByteArray zuAnsi(QStringView text);

/// Decodes Windows-1252 bytes (every byte value has a character).
QString ausAnsi(QByteArrayView bytes);

/// Decodes the whole content of a file at once: when all of it is valid
/// UTF-8 (files edited on Linux) it is read as UTF-8 without a byte order
/// mark, else all of it as Windows-1252. Never decide per line: a 1252 line
/// may happen to be valid UTF-8 ("Maß°" is), while the rest of its file
/// shows what it really is.
QString ausDateitext(QByteArrayView bytes);
