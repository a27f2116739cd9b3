// The SQLite side of the database layer: connections, error numbers, and
// the Datenbank and Recordset objects.
#include "suite_db/Sqlitezugang.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "system/Fehler.h"

using namespace Qt::StringLiterals;

namespace sqlitezugang {

// The executable name, the source of every error this layer passes on.
QString programmname()
{
    if (!QCoreApplication::instance())
        return QString();
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

// Turns a Qt SQL error into number and message; SQLite's busy and locked
// results become the lock number that fits the operation.
void fehlerUebernehmen(const QSqlError& fehler, int sperrnummer, int& nummer, QString& text)
{
    const int code = fehler.nativeErrorCode().toInt() & 0xFF;
    if (code == 5) { // SQLITE_BUSY
        nummer = sperrnummer;
        switch (sperrnummer) {
        case kSperreSpeichern:
            text =
                u"Speichern nicht möglich. Die Daten sind zurzeit von einem anderen Programm gesperrt."_s;
            break;
        case kSperreDatei:
            text = u"Die Datenbankdatei kann zurzeit nicht gesperrt werden."_s;
            break;
        default:
            text = u"Die Daten sind zurzeit von einem anderen Programm gesperrt."_s;
        }
        return;
    }
    if (code == 6) { // SQLITE_LOCKED
        nummer = kSperreTabelle;
        text = u"Die Tabelle ist zurzeit gesperrt."_s;
        return;
    }
    nummer = code != 0 ? code : 1;
    text = fehler.databaseText().isEmpty() ? fehler.text() : fehler.databaseText();
}

QString neueVerbindungsname()
{
    static quint64 zaehler = 0;
    return u"suite_db_"_s + QString::number(++zaehler);
}

// Opens a connection of its own to an existing SQLite file. SQLite would
// create a missing file and accept any file until the first query; the
// header is checked instead of querying, since a query would wait for
// another program's write lock.
QString verbindungOeffnen(const QString& pfad, int& nummer, QString& text)
{
    QFile datei(pfad);
    if (!QFileInfo(pfad).isFile() || !datei.open(QIODevice::ReadOnly)) {
        nummer = 3024;
        text = u"Die Datei '"_s + pfad + u"' wurde nicht gefunden."_s;
        return QString();
    }
    const QByteArray kopf = datei.read(16);
    datei.close();
    if (!kopf.isEmpty() && kopf != QByteArrayView("SQLite format 3\0", 16)) {
        nummer = 26;
        text = u"file is not a database"_s;
        return QString();
    }
    const QString name = neueVerbindungsname();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(SafeCreateDBObject().treiber(), name);
        db.setDatabaseName(pfad);
        // Short collisions are waited out by SQLite; only a longer hold by
        // another program reaches the automatic retries as a lock error.
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=1000"_s);
        if (db.open())
            return name;
        fehlerUebernehmen(db.lastError(), kSperreDatei, nummer, text);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return QString();
}

void verbindungSchliessen(const QString& name)
{
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace sqlitezugang

using namespace sqlitezugang;

namespace {

// The table an updatable recordset writes to: "select ... from TABLE ..."
// or the table name alone.
QString tabelleAus(const QString& sql, QString& abfrage)
{
    static const QRegularExpression nurName(u"^\\s*\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?\\s*;?\\s*$"_s);
    static const QRegularExpression auswahl(
        u"^\\s*select\\s.*?\\sfrom\\s+\\[?([A-Za-z_][A-Za-z0-9_]*)\\]?"_s,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    abfrage = sql;
    if (const auto m = nurName.match(sql); m.hasMatch()) {
        abfrage = u"SELECT * FROM \""_s + m.captured(1) + u'"';
        return m.captured(1);
    }
    if (const auto m = auswahl.match(sql); m.hasMatch())
        return m.captured(1);
    return QString();
}

} // namespace

// --- Datenbank ------------------------------------------------------------

Datenbank::~Datenbank()
{
    Close();
}

void Datenbank::Close()
{
    while (!m_recordsets.empty())
        m_recordsets.back()->Close();
    if (m_offen)
        verbindungSchliessen(m_verbindung);
    m_offen = false;
}

QSqlDatabase Datenbank::verbindung() const
{
    return QSqlDatabase::database(m_verbindung, false);
}

std::shared_ptr<Datenbank> datenbankVersuchen(const QString& pfad, int& nummer, QString& text)
{
    const QString name = verbindungOeffnen(pfad, nummer, text);
    if (name.isEmpty())
        return nullptr;
    std::shared_ptr<Datenbank> db(new Datenbank);
    db->m_name = pfad;
    db->m_verbindung = name;
    db->m_offen = true;
    return db;
}

// --- Recordset ------------------------------------------------------------

Recordset::~Recordset()
{
    Close();
}

void Recordset::Close()
{
    if (!m_db)
        return;
    auto& liste = m_db->m_recordsets;
    liste.erase(std::remove(liste.begin(), liste.end(), this), liste.end());
    m_db.reset();
    m_zeilen.clear();
    m_zeile = 0;
}

void Recordset::MoveNext()
{
    if (EOF_())
        throw Fehler(3021, programmname(), u"Kein aktueller Datensatz."_s);
    ++m_zeile;
}

int Recordset::spaltenIndex(const QString& name) const
{
    for (int i = 0; i < m_spalten.size(); ++i)
        if (m_spalten[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Recordset::feld(const QString& name) const
{
    const int index = spaltenIndex(name);
    if (index < 0)
        throw Fehler(3265, programmname(),
                     u"Das Feld '"_s + name + u"' ist in dieser Auflistung nicht vorhanden."_s);
    return feld(index);
}

QVariant Recordset::feld(int index) const
{
    if (EOF_())
        throw Fehler(3021, programmname(), u"Kein aktueller Datensatz."_s);
    return m_zeilen[std::size_t(m_zeile)].at(std::size_t(index));
}

void Recordset::AddNew()
{
    if (!aktualisierbar() || !m_db)
        throw Fehler(
            3027, programmname(),
            u"Die Datenbank oder das Objekt ist schreibgeschützt und kann nicht aktualisiert werden."_s);
    m_neu = true;
    m_neueSpalten.clear();
    m_neueWerte.clear();
}

void Recordset::setzen(const QString& name, const QVariant& wert)
{
    if (!m_neu)
        throw Fehler(3020, programmname(), u"Aktualisieren ohne AddNew."_s);
    if (spaltenIndex(name) < 0)
        throw Fehler(3265, programmname(),
                     u"Das Feld '"_s + name + u"' ist in dieser Auflistung nicht vorhanden."_s);
    for (qsizetype i = 0; i < m_neueSpalten.size(); ++i) {
        if (m_neueSpalten[i].compare(name, Qt::CaseInsensitive) == 0) {
            m_neueWerte[i] = wert;
            return;
        }
    }
    m_neueSpalten << name;
    m_neueWerte << wert;
}

QString Recordset::speichern(int& nummer)
{
    nummer = 0;
    if (!m_neu || !m_db || !m_db->offen()) {
        nummer = 3020;
        return u"Aktualisieren ohne AddNew."_s;
    }
    QString sql = u"INSERT INTO \""_s + m_tabelle + u'"';
    if (m_neueSpalten.isEmpty()) {
        sql += u" DEFAULT VALUES"_s;
    } else {
        QStringList namen, stellen;
        for (const QString& s : std::as_const(m_neueSpalten)) {
            namen << u'"' + s + u'"';
            stellen << u"?"_s;
        }
        sql += u" ("_s + namen.join(u',') + u") VALUES ("_s + stellen.join(u',') + u')';
    }
    QSqlQuery q(m_db->verbindung());
    QString text;
    if (!q.prepare(sql)) {
        fehlerUebernehmen(q.lastError(), kSperreSpeichern, nummer, text);
        return text;
    }
    for (const QVariant& w : std::as_const(m_neueWerte))
        q.addBindValue(w);
    if (!q.exec()) {
        fehlerUebernehmen(q.lastError(), kSperreSpeichern, nummer, text);
        return text;
    }
    m_letzterSchluessel = q.lastInsertId().toLongLong();
    m_neu = false;
    return QString();
}

std::shared_ptr<Recordset> recordsetVersuchen(const std::shared_ptr<Datenbank>& db,
                                              const QString& sql, qint16 typ, qint16 optionen,
                                              int& nummer, QString& text)
{
    if (!db || !db->offen()) {
        nummer = 3420;
        text = u"Das Objekt ist ungültig oder nicht mehr festgelegt."_s;
        return nullptr;
    }
    const bool nurLesen = typ == dbOpenSnapshot || typ == dbOpenForwardOnly ||
                          (optionen > 0 && (optionen & (dbReadOnly | dbForwardOnly)) != 0);
    QString abfrage = sql;
    const QString tabelle = nurLesen ? QString() : tabelleAus(sql, abfrage);

    QSqlQuery q(db->verbindung());
    q.setForwardOnly(true);
    if (!q.exec(abfrage)) {
        fehlerUebernehmen(q.lastError(), kSperreLesen, nummer, text);
        return nullptr;
    }
    std::shared_ptr<Recordset> rs(new Recordset);
    const QSqlRecord kopf = q.record();
    for (int i = 0; i < kopf.count(); ++i)
        rs->m_spalten << kopf.fieldName(i);
    while (q.next()) {
        std::vector<QVariant> zeile;
        zeile.reserve(kopf.count());
        for (int i = 0; i < kopf.count(); ++i)
            zeile.push_back(q.value(i));
        rs->m_zeilen.push_back(std::move(zeile));
    }
    // A lock met in the middle of the rows ends next() with an error.
    if (q.lastError().isValid()) {
        fehlerUebernehmen(q.lastError(), kSperreLesen, nummer, text);
        return nullptr;
    }
    q.finish();
    rs->m_tabelle = tabelle;
    rs->m_db = db;
    db->m_recordsets.push_back(rs.get());
    return rs;
}
