#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "script/Definitionsdatei.h"
#include "script/Skriptfelder.h"
#include "system/Programmordner.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/Fehlerpruefung.h"

using namespace Qt::StringLiterals;

namespace {
Skriptfelder laden(const QString& name)
{
    Skriptfelder felder;
    felder.SkriptDateiname = name;
    SkriptEinladen(felder);
    return felder;
}

/// "list:command" for each command, | between them; lists numbered 1 to 5.
QString befehle(const Skriptfelder& f)
{
    const QList<QStringList> listen{f.BefehleAnwendungStarten, f.BefehleKanalWechseln,
                                    f.BefehleAufnahmeStarten, f.BefehleAufnahmeBeenden,
                                    f.BefehleAnwendungBeenden};
    QStringList alle;
    for (qsizetype i = 0; i < listen.size(); ++i)
        for (const QString& b : listen[i])
            alle << QString::number(i + 1) + u':' + b;
    return alle.join(u'|');
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
    void vorlage(const QString& datei, const QString& als)
    {
        QVERIFY(
            QFile::copy(QStringLiteral(SENDARO_TESTDATEN) + u'/' + datei, m_ordner->filePath(als)));
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
        // A blank after the header makes it wrong; the fields are emptied
        // all the same.
        schreiben(u"k.azs"_s, "<Sendaro Aufzeichnungsskript 1.0> \nBeschreibung=x\n");
        Skriptfelder f;
        f.SkriptDateiname = u"/woanders/k.azs"_s; // only the file name counts
        f.BefehleKanalWechseln = {u"vorher"_s};
        QCOMPARE(
            fehlerVon([&] { SkriptEinladen(f); }),
            u"(1) SkriptEinladen: Das Format oder die Version der Skriptdatei ist ungültig."_s);
        QVERIFY(f.Beschreibung.isEmpty() && befehle(f).isEmpty());
        // A missing file loads nothing and is no error.
        f.SkriptDateiname = u"fehlt.azs"_s;
        QCOMPARE(fehlerVon([&] { SkriptEinladen(f); }), QString());
    }

    void kopfzeilen_data() { falltabelle("script-faelle.txt", "kopfzeilen"); }
    void kopfzeilen()
    {
        QFETCH(QString, kopf);
        QFETCH(QString, gueltig);
        schreiben(u"k.azs"_s, kopf.toLatin1() + "\r\nBeschreibung=\"geladen\"\r\n");
        Skriptfelder f;
        f.SkriptDateiname = u"k.azs"_s;
        const QString fehler = fehlerVon([&] { SkriptEinladen(f); });
        if (gueltig == u"ja"_s) {
            QCOMPARE(fehler, QString());
            QCOMPARE(f.Beschreibung, u"geladen"_s);
        } else {
            QCOMPARE(fehler, u"(1) SkriptEinladen: Das Format oder die Version der "
                             u"Skriptdatei ist ungültig."_s);
            QCOMPARE(f.Beschreibung, QString());
        }
    }

    void schluesselzeilen_data() { falltabelle("script-faelle.txt", "schluesselzeilen"); }
    void schluesselzeilen()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, beschreibung);
        QFETCH(QString, start);
        schreiben(u"z.azs"_s, "<Sendaro Aufzeichnungsskript 1.0>\r\n" + zeile.toLatin1() + "\r\n");
        const Skriptfelder f = laden(u"z.azs"_s);
        QCOMPARE(f.Beschreibung, beschreibung);
        QString befehle;
        for (const QString& b : f.BefehleAnwendungStarten)
            befehle += u'[' + b + u']';
        QCOMPARE(befehle, start);
        QCOMPARE(SchluesselwertLesen(u"z.azs"_s, u"Beschreibung"_s), beschreibung);
    }

    void handgeschrieben_data() { falltabelle("script-faelle.txt", "definition-laden"); }
    void handgeschrieben()
    {
        QFETCH(QString, datei);
        QFETCH(QString, werte);
        QFETCH(QString, befehle);
        vorlage(datei, datei);
        const Skriptfelder f = laden(datei);
        QCOMPARE((QStringList{f.Beschreibung, f.TVAnwendungdatei, f.TVAnwendungtitel}),
                 werte.split(u'|'));
        QCOMPARE(::befehle(f), befehle);
    }

    void grenzen()
    {
        // A line of 64 Ki characters is read; one more refuses the file.
        const QByteArray kopf("<Sendaro Aufzeichnungsskript 1.0>\r\n");
        const QByteArray befehl("BefehlAnwendungStarten=");
        QByteArray lang = befehl + QByteArray(64 * 1024 - befehl.size(), 'x');
        schreiben(u"lang.azs"_s, kopf + lang + "\r\nBefehlAnwendungStarten=Beep");
        const QStringList start = laden(u"lang.azs"_s).BefehleAnwendungStarten;
        QCOMPARE(start.size(), 2);
        QCOMPARE(start[1], u"Beep"_s);
        schreiben(u"lang.azs"_s, kopf + lang + 'x');
        QCOMPARE(
            fehlerVon([] { laden(u"lang.azs"_s); }),
            u"(75) SkriptEinladen: Die Zeile 2 der Datei \"%1\" ist länger als 65536 "
            u"Zeichen; die Datei wird nicht gelesen."_s.arg(m_ordner->filePath(u"lang.azs"_s)));
        // A file of exactly 4 MiB is still read; one beyond is not read at
        // all, whatever its lines.
        QByteArray genau("B=genau\r\n");
        while (genau.size() < 4 * 1024 * 1024)
            genau +=
                QByteArray(qMin<qsizetype>(60000, 4 * 1024 * 1024 - genau.size() - 1), 'x') + '\n';
        schreiben(u"gross.azs"_s, genau);
        QString wert;
        QCOMPARE(fehlerVon([&] { wert = SchluesselwertLesen(u"gross.azs"_s, u"b"_s); }), QString());
        QCOMPARE(wert, u"genau"_s);
        schreiben(u"gross.azs"_s, kopf + QByteArray(4 * 1024 * 1024, '\n'));
        QCOMPARE(fehlerVon([] { SchluesselwertLesen(u"gross.azs"_s, u"x"_s); }),
                 u"(75) SchluesselwertLesen: Die Datei \"%1\" ist größer als 4 MiB und wird "
                 u"nicht gelesen."_s.arg(m_ordner->filePath(u"gross.azs"_s)));
        QVERIFY(fehlerVon([this] {
                    SkriptdateienAuflisten(m_ordner->path());
                }).startsWith(u"(75) SkriptdateienAuflisten: "_s));
    }

    void nurGewoehnlicheDateien()
    {
        // Links to a pipe and to an endless device are left out of the
        // listing (reading them would hang or never end); the readers of
        // one file refuse them.
        QDir ordner(m_ordner->path());
        schreiben(u"gut.azs"_s, "Beschreibung=gut\n");
        // Hidden files are listed like the others.
        schreiben(u".versteckt.azs"_s, "Beschreibung=versteckt\n");
        const QByteArray pipe = QFile::encodeName(m_ordner->filePath(u"pipe"_s));
        QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
        QVERIFY(QFile::link(m_ordner->filePath(u"pipe"_s), m_ordner->filePath(u"pipe.azs"_s)));
        QVERIFY(QFile::link(u"/dev/zero"_s, m_ordner->filePath(u"null.azs"_s)));
        QVERIFY(QFile::link(m_ordner->filePath(u"fehlt"_s), m_ordner->filePath(u"tot.azs"_s)));
        const Skriptdateiliste liste = SkriptdateienAuflisten(ordner.path());
        QCOMPARE(liste.dateinamen, (QStringList{u"gut.azs"_s, u".versteckt.azs"_s}));
        QCOMPARE(liste.beschreibungen, (QStringList{u"gut"_s, u"versteckt"_s}));
        for (const QString& name : {u"pipe.azs"_s, u"null.azs"_s})
            QVERIFY(fehlerVon([&] {
                        BefehlsparameterLesen(name, u"x"_s, u"Beep"_s, 1);
                    }).startsWith(u"(75) BefehlsparameterLesen: \""_s));
        QCOMPARE(befehle(laden(u"null.azs"_s)), QString());
    }

    void auflisten()
    {
        // Sorted ordinally, upper case first; files listed without a header
        // check, and not read past the first start command.
        const Skriptdateiliste liste =
            SkriptdateienAuflisten(QStringLiteral(SENDARO_TESTDATEN "/definitionen-auflisten"));
        QCOMPARE(liste.beschreibungen, QStringList({u""_s, u"B"_s, u"a"_s, u"b"_s}));
        QCOMPARE(liste.dateinamen, QStringList({u"beschreibung-nach-startbefehl.azs"_s,
                                                u"beschreibung-ohne-anfuehrung.azs"_s,
                                                u"ohne-kopf.AZS"_s, u"mit-kopf.azs"_s}));
        QCOMPARE(liste.standardverzeichnisse, QStringList({u""_s, u"/x"_s, u""_s, u"/opt/b"_s}));
        QVERIFY(SkriptdateienAuflisten(m_ordner->filePath(u"fehlt"_s)).dateinamen.isEmpty());
    }

    void einzelwerte_data() { falltabelle("script-faelle.txt", "einzelwert"); }
    void einzelwerte()
    {
        QFETCH(QString, datei);
        QFETCH(QString, schluessel);
        QFETCH(QString, befehl);
        QFETCH(QString, index);
        QFETCH(QString, wert);
        vorlage(u"definition-doppelte-schluessel-und-nur-cr.azs"_s, u"s.azs"_s);
        QCOMPARE(befehl.isEmpty() ? SchluesselwertLesen(datei, schluessel)
                                  : BefehlsparameterLesen(datei, schluessel, befehl, index.toInt()),
                 wert);
    }

    void lesefehler()
    {
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
    }
};

QTEST_GUILESS_MAIN(TestDefinitionsdatei)
#include "tst_definitionsdatei.moc"
