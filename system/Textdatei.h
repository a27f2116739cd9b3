#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// Reading the suite's files without hanging or running out of memory: only
/// regular files are read (a pipe would block the reader, a device such as
/// /dev/zero never ends), and only up to a size limit.

/// Definition files are a few KiB; 4 MiB is far beyond any real one and
/// still cheap to hold in memory whole.
inline constexpr qint64 kHoechsteTextdateigroesse = 4 * 1024 * 1024;
/// A line is one key and its value; 64 KiB characters is far beyond any
/// command line a TV application could take.
inline constexpr qsizetype kHoechsteZeilenlaenge = 64 * 1024;

/// At most the first `hoechstgroesse` bytes of a file, which must be a
/// regular file after following links; for callers that judge the size
/// themselves (read one byte more than allowed to see whether it is larger).
/// Throws like DateiinhaltLesen, except for the size.
QByteArray DateianfangLesen(const QString& pfad, const QString& quelle, qint64 hoechstgroesse);

/// The bytes of a file, which must be a regular file after following links.
/// The file is opened without blocking and checked on the open descriptor,
/// so a pipe put in its place after a check still cannot block. Throws
/// Fehler(53, quelle, ...) for a missing file and Fehler(75, quelle, ...)
/// for one that is no regular file, cannot be read, or is larger than
/// `hoechstgroesse` bytes, each with a German message that names the file.
QByteArray DateiinhaltLesen(const QString& pfad, const QString& quelle, qint64 hoechstgroesse);

/// The lines of a text: CR LF, CR alone and LF alone each end a line; a last
/// line without terminator counts; an empty text has no lines.
QStringList TextzeilenTrennen(QStringView text);

/// The lines of a text file of the suite (at most kHoechsteTextdateigroesse
/// bytes), decoded once for the whole file (ausDateitext) and split by
/// TextzeilenTrennen. Throws as DateiinhaltLesen, and Fehler(75, quelle, ...)
/// for a line longer than kHoechsteZeilenlaenge characters.
QStringList TextdateiLesen(const QString& pfad, const QString& quelle);

/// Writes `inhalt` as a whole new file that replaces `pfad` atomically.
/// Every write goes straight to the file, so a full disk or a size limit is
/// noticed before the old file is replaced; then false is returned and the
/// old file stays as it was.
bool DateiErsetzen(const QString& pfad, const QByteArray& inhalt);
