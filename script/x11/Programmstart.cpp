#include "script/x11/Programmstart.h"

#include <cerrno>
#include <csignal>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace {

/// What the children report through the pipe: the program's process id, and
/// the errno of a failed fork or exec (0 from the intermediate on success).
struct Meldung
{
    pid_t pid;
    int fehler;
};

void melden(int rohr, pid_t pid, int fehler)
{
    const Meldung m{pid, fehler};
    // Smaller than PIPE_BUF: written whole or not at all.
    const ssize_t n = write(rohr, &m, sizeof m);
    static_cast<void>(n);
}

/// The program's own process: nothing of ours stays open in it, so it never
/// holds a pipe of whoever started us, and it starts with default signals.
[[noreturn]] void programmprozess(char** argv, int nichts, int rohr)
{
    for (int fd = 0; fd <= 2; ++fd)
        dup2(nichts, fd);
    // Every other descriptor closes at the exec, the report pipe included.
    if (close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        for (int fd = 3; fd < 65536; ++fd)
            fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    for (int s = 1; s < NSIG; ++s) {
        if (s != SIGKILL && s != SIGSTOP)
            signal(s, SIG_DFL);
    }
    sigset_t keine;
    sigemptyset(&keine);
    sigprocmask(SIG_SETMASK, &keine, nullptr);
    execvp(argv[0], argv);
    melden(rohr, getpid(), errno);
    _exit(127);
}

/// Between us and the program: gives it a session of its own and ends at
/// once, so the program is never our child and never our zombie.
[[noreturn]] void zwischenprozess(char** argv, int nichts, int rohr)
{
    setsid();
    const pid_t kind = fork();
    if (kind == 0)
        programmprozess(argv, nichts, rohr);
    melden(rohr, kind > 0 ? kind : 0, kind > 0 ? 0 : errno);
    _exit(0);
}

} // namespace

std::optional<QStringList> befehlszeileZerlegen(const QString& zeile)
{
    QStringList woerter;
    QString wort;
    bool inWort = false; // also true for a word made of empty quotes only
    const qsizetype n = zeile.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = zeile.at(i);
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inWort) {
                woerter << wort;
                wort.clear();
                inWort = false;
            }
            continue;
        }
        inWort = true;
        if (c == u'\\') {
            if (i + 1 >= n) {
                wort += c;
            } else if (zeile.at(i + 1) == u'\n') {
                ++i; // a backslash before a line break joins the lines
            } else {
                wort += zeile.at(++i);
            }
        } else if (c == u'\'') {
            const qsizetype ende = zeile.indexOf(u'\'', i + 1);
            if (ende < 0)
                return std::nullopt;
            wort += QStringView(zeile).mid(i + 1, ende - i - 1);
            i = ende;
        } else if (c == u'"') {
            ++i;
            for (;; ++i) {
                if (i >= n)
                    return std::nullopt;
                const QChar d = zeile.at(i);
                if (d == u'"')
                    break;
                if (d == u'\\' && i + 1 < n) {
                    const QChar e = zeile.at(i + 1);
                    if (e == u'"' || e == u'\\' || e == u'$' || e == u'`') {
                        wort += e;
                        ++i;
                        continue;
                    }
                    if (e == u'\n') {
                        ++i;
                        continue;
                    }
                }
                wort += d;
            }
        } else {
            wort += c;
        }
    }
    if (inWort)
        woerter << wort;
    return woerter;
}

std::optional<qint64> programmAbloesen(const QString& zeile)
{
    QStringList woerter;
    const QString ganz = zeile.trimmed();
    const QFileInfo datei(ganz);
    if (!ganz.isEmpty() && ganz.contains(u'/') && datei.isFile() && datei.isExecutable()) {
        woerter << ganz;
    } else {
        auto zerlegt = befehlszeileZerlegen(zeile);
        if (!zerlegt || zerlegt->isEmpty() || zerlegt->first().isEmpty())
            return std::nullopt;
        woerter = std::move(*zerlegt);
    }
    // Everything the children need is prepared here: between fork and exec
    // only async-signal-safe calls are allowed in a process with threads.
    std::vector<QByteArray> kodiert;
    kodiert.reserve(static_cast<size_t>(woerter.size()));
    for (const QString& w : std::as_const(woerter))
        kodiert.push_back(QFile::encodeName(w));
    std::vector<char*> argv;
    for (QByteArray& k : kodiert)
        argv.push_back(k.data());
    argv.push_back(nullptr);

    const int nichts = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (nichts < 0)
        return std::nullopt;
    int rohr[2];
    if (pipe2(rohr, O_CLOEXEC) != 0) {
        close(nichts);
        return std::nullopt;
    }
    const pid_t mittler = fork();
    if (mittler == 0) {
        close(rohr[0]);
        zwischenprozess(argv.data(), nichts, rohr[1]);
    }
    close(rohr[1]);
    close(nichts);
    if (mittler < 0) {
        close(rohr[0]);
        return std::nullopt;
    }
    // Reports come until every end for writing is closed: the intermediate
    // ends at once, the program's end closes at its exec.
    qint64 pid = 0;
    bool fehlgeschlagen = false;
    Meldung m{};
    for (;;) {
        const ssize_t n = read(rohr[0], &m, sizeof m);
        if (n < 0 && errno == EINTR)
            continue;
        if (n != static_cast<ssize_t>(sizeof m))
            break;
        pid = m.pid;
        fehlgeschlagen = fehlgeschlagen || m.fehler != 0;
    }
    close(rohr[0]);
    int status = 0;
    while (waitpid(mittler, &status, 0) < 0 && errno == EINTR) {
    }
    if (fehlgeschlagen || pid <= 0)
        return std::nullopt;
    return pid;
}
