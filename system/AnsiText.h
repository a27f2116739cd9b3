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

/// Decodes text read from a file: valid UTF-8 is taken as UTF-8 (files
/// edited on Linux), anything else as Windows-1252.
QString ausDateitext(QByteArrayView bytes);
