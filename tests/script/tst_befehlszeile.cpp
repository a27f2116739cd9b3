#include <QTest>

#include "script/x11/Programmstart.h"
#include "script/x11/Titelsuche.h"
#include "script/x11/X11Desktop.h"

using namespace Qt::StringLiterals;

/// The parts of the X11 back-end that need no X server.
class TestBefehlszeile : public QObject
{
    Q_OBJECT
private slots:
    void zerlegen_data()
    {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QStringList>("woerter"); // {"?"}: incomplete
        const QStringList unvollstaendig{u"?"_s};
        QTest::newRow("nur blanks") << u"  \t "_s << QStringList();
        QTest::newRow("blanks, tabs und doppelte anfuehrung")
            << u"  \"/opt/Mein TV/tv\" \t -a   3  "_s
            << QStringList{u"/opt/Mein TV/tv"_s, u"-a"_s, u"3"_s};
        QTest::newRow("einfache anfuehrung woertlich")
            << u"echo '$HOME \\n \"x\"'"_s << QStringList{u"echo"_s, u"$HOME \\n \"x\""_s};
        QTest::newRow("backslash ausserhalb")
            << u"a\\ b c\\\\d \\' tv \\"_s
            << QStringList{u"a b"_s, u"c\\d"_s, u"'"_s, u"tv"_s, u"\\"_s};
        QTest::newRow("backslash in doppelten")
            << u"\"a\\\"b\\\\c\\$d\\`e\\x\""_s << QStringList{u"a\"b\\c$d`e\\x"_s};
        QTest::newRow("teile werden verbunden")
            << u"a\"b c\"'d e'f"_s << QStringList{u"ab cd ef"_s};
        QTest::newRow("zeilenfortsetzung") << u"tv a\\\nb"_s << QStringList{u"tv"_s, u"ab"_s};
        QTest::newRow("doppelte offen") << u"\"/opt/tv"_s << unvollstaendig;
        QTest::newRow("maskiertes ende") << u"tv \"abc\\\""_s << unvollstaendig;
    }

    void zerlegen()
    {
        QFETCH(QString, zeile);
        QFETCH(QStringList, woerter);
        QCOMPARE(befehlszeileZerlegen(zeile).value_or(QStringList{u"?"_s}), woerter);
    }

    void titelWaehlen_data()
    {
        QTest::addColumn<QStringList>("titel");
        QTest::addColumn<QString>("suche");
        QTest::addColumn<int>("erwartet");
        // Exact, then equal ignoring case, then beginning, end, anywhere.
        const QStringList fenster{u"Fernsehen - Ansicht"_s, u"fernsehen"_s, u"Fernsehen"_s,
                                  u"Tagesschau - VLC media player"_s};
        QTest::newRow("genau") << fenster << u"Fernsehen"_s << 2;
        QTest::newRow("gleich ohne gross klein") << fenster << u"FERNSEHEN"_s << 1;
        QTest::newRow("anfang") << fenster << u"fernsehen - an"_s << 0;
        QTest::newRow("ende") << fenster << u"vlc MEDIA player"_s << 3;
        QTest::newRow("enthalten") << fenster << u"schau"_s << 3;
        QTest::newRow("leere suche") << fenster << QString() << -1;
        QTest::newRow("anfang vor ende")
            << QStringList{u"Ende TV"_s, u"TV Anfang"_s} << u"tv"_s << 1;
        QTest::newRow("ende vor enthalten")
            << QStringList{u"ein TV hier"_s, u"mein TV"_s} << u"tv"_s << 1;
    }

    void titelWaehlen()
    {
        QFETCH(QStringList, titel);
        QFETCH(QString, suche);
        QFETCH(int, erwartet);
        QCOMPARE(::titelWaehlen(titel, suche), erwartet);
    }

    void ohneDisplay()
    {
        const QByteArray vorher = qgetenv("DISPLAY");
        qputenv("DISPLAY", ":4711");
        X11Desktop desktop;
        qputenv("DISPLAY", vorher);
        QVERIFY(!desktop.verbunden());
        QVERIFY(desktop.fehlermeldung().contains(u":4711"_s));
        QVERIFY(!desktop.fensterAktivieren(u"x"_s) && !desktop.tastenSenden(u"x"_s));
        // Programs start without a display all the same.
        QVERIFY(desktop.programmStarten(u"true"_s, Desktop::Fensterart::MinimiertOhneFokus));
        QVERIFY(desktop.letzteProzessId() > 0);
    }
};

QTEST_GUILESS_MAIN(TestBefehlszeile)
#include "tst_befehlszeile.moc"
