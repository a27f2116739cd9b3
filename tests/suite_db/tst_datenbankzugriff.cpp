#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include "suite_db/cSendung.h"
#include "system/AnsiText.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/Fehlerpruefung.h"
#include "tests/suite_db/Testumgebung.h"

using namespace Qt::StringLiterals;
using Antwort = Datenbankmeldungen::Antwort;
using Knoepfe = Datenbankmeldungen::Knoepfe;

namespace {
const QString kKollision =
    u"Eine andere Funktion verhindert gerade die Datenfreigabe aufgrund eines längeres "
    "Zugriffs.\r\nBitte warten Sie einen Augenblick und klicken Sie dann auf [Wiederholen]."_s;

QString exeName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QStringList logZeilen(const QString& pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList zeilen = ausAnsi(f.readAll()).split(u"\r\n"_s);
    if (!zeilen.isEmpty() && zeilen.last().isEmpty())
        zeilen.removeLast();
    return zeilen;
}

QByteArray dateiinhalt(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool schreiben(const QString& pfad, const QByteArray& inhalt)
{
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(inhalt) == inhalt.size();
}
} // namespace

class TestDatenbankzugriff : public QObject
{
    Q_OBJECT
private slots:
    void sperrfehler_data() { falltabelle("suite_db-faelle.txt", "sperrfehler"); }
    void sperrfehler()
    {
        QFETCH(QString, nummer);
        QFETCH(QString, sperre);
        QCOMPARE(IstSperrfehler(nummer.toInt()), sperre == u"ja"_s);
    }

    void programmtitel_data() { falltabelle("suite_db-faelle.txt", "programmtitel"); }
    void programmtitel()
    {
        QFETCH(QString, programm);
        QFETCH(QString, titel);
        QCOMPARE(ProgrammTitelFuer(programm), titel);
    }

    void protokoll_data() { falltabelle("suite_db-faelle.txt", "protokoll"); }
    void protokoll()
    {
        QFETCH(QString, vorher);
        QFETCH(QString, text);
        QFETCH(QString, umbruch);
        QFETCH(QString, danach);
        Datenbanktest t;
        QByteArray alt;
        if (vorher != u"-"_s) {
            alt = QByteArray(vorher.toInt(), 'o');
            QVERIFY(schreiben(t.log(), alt));
        }
        ZugriffProtokollieren(text, umbruch == u"ja"_s);
        QByteArray erwartet = zuAnsi(danach);
        const QByteArray altMarke = "<" + QByteArray::number(alt.size()) + " bytes>";
        if (erwartet.startsWith(altMarke))
            erwartet = alt + erwartet.mid(altMarke.size());
        const QByteArray ist = dateiinhalt(t.log());
        QCOMPARE(ist.size(), erwartet.size());
        QVERIFY(ist == erwartet);
    }

    // Slow queries are logged from two whole seconds on, failed ones always.
    void langsameAbfrage_data()
    {
        QTest::addColumn<int>("sekunden");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("sofort") << 0 << QString();
        QTest::newRow("1 s") << 1 << QString();
        QTest::newRow("2 s") << 2
                             << u"06.12.2026 20:00:02: Ok: 2s: select count(*) from Sendungen"_s;
        QTest::newRow("3 s") << 3
                             << u"06.12.2026 20:00:03: Ok: 3s: select count(*) from Sendungen"_s;
    }
    void langsameAbfrage()
    {
        QFETCH(int, sekunden);
        QFETCH(QString, zeile);
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        auto db = DatenbankOeffnen(t.db);
        t.uhr.sekundenJeAbfrage = sekunden;
        auto rs = RecordsetOeffnen(db, u"  select count(*) from Sendungen  "_s, dbOpenSnapshot);
        QCOMPARE(rs->feld(0).toInt(), 0);
        QCOMPARE(logZeilen(t.log()), zeile.isEmpty() ? QStringList() : QStringList{zeile});
        QVERIFY(t.meldungen.fragen.isEmpty());
    }

    // An error outside the lock list is never retried silently: the general
    // box at once, Cancel offers the repair, Yes repairs and tries again.
    void anderer_fehler_data()
    {
        QTest::addColumn<QList<Antwort>>("antworten");
        QTest::addColumn<QList<Knoepfe>>("boxen");
        QTest::addColumn<QList<bool>>("zeiger");
        QTest::newRow("abbrechen, nicht reparieren")
            << QList<Antwort>{Antwort::Abbrechen, Antwort::Nein}
            << QList<Knoepfe>{Knoepfe::WiederholenAbbrechen, Knoepfe::JaNein} << QList<bool>{};
        QTest::newRow("wiederholen, dann abbrechen")
            << QList<Antwort>{Antwort::Wiederholen, Antwort::Abbrechen, Antwort::Nein}
            << QList<Knoepfe>{Knoepfe::WiederholenAbbrechen, Knoepfe::WiederholenAbbrechen,
                              Knoepfe::JaNein}
            << QList<bool>{};
        QTest::newRow("reparieren, dann aufgeben")
            << QList<Antwort>{Antwort::Abbrechen, Antwort::Ja, Antwort::Abbrechen, Antwort::Nein}
            << QList<Knoepfe>{Knoepfe::WiederholenAbbrechen, Knoepfe::JaNein,
                              Knoepfe::WiederholenAbbrechen, Knoepfe::JaNein}
            << QList<bool>{true, false};
    }
    void anderer_fehler()
    {
        QFETCH(QList<Antwort>, antworten);
        QFETCH(QList<Knoepfe>, boxen);
        QFETCH(QList<bool>, zeiger);
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        t.meldungen.antworten = antworten;
        auto db = DatenbankOeffnen(t.db);
        QCOMPARE(
            fehlerVon([&] { RecordsetOeffnen(db, u"select * from Gibtsnicht"_s, dbOpenSnapshot); }),
            u"(1) "_s + exeName() + u": no such table: Gibtsnicht"_s);
        QVERIFY(t.uhr.pausen.isEmpty());
        QCOMPARE(t.meldungen.zeiger, zeiger);
        QCOMPARE(t.meldungen.fragen.size(), boxen.size());
        const QString titel = ProgrammTitelFuer(exeName());
        for (qsizetype i = 0; i < boxen.size(); ++i) {
            const auto& f = t.meldungen.fragen[i];
            QCOMPARE(f.knoepfe, boxen[i]);
            QCOMPARE(f.titel, titel);
            QVERIFY(!f.vordergrund);
            QCOMPARE(f.text,
                     f.knoepfe == Knoepfe::JaNein
                         ? u"Die Datenbank scheint defekt zu sein.\r\nMöchten Sie versuchen sie zu "
                           "reparieren?"_s
                         : u"Es kann nicht auf die TV-Datenbank zugegriffen werden.\r\nDer genaue "
                           u"Fehler "
                           "lautet:\r\n\r\n(1) no such table: Gibtsnicht"_s);
        }
        QCOMPARE(logZeilen(t.log()).size(), boxen.count(Knoepfe::WiederholenAbbrechen));
        QVERIFY(logZeilen(t.log()).first().endsWith(u": Fehler1: 0s: select * from Gibtsnicht"_s));
        QVERIFY(db && db->offen());
    }

    // Another program holds the write lock for good: the query is retried
    // as often as element 127 says, pausing with the database closed unless
    // a recordset of ours is open, then the collision box is offered.
    void sperre_bleibt_data()
    {
        QTest::addColumn<int>("einstellung");
        QTest::addColumn<int>("pausen");
        QTest::addColumn<bool>("offenesRecordset");
        QTest::newRow("0 heisst 10") << 0 << 10 << false;
        QTest::newRow("2") << 2 << 2 << false;
        QTest::newRow("2 mit offenem recordset") << 2 << 2 << true;
        QTest::newRow("negativ: keine") << -1 << 0 << false;
    }
    void sperre_bleibt()
    {
        QFETCH(int, einstellung);
        QFETCH(int, pausen);
        QFETCH(bool, offenesRecordset);
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        t.wiederholungenSetzen(einstellung);
        auto db = DatenbankOeffnen(t.db);
        Datenbank* const erste = db.get();
        std::shared_ptr<Recordset> offen;
        if (offenesRecordset)
            offen = RecordsetOeffnen(db, u"select * from SendungenDetails"_s, dbOpenSnapshot);
        QList<bool> offenInPause;
        t.uhr.beiPause = [&](int) { offenInPause << db->offen(); };

        Sperrhalter halter;
        QVERIFY(halter.sperren(t.db, 1));
        QCOMPARE(
            fehlerVon([&] { RecordsetOeffnen(db, u"select * from Sendungen"_s, dbOpenSnapshot); }),
            u"(3260) "_s + exeName() +
                u": Die Daten sind zurzeit von einem anderen Programm gesperrt."_s);

        QCOMPARE(t.uhr.pausen.size(), pausen);
        for (int ms : std::as_const(t.uhr.pausen))
            QVERIFY2(ms >= 3000 && ms <= 3999, qPrintable(QString::number(ms)));
        QCOMPARE(offenInPause, QList<bool>(pausen, offenesRecordset));
        QCOMPARE(t.meldungen.fragen.size(), 1);
        QCOMPARE(t.meldungen.fragen[0].titel, u"Datenzugriffskollision"_s);
        QCOMPARE(t.meldungen.fragen[0].text, kKollision);
        QCOMPARE(t.meldungen.fragen[0].knoepfe, Knoepfe::WiederholenAbbrechen);
        QVERIFY(t.meldungen.fragen[0].vordergrund);

        const QStringList zeilen = logZeilen(t.log());
        QCOMPARE(zeilen.size(), pausen + 1);
        for (const QString& z : zeilen)
            QVERIFY2(z.contains(u": Fehler3260: "_s) && z.endsWith(u"s: select * from Sendungen"_s),
                     qPrintable(z));
        // A closed database was opened again for the caller.
        QVERIFY(db && db->offen());
        QCOMPARE(db.get() == erste, offenesRecordset);
        QVERIFY(halter.freigeben());
    }

    // The lock goes while we pause: the query, or our save, goes through and
    // neither the other program's rows nor ours are lost.
    void sperre_geht_data()
    {
        QTest::addColumn<bool>("speichern");
        QTest::newRow("abfrage") << false;
        QTest::newRow("speichern") << true;
    }
    void sperre_geht()
    {
        QFETCH(bool, speichern);
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        t.wiederholungenSetzen(5);
        auto db = DatenbankOeffnen(t.db);
        auto rs = RecordsetOeffnen(db, u"select * from Sendungen where Pos=0"_s, dbOpenDynaset);
        if (!speichern)
            ObjektSchliessen(rs);

        Sperrhalter halter;
        QVERIFY(halter.sperren(t.db, 5));
        bool freigegeben = false;
        t.uhr.beiPause = [&](int nummer) {
            if (nummer == 2)
                freigegeben = halter.freigeben();
        };
        if (speichern) {
            rs->AddNew();
            rs->setzen(u"Titel"_s, u"Eigene"_s);
            RecordsetAktualisieren(*rs);
            QVERIFY(rs->letzterSchluessel() > 0);
        } else {
            rs = RecordsetOeffnen(db, u"select * from Sendungen order by Pos"_s, dbOpenSnapshot);
            QCOMPARE(rs->RecordCount(), 5);
            QCOMPARE(rs->feld(u"titel"_s).toString(), u"Halter 1"_s);
            QCOMPARE(logZeilen(t.log()).size(), 2);
        }
        QVERIFY(freigegeben);
        QCOMPARE(t.uhr.pausen.size(), 2);
        QVERIFY(t.meldungen.fragen.isEmpty());
        QCOMPARE(abfrageWert(t.db, u"select count(*) from Sendungen where SenderKennung='HALTER'"_s)
                     .toInt(),
                 5);
        QCOMPARE(
            abfrageWert(t.db, u"select count(*) from Sendungen where Titel='Eigene'"_s).toInt(),
            speichern ? 1 : 0);
    }

    // A save that keeps failing is retried silently, then the update box.
    void speichern_bleibt_gesperrt()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        t.wiederholungenSetzen(1);
        auto db = DatenbankOeffnen(t.db);
        auto rs = RecordsetOeffnen(db, u"Sendungen"_s, dbOpenTable);
        Sperrhalter halter;
        QVERIFY(halter.sperren(t.db, 0));
        t.meldungen.antworten = {Antwort::Wiederholen};
        rs->AddNew();
        rs->setzen(u"Titel"_s, u"x"_s);
        QCOMPARE(
            fehlerVon([&] { RecordsetAktualisieren(*rs); }),
            u"(3186) "_s + exeName() +
                u": Speichern nicht möglich. Die Daten sind zurzeit von einem anderen Programm gesperrt."_s);
        QCOMPARE(t.uhr.pausen.size(), 1);
        QCOMPARE(t.meldungen.fragen.size(), 2);
        QCOMPARE(t.meldungen.fragen[0].titel, ProgrammTitelFuer(exeName()));
        QCOMPARE(t.meldungen.fragen[0].text,
                 u"Ein Update kann nicht durchgeführt werden. Möglicherweise verhindert eine "
                 u"andere Funktion gerade "
                 "die Datenfreigabe.\r\nDer genaue Fehler lautet:\r\n\r\n(3186) Speichern nicht "
                 "möglich. Die Daten "
                 "sind zurzeit von einem anderen Programm gesperrt."_s);
        QVERIFY(halter.freigeben());
        RecordsetAktualisieren(*rs); // the pending row is still there
        QCOMPARE(abfrageWert(t.db, u"select count(*) from Sendungen where Titel='x'"_s).toInt(), 1);
    }

    void oeffnen_data()
    {
        QTest::addColumn<QByteArray>("inhalt"); // "-": no file
        QTest::addColumn<QString>("fehler");
        QTest::newRow("fehlt") << QByteArray("-")
                               << u"(3024) Die Datei '%1' wurde nicht gefunden."_s;
        QTest::newRow("keine datenbank")
            << QByteArray(3000, 'x') << u"(26) file is not a database"_s;
    }
    void oeffnen()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, fehler);
        Datenbanktest t;
        if (inhalt != "-")
            QVERIFY(schreiben(t.db, inhalt));
        const QString meldung = fehler.contains(u"%1"_s) ? fehler.arg(t.db) : fehler;
        QCOMPARE(fehlerVon([&] { DatenbankOeffnen(t.db); }),
                 meldung.left(meldung.indexOf(u')') + 1) + u' ' + exeName() + u':' +
                     meldung.mid(meldung.indexOf(u')') + 1));
        QCOMPARE(t.meldungen.fragen.size(), 1);
        QCOMPARE(t.meldungen.fragen[0].titel, ProgrammTitelFuer(exeName()));
        QCOMPARE(
            t.meldungen.fragen[0].text,
            u"Die Datenbankdatei kann nicht geöffnet werden.\r\nDer genaue Fehler lautet:\r\n\r\n"_s +
                meldung);
        QCOMPARE(dateiinhalt(t.db), inhalt == "-" ? QByteArray() : inhalt);

        // Retry after the file was put right opens it.
        t.meldungen.fragen.clear();
        t.meldungen.antworten = {Antwort::Wiederholen};
        t.meldungen.beimFragen = [&] {
            QFile::remove(t.db);
            SendungstabellenAnlegen(t.db);
        };
        QVERIFY(DatenbankOeffnen(t.db)->offen());
        QCOMPARE(t.meldungen.fragen.size(), 1);
    }

    // A damaged list of free pages: the compacted copy leaves it behind,
    // and the rows stay.
    void reparieren_freiliste()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        AnweisungenAusfuehren(
            t.db,
            {u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) "
             "INSERT INTO Sendungen (Titel, Kurzbeschreibung) SELECT 'Titel ' || i, "
             "printf('%.500c', 'x') FROM n"_s,
             u"DELETE FROM Sendungen WHERE Pos > 100"_s},
            u"test"_s);
        const int seite = abfrageWert(t.db, u"pragma page_size"_s).toInt();
        QVERIFY(abfrageWert(t.db, u"pragma freelist_count"_s).toInt() > 10);
        {
            // The first trunk page of the free list (file header, offset 32)
            // is made to claim pages far behind the end of the file.
            QFile f(t.db);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const QByteArray kopf = f.read(100);
            const quint32 trunk = quint32(quint8(kopf[32])) << 24 |
                                  quint32(quint8(kopf[33])) << 16 | quint32(quint8(kopf[34])) << 8 |
                                  quint8(kopf[35]);
            QVERIFY(trunk > 1);
            QVERIFY(f.seek(qint64(trunk - 1) * seite + 8));
            QVERIFY(f.write(QByteArray(64, '\x7f')) == 64);
        }
        QVERIFY(abfrageWert(t.db, u"pragma integrity_check"_s).toString() != u"ok"_s);
        QVERIFY(schreiben(t.db + u".cmp"_s, "alte Kopie"));

        DatenbankReparieren(t.db);
        QVERIFY(t.meldungen.fragen.isEmpty());
        QVERIFY(!QFile::exists(t.db + u".cmp"_s));
        QCOMPARE(abfrageWert(t.db, u"pragma integrity_check"_s).toString(), u"ok"_s);
        QCOMPARE(abfrageWert(t.db, u"select count(*) from Sendungen"_s).toInt(), 100);
        QCOMPARE(abfrageWert(t.db, u"select Titel from Sendungen where Pos=100"_s).toString(),
                 u"Titel 100"_s);
    }

    // A file that is no database cannot be compacted: reported, left alone.
    void reparieren_unmoeglich()
    {
        Datenbanktest t;
        const QByteArray muell(5000, '\x13');
        QVERIFY(schreiben(t.db, muell));
        t.meldungen.antworten = {Antwort::Wiederholen};
        QCOMPARE(fehlerVon([&] { DatenbankReparieren(t.db); }),
                 u"(26) "_s + exeName() + u": file is not a database"_s);
        QCOMPARE(t.meldungen.fragen.size(), 2);
        QCOMPARE(
            t.meldungen.fragen[1].text,
            u"Die TV-Datenbank kann nicht reorganisiert werden. Möglicherweise verhindert eine "
            u"andere Funktion "
            "gerade die Datenfreigabe, aufgrund eines längeres Zugriffs. Bitte warten Sie einen "
            "Augenblick und "
            "wiederholen Sie dann den Vorgang.\r\nDer genaue Fehler lautet:\r\n\r\n(26) file is not a database"_s);
        QVERIFY(dateiinhalt(t.db) == muell);
        QVERIFY(!QFile::exists(t.db + u".cmp"_s));

        // A missing file is no error.
        t.meldungen.fragen.clear();
        DatenbankReparieren(t.ordner.filePath(u"fehlt.db"_s));
        QVERIFY(t.meldungen.fragen.isEmpty());
        QVERIFY(!QFile::exists(t.ordner.filePath(u"fehlt.db"_s)));
    }

    // Two programs write 1000 broadcasts each into one file at the same time.
    void zwei_schreiber()
    {
        // In memory where the machine has it: the test is about locking,
        // not about waiting for the disk 4000 times.
        Datenbanktest t(QDir(u"/dev/shm"_s).exists() ? u"/dev/shm/zwei-schreiber-XXXXXX"_s
                                                     : QString());
        SendungstabellenAnlegen(t.db);
        QProcess a, b;
        a.start(QStringLiteral(SENDARO_SPERRHALTER), {u"einfuegen"_s, t.db, u"1000"_s, u"A"_s});
        b.start(QStringLiteral(SENDARO_SPERRHALTER), {u"einfuegen"_s, t.db, u"1000"_s, u"B"_s});
        const bool fertigA = a.waitForFinished(240000);
        const bool fertigB = b.waitForFinished(240000);
        for (QProcess* p : {&a, &b})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        QVERIFY(fertigA && fertigB);
        QVERIFY2(a.exitCode() == 0, a.readAllStandardError().constData());
        QVERIFY2(b.exitCode() == 0, b.readAllStandardError().constData());
        QCOMPARE(abfrageWert(t.db, u"select count(*) from Sendungen"_s).toInt(), 2000);
        QCOMPARE(abfrageWert(t.db, u"select count(distinct Titel) from Sendungen"_s).toInt(), 2000);
        QCOMPARE(
            abfrageWert(t.db, u"select count(*) from Sendungen where SenderKennung='A'"_s).toInt(),
            1000);
        QCOMPARE(
            abfrageWert(t.db,
                        u"select count(*) from SendungenDetails d join Sendungen s on s.Pos=d.Pos "
                        "where d.Beschreibung = 'Beschreibung ' || s.Titel"_s)
                .toInt(),
            2000);
    }

    void ohne_treiber()
    {
        QProcess p;
        p.start(QStringLiteral(SENDARO_SPERRHALTER), {u"ohnetreiber"_s});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(
            QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
            u"(1) SafeCreateDBObject: Es fehlen Systemkomponenten. Die DAO-Datenbankengine konnte "
            u"in keiner "
            "kompatiblen Version geöffnet werden. Bitte installieren Sie diese Anwendung neu."_s);
    }
};

QTEST_GUILESS_MAIN(TestDatenbankzugriff)
#include "tst_datenbankzugriff.moc"
