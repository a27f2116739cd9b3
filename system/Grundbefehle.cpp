#include "system/Grundbefehle.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "system/AnsiText.h"
#include "system/Programmordner.h"

namespace {
qsizetype letzterTrenner(const QString& pfad)
{
    return std::max(pfad.lastIndexOf(QLatin1Char('\\')), pfad.lastIndexOf(QLatin1Char('/')));
}

bool hatPlatzhalter(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// DOS wildcard rules: "*" any run of characters, "?" one character, "*.*"
// every name, a trailing "." matches names without extension; case ignored.
QRegularExpression dosMuster(const QString& muster)
{
    if (muster == QLatin1String("*.*"))
        return QRegularExpression(QStringLiteral("^.*$"),
                                  QRegularExpression::DotMatchesEverythingOption);
    QString m = muster;
    const bool ohneEndung = m.size() > 1 && m.endsWith(QLatin1Char('.'));
    if (ohneEndung)
        m.chop(1);
    QString ausdruck = ohneEndung ? QStringLiteral("^(?=[^.]*$)") : QStringLiteral("^");
    for (const QChar c : m) {
        if (c == QLatin1Char('*'))
            ausdruck += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            ausdruck += QLatin1Char('.');
        else
            ausdruck += QRegularExpression::escape(QString(c));
    }
    ausdruck += QLatin1Char('$');
    return QRegularExpression(ausdruck, QRegularExpression::CaseInsensitiveOption |
                                            QRegularExpression::DotMatchesEverythingOption);
}

bool gewoehnlicheDatei(const QFileInfo& info)
{
    // QFileInfo::isFile() is true only for regular files (after following a
    // link): folders, sockets, devices and pipes are left out.
    return info.isFile() && !info.fileName().startsWith(QLatin1Char('.'));
}
} // namespace

QString DateinameAusPfad(const QString& pfad)
{
    return pfad.mid(letzterTrenner(pfad) + 1);
}

QString OrdnerAusPfad(const QString& pfad)
{
    const qsizetype p = letzterTrenner(pfad);
    return p <= 0 ? QString() : pfad.left(p);
}

QString PfadMitBackslash(const QString& pfad)
{
    if (pfad.endsWith(QLatin1Char('/')))
        return pfad;
    return pfad + QLatin1Char('/');
}

bool DateiExistiert(const QString& pfad)
{
    if (pfad.isEmpty())
        return false;
    const qsizetype p = letzterTrenner(pfad);
    const QString name = pfad.mid(p + 1);
    if (name.isEmpty())
        return false;
    const QString ordner = p < 0 ? QStringLiteral(".") : p == 0 ? pfad.left(1) : pfad.left(p);

    if (!hatPlatzhalter(name))
        return gewoehnlicheDatei(QFileInfo(QDir(ordner), name));

    const QDir dir(ordner);
    const QFileInfoList eintraege =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    // The wizard asks this for the folder of every known application at
    // start; most of them are missing, and then no pattern is built.
    if (eintraege.isEmpty())
        return false;
    const QRegularExpression muster = dosMuster(name);
    if (!muster.isValid())
        return false;
    for (const QFileInfo& info : eintraege) {
        if (gewoehnlicheDatei(info) && muster.match(info.fileName()).hasMatch())
            return true;
    }
    return false;
}

bool OrdnerExistiert(const QString& pfad)
{
    const bool ergebnis = !pfad.isEmpty() && QDir::setCurrent(pfad);
    QDir::setCurrent(AppPfad());
    return ergebnis;
}

QVariant NullErsetzen(const QVariant& wert, const QVariant& ersatz)
{
    return wert.isNull() ? ersatz : wert;
}

void LogZeileSchreiben(const QString& datei, const QString& text, bool mitDatum, bool mitSpeicher)
{
    QString zeile;
    if (mitDatum)
        zeile += QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) +
                 QLatin1String(" | ");
    if (mitSpeicher)
        zeile += QString::number(GetFreierSpeicher()) + QLatin1String(" Bytes frei | ");
    zeile += text;

    QFile f(datei);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    f.write(zuAnsi(zeile) + "\r\n");
}

qint32 GetFreierSpeicher()
{
    // /proc files report size 0, so read them whole instead of line by line.
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> zeilen = meminfo.readAll().split('\n');
    for (const QByteArray& zeile : zeilen) {
        if (zeile.startsWith("MemAvailable:")) {
            const quint64 kb = zeile.mid(13).trimmed().split(' ').value(0).toULongLong();
            const quint64 bytes = std::min<quint64>(kb * 1024, 0xFFFFFFFFu);
            return static_cast<qint32>(static_cast<quint32>(bytes));
        }
    }
    return 0;
}
