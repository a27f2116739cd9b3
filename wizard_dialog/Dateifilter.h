#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The pattern that stands for executable files in a filter text, as in
/// "Programme|<ausführbar>": Linux programs have no common name ending.
inline const QString AusfuehrbareDateien = QStringLiteral("<ausführbar>");

/// One entry of a file chooser's type list: what the user reads and the
/// name patterns it stands for.
struct Dateifilter
{
    QString beschreibung;
    QStringList muster;
    /// Lists executable files (and folders) only; its patterns are "*".
    bool ausfuehrbar = false;

    friend bool operator==(const Dateifilter&, const Dateifilter&) = default;
};

/// Takes apart a filter text of the form "description|pattern;pattern|..."
/// (a trailing "|" makes no difference). An empty description or pattern
/// list ends the list, as it does in the platform's NUL-separated form, and
/// so does a description without patterns; blanks around patterns go. "*.*"
/// becomes "*", because it means every file, also names without a dot. A
/// pattern list holding AusfuehrbareDateien lists executable files instead.
/// The list always ends with "Alle Dateien (*)", exactly once: entries of
/// the text that list every file give way to it.
QList<Dateifilter> DateifilterLesen(const QString& filtertext);

/// The same filters in QFileDialog's form, entries joined by ";;". Each entry
/// is the description followed by its patterns in parentheses; choosers
/// show it with QFileDialog::HideNameFilterDetails, so the user reads the
/// description exactly as given while Qt takes the patterns from the
/// parentheses.
QString DateifilterFuerQt(const QList<Dateifilter>& filter);

/// The entry of DateifilterFuerQt's text that lists executable files; empty
/// when there is none.
QString ProgrammfilterFuerQt(const QList<Dateifilter>& filter);
