#include "suite_db/Datenbankzugriff.h"

#include <chrono>
#include <functional>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

#include "suite_db/Sqlitezugang.h"
#include "system/AnsiText.h"
#include "system/Einstellungsarray.h"
#include "system/Fehler.h"
#include "system/Grundbefehle.h"
#include "system/Programmordner.h"

using namespace Qt::StringLiterals;
using namespace sqlitezugang;

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
        const QDateTime ende = uhr().jetzt();
        const qint64 sekunden = ende.toSecsSinceEpoch() - start.toSecsSinceEpoch();
        if (sekunden >= 2 || !rs)
            ZugriffProtokollieren(ende.toString(u"dd.MM.yyyy HH:mm:ss"_s) + u": "_s +
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
