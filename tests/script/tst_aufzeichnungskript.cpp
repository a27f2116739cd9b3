#include <QTest>

#include "script/Aufzeichnungskript.h"
#include "script/Skriptfelder.h"
#include "script/Statusanzeige.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"
#include "tests/gemeinsam/Fehlerpruefung.h"

using namespace Qt::StringLiterals;

namespace {
/// Records the reports; "ok" stands for ShowDebugInfoAddOk.
struct AufzeichnendeAnzeige : Statusanzeige
{
    QStringList& ziel;
    explicit AufzeichnendeAnzeige(QStringList& z)
        : ziel(z)
    {}
    void ShowDebugInfo(const QString& text) override { ziel << text; }
    void ShowDebugInfoAddOk() override { ziel << u"ok"_s; }
};

const QString kOk = u"ok"_s;
const QString kQuelle = u"(1) BefehlAusführen: "_s;
} // namespace

/// The interpreter's logic on the recording fake desktop.
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
        QTest::addColumn<QString>("bericht"); // null: none
        QTest::addColumn<QString>("protokoll");
        QTest::addColumn<QString>("fehler");
        const auto zeile = [](const QString& z, const QString& bericht, const QString& protokoll,
                              const QString& fehler = {}) {
            QTest::newRow(qPrintable(z)) << z << bericht << protokoll << fehler;
        };
        zeile(u"AnwendungStarten,\"[TVSoftwarePfad]/tv.exe -x\""_s, u"Starte \"tv.exe -x\""_s,
              u"starten(/opt/TV/tv.exe -x)"_s);
        zeile(u"FensterAktivieren,\"[TVAnwendungtitel]\""_s, u"Aktiviere \"Mein TV\""_s,
              u"zeigen(Mein TV)|aktivieren(Mein TV)|warten(200)"_s);
        zeile(u"TASTENSENDEN,\"[alt]r\""_s, u"Sende Tasten \"[alt]r\""_s,
              u"tasten(%r)|warten(100)"_s);
        zeile(u"TastenSenden,\"[Esc]\""_s, u"Sende Taste \"[Esc]\""_s,
              u"tasten({ESC})|warten(100)"_s);
        zeile(u"TastenSenden,\"[Foo]x\""_s, u"Sende Tasten \"[Foo]x\""_s,
              u"tasten([Foo]x)|warten(100)"_s);
        // Table order: [DELETE] before [DEL], [F1] before [F10].
        zeile(u"TastenSenden,\"[STRG][Umschalt]a[ENTF][DEL][F1][F16][F10]\""_s,
              u"Sende Tasten \"[STRG][Umschalt]a[ENTF][DEL][F1][F16][F10]\""_s,
              u"tasten(^+a{DELETE}{DEL}{F1}{F16}{F10})|warten(100)"_s);
        zeile(u"Warten,0"_s, u"Warte 0 Sekunden"_s, QString());
        zeile(u"Terminieren,\"gibtsnicht-sendaro.exe\""_s,
              u"Terminiere \"gibtsnicht-sendaro.exe\""_s, QString());
        zeile(u"Beep"_s, u"Beep"_s, u"beep"_s);

        zeile(u"Starten,\"x\""_s, u"Unbekannter Befehl"_s, QString(),
              kQuelle + u"Unbekannter Befehl \"Starten\" gefunden."_s);
        zeile(u" TastenSenden,\"a\""_s, u"Unbekannter Befehl"_s, QString(),
              kQuelle + u"Unbekannter Befehl \" TastenSenden\" gefunden."_s);
        zeile(u"AnwendungStarten,\"/nix/da/tv.exe\""_s, u"Starte \"tv.exe\""_s,
              u"starten(/nix/da/tv.exe)"_s,
              kQuelle + u"Die Anwendung \"/nix/da/tv.exe\" konnte nicht gestartet werden."_s);
        // Quoted as written, before the translation.
        zeile(u"TastenSenden,\"[Alt][F4]x\""_s, u"Sende Tasten \"[Alt][F4]x\""_s, u"warten(100)"_s,
              kQuelle + u"Die Tastenkombination \"[Alt][F4]x\" enthält ungültige Werte."_s);
        for (const char* befehl :
             {"AnwendungStarten", "FensterAktivieren", "TastenSenden", "Warten", "Terminieren"})
            zeile(QString::fromLatin1(befehl), QString(), QString(),
                  u"(5) BefehlAusführen: Ungültiger Prozeduraufruf oder ungültiges Argument"_s);
        for (const QString& zahl : {u"\"1e300\""_s, u"&H100000000"_s})
            zeile(u"Warten,"_s + zahl, u"Warte %1 Sekunden"_s.arg(QString(zahl).remove(u'"')),
                  QString(), u"(6) BefehlAusführen: Überlauf"_s);
    }

    void befehle()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, bericht);
        QFETCH(QString, protokoll);
        QFETCH(QString, fehler);
        QCOMPARE(fehlerVon([&] { BefehlAusführen(m_felder, m_desktop, zeile); }), fehler);
        QCOMPARE(m_berichte, bericht.isNull()
                                 ? QStringList()
                                 : QStringList{bericht} + QStringList(fehler.isEmpty(), kOk));
        QCOMPARE(m_desktop.protokoll.join(u'|'), protokoll);
    }

    void warten_data()
    {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<int>("takte");
        // Blanks, tabs and line feeds are skipped, CR is not; a half tick goes
        // to the even neighbour; &HFFFF is -1 in 16 bits.
        // clang-format off
        for (const auto& [p, t] : std::initializer_list<std::pair<QString, int>>{
                 {u"0.25"_s, 2}, {u"0.35"_s, 4}, {u"2,5"_s, 20}, {u"abc3"_s, 0},
                 {u" 1\t.\n5\r9"_s, 15}, {u"1.5E1"_s, 150}, {u"25d-1"_s, 25}, {u"3e+x"_s, 30},
                 {u"&hAz"_s, 100}, {u"&HFFFF"_s, 0}, {u"&O18"_s, 10}})
            QTest::newRow(qPrintable(p)) << p << t;
        // clang-format on
    }

    void warten()
    {
        QFETCH(QString, parameter);
        QFETCH(int, takte);
        // Quoted, so that blanks and commas reach the number reader as they are.
        BefehlAusführen(m_felder, m_desktop, u"Warten,\""_s + parameter + u'"');
        QCOMPARE(m_desktop.protokoll, QStringList(takte, u"warten(100)"_s));
    }

    void fenstersuche_data()
    {
        QTest::addColumn<qint64>("fensterNachMs"); // -1: never
        QTest::addColumn<int>("uhrMs");            // where in its second the clock stands
        QTest::addColumn<qint64>("dauer");         // to within a search step
        // Found within one search step, then the 200-ms pause.
        QTest::newRow("kurz vor schluss") << qint64(14500) << 0 << qint64(14700);
        // 15 seconds as a difference of whole-second clock readings.
        QTest::newRow("nie") << qint64(-1) << 0 << qint64(15000);
        QTest::newRow("nie, spaet in der sekunde") << qint64(-1) << 900 << qint64(14100);
    }

    void fenstersuche()
    {
        QFETCH(qint64, fensterNachMs);
        QFETCH(int, uhrMs);
        QFETCH(qint64, dauer);
        m_desktop.fenster.clear();
        if (fensterNachMs >= 0)
            m_desktop.spaeteFenster.insert(fensterNachMs, u"Neues Fenster"_s);
        m_desktop.uhrStellen(m_desktop.jetzt().addMSecs(uhrMs));
        const QString fehler = fehlerVon(
            [&] { BefehlAusführen(m_felder, m_desktop, u"fensterAKTIVIEREN,\"neues\""_s); });
        const qint64 ueber = m_desktop.vergangeneMs() - dauer;
        QVERIFY2(ueber >= 0 && ueber <= 250, qPrintable(QString::number(ueber)));
        const bool nie = fensterNachMs < 0;
        QCOMPARE(fehler, nie ? kQuelle + u"Der Befehl \"fensterAKTIVIEREN\" schlug fehl, da ein "
                                         u"Fenster mit dem Titel \"neues\" 15 Sekunden lang "
                                         u"nicht gefunden werden konnte."_s
                             : QString());
        QCOMPARE(m_berichte, QStringList{u"Aktiviere \"neues\""_s} + QStringList(!nie, kOk));
    }

    void phasen()
    {
        struct Phase
        {
            QStringList Skriptfelder::*liste;
            void (*prozedur)(const Skriptfelder&, Desktop&);
            QString name;
            QString vorsatz;
        };
        const Phase phasen[] = {
            {&Skriptfelder::BefehleAnwendungStarten, AnwendungStarten, u"AnwendungStarten"_s,
             u"Fehler beim Starten der TV-Applikation."_s},
            {&Skriptfelder::BefehleKanalWechseln, KanalWechseln, u"KanalWechseln"_s,
             u"Fehler beim Wechseln des Kanals."_s},
            {&Skriptfelder::BefehleAufnahmeStarten, AufzeichnungStarten, u"AufzeichnungStarten"_s,
             u"Fehler beim Starten der Aufzeichnung."_s},
            {&Skriptfelder::BefehleAufnahmeBeenden, AufzeichnungBeenden, u"AufzeichnungBeenden"_s,
             u"Fehler beim Beenden der Aufzeichnung."_s},
            {&Skriptfelder::BefehleAnwendungBeenden, AnwendungBeenden, u"AnwendungBeenden"_s,
             u"Fehler beim Beenden der TV-Applikation."_s}};
        // Command 2 of 3 fails, command 3 does not run, nor do the other
        // lists; the phase keeps the number of the inner error.
        const std::pair<QString, QString> fehler[] = {
            {u"Xyz"_s, u"(1) %1: %2\r\nUnbekannter Befehl \"Xyz\" gefunden."_s},
            {u"TastenSenden"_s,
             u"(5) %1: %2\r\nUngültiger Prozeduraufruf oder ungültiges Argument"_s}};
        for (const Phase& p : phasen)
            m_felder.*p.liste = {u"TastenSenden,\"falsch\""_s};
        for (const Phase& p : phasen) {
            for (const auto& [zeile, meldung] : fehler) {
                m_felder.*p.liste = {u"TastenSenden,\"1\""_s, zeile, u"Beep"_s};
                m_desktop.protokoll.clear();
                QCOMPARE(fehlerVon([&] { p.prozedur(m_felder, m_desktop); }),
                         meldung.arg(p.name, p.vorsatz));
                QCOMPARE(m_desktop.protokoll, (QStringList{u"tasten(1)"_s, u"warten(100)"_s}));
            }
            m_felder.*p.liste = {u"TastenSenden,\"falsch\""_s};
        }
        QCOMPARE(m_berichte.mid(0, 2), (QStringList{u"Sende Taste \"1\""_s, kOk}));
        QCOMPARE(m_anzeigenErzeugt, 1);
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
        QCOMPARE(m_anzeigenErzeugt, 0);
    }
};

QTEST_GUILESS_MAIN(TestAufzeichnungskript)
#include "tst_aufzeichnungskript.moc"
