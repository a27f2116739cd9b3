#include "system/Textdatei.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>

#include "system/AnsiText.h"
#include "system/Fehler.h"

using namespace Qt::StringLiterals;

namespace {

// Closes the descriptor on every way out.
class Deskriptor
{
public:
    explicit Deskriptor(int fd)
        : m_fd(fd)
    {}
    ~Deskriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Deskriptor(const Deskriptor&) = delete;
    Deskriptor& operator=(const Deskriptor&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

Fehler nichtLesbar(const QString& pfad, const QString& quelle)
{
    return Fehler(75, quelle, u"Die Datei \"%1\" kann nicht gelesen werden."_s.arg(pfad));
}

QString groesseText(qint64 bytes)
{
    return bytes % (1024 * 1024) == 0 ? u"%1 MiB"_s.arg(bytes / 1024 / 1024)
                                      : u"%1 Bytes"_s.arg(bytes);
}

} // namespace

QByteArray DateianfangLesen(const QString& pfad, const QString& quelle, qint64 hoechstgroesse)
{
    // O_NONBLOCK: opening a pipe for reading would otherwise wait for a
    // writer before the descriptor can even be checked.
    const QByteArray name = QFile::encodeName(pfad);
    Deskriptor datei(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (datei.fd() < 0) {
        if (errno == ENOENT)
            throw Fehler(53, quelle, u"Die Datei \"%1\" wurde nicht gefunden."_s.arg(pfad));
        throw nichtLesbar(pfad, quelle);
    }
    struct stat st = {};
    if (::fstat(datei.fd(), &st) != 0)
        throw nichtLesbar(pfad, quelle);
    if (!S_ISREG(st.st_mode))
        throw Fehler(75, quelle,
                     u"\"%1\" ist keine gewöhnliche Datei (sondern ein Ordner, eine Pipe oder ein "
                     u"Gerät) und wird nicht gelesen."_s.arg(pfad));

    // Read up to the limit whatever the size said: the file may grow meanwhile.
    QByteArray inhalt;
    inhalt.reserve(qsizetype(qMin<qint64>(st.st_size, hoechstgroesse)));
    char puffer[64 * 1024];
    while (inhalt.size() < hoechstgroesse) {
        const qint64 wunsch = qMin<qint64>(qint64(sizeof puffer), hoechstgroesse - inhalt.size());
        const ssize_t gelesen = ::read(datei.fd(), puffer, std::size_t(wunsch));
        if (gelesen < 0) {
            if (errno == EINTR)
                continue;
            throw nichtLesbar(pfad, quelle);
        }
        if (gelesen == 0)
            break;
        inhalt.append(puffer, qsizetype(gelesen));
    }
    return inhalt;
}

QByteArray DateiinhaltLesen(const QString& pfad, const QString& quelle, qint64 hoechstgroesse)
{
    QByteArray inhalt = DateianfangLesen(pfad, quelle, hoechstgroesse + 1);
    if (inhalt.size() > hoechstgroesse)
        throw Fehler(75, quelle,
                     u"Die Datei \"%1\" ist größer als %2 und wird nicht gelesen."_s.arg(
                         pfad, groesseText(hoechstgroesse)));
    return inhalt;
}

QStringList TextzeilenTrennen(QStringView text)
{
    QStringList zeilen;
    qsizetype anfang = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        zeilen.append(text.sliced(anfang, i - anfang).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i; // CR LF is one line end
        anfang = i + 1;
    }
    if (anfang < text.size())
        zeilen.append(text.sliced(anfang).toString());
    return zeilen;
}

QStringList TextdateiLesen(const QString& pfad, const QString& quelle)
{
    const QStringList zeilen =
        TextzeilenTrennen(ausDateitext(DateiinhaltLesen(pfad, quelle, kHoechsteTextdateigroesse)));
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        if (zeilen[i].size() > kHoechsteZeilenlaenge)
            throw Fehler(75, quelle,
                         u"Die Zeile %1 der Datei \"%2\" ist länger als %3 Zeichen; die Datei "
                         u"wird nicht gelesen."_s.arg(QString::number(i + 1), pfad,
                                                      QString::number(kHoechsteZeilenlaenge)));
    }
    return zeilen;
}

bool DateiErsetzen(const QString& pfad, const QByteArray& inhalt)
{
    // Buffered, QSaveFile would report success for bytes that never reached
    // the disk and then put the cut file in place of the old one.
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (datei.write(inhalt) != inhalt.size() || datei.error() != QFileDevice::NoError) {
        datei.cancelWriting();
        return false;
    }
    return datei.commit();
}
