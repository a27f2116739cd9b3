#include <QFile>
#include <QTest>

#include "suite_db/cSendung.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/Fehlerpruefung.h"
#include "tests/suite_db/Testumgebung.h"

using namespace Qt::StringLiterals;

namespace {
// All 47 public fields as text, listed here independently of the class.
QStringList felder(const SendungsFelder& s)
{
    const auto d = [](const QDateTime& t) { return t.toString(u"yyyy-MM-dd HH:mm:ss"_s); };
    const auto b = [](bool w) { return w ? u"1"_s : u"0"_s; };
    return {QString::number(s.Pos),
            s.SenderKennung,
            d(s.Beginn),
            d(s.Ende),
            s.Titel,
            s.SendungID,
            s.InhaltID,
            QString::number(s.Aktualisierung),
            s.Showview,
            s.ShowviewVPS,
            s.VPS,
            s.Kategorietext,
            s.Kurzbeschreibung,
            QString::number(s.Bewertung),
            s.Bilddateiname,
            s.Dauer,
            s.Genre,
            s.Herstellungsjahr,
            s.Herstellungsland,
            s.Originaltitel,
            s.Regie,
            s.Bewertungen,
            s.Kurzkritik,
            QString::number(s.FSK),
            s.Keywords,
            b(s.KzFilm),
            b(s.Kz16zu9),
            b(s.KzDolby),
            b(s.KzDolbyDigital),
            b(s.KzDolbySurround),
            b(s.KzLive),
            b(s.KzStereo),
            b(s.KzSchwarzweis),
            b(s.KzTelefon),
            b(s.KzUncoded),
            b(s.KzUntertitel),
            b(s.KzZweikanalton),
            b(s.KzAudiodescription),
            b(s.KzBilddateiHeruntergeladen),
            b(s.KzInFavoritenliste),
            b(s.KzImArchiv),
            b(s.KzWiederholung),
            b(s.KzHDTV),
            b(s.Temp_DetailsGeladen),
            s.Temp_Beschreibung,
            s.Temp_Darsteller,
            s.Temp_HTMLSeite};
}

// A broadcast with a different value in every field; the flags alternate so
// that a mix-up of two neighbours shows.
cSendung beispiel()
{
    cSendung s;
    s.SenderKennung = u"ARD"_s;
    s.Beginn = QDateTime(QDate(2026, 12, 6), QTime(20, 15, 30));
    s.Ende = QDateTime(QDate(2026, 12, 6), QTime(21, 45));
    s.Titel = u"Tatort: Schöne Grüße"_s;
    s.SendungID = u"S1"_s;
    s.InhaltID = u"I2"_s;
    s.Aktualisierung = 3;
    s.Showview = u"123-456"_s;
    s.ShowviewVPS = u"789"_s;
    s.VPS = u"20:15"_s;
    s.Kategorietext = u"Krimi"_s;
    s.Kurzbeschreibung = u"Ein Fall."_s;
    s.Bewertung = -4;
    s.Bilddateiname = u"bild.jpg"_s;
    s.Dauer = u"90"_s;
    s.Genre = u"Krimi"_s;
    s.Herstellungsjahr = u"2026"_s;
    s.Herstellungsland = u"D"_s;
    s.Originaltitel = u"Tatort"_s;
    s.Regie = u"Jemand"_s;
    s.Bewertungen = u"***"_s;
    s.Kurzkritik = u"Spannend"_s;
    s.FSK = 12;
    s.Keywords = u"krimi,sonntag"_s;
    bool w = true;
    for (bool* kz :
         {&s.KzFilm, &s.Kz16zu9, &s.KzDolby, &s.KzDolbyDigital, &s.KzDolbySurround, &s.KzLive,
          &s.KzStereo, &s.KzSchwarzweis, &s.KzTelefon, &s.KzUncoded, &s.KzUntertitel,
          &s.KzZweikanalton, &s.KzAudiodescription, &s.KzBilddateiHeruntergeladen,
          &s.KzInFavoritenliste, &s.KzImArchiv, &s.KzWiederholung, &s.KzHDTV}) {
        *kz = w;
        w = !w;
    }
    s.setBeschreibung(u"Lange Beschreibung\r\nmit zwei Zeilen"_s);
    s.setDarsteller(u"A, B"_s);
    s.setHTMLSeite(u"<p>x</p>"_s);
    return s;
}

// Saves through the recordsets the suite's programs use; returns Pos.
qint32 speichern(cSendung& s, const QString& pfad)
{
    auto db = DatenbankOeffnen(pfad);
    auto rs1 = RecordsetOeffnen(db, u"select * from Sendungen where Pos=0"_s, dbOpenDynaset);
    auto rs2 = RecordsetOeffnen(db, u"select * from SendungenDetails where Pos=0"_s, dbOpenDynaset);
    s.SpeichernInDatensatzAlles(*db, *rs1, *rs2);
    return s.Pos;
}

QString* textfeld(cSendung& s, const QString& name)
{
    const std::pair<const char16_t*, QString*> tabelle[] = {
        {u"Titel", &s.Titel},
        {u"SendungID", &s.SendungID},
        {u"Showview", &s.Showview},
        {u"ShowviewVPS", &s.ShowviewVPS},
        {u"VPS", &s.VPS},
        {u"Kategorietext", &s.Kategorietext},
        {u"Bilddateiname", &s.Bilddateiname},
        {u"Dauer", &s.Dauer},
        {u"Genre", &s.Genre},
        {u"Herstellungsjahr", &s.Herstellungsjahr},
        {u"Herstellungsland", &s.Herstellungsland},
        {u"Originaltitel", &s.Originaltitel},
        {u"Regie", &s.Regie},
        {u"Kurzkritik", &s.Kurzkritik},
        {u"SenderKennung", &s.SenderKennung},
        {u"InhaltID", &s.InhaltID},
        {u"Kurzbeschreibung", &s.Kurzbeschreibung},
        {u"Bewertungen", &s.Bewertungen},
        {u"Keywords", &s.Keywords},
    };
    for (const auto& [n, f] : tabelle)
        if (name == QStringView(n))
            return f;
    return nullptr;
}
} // namespace

class TestSendung : public QObject
{
    Q_OBJECT
private slots:
    void rundreise()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        cSendung s = beispiel();
        const qint32 pos = speichern(s, t.db);
        QVERIFY(pos > 0);
        QCOMPARE(s.Pos, pos);
        cSendung zweite = beispiel();
        QCOMPARE(speichern(zweite, t.db), pos + 1);

        cSendung gelesen;
        gelesen.FillAusDatenbank1(pos);
        QVERIFY(!gelesen.Temp_DetailsGeladen);
        gelesen.FillAusDatenbank2(pos);
        QCOMPARE(felder(gelesen), felder(s));

        // The copy carries every public field, the original stays as it was.
        const auto kopie = gelesen.GenerateCopy();
        QCOMPARE(felder(*kopie), felder(s));
        kopie->Titel = u"anders"_s;
        QCOMPARE(gelesen.Titel, s.Titel);
    }

    // Every column null: the replacements of the record.
    void nullwerte()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        AnweisungenAusfuehren(t.db,
                              {u"INSERT INTO Sendungen (Pos) VALUES (7)"_s,
                               u"INSERT INTO SendungenDetails (Pos) VALUES (7)"_s},
                              u"test"_s);
        cSendung s = beispiel();
        s.FillAusDatenbank1(7);
        s.FillAusDatenbank2(7);
        cSendung leer;
        leer.Pos = 7;
        leer.Temp_DetailsGeladen = true;
        QCOMPARE(felder(s), felder(leer));
        QCOMPARE(s.Beginn, QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
        QCOMPARE(s.Datum(), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
        QCOMPARE(s.Uhrzeit(), QTime(0, 0, 0));
    }

    void datumUndUhrzeit()
    {
        cSendung s;
        s.Beginn = QDateTime(QDate(2026, 12, 6), QTime(20, 15, 30, 999));
        QCOMPARE(s.Datum(), QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
        QCOMPARE(s.Uhrzeit(), QTime(20, 15, 30));
    }

    // Values the record cannot hold are reported, not cut silently.
    void unlesbareWerte_data()
    {
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("fsk zu gross") << u"FSK"_s << u"40000"_s << u"(6) : Überlauf"_s;
        QTest::newRow("bewertung text")
            << u"Bewertung"_s << u"'viel'"_s << u"(13) : Typen unverträglich"_s;
        QTest::newRow("beginn kein datum")
            << u"Beginn"_s << u"'morgen'"_s << u"(13) : Typen unverträglich"_s;
        QTest::newRow("beginn tage") << u"Beginn"_s << u"46362.84375"_s << QString();
    }
    void unlesbareWerte()
    {
        QFETCH(QString, spalte);
        QFETCH(QString, wert);
        QFETCH(QString, fehler);
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        AnweisungenAusfuehren(
            t.db, {u"INSERT INTO Sendungen (Pos, %1) VALUES (1, %2)"_s.arg(spalte, wert)}, u"t"_s);
        cSendung s;
        QCOMPARE(fehlerVon([&] { s.FillAusDatenbank1(1); }), fehler);
        if (fehler.isEmpty()) // days since day 0, as older files hold dates
            QCOMPARE(s.Beginn, QDateTime(QDate(2026, 12, 6), QTime(20, 15)));
    }

    void kuerzen_data() { falltabelle("suite_db-faelle.txt", "kuerzen"); }
    void kuerzen()
    {
        QFETCH(QString, feld);
        QFETCH(QString, laenge);
        QFETCH(QString, gespeichert);
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        cSendung s = beispiel();
        QString* f = textfeld(s, feld);
        QVERIFY(f);
        QString text;
        for (int i = 0; i < laenge.toInt(); ++i)
            text += QChar(u'a' + i % 26);
        *f = text;
        const qint32 pos = speichern(s, t.db);
        const QString gelesen =
            abfrageWert(t.db, u"select %1 from Sendungen where Pos=%2"_s.arg(feld).arg(pos))
                .toString();
        QCOMPARE(gelesen, text.left(gespeichert.toInt()));
        QCOMPARE(*f, text); // the record itself keeps the whole text
    }

    // The long texts are fetched when first read; once found, or once set,
    // they are not fetched again.
    void detailsSpaeter()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        cSendung s = beispiel();
        const qint32 pos = speichern(s, t.db);

        cSendung a;
        a.FillAusDatenbank1(pos);
        QVERIFY(!a.Temp_DetailsGeladen);
        QCOMPARE(a.Beschreibung(), s.Temp_Beschreibung);
        QVERIFY(a.Temp_DetailsGeladen);
        AnweisungenAusfuehren(t.db, {u"UPDATE SendungenDetails SET Darsteller='neu'"_s}, u"t"_s);
        QCOMPARE(a.Darsteller(), u"A, B"_s);

        // No details row yet: each reading asks again.
        AnweisungenAusfuehren(t.db, {u"INSERT INTO Sendungen (Pos, Titel) VALUES (50, 'ohne')"_s},
                              u"t"_s);
        cSendung b;
        b.FillAusDatenbank1(50);
        QCOMPARE(b.HTMLSeite(), QString());
        QVERIFY(!b.Temp_DetailsGeladen);
        AnweisungenAusfuehren(
            t.db, {u"INSERT INTO SendungenDetails (Pos, HTMLSeite) VALUES (50, 'da')"_s}, u"t"_s);
        QCOMPARE(b.HTMLSeite(), u"da"_s);

        // Written texts are taken as loaded: the database is not asked.
        cSendung c;
        c.FillAusDatenbank1(pos);
        c.setDarsteller(u"selbst"_s);
        SuiteDatenbankpfadSetzen(t.ordner.filePath(u"gibtsnicht.db"_s));
        QCOMPARE(fehlerVon([&] { QCOMPARE(c.Beschreibung(), QString()); }), QString());
        QVERIFY(t.meldungen.fragen.isEmpty());
        cSendung d;
        QVERIFY(fehlerVon([&] { d.Beschreibung(); }).startsWith(u"(3024) "_s));
    }

    void ohneDetailsSpeichern()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        cSendung s;
        s.Titel = u"nur Zeile"_s;
        qint32 pos = 0;
        QCOMPARE(fehlerVon([&] { pos = speichern(s, t.db); }),
                 u"(1) : Ein Programmfehler ist aufgetreten. Die Detailsfelder sollen gespeichert "
                 u"werden sind "
                 "jedoch noch nicht initialisiert."_s);
        QVERIFY(s.Pos > 0);
        QCOMPARE(
            abfrageWert(t.db, u"select Titel from Sendungen where Pos=%1"_s.arg(s.Pos)).toString(),
            u"nur Zeile"_s);
        QCOMPARE(abfrageWert(t.db, u"select count(*) from SendungenDetails"_s).toInt(), 0);
    }

    void unbekannteNummer()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        cSendung s = beispiel();
        s.Pos = 99;
        const QStringList vorher = felder(s);
        s.FillAusDatenbank1(12345);
        s.FillAusDatenbank2(12345);
        QCOMPARE(s.Pos, 0);
        QCOMPARE(felder(s).mid(1), vorher.mid(1));
    }

    // The field list selects exactly the table's columns after Pos.
    void feldnamen()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        const QStringList namen = cSendung::GetFelderNamenSendungen().split(u',');
        QCOMPARE(namen.size(), 42);
        QVERIFY(namen.contains(u"KurzBeschreibung"_s));
        auto db = DatenbankOeffnen(t.db);
        auto rs = RecordsetOeffnen(db, u"select Pos, "_s + namen.join(u',') + u" from Sendungen"_s,
                                   dbOpenSnapshot);
        auto alle = RecordsetOeffnen(db, u"select * from Sendungen"_s, dbOpenSnapshot);
        QCOMPARE(alle->spalten().size(), 43);
        for (int i = 0; i < 43; ++i)
            QCOMPARE(rs->spalten()[i].toLower(), alle->spalten()[i].toLower());
        auto details =
            RecordsetOeffnen(db,
                             u"select Pos,"_s + cSendung::GetFelderNamenSendungenDetails() +
                                 u" from SendungenDetails"_s,
                             dbOpenSnapshot);
        QCOMPARE(details->spalten().size(), 4);
    }

    // Bound columns follow the recordset's current row.
    void gebundeneSpalten()
    {
        Datenbanktest t;
        SendungstabellenAnlegen(t.db);
        cSendung eins = beispiel(), zwei = beispiel();
        zwei.Titel = u"Zweite"_s;
        zwei.KzHDTV = !eins.KzHDTV;
        zwei.setHTMLSeite(u"<p>2</p>"_s);
        speichern(eins, t.db);
        speichern(zwei, t.db);
        auto db = DatenbankOeffnen(t.db);
        // Columns in another order than the table's: binding is by name.
        auto rs1 = RecordsetOeffnen(db, u"select KzHDTV, Titel, * from Sendungen order by Pos"_s,
                                    dbOpenSnapshot);
        auto rs2 = RecordsetOeffnen(
            db,
            u"select HTMLSeite, Pos, Darsteller, Beschreibung from SendungenDetails "
            "order by Pos"_s,
            dbOpenSnapshot);
        cSendung s;
        s.SetRsFields1(*rs1);
        s.SetRsFields2(*rs2);
        s.LeseVonRsFields1();
        s.LeseVonRsFields2();
        QCOMPARE(felder(s), felder(eins));
        rs1->MoveNext();
        rs2->MoveNext();
        s.LeseVonRsFields1();
        s.LeseVonRsFields2();
        QCOMPARE(felder(s), felder(zwei));

        auto ohne = RecordsetOeffnen(db, u"select Pos, Titel from Sendungen"_s, dbOpenSnapshot);
        QCOMPARE(fehlerVon([&] { s.SetRsFields1(*ohne); }),
                 u"(3265) : Das Feld 'SenderKennung' ist in dieser Auflistung nicht vorhanden."_s);
    }
};

QTEST_GUILESS_MAIN(TestSendung)
#include "tst_sendung.moc"
