// Typing benchmark: 1,000 mixed characters (letters, digits, umlauts, AltGr
// characters, blanks) typed into a real X client, our recording window, under
// the layouts de and us; next to `xdotool type` of the same text in the same
// run. Prints the time until everything had arrived and how many characters
// arrived wrong (edit distance between sent and received text). Asserts
// nothing.
//
// Needs an X server of its own, e.g.
//   tests/mit-x.sh --wm build/bench/tippen [ANZAHL]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include "script/x11/X11Desktop.h"

using namespace Qt::StringLiterals;

namespace {

QString textErzeugen(int anzahl)
{
    const QString buchstaben = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"_s;
    const QString ziffern = u"0123456789"_s;
    const QString umlaute = u"äöüÄÖÜß"_s;
    const QString altgr = u"@€\\{}[]~|"_s;
    quint32 zufall = 4711; // fixed, so every run types the same text
    const auto naechste = [&zufall](int n) {
        zufall = zufall * 1103515245u + 12345u;
        return static_cast<int>((zufall >> 16) % static_cast<quint32>(n));
    };
    QString text;
    for (int i = 0; i < anzahl; ++i) {
        const int art = naechste(100);
        const QString& aus = art < 50   ? buchstaben
                             : art < 62 ? ziffern
                             : art < 74 ? umlaute
                             : art < 88 ? altgr
                                        : QStringLiteral(" ");
        text += aus.at(naechste(static_cast<int>(aus.size())));
    }
    return text;
}

QString alsSendKeys(const QString& text)
{
    QString ergebnis;
    for (QChar c : text) {
        if (QStringView(u"+^%~(){}[]").contains(c))
            ergebnis += u'{' + QString(c) + u'}';
        else
            ergebnis += c;
    }
    return ergebnis;
}

qsizetype editierabstand(const QString& a, const QString& b)
{
    QList<qsizetype> zeile(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        zeile[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = zeile[0];
        zeile[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype oben = zeile[j];
            zeile[j] = std::min(
                {zeile[j] + 1, zeile[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
            diagonal = oben;
        }
    }
    return zeile[b.size()];
}

QString lesen(const QString& datei)
{
    QFile f(datei);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class Lauf
{
public:
    Lauf(X11Desktop& desktop, QTemporaryDir& tmp)
        : m_desktop(desktop)
        , m_tmp(tmp)
    {}

    ~Lauf() { empfaengerBeenden(); }

    // Starts a fresh recording window and gives it the focus.
    bool empfaengerStarten()
    {
        empfaengerBeenden();
        const QString titel = u"Tippen %1"_s.arg(++m_nummer);
        m_datei = m_tmp.filePath(u"tippen-%1.txt"_s.arg(m_nummer));
        m_empfaenger.start(QStringLiteral(SENDARO_TASTENFENSTER),
                           {u"--titel"_s, titel, u"--ausgabe"_s, m_datei});
        QElapsedTimer uhr;
        uhr.start();
        while (!m_desktop.fensterAktivieren(titel, QString())) {
            if (uhr.elapsed() > 15000)
                return false;
            m_desktop.aufFensteraenderungWarten(static_cast<int>(15000 - uhr.elapsed()));
        }
        m_desktop.warten(200);
        return true;
    }

    void empfaengerBeenden()
    {
        if (m_empfaenger.state() != QProcess::NotRunning) {
            m_empfaenger.kill();
            m_empfaenger.waitForFinished(5000);
        }
    }

    // Waits until `laenge` characters have arrived, or nothing more came for
    // three seconds. Returns the milliseconds since `uhr` started when the
    // last character arrived.
    qint64 ankunftAbwarten(const QElapsedTimer& uhr, qsizetype laenge, QString& angekommen)
    {
        qint64 zuletzt = uhr.elapsed();
        qsizetype bisher = -1;
        for (;;) {
            angekommen = lesen(m_datei);
            if (angekommen.size() != bisher) {
                bisher = angekommen.size();
                zuletzt = uhr.elapsed();
            }
            if (angekommen.size() >= laenge || uhr.elapsed() - zuletzt > 3000)
                return zuletzt;
            m_desktop.warten(2);
        }
    }

private:
    X11Desktop& m_desktop;
    QTemporaryDir& m_tmp;
    QProcess m_empfaenger;
    QString m_datei;
    int m_nummer = 0;
};

void zeile(const QString& belegung, const QString& verfahren, qint64 ms, qsizetype zeichen,
           qsizetype falsch)
{
    std::printf("%-9s %-28s %9lld %11.0f %8lld\n", qPrintable(belegung), qPrintable(verfahren),
                static_cast<long long>(ms),
                ms > 0 ? 1000.0 * static_cast<double>(zeichen) / ms : 0.0,
                static_cast<long long>(falsch));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int anzahl = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 1000;
    X11Desktop desktop;
    if (!desktop.verbunden()) {
        std::fprintf(stderr, "%s\n", qPrintable(desktop.fehlermeldung()));
        return 1;
    }
    QTemporaryDir tmp;
    const QString text = textErzeugen(anzahl);
    const QString tasten = alsSendKeys(text);

    std::printf("Tippen von %d Zeichen (Buchstaben, Ziffern, Umlaute, AltGr-Zeichen, "
                "Leerzeichen) in ein eigenes Qt-Fenster\n",
                anzahl);
    std::printf("%-9s %-28s %9s %11s %8s\n", "Belegung", "Verfahren", "Zeit [ms]", "Zeichen/s",
                "falsch");
    Lauf lauf(desktop, tmp);
    for (const QString& belegung : {u"de"_s, u"us"_s}) {
        QProcess::execute(u"setxkbmap"_s, {belegung});

        if (!lauf.empfaengerStarten()) {
            std::fprintf(stderr, "Das Empfangsfenster erscheint nicht.\n");
            return 1;
        }
        QElapsedTimer uhr;
        uhr.start();
        const bool ok = desktop.tastenSenden(tasten);
        const qint64 gesendet = uhr.elapsed();
        QString angekommen;
        const qint64 ms = lauf.ankunftAbwarten(uhr, text.size(), angekommen);
        zeile(belegung, ok ? u"X11Desktop::tastenSenden"_s : u"X11Desktop (abgelehnt!)"_s, ms,
              text.size(), editierabstand(text, angekommen));
        std::printf("%-9s %-28s %9lld\n", "", "  davon Senden", static_cast<long long>(gesendet));

        for (const QStringList& art : {QStringList{}, QStringList{u"--delay"_s, u"0"_s}}) {
            if (!lauf.empfaengerStarten()) {
                std::fprintf(stderr, "Das Empfangsfenster erscheint nicht.\n");
                return 1;
            }
            QProcess xdotool;
            uhr.restart();
            xdotool.start(u"xdotool"_s, QStringList{u"type"_s} + art + QStringList{u"--"_s, text});
            if (!xdotool.waitForStarted(5000)) {
                std::printf("%-9s xdotool fehlt\n", qPrintable(belegung));
                break;
            }
            while (xdotool.state() != QProcess::NotRunning)
                desktop.warten(5);
            const qint64 ms2 = lauf.ankunftAbwarten(uhr, text.size(), angekommen);
            zeile(belegung, art.isEmpty() ? u"xdotool type"_s : u"xdotool type "_s + art.join(u' '),
                  ms2, text.size(), editierabstand(text, angekommen));
        }
    }
    lauf.empfaengerBeenden();
    QProcess::execute(u"setxkbmap"_s, {u"us"_s});
    return 0;
}
