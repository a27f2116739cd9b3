// A second program on the test database, so that locks and concurrent
// writers come from another process, as they do among the suite's programs.
//
//   sperrhalter sperren DB N         takes the write lock, adds N rows inside
//                                     it, prints "gesperrt", commits when a
//                                     line arrives on stdin, prints "frei"
//   sperrhalter einfuegen DB N NAME  saves N broadcasts through cSendung
//   sperrhalter anlegen DB           creates the broadcast tables
//   sperrhalter ohnetreiber          opens a database with no SQL drivers
#include <cstdio>
#include <iostream>
#include <string>

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "suite_db/cSendung.h"
#include "system/Fehler.h"
#include "system/Programmordner.h"

using namespace Qt::StringLiterals;

namespace {
int sperren(const QString& pfad, int anzahl)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"halter"_s);
        db.setDatabaseName(pfad);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=10000"_s);
        QSqlQuery q(db);
        if (!db.open() || !q.exec(u"BEGIN EXCLUSIVE"_s)) {
            std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            return 1;
        }
        for (int i = 1; i <= anzahl; ++i)
            if (!q.exec(
                    u"INSERT INTO Sendungen (SenderKennung, Titel) VALUES ('HALTER', 'Halter %1')"_s
                        .arg(i)))
                return 1;
        std::printf("gesperrt\n");
        std::fflush(stdout);
        std::string zeile;
        std::getline(std::cin, zeile); // blocks until the test releases the lock
        if (!q.exec(u"COMMIT"_s))
            return 1;
        std::printf("frei\n");
        std::fflush(stdout);
        db.close();
    }
    QSqlDatabase::removeDatabase(u"halter"_s);
    return 0;
}

int einfuegen(const QString& pfad, int anzahl, const QString& kennung)
{
    try {
        auto db = DatenbankOeffnen(pfad);
        auto rsSendungen =
            RecordsetOeffnen(db, u"select * from Sendungen where Pos=0"_s, dbOpenDynaset);
        auto rsDetails =
            RecordsetOeffnen(db, u"select * from SendungenDetails where Pos=0"_s, dbOpenDynaset);
        for (int i = 1; i <= anzahl; ++i) {
            cSendung s;
            s.SenderKennung = kennung;
            s.Titel = kennung + u' ' + QString::number(i);
            s.Beginn = QDateTime(QDate(2026, 12, 6), QTime(20, 15)).addSecs(60 * i);
            s.setBeschreibung(u"Beschreibung "_s + s.Titel);
            s.SpeichernInDatensatzAlles(*db, *rsSendungen, *rsDetails);
        }
        ObjektSchliessen(rsSendungen);
        ObjektSchliessen(rsDetails);
        ObjektSchliessen(db);
    } catch (const Fehler& f) {
        std::fprintf(stderr, "(%d) %s: %s\n", f.nummer(), qPrintable(f.quelle()),
                     qPrintable(f.meldung()));
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    const QString art = a.value(1);
    if (art == u"sperren"_s && a.size() == 4)
        return sperren(a[2], a[3].toInt());
    if (art == u"einfuegen"_s && a.size() == 5) {
        AppPfadSetzen(QFileInfo(a[2]).absolutePath());
        return einfuegen(a[2], a[3].toInt(), a[4]);
    }
    if (art == u"anlegen"_s && a.size() == 3) {
        SendungstabellenAnlegen(a[2]);
        return 0;
    }
    if (art == u"ohnetreiber"_s) {
        QCoreApplication::setLibraryPaths({});
        try {
            DatenbankOeffnen(u"/gibt/es/nicht.db"_s);
        } catch (const Fehler& f) {
            std::printf("(%d) %s: %s\n", f.nummer(), qPrintable(f.quelle()),
                        f.meldung().toUtf8().constData());
            return 0;
        }
        return 1;
    }
    std::fprintf(
        stderr,
        "Aufruf: sperrhalter sperren DB N | einfuegen DB N NAME | anlegen DB | ohnetreiber\n");
    return 2;
}
