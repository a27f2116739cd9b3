#include "suite_db/cSendung.h"

#include <cmath>
#include <type_traits>

#include <QStringList>

#include "system/Fehler.h"
#include "system/Grundbefehle.h"

using namespace Qt::StringLiterals;

namespace {

// The columns of `Sendungen` after `Pos`, each with its field and the length
// a text is cut to when saved (0: not cut). One list for reading, writing and
// the table's definition.
template<typename S, typename F>
void zeilenfelder(S& s, F&& f)
{
    f(u"SenderKennung", s.SenderKennung, 0);
    f(u"Beginn", s.Beginn, 0);
    f(u"Ende", s.Ende, 0);
    f(u"Titel", s.Titel, 255);
    f(u"SendungID", s.SendungID, 50);
    f(u"InhaltID", s.InhaltID, 0);
    f(u"Aktualisierung", s.Aktualisierung, 0);
    f(u"Showview", s.Showview, 50);
    f(u"ShowviewVPS", s.ShowviewVPS, 50);
    f(u"VPS", s.VPS, 50);
    f(u"Kategorietext", s.Kategorietext, 50);
    f(u"Kurzbeschreibung", s.Kurzbeschreibung, 0);
    f(u"Bewertung", s.Bewertung, 0);
    f(u"Bilddateiname", s.Bilddateiname, 50);
    f(u"Dauer", s.Dauer, 50);
    f(u"Genre", s.Genre, 50);
    f(u"Herstellungsjahr", s.Herstellungsjahr, 50);
    f(u"Herstellungsland", s.Herstellungsland, 50);
    f(u"Originaltitel", s.Originaltitel, 255);
    f(u"Regie", s.Regie, 255);
    f(u"Bewertungen", s.Bewertungen, 0);
    f(u"Kurzkritik", s.Kurzkritik, 255);
    f(u"FSK", s.FSK, 0);
    f(u"Keywords", s.Keywords, 0);
    f(u"KzFilm", s.KzFilm, 0);
    f(u"Kz16zu9", s.Kz16zu9, 0);
    f(u"KzDolby", s.KzDolby, 0);
    f(u"KzDolbyDigital", s.KzDolbyDigital, 0);
    f(u"KzDolbySurround", s.KzDolbySurround, 0);
    f(u"KzLive", s.KzLive, 0);
    f(u"KzStereo", s.KzStereo, 0);
    f(u"KzSchwarzweis", s.KzSchwarzweis, 0);
    f(u"KzTelefon", s.KzTelefon, 0);
    f(u"KzUncoded", s.KzUncoded, 0);
    f(u"KzUntertitel", s.KzUntertitel, 0);
    f(u"KzZweikanalton", s.KzZweikanalton, 0);
    f(u"KzAudiodescription", s.KzAudiodescription, 0);
    f(u"KzBilddateiHeruntergeladen", s.KzBilddateiHeruntergeladen, 0);
    f(u"KzInFavoritenliste", s.KzInFavoritenliste, 0);
    f(u"KzImArchiv", s.KzImArchiv, 0);
    f(u"KzWiederholung", s.KzWiederholung, 0);
    f(u"KzHDTV", s.KzHDTV, 0);
}

const char16_t* const kDetailspalten[] = {u"Beschreibung", u"Darsteller", u"HTMLSeite"};

const QString kDatumsformat = u"yyyy-MM-dd HH:mm:ss"_s;

Fehler unvertraeglich()
{
    return Fehler(13, QString(), u"Typen unverträglich"_s);
}

// A column value into a field, a null becoming the field's empty value.
void lesen(const QVariant& wert, QString& feld)
{
    feld = NullErsetzen(wert, QString()).toString();
}

void lesen(const QVariant& wert, QDateTime& feld)
{
    const QVariant v = NullErsetzen(wert, SendungsFelder::tagNull());
    if (v.typeId() == QMetaType::QDateTime) {
        feld = v.toDateTime();
    } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong ||
               v.typeId() == QMetaType::Int) {
        // Days since day 0, as the suite's older files hold them.
        const double tage = v.toDouble();
        if (!std::isfinite(tage) || std::abs(tage) > 3e6)
            throw unvertraeglich();
        feld = SendungsFelder::tagNull().addMSecs(std::llround(tage * 86400000.0));
    } else {
        const QString text = v.toString();
        feld = QDateTime::fromString(text, kDatumsformat);
        if (!feld.isValid())
            feld = QDateTime::fromString(text, Qt::ISODate);
        if (!feld.isValid())
            throw unvertraeglich();
    }
}

template<typename Zahl>
void lesenZahl(const QVariant& wert, Zahl& feld)
{
    bool gut = false;
    const qlonglong zahl = NullErsetzen(wert, 0).toLongLong(&gut);
    if (!gut)
        throw unvertraeglich();
    if (zahl < std::numeric_limits<Zahl>::min() || zahl > std::numeric_limits<Zahl>::max())
        throw Fehler(6, QString(), u"Überlauf"_s);
    feld = static_cast<Zahl>(zahl);
}

void lesen(const QVariant& wert, qint16& feld)
{
    lesenZahl(wert, feld);
}

void lesen(const QVariant& wert, bool& feld)
{
    const QVariant v = NullErsetzen(wert, false);
    bool gut = false;
    const qlonglong zahl = v.toLongLong(&gut);
    feld = gut ? zahl != 0 : v.toBool();
}

// A field as the value of its column; texts cut to the column's length and
// never null, since the suite's programs tell an empty text from a missing one.
QVariant spaltenwert(const QString& feld, int laenge)
{
    const QString text = laenge > 0 ? feld.left(laenge) : feld;
    return text.isNull() ? QVariant(u""_s) : QVariant(text);
}

QVariant spaltenwert(const QDateTime& feld, int)
{
    return feld.toString(kDatumsformat);
}

QVariant spaltenwert(qint16 feld, int)
{
    return int(feld);
}

QVariant spaltenwert(bool feld, int)
{
    return feld ? 1 : 0;
}

const char* spaltentyp(const QString&)
{
    return "TEXT";
}
const char* spaltentyp(const QDateTime&)
{
    return "DATETIME";
}
const char* spaltentyp(qint16)
{
    return "SMALLINT";
}
const char* spaltentyp(bool)
{
    return "BOOLEAN";
}

} // namespace

QDateTime SendungsFelder::tagNull()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

std::unique_ptr<cSendung> cSendung::GenerateCopy() const
{
    auto kopie = std::make_unique<cSendung>();
    static_cast<SendungsFelder&>(*kopie) = *this;
    return kopie;
}

void cSendung::LeseVonDatensatz1(const Recordset& rs)
{
    lesenZahl(rs.feld(u"Pos"_s), Pos);
    zeilenfelder(*this, [&](const char16_t* name, auto& feld, int) {
        lesen(rs.feld(QString::fromUtf16(name)), feld);
    });
}

void cSendung::LeseVonDatensatz2(const Recordset& rs)
{
    lesen(rs.feld(u"Beschreibung"_s), Temp_Beschreibung);
    lesen(rs.feld(u"Darsteller"_s), Temp_Darsteller);
    lesen(rs.feld(u"HTMLSeite"_s), Temp_HTMLSeite);
    Temp_DetailsGeladen = true;
}

void cSendung::SpeichernInDatensatzAlles(Datenbank&, Recordset& rsSendungen,
                                         Recordset& rsSendungenDetails)
{
    // SQLite gives the key when the row is stored, so Pos is taken after
    // saving; nothing reads it before.
    rsSendungen.AddNew();
    zeilenfelder(*this, [&](const char16_t* name, const auto& feld, int laenge) {
        rsSendungen.setzen(QString::fromUtf16(name), spaltenwert(feld, laenge));
    });
    RecordsetAktualisieren(rsSendungen);
    Pos = static_cast<qint32>(rsSendungen.letzterSchluessel());

    if (!Temp_DetailsGeladen)
        throw Fehler(
            1, QString(),
            u"Ein Programmfehler ist aufgetreten. Die Detailsfelder sollen gespeichert werden sind "
            "jedoch noch nicht initialisiert."_s);

    rsSendungenDetails.AddNew();
    rsSendungenDetails.setzen(u"Pos"_s, Pos);
    rsSendungenDetails.setzen(u"Beschreibung"_s, spaltenwert(Temp_Beschreibung, 0));
    rsSendungenDetails.setzen(u"Darsteller"_s, spaltenwert(Temp_Darsteller, 0));
    rsSendungenDetails.setzen(u"HTMLSeite"_s, spaltenwert(Temp_HTMLSeite, 0));
    RecordsetAktualisieren(rsSendungenDetails);
}

void cSendung::FillAusDatenbank1(qint32 pos)
{
    Pos = 0;
    auto db = DatenbankOeffnen(SuiteDatenbankpfad());
    auto rs =
        RecordsetOeffnen(db, u"Select * from Sendungen where Pos="_s + QString::number(pos) + u';',
                         dbOpenSnapshot, dbForwardOnly);
    if (!rs->EOF_())
        LeseVonDatensatz1(*rs);
    ObjektSchliessen(rs);
    ObjektSchliessen(db);
}

void cSendung::FillAusDatenbank2(qint32 pos)
{
    auto db = DatenbankOeffnen(SuiteDatenbankpfad());
    auto rs = RecordsetOeffnen(
        db, u"Select * from SendungenDetails where Pos="_s + QString::number(pos) + u';',
        dbOpenSnapshot, dbForwardOnly);
    if (!rs->EOF_())
        LeseVonDatensatz2(*rs);
    ObjektSchliessen(rs);
    ObjektSchliessen(db);
}

QString cSendung::GetFelderNamenSendungen()
{
    return u"SenderKennung,Beginn,Ende,Titel,SendungID,InhaltID,Aktualisierung,Showview,"
           u"ShowviewVPS,VPS,"
           "Kategorietext,KurzBeschreibung,"
           "Bewertung,Bilddateiname,Dauer,Genre,Herstellungsjahr,Herstellungsland,Originaltitel,"
           "Regie,Bewertungen,"
           "Kurzkritik,FSK,Keywords,KzFilm,Kz16zu9,KzDolby,KzDolbyDigital,KzDolbySurround,KzLive,"
           "KzStereo,"
           "KzSchwarzweis,"
           "KzTelefon,KzUncoded,KzUntertitel,KzZweikanalton,KzAudiodescription,"
           "KzBilddateiHeruntergeladen,"
           "KzInFavoritenliste,KzImArchiv,KzWiederholung,KzHDTV"_s;
}

QString cSendung::GetFelderNamenSendungenDetails()
{
    return u"Beschreibung,Darsteller,HTMLSeite"_s;
}

namespace {
int gebundeneSpalte(const Recordset& rs, const QString& name)
{
    const int index = rs.spaltenIndex(name);
    if (index < 0)
        throw Fehler(3265, QString(),
                     u"Das Feld '"_s + name + u"' ist in dieser Auflistung nicht vorhanden."_s);
    return index;
}
} // namespace

void cSendung::SetRsFields1(const Recordset& rs)
{
    m_rsfields1.rs = &rs;
    m_rsfields1.spalten = {gebundeneSpalte(rs, u"Pos"_s)};
    zeilenfelder(*this, [&](const char16_t* name, auto&, int) {
        m_rsfields1.spalten.push_back(gebundeneSpalte(rs, QString::fromUtf16(name)));
    });
}

void cSendung::SetRsFields2(const Recordset& rs)
{
    m_rsfields2.rs = &rs;
    m_rsfields2.spalten.clear();
    for (const char16_t* name : kDetailspalten)
        m_rsfields2.spalten.push_back(gebundeneSpalte(rs, QString::fromUtf16(name)));
}

void cSendung::LeseVonRsFields1()
{
    if (!m_rsfields1.rs)
        throw Fehler(91, QString(), u"Objektvariable oder With-Blockvariable nicht festgelegt"_s);
    const Recordset& rs = *m_rsfields1.rs;
    lesenZahl(rs.feld(m_rsfields1.spalten[0]), Pos);
    std::size_t k = 1;
    zeilenfelder(*this, [&](const char16_t*, auto& feld, int) {
        lesen(rs.feld(m_rsfields1.spalten[k++]), feld);
    });
}

void cSendung::LeseVonRsFields2()
{
    if (!m_rsfields2.rs)
        throw Fehler(91, QString(), u"Objektvariable oder With-Blockvariable nicht festgelegt"_s);
    const Recordset& rs = *m_rsfields2.rs;
    lesen(rs.feld(m_rsfields2.spalten[0]), Temp_Beschreibung);
    lesen(rs.feld(m_rsfields2.spalten[1]), Temp_Darsteller);
    lesen(rs.feld(m_rsfields2.spalten[2]), Temp_HTMLSeite);
    Temp_DetailsGeladen = true;
}

QDateTime cSendung::Datum() const
{
    return QDateTime(Beginn.date(), QTime(0, 0));
}

QTime cSendung::Uhrzeit() const
{
    const QTime t = Beginn.time();
    return QTime(t.hour(), t.minute(), t.second());
}

QString cSendung::Beschreibung()
{
    if (!Temp_DetailsGeladen)
        FillAusDatenbank2(Pos);
    return Temp_Beschreibung;
}

QString cSendung::Darsteller()
{
    if (!Temp_DetailsGeladen)
        FillAusDatenbank2(Pos);
    return Temp_Darsteller;
}

QString cSendung::HTMLSeite()
{
    if (!Temp_DetailsGeladen)
        FillAusDatenbank2(Pos);
    return Temp_HTMLSeite;
}

void cSendung::setBeschreibung(const QString& vNewValue)
{
    Temp_Beschreibung = vNewValue;
    Temp_DetailsGeladen = true;
}

void cSendung::setDarsteller(const QString& vNewValue)
{
    Temp_Darsteller = vNewValue;
    Temp_DetailsGeladen = true;
}

void cSendung::setHTMLSeite(const QString& vNewValue)
{
    Temp_HTMLSeite = vNewValue;
    Temp_DetailsGeladen = true;
}

void SendungstabellenAnlegen(const QString& pfad)
{
    QStringList spalten{u"Pos INTEGER PRIMARY KEY AUTOINCREMENT"_s};
    const SendungsFelder muster;
    zeilenfelder(muster, [&](const char16_t* name, const auto& feld, int) {
        spalten << QString::fromUtf16(name) + u' ' + QString::fromLatin1(spaltentyp(feld));
    });
    AnweisungenAusfuehren(
        pfad,
        {u"CREATE TABLE IF NOT EXISTS Sendungen ("_s + spalten.join(u", "_s) + u')',
         u"CREATE TABLE IF NOT EXISTS SendungenDetails (Pos INTEGER PRIMARY KEY, "
         "Beschreibung TEXT, Darsteller TEXT, HTMLSeite TEXT)"_s},
        u"SendungstabellenAnlegen"_s);
}
