// einrichter: the suite's set-up program for the settings file. Without
// arguments it creates a default sendwacht.cfg in its own folder when there
// is none, it is empty, or the suite cannot use it (not initialised, wrong
// header, cut short: the errors that stop every program of the suite). An
// unusable file is first kept as sendwacht.cfg.bak (or, when that exists,
// the first free sendwacht.cfg.N.bak: an older backup is never
// overwritten). A usable file, even one with elements of unknown types, is
// never touched. With --zeigen it prints every element: index, type code,
// value.

#include <cerrno>

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "system/Einstellungsarray.h"
#include "system/Fehler.h"

using namespace Qt::StringLiterals;

namespace {

// The settings the suite expects after set-up: the definition file in use
// and the TV folder (10, 11) as empty texts, muting and channel switching
// (15, 17) on, 127 database retries as a 32-bit 0 (meaning the default).
Einstellungsarray standardeinstellungen()
{
    Einstellungsarray array(0, 128);
    array.textSetzen(10, QString());
    array.textSetzen(11, QString());
    array.wahrheitswertSetzen(15, true);
    array.wahrheitswertSetzen(17, true);
    array.setzen(127, Einstellungswert::ausZahl(0));
    return array;
}

// Backups are numbered up to this; a folder with that many is left alone.
constexpr int kHoechsteSicherungen = 1000;

/// Keeps the file's bytes under the first free backup name and returns that
/// name. A hard link is made atomically and never replaces an existing
/// file; where the file system has no links, an exclusive copy is made.
QString sichern(const QString& pfad)
{
    for (int n = 0; n < kHoechsteSicherungen; ++n) {
        const QString ziel = n == 0 ? pfad + u".bak"_s : u"%1.%2.bak"_s.arg(pfad).arg(n);
        if (::link(QFile::encodeName(pfad).constData(), QFile::encodeName(ziel).constData()) == 0)
            return ziel;
        if (errno == EEXIST)
            continue;
        // QFile::copy never overwrites an existing target either.
        if (!QFile::exists(ziel) && QFile::copy(pfad, ziel))
            return ziel;
        if (!QFile::exists(ziel))
            break;
    }
    throw Fehler(
        75, u"einrichter"_s,
        u"Die Datei \"%1\" kann nicht gesichert werden; sie bleibt unverändert."_s.arg(pfad));
}

int anlegen(QTextStream& aus, QTextStream& fehler)
{
    const QString pfad = Einstellungsdateipfad();
    const QFileInfo info(pfad);
    if (info.exists() && !info.isFile()) {
        fehler << u"Fehler: \"%1\" ist keine Datei.\n"_s.arg(pfad);
        return 1;
    }
    if (info.exists() && info.size() > 0) {
        // Fehler 1: the content cannot be used; a file that cannot even be
        // read (75) is no case for replacing.
        QString grund;
        try {
            EinstellungsdateiLesen(pfad);
            aus << u"Die Datei \"%1\" ist bereits vorhanden und bleibt unverändert.\n"_s.arg(pfad);
            return 0;
        } catch (const Fehler& f) {
            if (f.nummer() != 1)
                throw;
            grund = f.meldung();
        }
        const QString sicherung = sichern(pfad);
        EinstellungsdateiSchreiben(pfad, standardeinstellungen());
        aus << u"Die Datei \"%1\" war nicht brauchbar: %2\nIhr bisheriger Inhalt wurde als "
               u"\"%3\" gesichert; sie wurde mit den Standardeinstellungen neu angelegt.\n"_s.arg(
                   pfad, grund, sicherung);
        return 0;
    }
    EinstellungsdateiSchreiben(pfad, standardeinstellungen());
    aus << u"Die Datei \"%1\" wurde mit den Standardeinstellungen angelegt.\n"_s.arg(pfad);
    return 0;
}

// Texts in quotes, so that an empty text differs from an empty element;
// control characters are shown escaped so each element stays on one line.
QString textAnzeige(const QString& text)
{
    QString anzeige = u"\""_s;
    for (const QChar c : text) {
        if (c == u'\r')
            anzeige += u"\\r"_s;
        else if (c == u'\n')
            anzeige += u"\\n"_s;
        else if (c == u'\t')
            anzeige += u"\\t"_s;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            anzeige += u"\\x%1"_s.arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            anzeige += c;
    }
    return anzeige + u'"';
}

QString anzeige(const Einstellungswert& wert)
{
    switch (wert.typ()) {
    case Einstellungswert::Leer:
        return u"(leer)"_s;
    case Einstellungswert::Null:
        return u"(Null)"_s;
    case Einstellungswert::Text:
        return textAnzeige(wert.alsText());
    default:
        break;
    }
    try {
        return wert.alsText();
    } catch (const Fehler&) {
        // A type this program does not interpret (or a date out of range):
        // its stored bytes.
        return u"(%1 Bytes: %2)"_s.arg(wert.daten().size())
            .arg(QString::fromLatin1(wert.daten().toHex(' ')));
    }
}

int zeigen(QTextStream& aus)
{
    const Einstellungsarray array = EinstellungsdateiLesen(Einstellungsdateipfad());
    for (qint64 index = array.untergrenze(); index <= array.obergrenze(); ++index) {
        const Einstellungswert wert = array.element(qint32(index));
        aus << index << u'\t' << wert.typ() << u'\t' << anzeige(wert) << u'\n';
    }
    return 0;
}

/// Why the arguments are no valid call: the first one that is wrong.
QString aufruffehler(const QStringList& argumente)
{
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString& a = argumente.at(i);
        if (a != u"--zeigen"_s)
            return a.startsWith(u'-') && a.size() > 1 ? u"Unbekannte Option %1."_s.arg(a)
                                                      : u"Überzähliges Argument \"%1\"."_s.arg(a);
        if (i > 0)
            return u"Die Option --zeigen ist mehrfach angegeben."_s;
    }
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream aus(stdout);
    QTextStream fehler(stderr);
    const QStringList argumente = app.arguments().mid(1);

    try {
        if (argumente.isEmpty())
            return anlegen(aus, fehler);
        if (argumente == QStringList{u"--zeigen"_s})
            return zeigen(aus);
    } catch (const Fehler& f) {
        aus.flush();
        fehler << u"Fehler: "_s << f.meldung() << u'\n';
        return 1;
    }
    fehler << aufruffehler(argumente) << u"\n\n"_s;
    fehler << u"Aufruf: einrichter [--zeigen]\n"
              u"  ohne Argument  legt eine Standard-sendwacht.cfg im Programmordner an, wenn sie "
              u"fehlt, leer oder unbrauchbar ist\n"
              u"                 (eine unbrauchbare wird vorher als sendwacht.cfg.bak gesichert; "
              u"eine brauchbare bleibt unverändert)\n"
              u"  --zeigen       gibt jedes Element aus: Index, Typcode, Wert\n"_s;
    return 2;
}
