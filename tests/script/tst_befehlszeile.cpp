#include <QTest>

#include "script/x11/Programmstart.h"
#include "script/x11/Titelsuche.h"
#include "script/x11/X11Desktop.h"
#include "tests/gemeinsam/Falltabelle.h"

using namespace Qt::StringLiterals;

/// The parts of the X11 back-end that need no X server.
class TestBefehlszeile : public QObject
{
    Q_OBJECT
private slots:
    void zerlegen_data() { falltabelle("script-faelle.txt", "befehlszeile"); }
    void zerlegen()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, woerter);
        QCOMPARE(befehlszeileZerlegen(zeile).value_or(QStringList{u"?"_s}),
                 woerter.split(u'|', Qt::SkipEmptyParts));
    }

    void titelWaehlen_data() { falltabelle("script-faelle.txt", "titel-waehlen"); }
    void titelWaehlen()
    {
        QFETCH(QString, titel);
        QFETCH(QString, anwendung);
        QFETCH(QString, suche);
        QFETCH(QString, erwartet);
        const QStringList eigene = anwendung.split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(::titelWaehlen(titel.split(u'|'), suche,
                                [&](qsizetype i) { return eigene.contains(QString::number(i)); }),
                 erwartet.toInt());
    }

    void ohneDisplay()
    {
        const QByteArray vorher = qgetenv("DISPLAY");
        qputenv("DISPLAY", ":4711");
        X11Desktop desktop;
        qputenv("DISPLAY", vorher);
        QVERIFY(!desktop.verbunden());
        QVERIFY(desktop.fehlermeldung().contains(u":4711"_s));
        QVERIFY(!desktop.fensterAktivieren(u"x"_s, u"x"_s) && !desktop.tastenSenden(u"x"_s));
        // Programs start without a display all the same.
        QVERIFY(desktop.programmStarten(u"true"_s, Desktop::Fensterart::MinimiertOhneFokus));
        QVERIFY(desktop.letzteProzessId() > 0);
    }
};

QTEST_GUILESS_MAIN(TestBefehlszeile)
#include "tst_befehlszeile.moc"
