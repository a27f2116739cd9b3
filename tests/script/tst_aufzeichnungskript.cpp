#include <map>

#include <QTest>

#include "script/Aufzeichnungskript.h"
#include "script/Skriptfelder.h"
#include "script/Statusanzeige.h"
#include "script/ZahlLesen.h"
#include "tests/gemeinsam/AufzeichnenderDesktop.h"
#include "tests/gemeinsam/Falltabelle.h"
#include "tests/gemeinsam/Fehlerpruefung.h"

using namespace Qt::StringLiterals;

namespace {
QStringList berichte; // "ok" stands for ShowDebugInfoAddOk
int anzeigenErzeugt = 0;

struct AufzeichnendeAnzeige : Statusanzeige
{
    void ShowDebugInfo(const QString& text) override { berichte << text; }
    void ShowDebugInfoAddOk() override { berichte << u"ok"_s; }
};

const QString kOk = u"ok"_s;
} // namespace

/// The interpreter's logic on the recording fake desktop.
class TestAufzeichnungskript : public QObject
{
    Q_OBJECT

    Skriptfelder m_felder;
    AufzeichnenderDesktop m_desktop;

private slots:
    void init()
    {
        m_felder = Skriptfelder();
        m_felder.StatusAnzeigen = true;
        m_felder.Kanal = u"07"_s;
        m_felder.TVAnwendungtitel = u"Mein TV"_s;
        m_felder.TVAnwendungdatei = u"tv.exe"_s;
        m_felder.TVSoftwarePfad = u"/opt/TV"_s;
        m_desktop = AufzeichnenderDesktop();
        m_desktop.startbar = {u"/opt/TV/tv.exe -x"_s};
        m_desktop.fenster = {u"Mein TV - Kanal 7"_s};
        m_desktop.ungueltigeTasten = {u"%{F4}x"_s};
        berichte.clear();
        anzeigenErzeugt = 0;
        StatusanzeigeFabrikSetzen([] {
            ++anzeigenErzeugt;
            return std::make_unique<AufzeichnendeAnzeige>();
        });
    }

    void cleanupTestCase() { StatusanzeigeFabrikSetzen({}); }

    void befehle_data() { falltabelle("script-faelle.txt", "befehle"); }
    void befehle()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, bericht);
        QFETCH(QString, protokoll);
        QFETCH(QString, fehler);
        QCOMPARE(fehlerVon([&] { BefehlAusführen(m_felder, m_desktop, zeile); }), fehler);
        QCOMPARE(berichte, bericht.isNull()
                               ? QStringList()
                               : QStringList{bericht} + QStringList(fehler.isEmpty(), kOk));
        QCOMPARE(m_desktop.protokoll.join(u'|'), protokoll);
    }

    void zahlen_data() { falltabelle("script-faelle.txt", "zahlen"); }
    void zahlen()
    {
        QFETCH(QString, text);
        QFETCH(QString, wert);
        const std::optional<double> gelesen = ZahlLesen(text);
        if (wert == u"ueberlauf"_s) {
            QVERIFY2(!gelesen, qPrintable(QString::number(gelesen.value_or(0))));
            return;
        }
        QVERIFY(gelesen);
        // Exact: both sides are the double nearest to the decimal text.
        QVERIFY2(*gelesen == wert.toDouble(), qPrintable(QString::number(*gelesen, 'g', 17)));
    }

    void warten_data() { falltabelle("script-faelle.txt", "warten"); }
    void warten()
    {
        QFETCH(QString, parameter);
        QFETCH(QString, takte);
        BefehlAusführen(m_felder, m_desktop, u"Warten,\""_s + parameter + u'"');
        QCOMPARE(m_desktop.protokoll, QStringList(takte.toInt(), u"warten(100)"_s));
    }

    void fenstersuche_data() { falltabelle("script-faelle.txt", "fenstersuche"); }
    void fenstersuche()
    {
        QFETCH(QString, fensterNachMs);
        QFETCH(QString, uhrMs);
        QFETCH(QString, dauer);
        QFETCH(QString, fehler);
        const bool nie = fensterNachMs.toLongLong() < 0;
        m_desktop.fenster.clear();
        if (!nie)
            m_desktop.spaeteFenster.insert(fensterNachMs.toLongLong(), u"Neues Fenster"_s);
        m_desktop.uhrStellen(m_desktop.jetzt().addMSecs(uhrMs.toInt()));
        QCOMPARE(fehlerVon([&] {
                     BefehlAusführen(m_felder, m_desktop, u"fensterAKTIVIEREN,\"neues\""_s);
                 }),
                 fehler);
        const qint64 ueber = m_desktop.vergangeneMs() - dauer.toLongLong();
        QVERIFY2(ueber >= 0 && ueber <= 250, qPrintable(QString::number(ueber)));
        QCOMPARE(berichte, QStringList{u"Aktiviere \"neues\""_s} + QStringList(!nie, kOk));
    }

    void phasen_data() { falltabelle("script-faelle.txt", "phasen"); }
    void phasen()
    {
        QFETCH(QString, phase);
        QFETCH(QString, befehl);
        QFETCH(QString, fehler);
        using Prozedur = void (*)(const Skriptfelder&, Desktop&);
        const std::map<QString, std::pair<QStringList Skriptfelder::*, Prozedur>> phasen{
            {u"AnwendungStarten"_s, {&Skriptfelder::BefehleAnwendungStarten, AnwendungStarten}},
            {u"KanalWechseln"_s, {&Skriptfelder::BefehleKanalWechseln, KanalWechseln}},
            {u"AufzeichnungStarten"_s,
             {&Skriptfelder::BefehleAufnahmeStarten, AufzeichnungStarten}},
            {u"AufzeichnungBeenden"_s,
             {&Skriptfelder::BefehleAufnahmeBeenden, AufzeichnungBeenden}},
            {u"AnwendungBeenden"_s, {&Skriptfelder::BefehleAnwendungBeenden, AnwendungBeenden}}};
        for (const auto& [name, p] : phasen)
            m_felder.*p.first = {u"TastenSenden,\"falsch\""_s}; // fails if it runs
        const auto& [liste, prozedur] = phasen.at(phase);
        m_felder.*liste = {u"TastenSenden,\"1\""_s, befehl, u"Beep"_s};
        QCOMPARE(fehlerVon([&] { prozedur(m_felder, m_desktop); }), fehler);
        QCOMPARE(m_desktop.protokoll, (QStringList{u"tasten(1)"_s, u"warten(100)"_s}));
        QCOMPARE(berichte.mid(0, 2), (QStringList{u"Sende Taste \"1\""_s, kOk}));
        QCOMPARE(anzeigenErzeugt, 1);
    }

    void abgeschaltet()
    {
        // Channel changing switched off runs nothing; without the status
        // display switched on no display is made.
        m_felder.KanalWechselnAktiv = false;
        m_felder.BefehleKanalWechseln = {u"TastenSenden,\"[Kanal]\""_s, u"Xyz"_s};
        KanalWechseln(m_felder, m_desktop);
        m_felder.StatusAnzeigen = false;
        m_felder.BefehleAnwendungStarten = {u"Beep"_s};
        AnwendungStarten(m_felder, m_desktop);
        QCOMPARE(m_desktop.protokoll, QStringList{u"beep"_s});
        QCOMPARE(anzeigenErzeugt, 0);
    }
};

QTEST_GUILESS_MAIN(TestAufzeichnungskript)
#include "tst_aufzeichnungskript.moc"
