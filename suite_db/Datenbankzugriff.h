#pragma once

#include <memory>
#include <vector>

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

/// Access to the suite's broadcast database (SQLite through Qt SQL), shared
/// by several programs at once. Every program opens databases, runs queries
/// and saves rows through these functions, so that lock collisions are
/// retried after a random pause, slow or failed queries land in the access
/// log and a persistent error offers Retry, Cancel or a repair.
///
/// Errors that reach the caller are `Fehler` exceptions: number and message
/// as the engine reported them, the program's executable name as source.
/// SQLite's busy and locked results carry the DAO lock numbers the suite has
/// always used (see `IstSperrfehler`); any other SQLite error keeps SQLite's
/// own number and message.

class Recordset;

/// Recordset types and options as the suite's callers pass them.
enum : qint16
{
    dbOpenTable = 1,
    dbOpenDynaset = 2,
    dbOpenSnapshot = 4,
    dbOpenForwardOnly = 8,
};
enum : qint16
{
    dbReadOnly = 4,
    dbForwardOnly = 256,
};

/// The lock numbers given to SQLite's busy and locked results.
enum : int
{
    kSperreLesen = 3260,     // a query met a lock held by another program
    kSperreTabelle = 3261,   // a table is locked inside the same engine
    kSperreSpeichern = 3186, // saving a row met a lock
    kSperreDatei = 3050,     // the file could not be locked on opening
};

/// The engine: created once per program on first need and kept.
class Datenbankengine
{
public:
    /// The Qt SQL driver the engine uses.
    QString treiber() const { return m_treiber; }

private:
    explicit Datenbankengine(QString treiber)
        : m_treiber(std::move(treiber))
    {}
    QString m_treiber;
    friend Datenbankengine& SafeCreateDBObject();
};

/// One open database: one SQLite connection of its own. Closing it closes
/// its recordsets first.
class Datenbank
{
public:
    ~Datenbank();
    Datenbank(const Datenbank&) = delete;
    Datenbank& operator=(const Datenbank&) = delete;

    /// The database file's path, as it was opened.
    const QString& Name() const { return m_name; }
    /// The recordsets opened on this database and not yet closed.
    int offeneRecordsets() const { return static_cast<int>(m_recordsets.size()); }
    bool offen() const { return m_offen; }
    void Close();

    /// The connection, for statements that need no recordset.
    QSqlDatabase verbindung() const;

private:
    Datenbank() = default;
    QString m_name;
    QString m_verbindung;
    bool m_offen = false;
    std::vector<Recordset*> m_recordsets;
    friend class Recordset;
    friend std::shared_ptr<Datenbank> datenbankVersuchen(const QString&, int&, QString&);
    friend std::shared_ptr<Recordset> recordsetVersuchen(const std::shared_ptr<Datenbank>&,
                                                         const QString&, qint16, qint16, int&,
                                                         QString&);
};

/// The rows a query gave, read completely when the recordset is opened, so
/// that no lock is held while the caller walks through them. An updatable
/// recordset (table or dynaset) additionally takes new rows: `AddNew`, the
/// columns with `setzen`, then `RecordsetAktualisieren`.
class Recordset
{
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool EOF_() const { return m_zeile >= qsizetype(m_zeilen.size()); }
    void MoveNext();
    qsizetype RecordCount() const { return qsizetype(m_zeilen.size()); }

    /// The column names in the order of the query.
    const QStringList& spalten() const { return m_spalten; }
    /// Position of a column, found ignoring case; -1 if there is none.
    int spaltenIndex(const QString& name) const;
    /// The current row's value; a null QVariant for a database null. Throws
    /// Fehler 3021 at the end and Fehler 3265 for an unknown column.
    QVariant feld(const QString& name) const;
    QVariant feld(int index) const;

    bool aktualisierbar() const { return m_tabelle.size() > 0; }
    /// Starts a new row. Throws Fehler 3027 on a read-only recordset.
    void AddNew();
    /// Sets a column of the new row; throws Fehler 3020 without AddNew.
    void setzen(const QString& name, const QVariant& wert);
    /// The key the database gave the row saved last; 0 before the first.
    qint64 letzterSchluessel() const { return m_letzterSchluessel; }

    void Close();

private:
    Recordset() = default;
    QString speichern(int& nummer); // empty on success, else the message

    std::shared_ptr<Datenbank> m_db;
    QString m_tabelle; // empty: read-only
    QStringList m_spalten;
    std::vector<std::vector<QVariant>> m_zeilen;
    qsizetype m_zeile = 0;
    bool m_neu = false;
    QStringList m_neueSpalten;
    QVariantList m_neueWerte;
    qint64 m_letzterSchluessel = 0;
    friend std::shared_ptr<Recordset> recordsetVersuchen(const std::shared_ptr<Datenbank>&,
                                                         const QString&, qint16, qint16, int&,
                                                         QString&);
    friend void RecordsetAktualisieren(Recordset&);
};

/// The answers and the busy pointer of the database layer's message boxes.
/// Every box has the exclamation icon. Programs with windows install
/// `Datenbankmeldungsfenster`; without one, every question is answered with
/// Cancel or No, so the error reaches the caller.
class Datenbankmeldungen
{
public:
    enum class Antwort
    {
        Wiederholen,
        Abbrechen,
        Ja,
        Nein,
    };
    enum class Knoepfe
    {
        WiederholenAbbrechen,
        JaNein,
    };
    virtual ~Datenbankmeldungen() = default;
    /// Shows one box and waits for the answer; `vordergrund` brings it in
    /// front of other programs' windows.
    virtual Antwort frage(const QString& titel, const QString& text, Knoepfe knoepfe,
                          bool vordergrund) = 0;
    /// Shows or takes back the busy mouse pointer.
    virtual void beschaeftigt(bool an) = 0;
};

/// Clock and pause of the retries. The real one pauses in the event loop.
class Datenbankuhr
{
public:
    virtual ~Datenbankuhr() = default;
    virtual QDateTime jetzt() = 0;
    virtual void pause(int millisekunden) = 0;
};

/// Installs the message boxes and the clock; nullptr returns to the
/// defaults. The objects stay owned by the caller.
void DatenbankmeldungenSetzen(Datenbankmeldungen* meldungen);
void DatenbankuhrSetzen(Datenbankuhr* uhr);

/// The engine, created on first need. Throws Fehler(1, "SafeCreateDBObject",
/// "Es fehlen Systemkomponenten. ...") when no SQLite driver can be loaded.
Datenbankengine& SafeCreateDBObject();

/// Opens a database file, asking Retry or Cancel while it fails; Cancel
/// raises the error. A missing file or one that is no database fails.
std::shared_ptr<Datenbank> DatenbankOeffnen(const QString& pfad);

/// Runs a query, retrying lock errors automatically (limit from settings
/// element 127, 0 meaning 10) with a pause of 3000 to 3999 ms, then asking
/// the user. While the database has no open recordsets it is closed during
/// pauses and questions and opened again, and `db` then refers to the new
/// one. Type and options: snapshot (4), forward-only (8) and the options
/// read-only (4) and forward-only (256) give read-only recordsets; table (1),
/// dynaset (2) and no type give updatable ones, whose SQL must name its table
/// as "select ... from TABLE ..." or be the table name alone.
std::shared_ptr<Recordset> RecordsetOeffnen(std::shared_ptr<Datenbank>& db, const QString& sql,
                                            qint16 typ = 0, qint16 optionen = 0);

/// Saves the pending new row, retrying any error automatically like a lock
/// error and then asking Retry or Cancel.
void RecordsetAktualisieren(Recordset& rs);

/// Checks the file, compacts it into PFAD.cmp and puts the copy in its
/// place. Errors show Retry or Cancel; Cancel raises the error.
void DatenbankReparieren(const QString& pfad);

/// Appends to tvdbaccess.log in the program's folder; a log above 1 MiB is
/// started anew. CR LF pairs become one space. Errors are ignored.
void ZugriffProtokollieren(const QString& text, bool zeilenumbruch);

/// Closes a database or recordset (errors ignored) and empties the reference.
template<typename T>
void ObjektSchliessen(std::shared_ptr<T>& objekt)
{
    if (objekt)
        objekt->Close();
    objekt.reset();
}

/// True for the DAO lock numbers 3186, 3187, 3188, 3260, 3261, 3167, 3050.
bool IstSperrfehler(int nummer);

/// The title of this layer's message boxes for the running program.
QString GetProgrammTitel();
/// The title for an executable name (case ignored, ".exe" optional); any
/// other name in upper case.
QString ProgrammTitelFuer(const QString& programmname);

/// The path of the suite's broadcast database, used by `cSendung`. By
/// default tvdaten.db in the program's folder.
QString SuiteDatenbankpfad();
void SuiteDatenbankpfadSetzen(const QString& pfad);

/// Runs statements (such as CREATE TABLE) on a database file in one
/// transaction, creating the file if it is missing. Throws a `Fehler` with
/// source `quelle` and SQLite's number and message when one fails; nothing
/// of the transaction is kept then.
void AnweisungenAusfuehren(const QString& pfad, const QStringList& anweisungen,
                           const QString& quelle);
