#include "system/TextZeile2Collection.h"

namespace {
constexpr QChar kAnfuehrung = u'"';
constexpr QChar kLeer = u' ';

// 1-based position of `was` at or after 1-based position `ab`; 0 if none.
qsizetype finde(const QString& text, const QString& was, qsizetype ab)
{
    if (was.isEmpty() || ab < 1 || ab > text.size())
        return 0;
    const qsizetype i = text.indexOf(was, ab - 1);
    return i < 0 ? 0 : i + 1;
}

// The nearer of the two separators at or after `ab`: its position (n + 1
// when neither occurs) and its length. A tie goes to the first separator.
std::pair<qsizetype, qsizetype> naechsterTrenner(const QString& zeile, const QString& t1,
                                                 const QString& t2, qsizetype ab)
{
    const qsizetype ende = zeile.size() + 1;
    qsizetype p1 = finde(zeile, t1, ab);
    qsizetype p2 = t2.isEmpty() ? 0 : finde(zeile, t2, ab);
    if (p1 == 0)
        p1 = ende;
    if (p2 == 0)
        p2 = ende;
    if (p1 > p2)
        return {p2, t2.size()};
    return {p1, t1.size()};
}
} // namespace

QString LeerzeichenEntfernen(const QString& text)
{
    qsizetype anfang = 0;
    qsizetype ende = text.size();
    while (anfang < ende && text[anfang] == kLeer)
        ++anfang;
    while (ende > anfang && text[ende - 1] == kLeer)
        --ende;
    return text.mid(anfang, ende - anfang);
}

QString AnfuehrungszeichenEntfernen(const QString& eintrag)
{
    if (eintrag.size() >= 2 && eintrag.front() == kAnfuehrung && eintrag.back() == kAnfuehrung)
        return eintrag.mid(1, eintrag.size() - 2);
    return eintrag;
}

qsizetype NaechstesNichtLeerzeichen(const QString& zeile, qsizetype start)
{
    for (qsizetype p = std::max<qsizetype>(start, 1); p <= zeile.size(); ++p) {
        if (zeile[p - 1] != kLeer)
            return p;
    }
    return 0;
}

QStringList TextZeile2Collection(const QString& eingabe, const QString& trennzeichen,
                                 const QString& trennzeichen2, bool anfuehrungszeichen,
                                 bool trimmen, bool anfuehrungszeichenBehalten)
{
    const QString zeile = trimmen ? LeerzeichenEntfernen(eingabe) : eingabe;
    const qsizetype n = zeile.size();
    QStringList liste;
    qsizetype pos = 1;

    do {
        if (trimmen) {
            pos = NaechstesNichtLeerzeichen(zeile, pos);
            if (pos == 0)
                break;
        }
        QString eintrag;
        if (anfuehrungszeichen && pos <= n && zeile[pos - 1] == kAnfuehrung) {
            qsizetype schluss = finde(zeile, QString(kAnfuehrung), pos + 1);
            if (schluss == 0)
                schluss = n + 1;
            eintrag = AnfuehrungszeichenEntfernen(zeile.mid(pos - 1, schluss - pos + 1));
            if (anfuehrungszeichenBehalten)
                eintrag = kAnfuehrung + eintrag + kAnfuehrung;
            // What stands between the closing quote and the next separator
            // is dropped.
            const auto [trenner, laenge] =
                naechsterTrenner(zeile, trennzeichen, trennzeichen2, schluss);
            pos = trenner + laenge;
        } else {
            const qsizetype anfang = pos;
            const auto [trenner, laenge] =
                naechsterTrenner(zeile, trennzeichen, trennzeichen2, pos);
            const qsizetype ende = trenner - 1;
            pos = trenner + laenge;
            eintrag = ende < anfang ? QString() : zeile.mid(anfang - 1, ende - anfang + 1);
            if (anfuehrungszeichen)
                eintrag = AnfuehrungszeichenEntfernen(eintrag);
        }
        if (trimmen)
            eintrag = LeerzeichenEntfernen(eintrag);
        liste.append(eintrag);
    } while (pos != 0 && pos <= n);

    if (!trennzeichen.isEmpty() && zeile.endsWith(trennzeichen))
        liste.append(QString());
    else if (!trennzeichen2.isEmpty() && zeile.endsWith(trennzeichen2))
        liste.append(QString());
    return liste;
}
