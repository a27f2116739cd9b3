#include "script/x11/Programmstart.h"

#include <QFileInfo>
#include <QProcess>

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
    QProcess prozess;
    prozess.setProgram(woerter.takeFirst());
    prozess.setArguments(woerter);
    prozess.setStandardInputFile(QProcess::nullDevice());
    // startDetached forks twice and reports a failed exec through a pipe, so
    // "not found" and "not executable" come back as false here, and the
    // program is never left as our zombie.
    qint64 pid = 0;
    if (!prozess.startDetached(&pid) || pid <= 0)
        return std::nullopt;
    return pid;
}
