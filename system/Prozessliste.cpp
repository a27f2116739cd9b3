#include "system/Prozessliste.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <QFile>

#include "system/Grundbefehle.h"

namespace {
// The kernel appends this to the link of an executable that was deleted or
// replaced after the process started; the process still runs that program.
constexpr char kGeloescht[] = " (deleted)";

bool nurZiffern(const char* name)
{
    if (*name == '\0')
        return false;
    for (; *name != '\0'; ++name) {
        if (*name < '0' || *name > '9')
            return false;
    }
    return true;
}

/// The target of /proc/PID/exe, or an empty array when it cannot be read.
QByteArray exePfad(int procFd, const char* pid)
{
    const QByteArray link = QByteArray(pid) + "/exe";
    std::vector<char> puffer(512);
    for (;;) {
        const ssize_t n = readlinkat(procFd, link.constData(), puffer.data(), puffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < puffer.size()) {
            QByteArray pfad(puffer.data(), n);
            if (pfad.endsWith(kGeloescht)) {
                // Only strip the suffix when no file of that very name exists.
                struct stat st;
                if (stat(pfad.constData(), &st) != 0)
                    pfad.chop(sizeof(kGeloescht) - 1);
            }
            return pfad;
        }
        puffer.resize(puffer.size() * 2);
    }
}

/// The process ids of /proc in ascending order.
std::vector<std::pair<long, QByteArray>> prozessIds(DIR* proc)
{
    std::vector<std::pair<long, QByteArray>> ids;
    while (const dirent* e = readdir(proc)) {
        if (nurZiffern(e->d_name))
            ids.emplace_back(std::strtol(e->d_name, nullptr, 10), QByteArray(e->d_name));
    }
    std::sort(ids.begin(), ids.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return ids;
}
} // namespace

QString Prozessliste::wert(const QString& schluessel) const
{
    const auto it = m_index.constFind(schluessel);
    return it == m_index.constEnd() ? QString() : m_werte.at(*it);
}

bool Prozessliste::hinzufuegen(const QString& schluessel, const QString& wert)
{
    if (m_index.contains(schluessel))
        return false;
    m_index.insert(schluessel, m_werte.size());
    m_schluessel.append(schluessel);
    m_werte.append(wert);
    return true;
}

Prozessliste GetProzessliste()
{
    Prozessliste liste;
    DIR* proc = opendir("/proc");
    if (proc == nullptr)
        return liste;
    const int procFd = dirfd(proc);
    for (const auto& [pid, name] : prozessIds(proc)) {
        const QByteArray roh = exePfad(procFd, name.constData());
        if (roh.isEmpty())
            continue;
        const QString pfad = QFile::decodeName(roh);
        liste.hinzufuegen(DateinameAusPfad(pfad).toLower(),
                          pfad + QLatin1Char('|') + QString::number(pid));
    }
    closedir(proc);
    return liste;
}

bool ProzessLaeuft(const QString& name)
{
    return GetProzessliste().enthaelt(name.toLower());
}

bool ProzessBeenden(const QString& name)
{
    const Prozessliste liste = GetProzessliste();
    const QString gesucht = name.toLower();
    bool beendet = false;
    for (qsizetype i = 0; i < liste.size(); ++i) {
        const QString& wert = liste.wert(i);
        // The id follows the last bar: unlike on other systems, a path here
        // may itself contain "|".
        const qsizetype strich = wert.lastIndexOf(QLatin1Char('|'));
        if (strich < 0)
            continue;
        if (DateinameAusPfad(wert.left(strich)).toLower() != gesucht)
            continue;
        bool ok = false;
        const pid_t pid = wert.mid(strich + 1).toInt(&ok);
        if (ok && pid > 0)
            beendet = ::kill(pid, SIGKILL) == 0;
    }
    return beendet;
}

bool IstWindowsNT()
{
    return true;
}

QString StringBisNull(const QString& text)
{
    const qsizetype null = text.indexOf(QChar(u'\0'));
    return null < 0 ? text : text.left(null);
}
