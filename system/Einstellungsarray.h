#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

/// The suite settings file sendwacht.cfg: one serialized array of tagged
/// values (OLE variant type codes), each setting at a fixed index. The file
/// is shared with the suite's other programs, so every element this program
/// does not set is kept exactly as it was read, byte for byte, including
/// variant types the program cannot interpret.

/// One tagged value: a 2-byte type code and its data, kept as the bytes that
/// stand in the file. Conversions follow Visual Basic's CStr, CBool and CLng
/// and throw a `Fehler` where those raise a run-time error.
class Einstellungswert
{
public:
    /// The type codes the suite writes.
    enum Typ : quint16
    {
        Leer = 0,
        Null = 1,
        Ganzzahl16 = 2,
        Ganzzahl32 = 3,
        Einfach = 4,
        Doppelt = 5,
        Waehrung = 6,
        Datum = 7,
        Text = 8,
        Wahrheitswert = 11,
        Byte = 17,
    };

    /// An empty value (type 0).
    Einstellungswert();

    /// A text value in Windows-1252 ("?" for characters it cannot hold).
    /// Throws a `Fehler` for a text of 65535 bytes or more, which the
    /// format's 2-byte length cannot describe unambiguously.
    static Einstellungswert ausText(const QString& text);
    static Einstellungswert ausWahrheitswert(bool wert);
    static Einstellungswert ausZahl(qint32 wert);

    quint16 typ() const;
    /// The data after the type code, as stored (for a text with its length).
    QByteArray daten() const;
    /// Type code and data, as stored.
    const QByteArray& bytes() const { return m_bytes; }

    /// Like CStr: numbers in the user's number format, booleans as "Wahr" or
    /// "Falsch", dates as dd.MM.yyyy HH:mm:ss, empty as "". Null and unknown
    /// types throw.
    QString alsText() const;
    /// Like CBool: numbers are true unless 0; texts "Wahr"/"True",
    /// "Falsch"/"False" or a number; empty is false.
    bool alsWahrheitswert() const;
    /// Like CLng: rounds half to even; throws on overflow (6), on a text that
    /// is no number and on unknown types (13), and on Null (94).
    qint32 alsZahl() const;

private:
    explicit Einstellungswert(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {}
    double alsKommazahl(const QString& quelle) const;

    QByteArray m_bytes;
    friend class Einstellungsarray;
};

/// The settings array: lower bound, elements in index order, and whatever
/// stands after the array in the file (kept, so that a write-back changes
/// only the elements that were set).
class Einstellungsarray
{
public:
    /// A new array of `anzahl` empty elements starting at `untergrenze`.
    Einstellungsarray(qint32 untergrenze, qint32 anzahl);

    /// Decodes a whole file. Throws the "not initialised" error for an empty
    /// file or an empty stored value, and a `Fehler` with a clear message
    /// for a damaged one (wrong header, absurd counts, cut short). An element
    /// whose type code has no known length ends the readable part: the
    /// elements before it can be read, it and the ones after it cannot, and
    /// the array cannot be encoded again.
    static Einstellungsarray dekodieren(QByteArrayView datei);

    /// The file content. Throws when an element could not be delimited on
    /// reading, since writing would then damage the file.
    QByteArray kodieren() const;

    qint32 untergrenze() const { return m_untergrenze; }
    qint32 anzahl() const { return m_anzahl; }
    /// 64 bits wide: an empty array at the lowest lower bound ends below it.
    qint64 obergrenze() const { return qint64(m_untergrenze) + m_anzahl - 1; }
    /// False when an element with an unknown, undelimitable type was read.
    bool vollstaendig() const;

    /// The element at `index`; throws Fehler 9 outside the bounds and a
    /// `Fehler` for an element that could not be delimited.
    Einstellungswert element(qint32 index) const;
    /// Replaces one element; the others keep their bytes.
    void setzen(qint32 index, const Einstellungswert& wert);
    void textSetzen(qint32 index, const QString& text);
    void wahrheitswertSetzen(qint32 index, bool wert);

private:
    qsizetype position(qint32 index, const QString& quelle) const;

    qint32 m_untergrenze = 0;
    qint32 m_anzahl = 0;
    QByteArray m_elemente;            // the readable elements, as stored
    std::vector<qsizetype> m_grenzen; // offset of each readable element, then the end
    quint16 m_unbekannterTyp = 0;     // code of the first undelimitable element
    QByteArray m_rest;                // bytes after the readable elements
};

/// PfadMitBackslash(AppPfad()) + "sendwacht.cfg".
QString Einstellungsdateipfad();

/// Reads the settings file; a missing file is created empty (so it stays
/// behind), and a missing or empty one raises Fehler(1,
/// "GetEinstellungsarray", "Der Sendaro ist nicht initialisiert. ...").
Einstellungsarray GetEinstellungsarray();

/// Replaces the settings file atomically by the encoded array.
void PutEinstellungsarray(const Einstellungsarray& array);

/// Reads the file anew and returns one element.
Einstellungswert GetEinstellung(qint32 index);

/// Reads a settings file without creating it (missing or empty: the "not
/// initialised" error). For tools that only look at a file. Fehler 1 means
/// the content cannot be used (not initialised or damaged), Fehler 75 that
/// the file cannot be read at all.
Einstellungsarray EinstellungsdateiLesen(const QString& pfad);

/// Writes a settings file as a whole new file that replaces the old one;
/// on failure the old file stays as it was.
void EinstellungsdateiSchreiben(const QString& pfad, const Einstellungsarray& array);
