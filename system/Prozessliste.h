#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

/// A snapshot of the running processes: one entry per executable file name,
/// "path|pid", keyed by the lower-case file name (the text after the last
/// "/" or "\" of the path). When several processes run the same file name,
/// the first one enumerated (lowest process id) is kept. Built anew on every
/// call; nothing is cached.
class Prozessliste
{
public:
    qsizetype size() const { return m_werte.size(); }
    bool isEmpty() const { return m_werte.isEmpty(); }

    /// Key and value of the entry at `index` (0-based, enumeration order).
    const QString& schluessel(qsizetype index) const { return m_schluessel.at(index); }
    const QString& wert(qsizetype index) const { return m_werte.at(index); }

    /// Whether an entry has exactly this key (keys are stored lower-case).
    bool enthaelt(const QString& schluessel) const { return m_index.contains(schluessel); }

    /// The value stored under `schluessel`; empty when there is none.
    QString wert(const QString& schluessel) const;

    /// Adds an entry unless the key is already present; returns whether it
    /// was added.
    bool hinzufuegen(const QString& schluessel, const QString& wert);

private:
    QStringList m_schluessel;
    QStringList m_werte;
    QHash<QString, qsizetype> m_index;
};

/// The running processes whose executable can be read from /proc/PID/exe
/// (processes of other users and kernel threads are left out), in process-id
/// order. A process that runs a script through its "#!" line (its second
/// argument is a regular file that begins with "#!"; a relative one is taken
/// from the process's working folder) is listed under the script's path, not
/// the interpreter's. Always succeeds; the list may be empty.
Prozessliste GetProzessliste();

/// Whether a process runs from an executable with this bare file name,
/// ignoring case. The name is used unchanged: a name with a folder never
/// matches.
bool ProzessLaeuft(const QString& name);

/// Ends the first process enumerated whose executable has this bare file name
/// (ignoring case) with SIGKILL. Returns whether such a process was found and
/// the signal was delivered; further processes of that name keep running.
bool ProzessBeenden(const QString& name);

/// The system family switch of the suite; this system always counts as the
/// modern family.
bool IstWindowsNT();

/// The text up to, not including, its first NUL character; the whole text
/// when there is none.
QString StringBisNull(const QString& text);
