#pragma once

#include <functional>
#include <memory>

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "suite_db/Datenbankzugriff.h"
#include "system/Einstellungsarray.h"
#include "system/Programmordner.h"

/// Answers the layer's questions from a script and keeps what was asked.
class AntwortendeMeldungen : public Datenbankmeldungen
{
public:
    struct Frage
    {
        QString titel;
        QString text;
        Knoepfe knoepfe;
        bool vordergrund;
    };
    QList<Frage> fragen;
    QList<Antwort> antworten; // taken from the front; then Cancel or No
    QList<bool> zeiger;       // busy pointer switched on (true) and off
    std::function<void()> beimFragen;

    Antwort frage(const QString& titel, const QString& text, Knoepfe knoepfe,
                  bool vordergrund) override
    {
        fragen.append({titel, text, knoepfe, vordergrund});
        if (beimFragen)
            beimFragen();
        if (!antworten.isEmpty())
            return antworten.takeFirst();
        return knoepfe == Knoepfe::JaNein ? Antwort::Nein : Antwort::Abbrechen;
    }
    void beschaeftigt(bool an) override { zeiger.append(an); }
};

/// A clock that stands still unless told to move; pauses take no real time
/// and are counted.
class Testuhr : public Datenbankuhr
{
public:
    QDateTime zeit = QDateTime(QDate(2026, 12, 6), QTime(20, 0));
    int sekundenJeAbfrage = 0; // added on every reading of the clock
    QList<int> pausen;
    std::function<void(int)> beiPause; // gets the number of the pause, from 1

    QDateTime jetzt() override
    {
        const QDateTime t = zeit;
        zeit = zeit.addSecs(sekundenJeAbfrage);
        return t;
    }
    void pause(int millisekunden) override
    {
        pausen.append(millisekunden);
        zeit = zeit.addMSecs(millisekunden);
        if (beiPause)
            beiPause(int(pausen.size()));
    }
};

/// Installs the fakes for one test function and a fresh program folder with
/// an empty broadcast database; everything is undone at the end.
struct Datenbanktest
{
    QTemporaryDir ordner;
    AntwortendeMeldungen meldungen;
    Testuhr uhr;
    QString db;

    /// `schablone`: where the folder is made (QTemporaryDir's pattern).
    explicit Datenbanktest(const QString& schablone = QString())
        : ordner(schablone.isEmpty() ? QDir::tempPath() + QStringLiteral("/datenbanktest-XXXXXX")
                                     : schablone)
    {
        AppPfadSetzen(ordner.path());
        DatenbankmeldungenSetzen(&meldungen);
        DatenbankuhrSetzen(&uhr);
        db = ordner.filePath(QStringLiteral("tv.db"));
        SuiteDatenbankpfadSetzen(db);
    }
    ~Datenbanktest()
    {
        DatenbankmeldungenSetzen(nullptr);
        DatenbankuhrSetzen(nullptr);
        SuiteDatenbankpfadSetzen(QString());
        AppPfadSetzen(QString());
    }
    QString log() const { return ordner.filePath(QStringLiteral("tvdbaccess.log")); }

    /// Writes sendwacht.cfg with element 127 (the retry limit).
    void wiederholungenSetzen(qint32 grenze)
    {
        Einstellungsarray a(0, 200);
        a.setzen(127, Einstellungswert::ausZahl(grenze));
        EinstellungsdateiSchreiben(Einstellungsdateipfad(), a);
    }
};

/// One value from a database file through a connection of the test's own.
inline QVariant abfrageWert(const QString& pfad, const QString& sql)
{
    QVariant wert;
    {
        QSqlDatabase d =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("testblick"));
        d.setDatabaseName(pfad);
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (d.open()) {
            QSqlQuery q(d);
            if (q.exec(sql) && q.next())
                wert = q.value(0);
        }
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("testblick"));
    return wert;
}

/// The second program holding the write lock; released by `freigeben` or,
/// at the latest, ended when the object goes.
class Sperrhalter
{
public:
    /// Starts the program and waits until it holds the lock with `zeilen`
    /// new rows inside its transaction.
    bool sperren(const QString& db, int zeilen)
    {
        m_prozess.start(QStringLiteral(SENDARO_SPERRHALTER),
                        {QStringLiteral("sperren"), db, QString::number(zeilen)});
        return zeileAbwarten("gesperrt");
    }
    /// Lets it commit and waits until it has.
    bool freigeben()
    {
        m_prozess.write("los\n");
        return zeileAbwarten("frei") && m_prozess.waitForFinished(10000) &&
               m_prozess.exitCode() == 0;
    }
    ~Sperrhalter()
    {
        if (m_prozess.state() != QProcess::NotRunning) {
            m_prozess.kill();
            m_prozess.waitForFinished(5000);
        }
    }

private:
    bool zeileAbwarten(const QByteArray& erwartet)
    {
        while (!m_prozess.canReadLine())
            if (!m_prozess.waitForReadyRead(10000))
                return false;
        return m_prozess.readLine().trimmed() == erwartet;
    }
    QProcess m_prozess;
};
