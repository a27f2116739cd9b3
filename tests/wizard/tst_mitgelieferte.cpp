// The definition files shipped in the program folder, against this machine's
// Debian packages: each is written in the layout the wizard writes, its
// default folder belongs to its program's packages alone and holds a file,
// and the wizard detects exactly the programs whose folders are there.
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "script/Definitionsdatei.h"
#include "script/JokerErsetzen.h"
#include "script/Skriptfelder.h"
#include "system/Einstellungsarray.h"
#include "system/Grundbefehle.h"
#include "system/Programmordner.h"
#include "tests/gemeinsam/Fehlerpruefung.h"
#include "tests/wizard/Skriptbenutzer.h"
#include "wizard/Assistent.h"

namespace {
const QString kQuelle = QStringLiteral(SENDARO_MITGELIEFERTE);

QStringList definitionen()
{
    return QDir(kQuelle).entryList({u"*.azs"_s}, QDir::Files, QDir::Name);
}

/// Standard output of a dpkg-query call, or empty when it fails.
QString dpkg(const QStringList& argumente)
{
    QProcess p;
    p.start(u"dpkg-query"_s, argumente);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

/// The packages whose file lists name this path ("a, b: /path").
QStringList besitzer(const QString& pfad)
{
    const QString zeile = dpkg({u"-S"_s, pfad});
    if (!zeile.endsWith(u": "_s + pfad))
        return {};
    return zeile.left(zeile.size() - pfad.size() - 2).split(u", "_s);
}

QString quellpaket(const QString& paket)
{
    return dpkg({u"-W"_s, u"-f=${source:Package}"_s, paket});
}

bool installiert(const QString& paket)
{
    return dpkg({u"-W"_s, u"-f=${db:Status-Status}"_s, paket}) == u"installed"_s;
}

/// The default folder of a shipped definition with the real special folders.
QString standardordner(const QString& datei)
{
    AufzeichnenderDesktop d;
    return OrdnerJokerErsetzen(d, SchluesselwertLesen(datei, u"Standardverzeichnis"_s));
}

/// The program the start list launches, as an absolute path (a bare name
/// is looked up in PATH, as the start does).
QString startprogramm(const QString& datei)
{
    AufzeichnenderDesktop d;
    const QString zeile = OrdnerJokerErsetzen(
        d, BefehlsparameterLesen(datei, u"BefehlAnwendungStarten"_s, u"AnwendungStarten"_s, 1));
    const QString programm = zeile.section(u' ', 0, 0);
    return programm.contains(u'/') ? programm : QStandardPaths::findExecutable(programm);
}

bool anlegen(const QString& pfad, const QByteArray& inhalt)
{
    QDir().mkpath(QFileInfo(pfad).path());
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}

/// The settings einrichter writes.
Einstellungsarray einstellungen()
{
    Einstellungsarray array(0, 128);
    array.textSetzen(10, QString());
    array.textSetzen(11, QString());
    array.wahrheitswertSetzen(15, true);
    array.wahrheitswertSetzen(17, true);
    array.setzen(127, Einstellungswert::ausZahl(0));
    return array;
}
} // namespace

class TestMitgelieferte : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(!definitionen().isEmpty(), qPrintable(kQuelle)); }
    void cleanupTestCase() { AppPfadSetzen(QString()); }

    void dateien_data()
    {
        QTest::addColumn<QString>("datei");
        for (const QString& d : definitionen())
            QTest::newRow(qPrintable(d)) << d;
    }

    // The wizard's own writer, given what the readers take out of a shipped
    // file, writes it again byte for byte: same keys in the same order,
    // Windows-1252, CR LF, and nothing that a reader would lose.
    void layout_data() { dateien_data(); }
    void layout()
    {
        QFETCH(QString, datei);
        AppPfadSetzen(kQuelle);
        Skriptfelder f;
        f.SkriptDateiname = datei;
        QCOMPARE(fehlerVon([&] { SkriptEinladen(f); }), QString());
        Definition d;
        d.Beschreibung = f.Beschreibung;
        d.TVAnwendungdatei = f.TVAnwendungdatei;
        d.TVAnwendungtitel = f.TVAnwendungtitel;
        d.Standardverzeichnis = SchluesselwertLesen(datei, u"Standardverzeichnis"_s);
        d.AuswahlInfo = SchluesselwertLesen(datei, u"AuswahlInfo"_s);
        d.BefehleAnwendungStarten = f.BefehleAnwendungStarten;
        d.BefehleKanalWechseln = f.BefehleKanalWechseln;
        d.BefehleAufnahmeStarten = f.BefehleAufnahmeStarten;
        d.BefehleAufnahmeBeenden = f.BefehleAufnahmeBeenden;
        d.BefehleAnwendungBeenden = f.BefehleAnwendungBeenden;
        for (const QString* wert : {&d.Beschreibung, &d.TVAnwendungdatei, &d.TVAnwendungtitel,
                                    &d.Standardverzeichnis, &d.AuswahlInfo})
            QVERIFY(!wert->isEmpty());
        for (const QStringList* liste :
             {&d.BefehleAnwendungStarten, &d.BefehleKanalWechseln, &d.BefehleAufnahmeStarten,
              &d.BefehleAufnahmeBeenden, &d.BefehleAnwendungBeenden})
            QVERIFY(!liste->isEmpty());

        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        AppPfadSetzen(tmp.path());
        QCOMPARE(fehlerVon([&] { DefinitionSchreiben(datei, d); }), QString());
        QFile neu(tmp.filePath(datei)), alt(kQuelle + u'/' + datei);
        QVERIFY(neu.open(QIODevice::ReadOnly) && alt.open(QIODevice::ReadOnly));
        QCOMPARE(alt.readAll(), neu.readAll());
    }

    // Detection tests only the default folder, so it must be one that no
    // other package installs (dpkg names a single owner), that comes from
    // the same source package as the started program, and that holds an
    // ordinary file of that package's list right inside it.
    void pakete_data() { dateien_data(); }
    void pakete()
    {
        QFETCH(QString, datei);
        AppPfadSetzen(kQuelle);
        const QString ordner = standardordner(datei);
        const QString programm = startprogramm(datei);
        QVERIFY2(QDir::isAbsolutePath(ordner), qPrintable(ordner));
        QVERIFY2(QDir::isAbsolutePath(programm), qPrintable(programm));

        const QStringList programmpakete = besitzer(programm);
        QVERIFY2(
            programmpakete.size() == 1,
            qPrintable(u"Das Startprogramm %1 gehört zu keinem oder mehreren Paketen: %2"_s.arg(
                programm, programmpakete.join(u", "_s))));
        QVERIFY2(installiert(programmpakete[0]), qPrintable(programmpakete[0]));

        const QStringList ordnerpakete = besitzer(ordner);
        QVERIFY2(ordnerpakete.size() == 1,
                 qPrintable(u"Den Ordner %1 installieren %2 Pakete: %3"_s.arg(ordner)
                                .arg(ordnerpakete.size())
                                .arg(ordnerpakete.join(u", "_s))));
        QCOMPARE(quellpaket(ordnerpakete[0]), quellpaket(programmpakete[0]));

        QStringList dateienDarin;
        for (const QString& pfad : dpkg({u"-L"_s, ordnerpakete[0]}).split(u'\n')) {
            const QFileInfo info(pfad);
            if (info.path() == ordner && !info.fileName().startsWith(u'.') && info.isFile() &&
                !info.isSymLink())
                dateienDarin << info.fileName();
        }
        QVERIFY2(!dateienDarin.isEmpty(),
                 qPrintable(u"%1 liegt keine Datei des Pakets %2 direkt in %3"_s.arg(
                     datei, ordnerpakete[0], ordner)));
    }

    // The wizard's start-up reading over the shipped files in a program
    // folder of its own. "installiert": the real folders, every program
    // whose package is installed is detected and no other; "leer": special
    // folders in an empty tree, nothing is detected; "nur NAME": a tree in
    // which only that definition's folder holds a file, only it is detected
    // (no two definitions share a folder).
    void erkennung_data()
    {
        QTest::addColumn<QString>("nur");
        QTest::newRow("installiert") << QString();
        QTest::newRow("leer") << u"-"_s;
        for (const QString& d : definitionen())
            QTest::newRow(qPrintable(u"nur "_s + d)) << d;
    }
    void erkennung()
    {
        QFETCH(QString, nur);
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString prog = tmp.filePath(u"prog"_s);
        QVERIFY(QDir().mkpath(prog));
        for (const QString& d : definitionen())
            QVERIFY(QFile::copy(kQuelle + u'/' + d, prog + u'/' + d));
        AppPfadSetzen(prog);
        EinstellungsdateiSchreiben(Einstellungsdateipfad(), einstellungen());

        Skriptumgebung umgebung;
        QStringList erwartet;
        if (nur.isEmpty()) {
            for (const QString& d : definitionen()) {
                const QStringList pakete = besitzer(standardordner(d));
                if (pakete.size() == 1 && installiert(pakete[0]))
                    erwartet << d;
            }
        } else {
            const QString baum = tmp.filePath(u"baum"_s);
            QVERIFY(QDir().mkpath(baum));
            AufzeichnenderDesktop echt;
            for (int nummer : {38, 36, 37})
                umgebung.d.sonderOrdnerSetzen(nummer, baum + echt.sonderOrdner(nummer));
            if (nur != u"-"_s) {
                const QString ordner = OrdnerJokerErsetzen(
                    umgebung.d, SchluesselwertLesen(nur, u"Standardverzeichnis"_s));
                QVERIFY(ordner.startsWith(baum + u'/'));
                QVERIFY(anlegen(ordner + u"/datei"_s, "x"));
                erwartet << nur;
            }
        }

        Skriptseiten seiten; // no answers: the first page is cancelled
        Assistent assistent(seiten, umgebung);
        QCOMPARE(fehlerVon([&] { assistent.ausfuehren(); }), QString());
        QCOMPARE(assistent.zustand().AlleDateien.size(), definitionen().size());
        QStringList erkannt = assistent.zustand().ErkannteDateien;
        erkannt.sort();
        QCOMPARE(erkannt, erwartet);
    }
};

QTEST_MAIN(TestMitgelieferte)
#include "tst_mitgelieferte.moc"
