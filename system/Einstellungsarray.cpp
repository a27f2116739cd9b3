#include "system/Einstellungsarray.h"

#include <cmath>
#include <limits>
#include <optional>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QtEndian>

#include "system/AnsiText.h"
#include "system/Fehler.h"
#include "system/Grundbefehle.h"
#include "system/Programmordner.h"
#include "system/Textdatei.h"

using namespace Qt::StringLiterals;

namespace {

constexpr quint16 kArrayFlag = 0x2000;
constexpr quint16 kVariant = 12;
constexpr qsizetype kKopfgroesse = 12;
// sendwacht.cfg holds some hundred settings; a file this large is not one,
// and reading it whole would only cost memory.
constexpr qint64 kHoechstgroesse = 16 * 1024 * 1024;
// A text length of 0xFFFF is left free: the format's encoding of longer
// texts is not known, so such texts are never written.
constexpr qsizetype kHoechsteTextlaenge = 0xFFFE;
// Nested arrays of variants are decoded recursively; deeper nesting than
// this is treated as undelimitable rather than risking the stack.
constexpr int kHoechsteTiefe = 32;

const QString kQuelleGet = u"GetEinstellungsarray"_s;

Fehler nichtInitialisiert()
{
    return Fehler(1, kQuelleGet,
                  u"Der Sendaro ist nicht initialisiert. Die Datei \"sendwacht.cfg\" exisitiert "
                  u"nicht. Starten Sie das Hilfsprogramm \"einrichter.exe\", um dieses Problem "
                  u"zu korrigieren."_s);
}

Fehler beschaedigt(const QString& grund)
{
    return Fehler(1, kQuelleGet,
                  u"Die Datei \"sendwacht.cfg\" ist beschädigt oder hat ein unbekanntes "
                  u"Format: %1."_s.arg(grund));
}

Fehler typenUnvertraeglich(const QString& quelle)
{
    return Fehler(13, quelle, u"Typen unverträglich"_s);
}

Fehler ueberlauf(const QString& quelle)
{
    return Fehler(6, quelle, u"Überlauf"_s);
}

Fehler nullVerwendung(const QString& quelle)
{
    return Fehler(94, quelle, u"Unzulässige Verwendung von Null"_s);
}

template<typename T>
T lesen(QByteArrayView bytes, qsizetype pos)
{
    return qFromLittleEndian<T>(bytes.data() + pos);
}

template<typename T>
void anhaengen(QByteArray& ziel, T wert)
{
    char puffer[sizeof(T)];
    qToLittleEndian(wert, puffer);
    ziel.append(puffer, sizeof(T));
}

// Size of the data of a fixed-size variant type, nullopt for other types.
// Besides the codes the suite writes, the other fixed-size scalar codes of
// the variant standard can be passed through as well.
std::optional<qsizetype> festeGroesse(quint16 typ)
{
    switch (typ) {
    case 0: // empty
    case 1: // null
        return 0;
    case 16: // signed byte
    case 17: // byte
        return 1;
    case 2:  // 16-bit integer
    case 11: // boolean
    case 18: // unsigned 16-bit
        return 2;
    case 3:  // 32-bit integer
    case 4:  // single
    case 10: // error code
    case 19: // unsigned 32-bit
    case 22: // int
    case 23: // unsigned int
        return 4;
    case 5:  // double
    case 6:  // currency
    case 7:  // date
    case 20: // 64-bit integer
    case 21: // unsigned 64-bit
        return 8;
    default:
        return std::nullopt;
    }
}

// Finds where a stored value ends, without interpreting it.
class Vermesser
{
public:
    enum class Ergebnis
    {
        Ok,
        Abgeschnitten,
        Unbekannt
    };

    explicit Vermesser(QByteArrayView bytes)
        : m_bytes(bytes)
    {}

    /// Advances `pos` past one tagged value starting at `pos`.
    Ergebnis wert(qsizetype& pos, int tiefe, quint16& typ) const
    {
        if (!vorhanden(pos, 2))
            return Ergebnis::Abgeschnitten;
        typ = lesen<quint16>(m_bytes, pos);
        qsizetype p = pos + 2;
        const Ergebnis e = daten(typ, p, tiefe);
        if (e == Ergebnis::Ok)
            pos = p;
        return e;
    }

private:
    bool vorhanden(qsizetype pos, qsizetype anzahl) const
    {
        return anzahl >= 0 && pos <= m_bytes.size() && m_bytes.size() - pos >= anzahl;
    }

    Ergebnis daten(quint16 typ, qsizetype& pos, int tiefe) const
    {
        if (const auto groesse = festeGroesse(typ)) {
            if (!vorhanden(pos, *groesse))
                return Ergebnis::Abgeschnitten;
            pos += *groesse;
            return Ergebnis::Ok;
        }
        if (typ == Einstellungswert::Text)
            return text(pos);
        if ((typ & 0xF000) == kArrayFlag)
            return feld(typ & 0x0FFF, pos, tiefe);
        return Ergebnis::Unbekannt;
    }

    Ergebnis text(qsizetype& pos) const
    {
        if (!vorhanden(pos, 2))
            return Ergebnis::Abgeschnitten;
        const qsizetype laenge = lesen<quint16>(m_bytes, pos);
        if (!vorhanden(pos + 2, laenge))
            return Ergebnis::Abgeschnitten;
        pos += 2 + laenge;
        return Ergebnis::Ok;
    }

    // A nested array: dimension count, then element count and lower bound of
    // each dimension, then the elements (variants as tagged values, texts
    // with their length, fixed-size types as bare data).
    Ergebnis feld(quint16 elementtyp, qsizetype& pos, int tiefe) const
    {
        if (tiefe >= kHoechsteTiefe)
            return Ergebnis::Unbekannt;
        const std::optional<qsizetype> feste = festeGroesse(elementtyp);
        const bool bekannt =
            elementtyp == kVariant || elementtyp == Einstellungswert::Text || (feste && *feste > 0);
        if (!bekannt)
            return Ergebnis::Unbekannt;
        if (!vorhanden(pos, 2))
            return Ergebnis::Abgeschnitten;
        const quint16 dimensionen = lesen<quint16>(m_bytes, pos);
        if (dimensionen < 1 || dimensionen > 60)
            return Ergebnis::Unbekannt;
        pos += 2;
        if (!vorhanden(pos, qsizetype(dimensionen) * 8))
            return Ergebnis::Abgeschnitten;
        // Every element takes at least one byte, so more elements than bytes
        // left means the file is cut short; this also bounds the product.
        const qsizetype uebrig = m_bytes.size() - pos;
        qsizetype elemente = 1;
        for (quint16 d = 0; d < dimensionen; ++d) {
            const qint32 anzahl = lesen<qint32>(m_bytes, pos + qsizetype(d) * 8);
            if (anzahl < 0)
                return Ergebnis::Unbekannt;
            elemente *= anzahl;
            if (elemente > uebrig)
                return Ergebnis::Abgeschnitten;
        }
        pos += qsizetype(dimensionen) * 8;

        if (feste) {
            if (!vorhanden(pos, elemente * *feste))
                return Ergebnis::Abgeschnitten;
            pos += elemente * *feste;
            return Ergebnis::Ok;
        }
        for (qsizetype i = 0; i < elemente; ++i) {
            Ergebnis e;
            if (elementtyp == Einstellungswert::Text) {
                e = text(pos);
            } else {
                quint16 typ = 0;
                e = wert(pos, tiefe + 1, typ);
            }
            if (e != Ergebnis::Ok)
                return e;
        }
        return Ergebnis::Ok;
    }

    QByteArrayView m_bytes;
};

// Round half to even, as the Basic conversions do; nullopt on overflow.
std::optional<qint32> aufLongRunden(double wert)
{
    if (!std::isfinite(wert))
        return std::nullopt;
    const double gerundet = std::nearbyint(wert); // default mode: to nearest, ties to even
    if (gerundet < -2147483648.0 || gerundet > 2147483647.0)
        return std::nullopt;
    return static_cast<qint32>(gerundet);
}

QString zahlText(double wert, int stellen)
{
    QString text = QString::number(wert, 'g', stellen);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    text.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return text;
}

QString waehrungText(qint64 zehntausendstel)
{
    const bool negativ = zehntausendstel < 0;
    // Through the unsigned type, so the smallest value does not overflow.
    const quint64 betrag =
        negativ ? 0 - static_cast<quint64>(zehntausendstel) : static_cast<quint64>(zehntausendstel);
    QString text = QString::number(betrag / 10000);
    quint64 bruch = betrag % 10000;
    if (bruch != 0) {
        QString nachkomma = QString::number(bruch).rightJustified(4, QLatin1Char('0'));
        while (nachkomma.endsWith(QLatin1Char('0')))
            nachkomma.chop(1);
        text += QLocale().decimalPoint() + nachkomma;
    }
    return negativ ? QLatin1Char('-') + text : text;
}

// Dates count days from 30 December 1899; the fraction is the time of day,
// also for dates before it (-1.5 is 29 December 1899, 12:00).
QString datumText(double wert, const QString& quelle)
{
    if (!std::isfinite(wert) || wert < -657434.0 || wert >= 2958466.0)
        throw ueberlauf(quelle);
    double tage = std::trunc(wert);
    qint64 sekunden = std::llround(std::fabs(wert - tage) * 86400.0);
    if (sekunden >= 86400) {
        sekunden = 0;
        tage += wert < 0 ? -1 : 1;
    }
    const QDate datum = QDate(1899, 12, 30).addDays(static_cast<qint64>(tage));
    const QString zeit = u"%1:%2:%3"_s.arg(sekunden / 3600, 2, 10, QLatin1Char('0'))
                             .arg(sekunden / 60 % 60, 2, 10, QLatin1Char('0'))
                             .arg(sekunden % 60, 2, 10, QLatin1Char('0'));
    if (tage == 0)
        return zeit;
    const QString tag = datum.toString(u"dd.MM.yyyy"_s);
    return sekunden == 0 ? tag : tag + QLatin1Char(' ') + zeit;
}

// A number typed as text: "&H" hexadecimal, "&O" octal, else decimal in the
// user's format or with a point.
std::optional<double> textAlsZahl(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() > 2 && t.startsWith(QLatin1Char('&'))) {
        bool ok = false;
        const QChar art = t[1].toUpper();
        const int basis = art == QLatin1Char('H') ? 16 : art == QLatin1Char('O') ? 8 : 0;
        if (basis != 0) {
            const qint64 wert = t.mid(2).toLongLong(&ok, basis);
            if (ok)
                return double(wert);
        }
        return std::nullopt;
    }
    bool ok = false;
    double wert = QLocale().toDouble(t, &ok);
    if (!ok)
        wert = QLocale::c().toDouble(t, &ok);
    return ok ? std::optional<double>(wert) : std::nullopt;
}

} // namespace

// --- Einstellungswert -------------------------------------------------------

Einstellungswert::Einstellungswert()
    : m_bytes(2, '\0')
{}

Einstellungswert Einstellungswert::ausText(const QString& text)
{
    const QByteArray ansi = zuAnsi(text);
    if (ansi.size() > kHoechsteTextlaenge)
        throw Fehler(1, u"Einstellungswert"_s,
                     u"Der Text ist mit %1 Bytes zu lang für die Datei \"sendwacht.cfg\" "
                     u"(höchstens %2 Bytes)."_s.arg(ansi.size())
                         .arg(kHoechsteTextlaenge));
    QByteArray bytes;
    anhaengen<quint16>(bytes, Text);
    anhaengen<quint16>(bytes, quint16(ansi.size()));
    bytes += ansi;
    return Einstellungswert(bytes);
}

Einstellungswert Einstellungswert::ausWahrheitswert(bool wert)
{
    QByteArray bytes;
    anhaengen<quint16>(bytes, Wahrheitswert);
    anhaengen<quint16>(bytes, wert ? 0xFFFF : 0x0000);
    return Einstellungswert(bytes);
}

Einstellungswert Einstellungswert::ausZahl(qint32 wert)
{
    QByteArray bytes;
    anhaengen<quint16>(bytes, Ganzzahl32);
    anhaengen<qint32>(bytes, wert);
    return Einstellungswert(bytes);
}

quint16 Einstellungswert::typ() const
{
    return lesen<quint16>(m_bytes, 0);
}

QByteArray Einstellungswert::daten() const
{
    return m_bytes.mid(2);
}

// The value as a double for the numeric types; 13 for every other type.
double Einstellungswert::alsKommazahl(const QString& quelle) const
{
    switch (typ()) {
    case Ganzzahl16:
    case Wahrheitswert:
        return lesen<qint16>(m_bytes, 2);
    case Ganzzahl32:
        return lesen<qint32>(m_bytes, 2);
    case Einfach:
        return lesen<float>(m_bytes, 2);
    case Doppelt:
    case Datum:
        return lesen<double>(m_bytes, 2);
    case Waehrung:
        return double(lesen<qint64>(m_bytes, 2)) / 10000.0;
    case Byte:
        return quint8(m_bytes[2]);
    default:
        throw typenUnvertraeglich(quelle);
    }
}

QString Einstellungswert::alsText() const
{
    const QString quelle = u"Einstellungswert"_s;
    switch (typ()) {
    case Leer:
        return QString();
    case Null:
        throw nullVerwendung(quelle);
    case Ganzzahl16:
        return QString::number(lesen<qint16>(m_bytes, 2));
    case Ganzzahl32:
        return QString::number(lesen<qint32>(m_bytes, 2));
    case Einfach:
        return zahlText(lesen<float>(m_bytes, 2), 7);
    case Doppelt:
        return zahlText(lesen<double>(m_bytes, 2), 15);
    case Waehrung:
        return waehrungText(lesen<qint64>(m_bytes, 2));
    case Datum:
        return datumText(lesen<double>(m_bytes, 2), quelle);
    case Text:
        return ausAnsi(QByteArrayView(m_bytes).sliced(4));
    case Wahrheitswert:
        return lesen<quint16>(m_bytes, 2) != 0 ? u"Wahr"_s : u"Falsch"_s;
    case Byte:
        return QString::number(quint8(m_bytes[2]));
    default:
        throw typenUnvertraeglich(quelle);
    }
}

bool Einstellungswert::alsWahrheitswert() const
{
    const QString quelle = u"Einstellungswert"_s;
    switch (typ()) {
    case Leer:
        return false;
    case Null:
        throw nullVerwendung(quelle);
    case Text: {
        const QString text = alsText().trimmed();
        for (const auto& wahr : {u"Wahr"_s, u"True"_s}) {
            if (text.compare(wahr, Qt::CaseInsensitive) == 0)
                return true;
        }
        for (const auto& falsch : {u"Falsch"_s, u"False"_s}) {
            if (text.compare(falsch, Qt::CaseInsensitive) == 0)
                return false;
        }
        const std::optional<double> zahl = textAlsZahl(text);
        if (!zahl)
            throw typenUnvertraeglich(quelle);
        return *zahl != 0.0;
    }
    default:
        return alsKommazahl(quelle) != 0.0;
    }
}

qint32 Einstellungswert::alsZahl() const
{
    const QString quelle = u"Einstellungswert"_s;
    std::optional<qint32> ergebnis;
    switch (typ()) {
    case Leer:
        return 0;
    case Null:
        throw nullVerwendung(quelle);
    case Waehrung: {
        // Exactly, in whole numbers: ten-thousandths rounded half to even.
        const qint64 wert = lesen<qint64>(m_bytes, 2);
        qint64 ganz = wert / 10000;
        const qint64 rest = wert % 10000;
        if (rest > 5000 || (rest == 5000 && ganz % 2 != 0))
            ++ganz;
        else if (rest < -5000 || (rest == -5000 && ganz % 2 != 0))
            --ganz;
        if (ganz >= std::numeric_limits<qint32>::min() &&
            ganz <= std::numeric_limits<qint32>::max())
            ergebnis = qint32(ganz);
        break;
    }
    case Text: {
        const std::optional<double> zahl = textAlsZahl(alsText());
        if (!zahl)
            throw typenUnvertraeglich(quelle);
        ergebnis = aufLongRunden(*zahl);
        break;
    }
    default:
        ergebnis = aufLongRunden(alsKommazahl(quelle));
    }
    if (!ergebnis)
        throw ueberlauf(quelle);
    return *ergebnis;
}

// --- Einstellungsarray -------------------------------------------------------

Einstellungsarray::Einstellungsarray(qint32 untergrenze, qint32 anzahl)
    : m_untergrenze(untergrenze)
    , m_anzahl(anzahl)
{
    if (anzahl < 0 || qint64(untergrenze) + anzahl - 1 > std::numeric_limits<qint32>::max())
        throw Fehler(9, u"Einstellungsarray"_s, u"Index außerhalb des gültigen Bereichs"_s);
    const Einstellungswert leer;
    m_elemente.reserve(qsizetype(anzahl) * 2);
    m_grenzen.reserve(std::size_t(anzahl) + 1);
    for (qint32 i = 0; i < anzahl; ++i) {
        m_grenzen.push_back(m_elemente.size());
        m_elemente += leer.bytes();
    }
    m_grenzen.push_back(m_elemente.size());
}

Einstellungsarray Einstellungsarray::dekodieren(QByteArrayView datei)
{
    if (datei.isEmpty())
        throw nichtInitialisiert();
    if (datei.size() < 2)
        throw beschaedigt(u"sie endet vor dem ersten Typcode"_s);
    const quint16 typ = lesen<quint16>(datei, 0);
    if (typ == Einstellungswert::Leer)
        throw nichtInitialisiert();
    if (typ != (kArrayFlag | kVariant))
        throw beschaedigt(
            u"sie enthält keine Liste von Einstellungen, sondern den Typcode %1"_s.arg(typ));
    if (datei.size() < kKopfgroesse)
        throw beschaedigt(u"sie endet im Kopf der Einstellungsliste"_s);
    const quint16 dimensionen = lesen<quint16>(datei, 2);
    if (dimensionen != 1)
        throw beschaedigt(
            u"die Einstellungsliste hat %1 Dimensionen statt einer"_s.arg(dimensionen));
    const qint32 anzahl = lesen<qint32>(datei, 4);
    const qint32 untergrenze = lesen<qint32>(datei, 8);
    if (anzahl < 0)
        throw beschaedigt(u"die Zahl der Elemente ist negativ (%1)"_s.arg(anzahl));
    if (qint64(untergrenze) + anzahl - 1 > std::numeric_limits<qint32>::max())
        throw beschaedigt(
            u"die Indexgrenzen (ab %1, %2 Elemente) sind ungültig"_s.arg(untergrenze).arg(anzahl));
    // Every element takes at least its 2-byte type code: checked before
    // anything is allocated for the elements.
    if (qint64(anzahl) * 2 > datei.size() - kKopfgroesse)
        throw beschaedigt(u"sie ist zu kurz für die angegebenen %1 Elemente"_s.arg(anzahl));

    Einstellungsarray array(0, 0);
    array.m_untergrenze = untergrenze;
    array.m_anzahl = anzahl;
    array.m_grenzen.clear();
    array.m_grenzen.reserve(std::size_t(anzahl) + 1);

    const Vermesser vermesser(datei);
    qsizetype pos = kKopfgroesse;
    bool vollstaendig = true;
    for (qint32 i = 0; i < anzahl; ++i) {
        quint16 elementtyp = 0;
        const qsizetype anfang = pos;
        const auto ergebnis = vermesser.wert(pos, 0, elementtyp);
        if (ergebnis == Vermesser::Ergebnis::Abgeschnitten)
            throw beschaedigt(u"sie endet mitten im Element %1"_s.arg(qint64(untergrenze) + i));
        array.m_grenzen.push_back(anfang - kKopfgroesse);
        if (ergebnis == Vermesser::Ergebnis::Unbekannt) {
            // Its start stays the end of the readable part: one offset
            // fewer than a complete array has.
            array.m_unbekannterTyp = elementtyp;
            vollstaendig = false;
            break;
        }
    }
    array.m_elemente = datei.sliced(kKopfgroesse, pos - kKopfgroesse).toByteArray();
    if (vollstaendig)
        array.m_grenzen.push_back(array.m_elemente.size());
    array.m_rest = datei.sliced(pos).toByteArray();
    return array;
}

bool Einstellungsarray::vollstaendig() const
{
    return qsizetype(m_grenzen.size()) == qsizetype(m_anzahl) + 1;
}

QByteArray Einstellungsarray::kodieren() const
{
    if (!vollstaendig()) {
        const qint64 index = qint64(m_untergrenze) + qint64(m_grenzen.size()) - 1;
        throw Fehler(1, u"PutEinstellungsarray"_s,
                     u"Die Datei \"sendwacht.cfg\" wird nicht geschrieben: Das Element %1 hat "
                     u"den unbekannten Typcode %2, dessen Länge nicht bekannt ist. Die Datei "
                     u"würde beim Schreiben beschädigt."_s.arg(index)
                         .arg(m_unbekannterTyp));
    }
    QByteArray datei;
    datei.reserve(kKopfgroesse + m_elemente.size() + m_rest.size());
    anhaengen<quint16>(datei, kArrayFlag | kVariant);
    anhaengen<quint16>(datei, 1);
    anhaengen<qint32>(datei, m_anzahl);
    anhaengen<qint32>(datei, m_untergrenze);
    datei += m_elemente;
    datei += m_rest;
    return datei;
}

qsizetype Einstellungsarray::position(qint32 index, const QString& quelle) const
{
    const qint64 p = qint64(index) - m_untergrenze;
    if (p < 0 || p >= m_anzahl)
        throw Fehler(9, quelle, u"Index außerhalb des gültigen Bereichs"_s);
    if (p + 1 >= qint64(m_grenzen.size())) {
        const qint64 unbekannt = qint64(m_untergrenze) + qint64(m_grenzen.size()) - 1;
        throw Fehler(1, quelle,
                     u"Das Element %1 der Datei \"sendwacht.cfg\" kann nicht gelesen werden, "
                     u"weil das Element %2 den unbekannten Typcode %3 hat, dessen Länge nicht "
                     u"bekannt ist."_s.arg(index)
                         .arg(unbekannt)
                         .arg(m_unbekannterTyp));
    }
    return qsizetype(p);
}

Einstellungswert Einstellungsarray::element(qint32 index) const
{
    const qsizetype p = position(index, u"GetEinstellung"_s);
    return Einstellungswert(m_elemente.mid(m_grenzen[p], m_grenzen[p + 1] - m_grenzen[p]));
}

void Einstellungsarray::setzen(qint32 index, const Einstellungswert& wert)
{
    const qsizetype p = position(index, u"Einstellungsarray"_s);
    const qsizetype anfang = m_grenzen[p];
    const qsizetype alteLaenge = m_grenzen[p + 1] - anfang;
    m_elemente.replace(anfang, alteLaenge, wert.bytes());
    const qsizetype verschiebung = wert.bytes().size() - alteLaenge;
    for (std::size_t i = std::size_t(p) + 1; i < m_grenzen.size(); ++i)
        m_grenzen[i] += verschiebung;
}

void Einstellungsarray::textSetzen(qint32 index, const QString& text)
{
    setzen(index, Einstellungswert::ausText(text));
}

void Einstellungsarray::wahrheitswertSetzen(qint32 index, bool wert)
{
    setzen(index, Einstellungswert::ausWahrheitswert(wert));
}

// --- the file ------------------------------------------------------------------

QString Einstellungsdateipfad()
{
    return PfadMitBackslash(AppPfad()) + u"sendwacht.cfg"_s;
}

Einstellungsarray EinstellungsdateiLesen(const QString& pfad)
{
    if (!QFileInfo::exists(pfad))
        throw nichtInitialisiert();
    // Anything but a regular file (a pipe would block, a device may never
    // end) cannot be a settings file: Fehler 75, checked on the open file.
    QByteArray inhalt;
    try {
        inhalt = DateianfangLesen(pfad, kQuelleGet, kHoechstgroesse + 1);
    } catch (const Fehler& f) {
        if (f.nummer() == 53) // removed since the check above
            throw nichtInitialisiert();
        throw;
    }
    if (inhalt.size() > kHoechstgroesse)
        throw beschaedigt(u"sie ist größer als %1 MiB"_s.arg(kHoechstgroesse / 1024 / 1024));
    return Einstellungsarray::dekodieren(inhalt);
}

void EinstellungsdateiSchreiben(const QString& pfad, const Einstellungsarray& array)
{
    const QByteArray inhalt = array.kodieren();
    if (!DateiErsetzen(pfad, inhalt))
        throw Fehler(75, u"PutEinstellungsarray"_s,
                     u"Die Datei \"%1\" kann nicht geschrieben werden."_s.arg(pfad));
}

Einstellungsarray GetEinstellungsarray()
{
    const QString pfad = Einstellungsdateipfad();
    if (!QFileInfo::exists(pfad)) {
        // The suite's programs have always left an empty file behind here;
        // it marks the installation as not set up until einrichter runs.
        QFile leer(pfad);
        if (leer.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            leer.close();
        throw nichtInitialisiert();
    }
    return EinstellungsdateiLesen(pfad);
}

void PutEinstellungsarray(const Einstellungsarray& array)
{
    EinstellungsdateiSchreiben(Einstellungsdateipfad(), array);
}

Einstellungswert GetEinstellung(qint32 index)
{
    return GetEinstellungsarray().element(index);
}
