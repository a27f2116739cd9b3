#include <QTest>

#include "script/Aufzeichnungskript.h"
#include "script/Skriptfelder.h"
#include "script/Statusanzeige.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"
#include "tests/gemeinsam/Fehlerpruefung.h"

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
const QString kQuelle = u"(1) BefehlAusführen: "_s;
const QString kOhneParameter =
    u"(5) BefehlAusführen: Ungültiger Prozeduraufruf oder ungültiges Argument"_s;
} // namespace

/// The interpreter's logic on the recording fake desktop: what each command
/// reports, does and raises. The real desktop is tested in tst_x11desktop.
class TestAufzeichnungskript : public QObject
{
    Q_OBJECT

    Skriptfelder m_felder;
    AufzeichnenderDesktop m_desktop;
    QStringList m_berichte;
    int m_anzeigenErzeugt = 0;

private slots:
    void init()
    {
        m_felder = Skriptfelder();
        m_felder.StatusAnzeigen = true;
        m_felder.Kanal = u"07"_s;
        m_felder.TVAnwendungtitel = u"Mein TV"_s;
        m_felder.TVSoftwarePfad = u"/opt/TV"_s;
        m_desktop = AufzeichnenderDesktop();
        m_desktop.startbar = {u"/opt/TV/tv.exe -x"_s};
        m_desktop.fenster = {u"Mein TV - Kanal 7"_s};
        m_desktop.ungueltigeTasten = {u"%{F4}x"_s};
        m_berichte.clear();
        m_anzeigenErzeugt = 0;
        StatusanzeigeFabrikSetzen([this] {
            ++m_anzeigenErzeugt;
            return std::make_unique<AufzeichnendeAnzeige>(m_berichte);
        });
    }

    void cleanupTestCase() { StatusanzeigeFabrikSetzen({}); }

    void befehle_data()
    {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QStringList>("berichte");
        QTest::addColumn<QStringList>("protokoll");
        QTest::addColumn<QString>("fehler");
        const auto zeile = [](const char* name, const QString& z, const QStringList& berichte,
                              const QStringList& protokoll, const QString& fehler = {}) {
            QTest::newRow(name) << z << berichte << protokoll << fehler;
        };
        const QString w100 = u"warten(100)"_s;

        zeile("starten mit platzhalter", u"AnwendungStarten,\"[TVSoftwarePfad]/tv.exe -x\""_s,
              {u"Starte \"tv.exe -x\""_s, kOk}, {u"starten(/opt/TV/tv.exe -x)"_s});
        zeile("aktivieren mit platzhalter", u"FensterAktivieren,\"[TVAnwendungtitel]\""_s,
              {u"Aktiviere \"Mein TV\""_s, kOk},
              {u"zeigen(Mein TV)"_s, u"aktivieren(Mein TV)"_s, u"warten(200)"_s});
        zeile("alt f4", u"TastenSenden,\"[Alt][F4]\""_s, {u"Sende Tasten \"[Alt][F4]\""_s, kOk},
              {u"tasten(%{F4})"_s, w100});
        zeile("alt r klein gross befehl", u"TASTENSENDEN,\"[alt]r\""_s,
              {u"Sende Tasten \"[alt]r\""_s, kOk}, {u"tasten(%r)"_s, w100});
        zeile("eine taste in klammern", u"TastenSenden,\"[Esc]\""_s,
              {u"Sende Taste \"[Esc]\""_s, kOk}, {u"tasten({ESC})"_s, w100});
        zeile("unbekannter name bleibt", u"TastenSenden,\"[Foo]x\""_s,
              {u"Sende Tasten \"[Foo]x\""_s, kOk}, {u"tasten([Foo]x)"_s, w100});
        // Table order: [DELETE] before [DEL], [F1] before [F10].
        zeile("tabelle in reihenfolge",
              u"TastenSenden,\"[STRG][Umschalt]a[ENTF][DEL][F1][F16][F10]\""_s,
              {u"Sende Tasten \"[STRG][Umschalt]a[ENTF][DEL][F1][F16][F10]\""_s, kOk},
              {u"tasten(^+a{DELETE}{DEL}{F1}{F16}{F10})"_s, w100});
        zeile("warten null", u"Warten,0"_s, {u"Warte 0 Sekunden"_s, kOk}, {});
        zeile("terminieren nicht laufend", u"Terminieren,\"gibtsnicht-sendaro.exe\""_s,
              {u"Terminiere \"gibtsnicht-sendaro.exe\""_s, kOk}, {});
        zeile("beep", u"Beep"_s, {u"Beep"_s, kOk}, {u"beep"_s});

        const QStringList unbekannt{u"Unbekannter Befehl"_s};
        zeile("unbekannt", u"Starten,\"x\""_s, unbekannt, {},
              kQuelle + u"Unbekannter Befehl \"Starten\" gefunden."_s);
        zeile("blank davor", u" TastenSenden,\"a\""_s, unbekannt, {},
              kQuelle + u"Unbekannter Befehl \" TastenSenden\" gefunden."_s);
        zeile("leere zeile", QString(), unbekannt, {},
              kQuelle + u"Unbekannter Befehl \"\" gefunden."_s);
        zeile("nicht startbar", u"AnwendungStarten,\"/nix/da/tv.exe\""_s, {u"Starte \"tv.exe\""_s},
              {u"starten(/nix/da/tv.exe)"_s},
              kQuelle + u"Die Anwendung \"/nix/da/tv.exe\" konnte nicht gestartet werden."_s);
        // Quoted as written, before the translation.
        zeile("ungueltige tasten", u"TastenSenden,\"[Alt][F4]x\""_s,
              {u"Sende Tasten \"[Alt][F4]x\""_s}, {w100},
              kQuelle + u"Die Tastenkombination \"[Alt][F4]x\" enthält ungültige Werte."_s);
        for (const char* befehl :
             {"AnwendungStarten", "FensterAktivieren", "TastenSenden", "Warten", "Terminieren"})
            zeile(("ohne parameter " + QByteArray(befehl)).constData(), QString::fromLatin1(befehl),
                  {}, {}, kOhneParameter);
        zeile("warten zu lang", u"Warten,\"1e300\""_s, {u"Warte 1e300 Sekunden"_s}, {},
              u"(6) BefehlAusführen: Überlauf"_s);
        zeile("warten hex zu lang", u"Warten,&H100000000"_s, {u"Warte &H100000000 Sekunden"_s}, {},
              u"(6) BefehlAusführen: Überlauf"_s);
    }

    void befehle()
    {
        QFETCH(QString, zeile);
        QFETCH(QStringList, berichte);
        QFETCH(QStringList, protokoll);
        QFETCH(QString, fehler);
        QCOMPARE(fehlerVon([&] { BefehlAusführen(m_felder, m_desktop, zeile); }), fehler);
        QCOMPARE(m_berichte, berichte);
        QCOMPARE(m_desktop.protokoll, protokoll);
    }

    void warten_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<int>("takte");
        QTest::newRow("2.5") << u"2.5"_s << 25;
        // A half goes to the even neighbour: 2.5 ticks to 2, 3.5 to 4.
        QTest::newRow("0.25") << u"0.25"_s << 2;
        QTest::newRow("0.35") << u"0.35"_s << 4;
        QTest::newRow("komma beendet") << u"2,5"_s << 20;
        QTest::newRow("ohne ziffern") << u"abc3"_s << 0;
        QTest::newRow("leerraum ueberall, nicht cr") << u" 1\t.\n5\r9"_s << 15;
        QTest::newRow("zweiter punkt beendet") << u"1.2.3"_s << 12;
        QTest::newRow("exponent") << u"1.5E1"_s << 150;
        QTest::newRow("exponent d negativ") << u"25d-1"_s << 25;
        QTest::newRow("exponent ohne ziffern") << u"3e+x"_s << 30;
        QTest::newRow("hex endet an z") << u"&hAz"_s << 100;
        QTest::newRow("hex 16 bit ist negativ") << u"&HFFFF"_s << 0;
        QTest::newRow("oktal endet an 8") << u"&O18"_s << 10;
        QTest::newRow("unterlauf") << u"1e-400"_s << 0;
    }

    void warten()
    {
        QFETCH(QString, parameter);
        QFETCH(int, takte);
        // Quoted, so that blanks and commas reach the number reader as they are.
        BefehlAusführen(m_felder, m_desktop, u"Warten,\""_s + parameter + u'"');
        QCOMPARE(m_desktop.protokoll, QStringList(takte, u"warten(100)"_s));
        QCOMPARE(m_desktop.vergangeneMs(), qint64(takte) * 100);
    }

    void fenstersuche_data()
    {
        QTest::addColumn<qint64>("fensterNachMs"); // -1: never
        QTest::addColumn<int>("uhrMs");            // where in its second the clock stands
        QTest::addColumn<qint64>("mindestens");
        QTest::addColumn<qint64>("hoechstens");
        // Noticed within one search step (this desktop sends no window
        // events), then the 200-ms pause.
        QTest::newRow("nach 10 s") << qint64(10000) << 0 << qint64(10200) << qint64(10450);
        QTest::newRow("kurz vor schluss") << qint64(14500) << 0 << qint64(14700) << qint64(14950);
        // 15 seconds as a difference of whole-second clock readings.
        QTest::newRow("nie") << qint64(-1) << 0 << qint64(15000) << qint64(15000);
        QTest::newRow("nie, spaet in der sekunde")
            << qint64(-1) << 900 << qint64(14100) << qint64(14350);
    }

    void fenstersuche()
    {
        QFETCH(qint64, fensterNachMs);
        QFETCH(int, uhrMs);
        QFETCH(qint64, mindestens);
        QFETCH(qint64, hoechstens);
        m_desktop.fenster.clear();
        if (fensterNachMs >= 0)
            m_desktop.spaeteFenster.insert(fensterNachMs, u"Neues Fenster"_s);
        m_desktop.uhrStellen(m_desktop.jetzt().addMSecs(uhrMs));
        const QString fehler = fehlerVon(
            [&] { BefehlAusführen(m_felder, m_desktop, u"fensterAKTIVIEREN,\"neues\""_s); });
        const qint64 dauer = m_desktop.vergangeneMs();
        QVERIFY2(dauer >= mindestens && dauer <= hoechstens, qPrintable(QString::number(dauer)));
        if (fensterNachMs < 0) {
            QCOMPARE(fehler, kQuelle + u"Der Befehl \"fensterAKTIVIEREN\" schlug fehl, da ein "
                                       u"Fenster mit dem Titel \"neues\" 15 Sekunden lang nicht "
                                       u"gefunden werden konnte."_s);
            QCOMPARE(m_berichte, QStringList{u"Aktiviere \"neues\""_s});
        } else {
            QCOMPARE(fehler, QString());
            QCOMPARE(m_desktop.protokoll.last(), u"warten(200)"_s);
            QCOMPARE(m_berichte, (QStringList{u"Aktiviere \"neues\""_s, kOk}));
        }
    }

    void phasen_data()
    {
        QTest::addColumn<int>("phase");
        QTest::addColumn<QString>("name");
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

    void phasen()
    {
        QFETCH(int, phase);
        QFETCH(QString, name);
        QFETCH(QString, vorsatz);
        QStringList* listen[] = {&m_felder.BefehleAnwendungStarten, &m_felder.BefehleKanalWechseln,
                                 &m_felder.BefehleAufnahmeStarten, &m_felder.BefehleAufnahmeBeenden,
                                 &m_felder.BefehleAnwendungBeenden};
        void (*prozeduren[])(const Skriptfelder&,
                             Desktop&) = {AnwendungStarten, KanalWechseln, AufzeichnungStarten,
                                          AufzeichnungBeenden, AnwendungBeenden};
        // The other lists hold commands that must not run.
        for (QStringList* l : listen)
            *l = {u"TastenSenden,\"falsch\""_s};
        // Command 2 of 3 fails, command 3 does not run; the phase keeps the
        // number of the inner error.
        const QList<std::pair<QString, QString>> faelle{
            {u"Xyz"_s, u"(1) %1: %2\r\nUnbekannter Befehl \"Xyz\" gefunden."_s},
            {u"TastenSenden"_s,
             u"(5) %1: %2\r\nUngültiger Prozeduraufruf oder ungültiges Argument"_s}};
        for (const auto& [zeile, fehler] : faelle) {
            *listen[phase] = {u"TastenSenden,\"1\""_s, zeile, u"Beep"_s};
            m_desktop.protokoll.clear();
            QCOMPARE(fehlerVon([&] { prozeduren[phase](m_felder, m_desktop); }),
                     fehler.arg(name, vorsatz));
            QCOMPARE(m_desktop.protokoll, (QStringList{u"tasten(1)"_s, u"warten(100)"_s}));
        }
        QCOMPARE(m_berichte.mid(0, 2), (QStringList{u"Sende Taste \"1\""_s, kOk}));
        QCOMPARE(m_anzeigenErzeugt, 1);

        // An empty list runs nothing and raises nothing.
        listen[phase]->clear();
        m_desktop.protokoll.clear();
        prozeduren[phase](m_felder, m_desktop);
        QVERIFY(m_desktop.protokoll.isEmpty());
    }

    void kanalWechselnAus()
    {
        m_felder.KanalWechselnAktiv = false;
        m_felder.BefehleKanalWechseln = {u"TastenSenden,\"[Kanal]\""_s, u"Xyz"_s};
        KanalWechseln(m_felder, m_desktop);
        QVERIFY(m_desktop.protokoll.isEmpty());
        QVERIFY(m_berichte.isEmpty());
    }

    void ohneStatusKeineBerichte()
    {
        m_felder.StatusAnzeigen = false;
        m_felder.BefehleAnwendungStarten = {u"AnwendungStarten,\"/opt/TV/tv.exe -x\""_s, u"Beep"_s};
        AnwendungStarten(m_felder, m_desktop);
        QCOMPARE(m_desktop.protokoll.size(), 2);
        QVERIFY(m_berichte.isEmpty());
        QCOMPARE(m_anzeigenErzeugt, 0);
    }
};

QTEST_GUILESS_MAIN(TestAufzeichnungskript)
#include "tst_aufzeichnungskript.moc"
