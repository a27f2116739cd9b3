#include "system/Prozessliste.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <QDir>
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

/// The target of a symbolic link below /proc, or an empty array when it
/// cannot be read.
QByteArray linkZiel(int procFd, const QByteArray& link)
{
    std::vector<char> puffer(512);
    for (;;) {
        const ssize_t n = readlinkat(procFd, link.constData(), puffer.data(), puffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < puffer.size())
            return QByteArray(puffer.data(), n);
        puffer.resize(puffer.size() * 2);
    }
}

/// The target of /proc/PID/exe, or an empty array when it cannot be read.
QByteArray exePfad(int procFd, const char* pid)
{
    QByteArray pfad = linkZiel(procFd, QByteArray(pid) + "/exe");
    if (pfad.endsWith(kGeloescht)) {
        // Only strip the suffix when no file of that very name exists.
        struct stat st;
        if (stat(pfad.constData(), &st) != 0)
            pfad.chop(sizeof(kGeloescht) - 1);
    }
    return pfad;
}

/// The whole of a small /proc file such as cmdline; empty when unreadable.
QByteArray procDatei(int procFd, const QByteArray& pfad)
{
    const int fd = openat(procFd, pfad.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray inhalt;
    char puffer[4096];
    for (;;) {
        const ssize_t n = read(fd, puffer, sizeof puffer);
        if (n <= 0)
            break;
        inhalt.append(puffer, n);
    }
    close(fd);
    return inhalt;
}

/// For a process that runs a script through its "#!" line: the script's
/// path. The kernel hands the script to the interpreter as its second
/// argument, relative to the working folder when it was started that way.
/// Empty for any other process.
QByteArray skriptPfad(int procFd, const char* pid)
{
    const QByteArray befehl = procDatei(procFd, QByteArray(pid) + "/cmdline");
    const qsizetype ende0 = befehl.indexOf('\0');
    if (ende0 < 0)
        return {};
    const qsizetype ende1 = befehl.indexOf('\0', ende0 + 1);
    const QByteArray skript =
        befehl.mid(ende0 + 1, (ende1 < 0 ? befehl.size() : ende1) - ende0 - 1);
    if (skript.isEmpty())
        return {};
    const int ordner =
        openat(procFd, (QByteArray(pid) + "/cwd").constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (ordner < 0 && !skript.startsWith('/'))
        return {};
    // Only a regular file is opened: opening a fifo or a device may block or
    // have effects of its own.
    QByteArray pfad;
    struct stat st;
    if (fstatat(ordner, skript.constData(), &st, 0) == 0 && S_ISREG(st.st_mode)) {
        const int fd =
            openat(ordner, skript.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        char anfang[2] = {};
        if (fd >= 0 && read(fd, anfang, 2) == 2 && anfang[0] == '#' && anfang[1] == '!')
            pfad = skript.startsWith('/')
                       ? skript
                       : linkZiel(procFd, QByteArray(pid) + "/cwd") + '/' + skript;
        if (fd >= 0)
            close(fd);
    }
    if (ordner >= 0)
        close(ordner);
    return pfad;
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
        const QByteArray skript = skriptPfad(procFd, name.constData());
        const QString pfad =
            skript.isEmpty() ? QFile::decodeName(roh) : QDir::cleanPath(QFile::decodeName(skript));
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
