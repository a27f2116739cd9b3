#include <QTest>

#include "tools/aufzeichnen/Befehlszeile.h"

using namespace Qt::StringLiterals;

class TestAufzeichnenBefehlszeile : public QObject
{
    Q_OBJECT
private slots:
    void gueltig_data();
    void gueltig();
    void ungueltig_data();
    void ungueltig();
};

void TestAufzeichnenBefehlszeile::gueltig_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("kanal");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<int>("dauer");
    QTest::addColumn<bool>("status");
    QTest::addColumn<bool>("prozesse");
    QTest::newRow("vorgaben") << QStringList{u"tv.azs"_s} << u"tv.azs"_s << u"01"_s
                              << u"Beispielsendung"_s << 15 << false << false;
    QTest::newRow("alles")
        << QStringList{u"--kanal"_s,          u"12"_s,      u"/x/tv.azs"_s, u"--titel"_s,
                       u"Tatort: Das Ende"_s, u"--dauer"_s, u"0"_s,         u"--status"_s}
        << u"/x/tv.azs"_s << u"12"_s << u"Tatort: Das Ende"_s << 0 << true << false;
    QTest::newRow("titel beginnt mit strich")
        << QStringList{u"tv.azs"_s, u"--titel"_s, u"--status"_s} << u"tv.azs"_s << u"01"_s
        << u"--status"_s << 15 << false << false;
    QTest::newRow("prozesse") << QStringList{u"--prozesse"_s} << QString() << u"01"_s
                              << u"Beispielsendung"_s << 15 << false << true;
}

void TestAufzeichnenBefehlszeile::gueltig()
{
    QFETCH(QStringList, argumente);
    QString fehler;
    const std::optional<Laufoptionen> o = BefehlszeileLesen(argumente, fehler);
    QVERIFY2(o.has_value(), qPrintable(fehler));
    QTEST(o->datei, "datei");
    QTEST(o->kanal, "kanal");
    QTEST(o->titel, "titel");
    QTEST(o->dauerSekunden, "dauer");
    QTEST(o->status, "status");
    QTEST(o->prozesse, "prozesse");
}

void TestAufzeichnenBefehlszeile::ungueltig_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QString>("fehler");
    QTest::newRow("nichts") << QStringList{} << u"Es fehlt die Definitionsdatei."_s;
    QTest::newRow("nur optionen") << QStringList{u"--status"_s}
                                  << u"Es fehlt die Definitionsdatei."_s;
    QTest::newRow("zwei dateien") << QStringList{u"a.azs"_s, u"b.azs"_s}
                                  << u"Es kann nur eine Definitionsdatei angegeben werden."_s;
    QTest::newRow("unbekannte option")
        << QStringList{u"a.azs"_s, u"--schnell"_s} << u"Unbekannte Option --schnell."_s;
    QTest::newRow("wert fehlt") << QStringList{u"a.azs"_s, u"--kanal"_s}
                                << u"Zur Option --kanal fehlt der Wert."_s;
    QTest::newRow("dauer keine zahl")
        << QStringList{u"a.azs"_s, u"--dauer"_s, u"1,5"_s}
        << u"Die Dauer \"1,5\" ist keine ganze Zahl von Sekunden zwischen 0 und 604800."_s;
    QTest::newRow("dauer negativ")
        << QStringList{u"a.azs"_s, u"--dauer"_s, u"-1"_s}
        << u"Die Dauer \"-1\" ist keine ganze Zahl von Sekunden zwischen 0 und 604800."_s;
    QTest::newRow("dauer zu gross")
        << QStringList{u"a.azs"_s, u"--dauer"_s, u"604801"_s}
        << u"Die Dauer \"604801\" ist keine ganze Zahl von Sekunden zwischen 0 und 604800."_s;
    QTest::newRow("prozesse mit datei") << QStringList{u"--prozesse"_s, u"a.azs"_s}
                                        << u"--prozesse wird ohne weitere Argumente aufgerufen."_s;
    QTest::newRow("leere datei") << QStringList{QString()} << u"Es fehlt die Definitionsdatei."_s;
}

void TestAufzeichnenBefehlszeile::ungueltig()
{
    QFETCH(QStringList, argumente);
    QString fehler;
    QVERIFY(!BefehlszeileLesen(argumente, fehler).has_value());
    QTEST(fehler, "fehler");
}

QTEST_GUILESS_MAIN(TestAufzeichnenBefehlszeile)
#include "tst_aufzeichnen_befehlszeile.moc"
