#pragma once

#include <QString>

/// Cuts the next piece off a multi-line page parameter: returns the text
/// before the first `Trennzeichen` and leaves in `GanzerString` what follows
/// the separator (the empty text when there is none). With
/// `chr10raustrimmen` a line feed at the start of a non-empty piece is
/// dropped, so texts joined by CR LF come apart at CR. Case-sensitive.
QString StringStück(QString& GanzerString, const QString& Trennzeichen, bool chr10raustrimmen);
