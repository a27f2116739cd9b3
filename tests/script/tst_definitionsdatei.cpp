#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "script/Definitionsdatei.h"
#include "script/Skriptfelder.h"
#include "system/Programmordner.h"
#include "tests/gemeinsam/Fehlerpruefung.h"

using namespace Qt::StringLiterals;

using Listen = QList<QStringList>;

namespace {
Skriptfelder laden(const QString& name)
{
    Skriptfelder felder;
    felder.SkriptDateiname = name;
    SkriptEinladen(felder);
    return felder;
}

Listen listen(const Skriptfelder& f)
{
    return {f.BefehleAnwendungStarten, f.BefehleKanalWechseln, f.BefehleAufnahmeStarten,
            f.BefehleAufnahmeBeenden, f.BefehleAnwendungBeenden};
}
} // namespace

/// Definition files in a program folder of the test's own.
class TestDefinitionsdatei : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_ordner;

    void schreiben(const QString& name, const QByteArray& inhalt)
    {
        QFile f(m_ordner->filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size());
    }

private slots:
    void init()
    {
        m_ordner = std::make_unique<QTemporaryDir>();
        QVERIFY(m_ordner->isValid());
        AppPfadSetzen(m_ordner->path());
    }

    void falscherKopf()
    {
        // A line feed alone ends no line; the fields are emptied all the same.
        schreiben(u"k.azs"_s, "<Sendaro Aufzeichnungsskript 1.0>\nBeschreibung=x\n");
        Skriptfelder f;
        f.SkriptDateiname = u"/woanders/k.azs"_s; // only the file name counts
        f.BefehleKanalWechseln = {u"vorher"_s};
        QCOMPARE(
            fehlerVon([&] { SkriptEinladen(f); }),
            u"(1) SkriptEinladen: Das Format oder die Version der Skriptdatei ist ungültig."_s);
        QVERIFY(f.Beschreibung.isEmpty() && f.BefehleKanalWechseln.isEmpty());
        // A missing file loads nothing and is no error.
        f.SkriptDateiname = u"fehlt.azs"_s;
        QCOMPARE(fehlerVon([&] { SkriptEinladen(f); }), QString());
    }

    void handgeschrieben_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QStringList>("werte"); // Beschreibung, TVAnwendungdatei, TVAnwendungtitel
        QTest::addColumn<Listen>("listen");
        // CR LF and Windows-1252: comments, tabs, apostrophes inside quotes,
        // repeated keys, interleaved lists, a lone LF inside a line.
        QTest::newRow("kommentare tabs verschachtelt")
            << u"definition-kommentare-tabs-verschachtelt.azs"_s
            << QStringList{u"Peter's Fernseh-Spaß"_s, u"tv.exe"_s, u"Peter"_s}
            << Listen{{u"AnwendungStarten,\"[TVSoftwarePfad]\\tv.exe\""_s, u"Warten,3"_s,
                       u"FensterAktivieren,\"[TVAnwendungtitel]\""_s},
                      {u"TastenSenden,\"[Kanal]\""_s, u"TastenSenden,\"Kanal 'a', Größe\""_s},
                      {u"TastenSenden,\"^r\""_s},
                      {u"Warten,\"1\"\nBeep"_s},
                      {u"Terminieren,\"tv.exe\""_s}};
        // CR alone ends the lines; one line UTF-8, the next Windows-1252.
        QTest::newRow("nur cr utf8 und 1252")
            << u"definition-nur-cr-utf8-und-1252.azs"_s
            << QStringList{u"Fernsehgerät für Küche"_s, u"fernseh.exe"_s, u"Übertragung läuft"_s}
            << Listen{{u"AnwendungStarten,\"/opt/Grüße/tv\""_s},
                      {},
                      {},
                      {},
                      {u"TastenSenden,\"%{F4}\""_s}};
    }

    void handgeschrieben()
    {
        QFETCH(QString, datei);
        QFETCH(QStringList, werte);
        QFETCH(Listen, listen);
        QVERIFY(QFile::copy(QStringLiteral(SENDARO_TESTDATEN) + u'/' + datei,
                            m_ordner->filePath(datei)));
        const Skriptfelder f = laden(datei);
        QCOMPARE((QStringList{f.Beschreibung, f.TVAnwendungdatei, f.TVAnwendungtitel}), werte);
        QCOMPARE(::listen(f), listen);
    }

    void crLfUeberBlockgrenze()
    {
        // Read in blocks of 64 KiB: a CR LF split between two is one line end.
        QByteArray inhalt("<Sendaro Aufzeichnungsskript 1.0>\r\nBefehlAnwendungStarten=Beep,\"");
        inhalt += QByteArray(65535 - inhalt.size() - 1, 'x') + "\"\r\nBefehlAnwendungStarten=Beep";
        schreiben(u"lang.azs"_s, inhalt);
        const QStringList start = laden(u"lang.azs"_s).BefehleAnwendungStarten;
        QCOMPARE(start.size(), 2);
        QCOMPARE(start[0].size(), 65535 - 35 - 23);
        QCOMPARE(start[1], u"Beep"_s);
    }

    void auflisten()
    {
        const QByteArray kopf("<Sendaro Aufzeichnungsskript 1.0>\r\n");
        schreiben(u"eins.azs"_s, kopf + "Beschreibung=\"b\"\r\nStandardverzeichnis=\"/opt/b\"\r\n");
        // Listed without a header check.
        schreiben(u"zwei.AZS"_s, "Beschreibung=\"a\"\r\n");
        schreiben(u"drei.azs"_s, kopf + "Standardverzeichnis=\"/x\"\r\nBeschreibung=B\r\n");
        // Not read after the first start command.
        schreiben(u"vier.azs"_s, "BefehlAnwendungStarten=Beep\r\nBeschreibung=\"spaet\"\r\n");
        schreiben(u"anders.txt"_s, "Beschreibung=\"A\"\r\n");
        QVERIFY(QDir(m_ordner->path()).mkdir(u"ordner.azs"_s));
        // Ordinal order: upper case before lower case.
        const Skriptdateiliste liste = SkriptdateienAuflisten(m_ordner->path());
        QCOMPARE(liste.beschreibungen, QStringList({u""_s, u"B"_s, u"a"_s, u"b"_s}));
        QCOMPARE(liste.dateinamen,
                 QStringList({u"vier.azs"_s, u"drei.azs"_s, u"zwei.AZS"_s, u"eins.azs"_s}));
        QCOMPARE(liste.standardverzeichnisse, QStringList({u""_s, u"/x"_s, u""_s, u"/opt/b"_s}));
        QVERIFY(SkriptdateienAuflisten(m_ordner->filePath(u"fehlt"_s)).dateinamen.isEmpty());
    }

    void einzelwerte()
    {
        // The first line of a key counts; CR alone ends a line too.
        schreiben(u"s.azs"_s, "Beschreibung=\"erste\"\r\n beschreibung = \"zweite\"\r\n"
                              "'AuswahlInfo=\"auskommentiert\"\r\nAuswahlInfo=\"a[Enter]b\"\r"
                              "BefehlKanalWechseln=AnwendungStarten,\"/falsch\"\r\n"
                              "BefehlAnwendungStarten=Warten,3,x\r\n"
                              "BefehlAnwendungStarten=AnwendungStarten,\"/opt/tv,neu/tv\"\r\n");
        QCOMPARE(SchluesselwertLesen(u"s.azs"_s, u"  Beschreibung "_s), u"erste"_s);
        QCOMPARE(SchluesselwertLesen(u"irgendwo/s.azs"_s, u"AUSWAHLINFO"_s), u"a[Enter]b"_s);
        QCOMPARE(SchluesselwertLesen(u"s.azs"_s, u"Standardverzeichnis"_s), QString());
        // The first command of the key that matches, its item index + 1.
        const auto parameter = [](const QString& befehl, int index) {
            return BefehlsparameterLesen(u"s.azs"_s, u"befehlanwendungstarten "_s, befehl, index);
        };
        QCOMPARE(parameter(u" anwendungSTARTEN "_s, 1), u"/opt/tv,neu/tv"_s);
        QCOMPARE(parameter(u"AnwendungStarten"_s, 2), QString());
        QCOMPARE(parameter(u"Warten"_s, 2), u"x"_s);
        // A file that is missing or cannot be read.
        QVERIFY(fehlerVon([] {
                    SchluesselwertLesen(u"fehlt.azs"_s, u"B"_s);
                }).startsWith(u"(53) SchluesselwertLesen: "_s));
        QVERIFY(QDir(m_ordner->path()).mkdir(u"ordner.azs"_s));
        QVERIFY(fehlerVon([] {
                    BefehlsparameterLesen(u"ordner.azs"_s, u"x"_s, u"Beep"_s, 1);
                }).startsWith(u"(75) BefehlsparameterLesen: "_s));
    }

    void schreibenWieVorlage()
    {
        Definition d;
        d.Beschreibung = u"Peter's TV"_s;
        d.TVAnwendungdatei = u"tv.exe"_s;
        d.TVAnwendungtitel = u"Peter's TV – Live"_s;
        d.Standardverzeichnis = u"[ProgrammeOrdner]/Peters TV"_s;
        d.AuswahlInfo = u"Vorher einschalten.\r\nDann Größe wählen."_s;
        d.BefehleAnwendungStarten = {u"AnwendungStarten,\"[TVSoftwarePfad]/tv.exe\""_s,
                                     u"Warten,\"3\""_s,
                                     u"FensterAktivieren,\"[TVAnwendungtitel]\""_s};
        d.BefehleKanalWechseln = {u"TastenSenden,\"[Kanal]{ENTER}\""_s};
        d.BefehleAufnahmeStarten = {u"TastenSenden,\"^r\""_s};
        d.BefehleAnwendungBeenden = {u"TastenSenden,\"%{F4}\""_s, u"Terminieren,\"tv.exe\""_s};
        schreiben(u"neu.azs"_s, QByteArray(5000, 'x')); // an older, longer file is replaced whole
        DefinitionSchreiben(u"/anderer/ordner/neu.azs"_s, d);
        QFile geschrieben(m_ordner->filePath(u"neu.azs"_s));
        QFile erwartet(QStringLiteral(SENDARO_TESTDATEN "/definition-geschrieben-erwartet.azs"));
        QVERIFY(geschrieben.open(QIODevice::ReadOnly) && erwartet.open(QIODevice::ReadOnly));
        QCOMPARE(geschrieben.readAll(), erwartet.readAll());
        // Read back whole, apostrophes included.
        const Skriptfelder f = laden(u"neu.azs"_s);
        QCOMPARE((QStringList{f.Beschreibung, f.TVAnwendungtitel}),
                 (QStringList{d.Beschreibung, d.TVAnwendungtitel}));
        QCOMPARE(listen(f), (Listen{d.BefehleAnwendungStarten,
                                    d.BefehleKanalWechseln,
                                    d.BefehleAufnahmeStarten,
                                    {},
                                    d.BefehleAnwendungBeenden}));
    }
};

QTEST_GUILESS_MAIN(TestDefinitionsdatei)
#include "tst_definitionsdatei.moc"
