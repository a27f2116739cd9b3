#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include "script/Aufzeichnungskript.h"
#include "script/Skriptfelder.h"
#include "script/Statusanzeige.h"
#include "system/Fehler.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"

using namespace Qt::StringLiterals;

namespace {
/// Records the reports; "ok" stands for ShowDebugInfoAddOk.
class AufzeichnendeAnzeige : public Statusanzeige
{
public:
    explicit AufzeichnendeAnzeige(QStringList& ziel)
        : m_ziel(ziel)
    {}
    void ShowDebugInfo(const QString& text) override { m_ziel << text; }
    void ShowDebugInfoAddOk() override { m_ziel << u"ok"_s; }

private:
    QStringList& m_ziel;
};

const QString kOk = u"ok"_s;

int anzahl(const QStringList& liste, const QString& eintrag)
{
    return static_cast<int>(liste.count(eintrag));
}
} // namespace

class TestAufzeichnungskript : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanupTestCase();
    void befehle_data();
    void befehle();
    void fehler_data();
    void fehler();
    void warten_data();
    void warten();
    void fensterSpaeter_data();
    void fensterSpaeter();
    void fensterNie_data();
    void fensterNie();
    void phasen_data();
    void phasen();
    void phaseFehlendesArgument();
    void kanalWechselnAus();
    void ohneStatusKeineBerichte();

private:
    Skriptfelder m_felder;
    AufzeichnenderDesktop m_desktop;
    QStringList m_berichte;
    int m_anzeigenErzeugt = 0;
};

void TestAufzeichnungskript::init()
{
    m_felder = Skriptfelder();
    m_felder.StatusAnzeigen = true;
    m_felder.Kanal = u"07"_s;
    m_felder.Titel = u"Tatort: Das Ende"_s;
    m_felder.TVAnwendungtitel = u"Mein TV"_s;
    m_felder.TVSoftwarePfad = u"/opt/TV"_s;
    m_desktop.protokoll.clear();
    m_desktop.startbar = {u"/opt/TV/tv.exe -x"_s};
    m_desktop.fenster = {u"Mein TV - Kanal 7"_s};
    m_desktop.spaeteFenster.clear();
    m_desktop.ungueltigeTasten.clear();
    m_berichte.clear();
    m_anzeigenErzeugt = 0;
    StatusanzeigeFabrikSetzen([this] {
        ++m_anzeigenErzeugt;
        return std::make_unique<AufzeichnendeAnzeige>(m_berichte);
    });
}

void TestAufzeichnungskript::cleanupTestCase()
{
    StatusanzeigeFabrikSetzen({});
}

void TestAufzeichnungskript::befehle_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QStringList>("berichte");
    QTest::addColumn<QStringList>("protokoll");

    QTest::newRow("starten mit platzhalter") << u"AnwendungStarten,\"[TVSoftwarePfad]/tv.exe -x\""_s
                                             << QStringList{u"Starte \"tv.exe -x\""_s, kOk}
                                             << QStringList{u"starten(/opt/TV/tv.exe -x)"_s};
    QTest::newRow("aktivieren mit platzhalter")
        << u"FensterAktivieren,\"[TVAnwendungtitel]\""_s
        << QStringList{u"Aktiviere \"Mein TV\""_s, kOk}
        << QStringList{u"zeigen(Mein TV)"_s, u"aktivieren(Mein TV)"_s, u"warten(200)"_s};
    QTest::newRow("alt f4") << u"TastenSenden,\"[Alt][F4]\""_s
                            << QStringList{u"Sende Tasten \"[Alt][F4]\""_s, kOk}
                            << QStringList{u"tasten(%{F4})"_s, u"warten(100)"_s};
    QTest::newRow("alt r klein gross befehl")
        << u"TASTENSENDEN,\"[alt]r\""_s << QStringList{u"Sende Tasten \"[alt]r\""_s, kOk}
        << QStringList{u"tasten(%r)"_s, u"warten(100)"_s};
    QTest::newRow("eine taste in klammern")
        << u"TastenSenden,\"[Esc]\""_s << QStringList{u"Sende Taste \"[Esc]\""_s, kOk}
        << QStringList{u"tasten({ESC})"_s, u"warten(100)"_s};
    QTest::newRow("unbekannter name bleibt")
        << u"TastenSenden,\"[Foo]x\""_s << QStringList{u"Sende Tasten \"[Foo]x\""_s, kOk}
        << QStringList{u"tasten([Foo]x)"_s, u"warten(100)"_s};
    QTest::newRow("tabelle in reihenfolge")
        << u"TastenSenden,\"[STRG][Umschalt]a[ENTF][DEL][F1][F16][F10][Bildab]\""_s
        << QStringList{u"Sende Tasten \"[STRG][Umschalt]a[ENTF][DEL][F1][F16][F10][Bildab]\""_s,
                       kOk}
        << QStringList{u"tasten(^+a{DELETE}{DEL}{F1}{F16}{F10}{PGDN})"_s, u"warten(100)"_s};
    QTest::newRow("kanal und titel")
        << u"TastenSenden,\"[Kanal]~[Titel]\""_s
        << QStringList{u"Sende Tasten \"07~Tatort--Das-Ende\""_s, kOk}
        << QStringList{u"tasten(07~Tatort--Das-Ende)"_s, u"warten(100)"_s};
    QTest::newRow("warten leer") << u"Warten,"_s << QStringList{u"Warte  Sekunden"_s, kOk}
                                 << QStringList{};
    QTest::newRow("terminieren nicht laufend")
        << u"Terminieren,\"gibtsnicht-sendaro.exe\""_s
        << QStringList{u"Terminiere \"gibtsnicht-sendaro.exe\""_s, kOk} << QStringList{};
    QTest::newRow("beep") << u"Beep"_s << QStringList{u"Beep"_s, kOk} << QStringList{u"beep"_s};
}

void TestAufzeichnungskript::befehle()
{
    QFETCH(QString, zeile);
    QFETCH(QStringList, berichte);
    QFETCH(QStringList, protokoll);
    BefehlAusführen(m_felder, m_desktop, zeile);
    QCOMPARE(m_berichte, berichte);
    QCOMPARE(m_desktop.protokoll, protokoll);
}

void TestAufzeichnungskript::fehler_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<int>("nummer");
    QTest::addColumn<QString>("meldung");
    QTest::addColumn<QStringList>("berichte");

    QTest::newRow("unbekannt") << u"Starten,\"x\""_s << 1
                               << u"Unbekannter Befehl \"Starten\" gefunden."_s
                               << QStringList{u"Unbekannter Befehl"_s};
    QTest::newRow("blank davor") << u" TastenSenden,\"a\""_s << 1
                                 << u"Unbekannter Befehl \" TastenSenden\" gefunden."_s
                                 << QStringList{u"Unbekannter Befehl"_s};
    QTest::newRow("blank danach") << u"Beep ,\"a\""_s << 1
                                  << u"Unbekannter Befehl \"Beep \" gefunden."_s
                                  << QStringList{u"Unbekannter Befehl"_s};
    QTest::newRow("leere zeile") << QString() << 1 << u"Unbekannter Befehl \"\" gefunden."_s
                                 << QStringList{u"Unbekannter Befehl"_s};
    QTest::newRow("nicht startbar")
        << u"AnwendungStarten,\"/nix/da/tv.exe\""_s << 1
        << u"Die Anwendung \"/nix/da/tv.exe\" konnte nicht gestartet werden."_s
        << QStringList{u"Starte \"tv.exe\""_s};
    QTest::newRow("ungueltige tasten wie geschrieben")
        << u"TastenSenden,\"[Alt][F4]\""_s << 1
        << u"Die Tastenkombination \"[Alt][F4]\" enthält ungültige Werte."_s
        << QStringList{u"Sende Tasten \"[Alt][F4]\""_s};
    for (const QString& befehl : {u"AnwendungStarten"_s, u"FensterAktivieren"_s, u"TastenSenden"_s,
                                  u"Warten"_s, u"Terminieren"_s}) {
        QTest::addRow("ohne parameter %s", qPrintable(befehl))
            << befehl << 5 << u"Ungültiger Prozeduraufruf oder ungültiges Argument"_s
            << QStringList{};
    }
    QTest::newRow("warten zu lang")
        << u"Warten,\"1e300\""_s << 6 << u"Überlauf"_s << QStringList{u"Warte 1e300 Sekunden"_s};
    QTest::newRow("warten hex zu lang") << u"Warten,&H100000000"_s << 6 << u"Überlauf"_s
                                        << QStringList{u"Warte &H100000000 Sekunden"_s};
}

void TestAufzeichnungskript::fehler()
{
    QFETCH(QString, zeile);
    QFETCH(int, nummer);
    QFETCH(QString, meldung);
    QFETCH(QStringList, berichte);
    m_desktop.ungueltigeTasten = {u"%{F4}"_s};
    try {
        BefehlAusführen(m_felder, m_desktop, zeile);
        QFAIL("kein Fehler");
    } catch (const Fehler& f) {
        QCOMPARE(f.nummer(), nummer);
        QCOMPARE(f.quelle(), u"BefehlAusführen"_s);
        QCOMPARE(f.meldung(), meldung);
    }
    QCOMPARE(m_berichte, berichte);
}

void TestAufzeichnungskript::warten_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<int>("takte");
    QTest::newRow("2.5") << u"2.5"_s << 25;
    QTest::newRow("0.25 halb zur geraden") << u"0.25"_s << 2;
    QTest::newRow("0.35 halb zur geraden") << u"0.35"_s << 4;
    QTest::newRow("komma beendet") << u"2,5"_s << 20;
    QTest::newRow("ohne ziffern") << u"abc3"_s << 0;
    QTest::newRow("leer") << QString() << 0;
    QTest::newRow("leerraum ueberall") << u" 1\t.\n5 x"_s << 15;
    QTest::newRow("wagenruecklauf beendet") << u"1\r2"_s << 10;
    QTest::newRow("zweiter punkt beendet") << u"1.2.3"_s << 12;
    QTest::newRow("exponent") << u"1.5E1"_s << 150;
    QTest::newRow("exponent d negativ") << u"25d-1"_s << 25;
    QTest::newRow("exponent ohne ziffern") << u"3e+x"_s << 30;
    QTest::newRow("hex") << u"&H10"_s << 160;
    QTest::newRow("hex endet an z") << u"&hAz"_s << 100;
    QTest::newRow("hex 16 bit ist negativ") << u"&HFFFF"_s << 0;
    QTest::newRow("oktal endet an 8") << u"&O18"_s << 10;
    QTest::newRow("negativ") << u"-3"_s << 0;
    QTest::newRow("unterlauf") << u"1e-400"_s << 0;
}

void TestAufzeichnungskript::warten()
{
    QFETCH(QString, parameter);
    QFETCH(int, takte);
    const qint64 vorher = m_desktop.vergangeneMs();
    // Quoted, so that blanks and commas reach the number reader as they are.
    BefehlAusführen(m_felder, m_desktop, u"Warten,\""_s + parameter + u'"');
    QCOMPARE(anzahl(m_desktop.protokoll, u"warten(100)"_s), takte);
    QCOMPARE(m_desktop.protokoll.size(), takte);
    QCOMPARE(m_desktop.vergangeneMs() - vorher, qint64(takte) * 100);
}

void TestAufzeichnungskript::fensterSpaeter_data()
{
    QTest::addColumn<qint64>("nachMs");
    QTest::newRow("sofort") << qint64(0);
    QTest::newRow("nach 10 s") << qint64(10000);
    QTest::newRow("kurz vor schluss") << qint64(14500);
}

void TestAufzeichnungskript::fensterSpaeter()
{
    QFETCH(qint64, nachMs);
    m_desktop.fenster.clear();
    const qint64 vorher = m_desktop.vergangeneMs();
    m_desktop.spaeteFenster.insert(vorher + nachMs, u"Neues Fenster"_s);
    BefehlAusführen(m_felder, m_desktop, u"FensterAktivieren,\"neues\""_s);
    const qint64 dauer = m_desktop.vergangeneMs() - vorher;
    // Noticed within one search step (this desktop sends no window events),
    // then the 200-ms pause.
    QVERIFY2(dauer >= nachMs + 200 && dauer <= nachMs + 200 + 250,
             qPrintable(QString::number(dauer)));
    QCOMPARE(m_desktop.protokoll.last(), u"warten(200)"_s);
    QCOMPARE(m_berichte, (QStringList{u"Aktiviere \"neues\""_s, kOk}));
}

void TestAufzeichnungskript::fensterNie_data()
{
    QTest::addColumn<int>("startMs");
    QTest::addColumn<qint64>("mindestens");
    QTest::addColumn<qint64>("hoechstens");
    // The 15 seconds are a difference of whole-second clock readings, so a
    // search that starts late in a second ends up to one second earlier.
    QTest::newRow("volle sekunde") << 0 << qint64(15000) << qint64(15000);
    QTest::newRow("spaet in der sekunde") << 900 << qint64(14100) << qint64(14350);
}

void TestAufzeichnungskript::fensterNie()
{
    QFETCH(int, startMs);
    QFETCH(qint64, mindestens);
    QFETCH(qint64, hoechstens);
    m_desktop.uhrStellen(QDateTime(QDate(2026, 12, 5), QTime(20, 15, 0).addMSecs(startMs)));
    const qint64 vorher = m_desktop.vergangeneMs();
    try {
        BefehlAusführen(m_felder, m_desktop, u"fensterAKTIVIEREN,\"Nie\""_s);
        QFAIL("kein Fehler");
    } catch (const Fehler& f) {
        QCOMPARE(f.nummer(), 1);
        QCOMPARE(f.quelle(), u"BefehlAusführen"_s);
        QCOMPARE(f.meldung(),
                 u"Der Befehl \"fensterAKTIVIEREN\" schlug fehl, da ein Fenster mit "
                 u"dem Titel \"Nie\" 15 Sekunden lang nicht gefunden werden konnte."_s);
    }
    const qint64 dauer = m_desktop.vergangeneMs() - vorher;
    QVERIFY2(dauer >= mindestens && dauer <= hoechstens, qPrintable(QString::number(dauer)));
    QCOMPARE(m_berichte, QStringList{u"Aktiviere \"Nie\""_s});
}

void TestAufzeichnungskript::phasen_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QString>("vorsatz");
    QTest::newRow("starten") << 0 << u"AnwendungStarten"_s
                             << u"Fehler beim Starten der TV-Applikation."_s;
    QTest::newRow("kanal") << 1 << u"KanalWechseln"_s << u"Fehler beim Wechseln des Kanals."_s;
    QTest::newRow("aufnahme") << 2 << u"AufzeichnungStarten"_s
                              << u"Fehler beim Starten der Aufzeichnung."_s;
    QTest::newRow("aufnahme ende")
        << 3 << u"AufzeichnungBeenden"_s << u"Fehler beim Beenden der Aufzeichnung."_s;
    QTest::newRow("beenden") << 4 << u"AnwendungBeenden"_s
                             << u"Fehler beim Beenden der TV-Applikation."_s;
}

void TestAufzeichnungskript::phasen()
{
    QFETCH(int, phase);
    QFETCH(QString, quelle);
    QFETCH(QString, vorsatz);
    const QStringList liste{u"TastenSenden,\"1\""_s, u"Xyz,\"2\""_s, u"Beep"_s};
    QStringList* listen[] = {&m_felder.BefehleAnwendungStarten, &m_felder.BefehleKanalWechseln,
                             &m_felder.BefehleAufnahmeStarten, &m_felder.BefehleAufnahmeBeenden,
                             &m_felder.BefehleAnwendungBeenden};
    void (*prozeduren[])(const Skriptfelder&, Desktop&) = {AnwendungStarten, KanalWechseln,
                                                           AufzeichnungStarten, AufzeichnungBeenden,
                                                           AnwendungBeenden};
    // The other lists hold commands that must not run.
    for (QStringList* l : listen)
        *l = {u"TastenSenden,\"falsch\""_s};
    *listen[phase] = liste;
    try {
        prozeduren[phase](m_felder, m_desktop);
        QFAIL("kein Fehler");
    } catch (const Fehler& f) {
        QCOMPARE(f.nummer(), 1);
        QCOMPARE(f.quelle(), quelle);
        QCOMPARE(f.meldung(), vorsatz + u"\r\nUnbekannter Befehl \"Xyz\" gefunden."_s);
    }
    QCOMPARE(m_desktop.protokoll, (QStringList{u"tasten(1)"_s, u"warten(100)"_s}));
    QCOMPARE(m_berichte, (QStringList{u"Sende Taste \"1\""_s, kOk, u"Unbekannter Befehl"_s}));
    QCOMPARE(m_anzeigenErzeugt, 1);

    // An empty list runs nothing and raises nothing.
    listen[phase]->clear();
    m_desktop.protokoll.clear();
    prozeduren[phase](m_felder, m_desktop);
    QVERIFY(m_desktop.protokoll.isEmpty());
}

void TestAufzeichnungskript::phaseFehlendesArgument()
{
    m_felder.BefehleAufnahmeStarten = {u"Beep"_s, u"TastenSenden"_s};
    try {
        AufzeichnungStarten(m_felder, m_desktop);
        QFAIL("kein Fehler");
    } catch (const Fehler& f) {
        QCOMPARE(f.nummer(), 5);
        QCOMPARE(f.quelle(), u"AufzeichnungStarten"_s);
        QCOMPARE(f.meldung(), u"Fehler beim Starten der Aufzeichnung.\r\nUngültiger "
                              u"Prozeduraufruf oder ungültiges Argument"_s);
    }
    QCOMPARE(m_desktop.protokoll, QStringList{u"beep"_s});
}

void TestAufzeichnungskript::kanalWechselnAus()
{
    m_felder.KanalWechselnAktiv = false;
    m_felder.BefehleKanalWechseln = {u"TastenSenden,\"[Kanal]\""_s, u"Xyz"_s};
    KanalWechseln(m_felder, m_desktop);
    QVERIFY(m_desktop.protokoll.isEmpty());
    QVERIFY(m_berichte.isEmpty());

    m_felder.KanalWechselnAktiv = true;
    m_felder.BefehleKanalWechseln.removeLast();
    KanalWechseln(m_felder, m_desktop);
    QCOMPARE(m_desktop.protokoll.first(), u"tasten(07)"_s);
}

void TestAufzeichnungskript::ohneStatusKeineBerichte()
{
    m_felder.StatusAnzeigen = false;
    m_felder.BefehleAnwendungStarten = {u"AnwendungStarten,\"/opt/TV/tv.exe -x\""_s, u"Beep"_s};
    AnwendungStarten(m_felder, m_desktop);
    QCOMPARE(m_desktop.protokoll.size(), 2);
    QVERIFY(m_berichte.isEmpty());
    QCOMPARE(m_anzeigenErzeugt, 0);
}

QTEST_GUILESS_MAIN(TestAufzeichnungskript)
#include "tst_aufzeichnungskript.moc"
