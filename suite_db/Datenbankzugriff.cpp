#include "suite_db/Datenbankzugriff.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>

#include "system/AnsiText.h"
#include "system/Einstellungsarray.h"
#include "system/Fehler.h"
#include "system/Grundbefehle.h"
#include "system/Programmordner.h"

using namespace Qt::StringLiterals;

namespace {

const QString kZeile = u"\r\n"_s;

class Echtzeituhr : public Datenbankuhr
{
public:
    QDateTime jetzt() override { return QDateTime::currentDateTime(); }
    void pause(int millisekunden) override
    {
        if (!QCoreApplication::instance()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(millisekunden));
            return;
        }
        QEventLoop schleife;
        QTimer::singleShot(millisekunden, &schleife, &QEventLoop::quit);
        schleife.exec();
    }
};

// Without windows nobody can answer: the error goes to the caller.
class OhneRueckfrage : public Datenbankmeldungen
{
public:
    Antwort frage(const QString&, const QString&, Knoepfe knoepfe, bool) override
    {
        return knoepfe == Knoepfe::JaNein ? Antwort::Nein : Antwort::Abbrechen;
    }
    void beschaeftigt(bool) override {}
};

Datenbankmeldungen* g_meldungen = nullptr;
Datenbankuhr* g_uhr = nullptr;

Datenbankmeldungen& meldungen()
{
    static OhneRueckfrage standard;
    return g_meldungen ? *g_meldungen : standard;
}

Datenbankuhr& uhr()
{
    static Echtzeituhr standard;
    return g_uhr ? *g_uhr : standard;
}

QString& datenbankpfad()
{
    static QString pfad;
    return pfad;
}

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

QString fehlerZeilen(int nummer, const QString& text)
{
    return kZeile + u"Der genaue Fehler lautet:"_s + kZeile + kZeile + u'(' +
           QString::number(nummer) + u") "_s + text;
}

// Read on the first automatic retry of each call, so a changed setting takes
// effect with the next call. An unreadable settings file counts as 0.
int wiederholungsgrenze()
{
    qint32 grenze = 0;
    try {
        grenze = EinstellungsdateiLesen(Einstellungsdateipfad()).element(127).alsZahl();
    } catch (const Fehler&) {
        grenze = 0;
    }
    return grenze == 0 ? 10 : grenze;
}

void zufallspause()
{
    uhr().pause(3000 + static_cast<int>(QRandomGenerator::global()->bounded(1000)));
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

// One step of the repair, repeated while the user answers Retry.
void reparaturschritt(const std::function<bool(int&, QString&)>& schritt)
{
    for (;;) {
        int nummer = 0;
        QString text;
        try {
            if (schritt(nummer, text))
                return;
        } catch (const Fehler& f) {
            nummer = f.nummer();
            text = f.meldung();
        }
        const auto antwort =
            meldungen().frage(GetProgrammTitel(),
                              u"Die TV-Datenbank kann nicht reorganisiert werden. Möglicherweise "
                              u"verhindert eine andere Funktion "
                              "gerade die Datenfreigabe, aufgrund eines längeres Zugriffs. Bitte "
                              "warten Sie einen Augenblick und "
                              "wiederholen Sie dann den Vorgang."_s +
                                  fehlerZeilen(nummer, text),
                              Datenbankmeldungen::Knoepfe::WiederholenAbbrechen, false);
        if (antwort != Datenbankmeldungen::Antwort::Wiederholen)
            throw Fehler(nummer, programmname(), text);
    }
}

} // namespace

std::shared_ptr<Datenbank> datenbankVersuchen(const QString& pfad, int& nummer, QString& text);
std::shared_ptr<Recordset> recordsetVersuchen(const std::shared_ptr<Datenbank>& db,
                                              const QString& sql, qint16 typ, qint16 optionen,
                                              int& nummer, QString& text);

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

// --- the module's operations ---------------------------------------------

void DatenbankmeldungenSetzen(Datenbankmeldungen* m)
{
    g_meldungen = m;
}

void DatenbankuhrSetzen(Datenbankuhr* u)
{
    g_uhr = u;
}

Datenbankengine& SafeCreateDBObject()
{
    static std::unique_ptr<Datenbankengine> engine;
    if (!engine) {
        if (!QSqlDatabase::isDriverAvailable(u"QSQLITE"_s))
            throw Fehler(1, u"SafeCreateDBObject"_s,
                         u"Es fehlen Systemkomponenten. Die DAO-Datenbankengine konnte in keiner "
                         u"kompatiblen "
                         "Version geöffnet werden. Bitte installieren Sie diese Anwendung neu."_s);
        engine.reset(new Datenbankengine(u"QSQLITE"_s));
    }
    return *engine;
}

std::shared_ptr<Datenbank> DatenbankOeffnen(const QString& pfad)
{
    for (;;) {
        SafeCreateDBObject();
        int nummer = 0;
        QString text;
        if (auto db = datenbankVersuchen(pfad, nummer, text))
            return db;
        const auto antwort = meldungen().frage(
            GetProgrammTitel(),
            u"Die Datenbankdatei kann nicht geöffnet werden."_s + fehlerZeilen(nummer, text),
            Datenbankmeldungen::Knoepfe::WiederholenAbbrechen, false);
        if (antwort != Datenbankmeldungen::Antwort::Wiederholen)
            throw Fehler(nummer, programmname(), text);
    }
}

std::shared_ptr<Recordset> RecordsetOeffnen(std::shared_ptr<Datenbank>& db, const QString& sql,
                                            qint16 typ, qint16 optionen)
{
    int zaehler = 0;
    int grenze = 10;
    for (;;) {
        const QString name = db ? db->Name() : QString();
        const QDateTime start = uhr().jetzt();
        int nummer = 0;
        QString text;
        // Options without a type never occur; they are taken with the type.
        auto rs =
            recordsetVersuchen(db, sql, typ > 0 ? typ : 0, typ > 0 ? optionen : 0, nummer, text);
        const qint64 sekunden = uhr().jetzt().toSecsSinceEpoch() - start.toSecsSinceEpoch();
        if (sekunden >= 2 || !rs)
            ZugriffProtokollieren(start.toString(u"dd.MM.yyyy HH:mm:ss"_s) + u": "_s +
                                      (rs ? u"Ok"_s : u"Fehler"_s + QString::number(nummer)) +
                                      u": "_s + QString::number(sekunden) + u"s: "_s +
                                      sql.trimmed(),
                                  true);
        if (rs)
            return rs;

        // Nothing of ours holds the file while we wait or ask.
        bool geschlossen = false;
        if (db && db->offeneRecordsets() == 0) {
            db->Close();
            geschlossen = true;
        }
        if (IstSperrfehler(nummer)) {
            if (zaehler == 0)
                grenze = wiederholungsgrenze();
            ++zaehler;
            if (zaehler <= grenze) {
                zufallspause();
                if (geschlossen)
                    db = DatenbankOeffnen(name);
                continue;
            }
        }

        Datenbankmeldungen::Antwort antwort;
        if (IstSperrfehler(nummer)) {
            antwort = meldungen().frage(
                u"Datenzugriffskollision"_s,
                u"Eine andere Funktion verhindert gerade die Datenfreigabe aufgrund eines "
                "längeres Zugriffs."_s +
                    kZeile +
                    u"Bitte warten Sie einen Augenblick und klicken Sie dann auf "
                    "[Wiederholen]."_s,
                Datenbankmeldungen::Knoepfe::WiederholenAbbrechen, true);
        } else {
            antwort =
                meldungen().frage(GetProgrammTitel(),
                                  u"Es kann nicht auf die TV-Datenbank zugegriffen werden."_s +
                                      fehlerZeilen(nummer, text),
                                  Datenbankmeldungen::Knoepfe::WiederholenAbbrechen, false);
            if (antwort == Datenbankmeldungen::Antwort::Abbrechen &&
                meldungen().frage(GetProgrammTitel(),
                                  u"Die Datenbank scheint defekt zu sein."_s + kZeile +
                                      u"Möchten Sie versuchen sie zu reparieren?"_s,
                                  Datenbankmeldungen::Knoepfe::JaNein,
                                  false) == Datenbankmeldungen::Antwort::Ja) {
                meldungen().beschaeftigt(true);
                try {
                    DatenbankReparieren(name);
                } catch (...) {
                    meldungen().beschaeftigt(false);
                    throw;
                }
                meldungen().beschaeftigt(false);
                antwort = Datenbankmeldungen::Antwort::Wiederholen;
            }
        }
        if (geschlossen)
            db = DatenbankOeffnen(name);
        if (antwort != Datenbankmeldungen::Antwort::Wiederholen)
            throw Fehler(nummer, programmname(), text);
    }
}

void RecordsetAktualisieren(Recordset& rs)
{
    int zaehler = 0;
    int grenze = 10;
    for (;;) {
        int nummer = 0;
        const QString text = rs.speichern(nummer);
        if (nummer == 0)
            return;
        if (zaehler == 0)
            grenze = wiederholungsgrenze();
        ++zaehler;
        if (zaehler <= grenze) {
            zufallspause();
            continue;
        }
        const auto antwort =
            meldungen().frage(GetProgrammTitel(),
                              u"Ein Update kann nicht durchgeführt werden. Möglicherweise "
                              "verhindert eine andere Funktion gerade die Datenfreigabe."_s +
                                  fehlerZeilen(nummer, text),
                              Datenbankmeldungen::Knoepfe::WiederholenAbbrechen, false);
        if (antwort != Datenbankmeldungen::Antwort::Wiederholen)
            throw Fehler(nummer, programmname(), text);
    }
}

void DatenbankReparieren(const QString& pfad)
{
    if (!QFileInfo(pfad).isFile())
        return;
    const QString kopie = pfad + u".cmp"_s;

    reparaturschritt([&](int& nummer, QString& text) {
        if (QFileInfo::exists(kopie) && !QFile::remove(kopie)) {
            nummer = 75;
            text = u"Die Datei '"_s + kopie + u"' kann nicht gelöscht werden."_s;
            return false;
        }
        SafeCreateDBObject();
        return true;
    });

    // Repair in place: an index that no longer matches its table is rebuilt.
    // Whatever fails here is left to the compaction below to report.
    {
        int nummer = 0;
        QString text;
        const QString name = verbindungOeffnen(pfad, nummer, text);
        if (!name.isEmpty()) {
            {
                QSqlQuery q(QSqlDatabase::database(name, false));
                if (q.exec(u"PRAGMA integrity_check"_s) && q.next() &&
                    q.value(0).toString() != u"ok"_s) {
                    q.finish();
                    q.exec(u"REINDEX"_s);
                }
            }
            verbindungSchliessen(name);
        }
    }

    reparaturschritt([&](int& nummer, QString& text) {
        const QString name = verbindungOeffnen(pfad, nummer, text);
        if (name.isEmpty())
            return false;
        bool gut;
        {
            QSqlQuery q(QSqlDatabase::database(name, false));
            gut = q.prepare(u"VACUUM INTO ?"_s);
            if (gut) {
                q.addBindValue(kopie);
                gut = q.exec();
            }
            if (!gut)
                fehlerUebernehmen(q.lastError(), kSperreDatei, nummer, text);
        }
        verbindungSchliessen(name);
        if (!gut)
            QFile::remove(kopie); // a half-written copy must not replace the file
        return gut;
    });

    reparaturschritt([&](int& nummer, QString& text) {
        if (!QFileInfo::exists(kopie))
            return true;
        QFile::remove(pfad);
        if (QFileInfo::exists(pfad) || QFile::rename(kopie, pfad))
            return true;
        nummer = 75;
        text = u"Die Datei '"_s + kopie + u"' kann nicht in '"_s + pfad + u"' umbenannt werden."_s;
        return false;
    });
}

void ZugriffProtokollieren(const QString& text, bool zeilenumbruch)
{
    const QString pfad = PfadMitBackslash(AppPfad()) + u"tvdbaccess.log"_s;
    const QFileInfo info(pfad);
    if (info.exists() && info.size() > 1048576)
        QFile::remove(pfad);
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    // Only blanks are trimmed, as the suite's other programs do.
    QString zeile = text;
    zeile.replace(kZeile, u" "_s);
    qsizetype anfang = 0, ende = zeile.size();
    while (anfang < ende && zeile[anfang] == u' ')
        ++anfang;
    while (ende > anfang && zeile[ende - 1] == u' ')
        --ende;
    QByteArray bytes = zuAnsi(QStringView(zeile).mid(anfang, ende - anfang));
    if (zeilenumbruch)
        bytes += "\r\n";
    f.write(bytes);
}

bool IstSperrfehler(int nummer)
{
    return u",3186,3187,3188,3260,3261,3167,3050,"_s.contains(u',' + QString::number(nummer) +
                                                              u',');
}

QString ProgrammTitelFuer(const QString& programmname)
{
    struct Zeile
    {
        const char16_t* name;
        const char16_t* titel;
    };
    static constexpr Zeile tabelle[] = {
        {u"tvverknuepfen", u"TV-Anwendung verknüpfen"},
        {u"einrichter", u"Sendaro Einrichtung"},
        {u"aufzeichnen", u"Sendaro Aufzeichnung"},
        {u"sendaro", u"Sendaro TV-Zeitschrift"},
        {u"sendwacht", u"Sendaro Wächter"},
    };
    QString klein = programmname.toLower();
    if (klein.endsWith(u".exe"_s))
        klein.chop(4);
    for (const Zeile& z : tabelle)
        if (klein == QStringView(z.name))
            return QString::fromUtf16(z.titel);
    return programmname.toUpper();
}

QString GetProgrammTitel()
{
    return ProgrammTitelFuer(programmname());
}

QString SuiteDatenbankpfad()
{
    const QString& gesetzt = datenbankpfad();
    return gesetzt.isEmpty() ? PfadMitBackslash(AppPfad()) + u"tvdaten.db"_s : gesetzt;
}

void SuiteDatenbankpfadSetzen(const QString& pfad)
{
    datenbankpfad() = pfad;
}

void AnweisungenAusfuehren(const QString& pfad, const QStringList& anweisungen,
                           const QString& quelle)
{
    const QString treiber = SafeCreateDBObject().treiber();
    const QString name = neueVerbindungsname();
    int nummer = 0;
    QString text;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(treiber, name);
        db.setDatabaseName(pfad);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=1000"_s);
        if (!db.open()) {
            fehlerUebernehmen(db.lastError(), kSperreDatei, nummer, text);
        } else {
            QSqlQuery q(db);
            bool gut = q.exec(u"BEGIN IMMEDIATE"_s);
            for (qsizetype i = 0; gut && i < anweisungen.size(); ++i)
                gut = q.exec(anweisungen[i]);
            if (gut)
                gut = q.exec(u"COMMIT"_s);
            if (!gut) {
                fehlerUebernehmen(q.lastError(), kSperreLesen, nummer, text);
                q.exec(u"ROLLBACK"_s);
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (nummer != 0)
        throw Fehler(nummer, quelle, text);
}
