#pragma once

#include <memory>

#include <QDateTime>
#include <QString>

#include "suite_db/Datenbankzugriff.h"

/// The public fields of a broadcast, in the order of the suite's record.
/// A database null reads as the empty text, 0, false or day 0.
struct SendungsFelder
{
    /// Day 0 of the suite's dates: 30 December 1899, 00:00.
    static QDateTime tagNull();

    qint32 Pos = 0; // record number, key of both tables
    QString SenderKennung;
    QDateTime Beginn = tagNull();
    QDateTime Ende = tagNull();
    QString Titel;
    QString SendungID;
    QString InhaltID;
    qint16 Aktualisierung = 0;
    QString Showview;
    QString ShowviewVPS;
    QString VPS;
    QString Kategorietext;
    QString Kurzbeschreibung;
    qint16 Bewertung = 0;
    QString Bilddateiname;
    QString Dauer;
    QString Genre;
    QString Herstellungsjahr;
    QString Herstellungsland;
    QString Originaltitel;
    QString Regie;
    QString Bewertungen;
    QString Kurzkritik;
    qint16 FSK = 0;
    QString Keywords;
    bool KzFilm = false;
    bool Kz16zu9 = false;
    bool KzDolby = false;
    bool KzDolbyDigital = false;
    bool KzDolbySurround = false;
    bool KzLive = false;
    bool KzStereo = false;
    bool KzSchwarzweis = false;
    bool KzTelefon = false;
    bool KzUncoded = false;
    bool KzUntertitel = false;
    bool KzZweikanalton = false;
    bool KzAudiodescription = false;
    bool KzBilddateiHeruntergeladen = false;
    bool KzInFavoritenliste = false;
    bool KzImArchiv = false;
    bool KzWiederholung = false;
    bool KzHDTV = false;

    bool Temp_DetailsGeladen = false; // the long texts are loaded
    QString Temp_Beschreibung;
    QString Temp_Darsteller;
    QString Temp_HTMLSeite;
};

/// One broadcast: a row of `Sendungen` and its long texts in
/// `SendungenDetails` under the same `Pos`, fetched from the suite database
/// (`SuiteDatenbankpfad()`) when first read.
class cSendung : public SendungsFelder
{
public:
    /// A new record with the public fields copied, bound to no recordset.
    std::unique_ptr<cSendung> GenerateCopy() const;

    /// Fills the row fields from the current row of a recordset on
    /// `Sendungen`, looking each column up by name.
    void LeseVonDatensatz1(const Recordset& rsSendungen);
    /// Fills the long texts from the current row of `SendungenDetails` and
    /// marks them as loaded.
    void LeseVonDatensatz2(const Recordset& rsSendungenDetails);

    /// Saves the record as a new row of both recordsets; `Pos` becomes the
    /// key the database gives the new row. Texts are cut to their column
    /// lengths. Throws Fehler 1 after saving the row when the long texts
    /// were never loaded or set.
    void SpeichernInDatensatzAlles(Datenbank& db, Recordset& rsSendungen,
                                   Recordset& rsSendungenDetails);

    /// Loads the row fields (`Pos` 0 when there is no such record) or the
    /// long texts of a record number from the suite database.
    void FillAusDatenbank1(qint32 pos);
    void FillAusDatenbank2(qint32 pos);

    /// The columns of `Sendungen` without `Pos`, for SELECT statements.
    static QString GetFelderNamenSendungen();
    static QString GetFelderNamenSendungenDetails();

    /// Bind the columns once; `LeseVonRsFields1/2` then read the current row
    /// of the bound recordset by position.
    void SetRsFields1(const Recordset& rsSendungen);
    void SetRsFields2(const Recordset& rsSendungenDetails);
    void LeseVonRsFields1();
    void LeseVonRsFields2();

    /// Date part (00:00) and time part of `Beginn`.
    QDateTime Datum() const;
    QTime Uhrzeit() const;

    /// The long texts; reading loads them first when they are not loaded,
    /// writing marks them as loaded.
    QString Beschreibung();
    QString Darsteller();
    QString HTMLSeite();
    void setBeschreibung(const QString& vNewValue);
    void setDarsteller(const QString& vNewValue);
    void setHTMLSeite(const QString& vNewValue);

private:
    struct Bindung
    {
        const Recordset* rs = nullptr;
        std::vector<int> spalten; // column index per field, -1 if missing
    };
    Bindung m_rsfields1;
    Bindung m_rsfields2;
};

/// Creates the tables `Sendungen` (key `Pos`, assigned by the database and
/// never used twice) and `SendungenDetails` in a database file, creating the
/// file if needed; existing tables are kept. Throws a `Fehler` with SQLite's
/// number and message on failure.
void SendungstabellenAnlegen(const QString& pfad);
