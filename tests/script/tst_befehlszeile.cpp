#include <QTest>

#include "script/x11/Programmstart.h"
#include "script/x11/Titelsuche.h"
#include "script/x11/X11Desktop.h"

using namespace Qt::StringLiterals;

/// The parts of the X11 back-end that need no X server: splitting a command
/// line, choosing a window by its title, and behaving sensibly without a
/// display. Everything else is tested on a real X server in tst_x11desktop.
class TestBefehlszeile : public QObject
{
    Q_OBJECT
private slots:
    void zerlegen_data();
    void zerlegen();
    void unvollstaendig_data();
    void unvollstaendig();
    void titelWaehlen_data();
    void titelWaehlen();
    void ohneDisplay();
};

void TestBefehlszeile::zerlegen_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::addColumn<QStringList>("woerter");

    QTest::newRow("leer") << QString() << QStringList();
    QTest::newRow("nur blanks") << u"  \t "_s << QStringList();
    QTest::newRow("programm allein") << u"/usr/bin/tv"_s << QStringList{u"/usr/bin/tv"_s};
    QTest::newRow("blanks und tabs")
        << u"  tv \t -a   -b  "_s << QStringList{u"tv"_s, u"-a"_s, u"-b"_s};
    QTest::newRow("doppelte anfuehrungszeichen")
        << u"\"/opt/Mein TV/tv\" --kanal 3"_s
        << QStringList{u"/opt/Mein TV/tv"_s, u"--kanal"_s, u"3"_s};
    QTest::newRow("einfache anfuehrungszeichen woertlich")
        << u"echo '$HOME \\n \"x\"'"_s << QStringList{u"echo"_s, u"$HOME \\n \"x\""_s};
    QTest::newRow("backslash ausserhalb")
        << u"a\\ b c\\\\d \\'"_s << QStringList{u"a b"_s, u"c\\d"_s, u"'"_s};
    QTest::newRow("backslash in doppelten")
        << u"\"a\\\"b\\\\c\\$d\\`e\\x\""_s << QStringList{u"a\"b\\c$d`e\\x"_s};
    QTest::newRow("teile werden verbunden") << u"a\"b c\"'d e'f"_s << QStringList{u"ab cd ef"_s};
    QTest::newRow("leere anfuehrungszeichen")
        << u"tv \"\" ''"_s << QStringList{u"tv"_s, QString(), QString()};
    QTest::newRow("nichts wird ersetzt")
        << u"tv $HOME ~ *.txt ; rm"_s
        << QStringList{u"tv"_s, u"$HOME"_s, u"~"_s, u"*.txt"_s, u";"_s, u"rm"_s};
    QTest::newRow("umlaute") << u"/opt/Fernseh-Programm/tv --titel Grüße"_s
                             << QStringList{u"/opt/Fernseh-Programm/tv"_s, u"--titel"_s,
                                            u"Grüße"_s};
    QTest::newRow("backslash am ende") << u"tv \\"_s << QStringList{u"tv"_s, u"\\"_s};
    QTest::newRow("zeilenfortsetzung") << u"tv a\\\nb"_s << QStringList{u"tv"_s, u"ab"_s};
}

void TestBefehlszeile::zerlegen()
{
    QFETCH(QString, zeile);
    QFETCH(QStringList, woerter);
    const auto ergebnis = befehlszeileZerlegen(zeile);
    QVERIFY(ergebnis.has_value());
    QCOMPARE(*ergebnis, woerter);
}

void TestBefehlszeile::unvollstaendig_data()
{
    QTest::addColumn<QString>("zeile");
    QTest::newRow("doppeltes offen") << u"\"/opt/tv"_s;
    QTest::newRow("einfaches offen") << u"tv 'abc"_s;
    QTest::newRow("maskiertes ende") << u"tv \"abc\\\""_s;
}

void TestBefehlszeile::unvollstaendig()
{
    QFETCH(QString, zeile);
    QVERIFY(!befehlszeileZerlegen(zeile).has_value());
    QVERIFY(!programmAbloesen(zeile).has_value());
}

void TestBefehlszeile::titelWaehlen_data()
{
    QTest::addColumn<QStringList>("titel");
    QTest::addColumn<QString>("suche");
    QTest::addColumn<int>("erwartet");

    const QStringList fenster{u"Fernsehen - Ansicht"_s, u"fernsehen"_s, u"Fernsehen"_s,
                              u"Tagesschau - VLC media player"_s, u"Über uns"_s};
    QTest::newRow("genau vor gross klein") << fenster << u"Fernsehen"_s << 2;
    QTest::newRow("gleich ohne gross klein vor anfang") << fenster << u"FERNSEHEN"_s << 1;
    QTest::newRow("anfang") << fenster << u"fernsehen - an"_s << 0;
    QTest::newRow("ende") << fenster << u"vlc MEDIA player"_s << 3;
    QTest::newRow("enthalten") << fenster << u"schau"_s << 3;
    QTest::newRow("umlaut ohne gross klein") << fenster << u"über"_s << 4;
    QTest::newRow("keiner") << fenster << u"Radio"_s << -1;
    QTest::newRow("leere suche") << fenster << QString() << -1;
    QTest::newRow("keine fenster") << QStringList() << u"Fernsehen"_s << -1;
    QTest::newRow("anfang vor ende") << QStringList{u"Ende TV"_s, u"TV Anfang"_s} << u"tv"_s << 1;
    QTest::newRow("ende vor enthalten")
        << QStringList{u"ein TV hier"_s, u"mein TV"_s} << u"tv"_s << 1;
}

void TestBefehlszeile::titelWaehlen()
{
    QFETCH(QStringList, titel);
    QFETCH(QString, suche);
    QFETCH(int, erwartet);
    QCOMPARE(::titelWaehlen(titel, suche), erwartet);
}

void TestBefehlszeile::ohneDisplay()
{
    const QByteArray vorher = qgetenv("DISPLAY");
    qputenv("DISPLAY", ":4711");
    X11Desktop desktop;
    qputenv("DISPLAY", vorher);
    QVERIFY(!desktop.verbunden());
    QVERIFY(desktop.fehlermeldung().contains(u":4711"_s));
    QVERIFY(!desktop.fensterAktivieren(u"x"_s));
    QVERIFY(!desktop.fensterZeigen(u"x"_s));
    QVERIFY(!desktop.tastenSenden(u"x"_s));
    desktop.beep();
    desktop.aufFensteraenderungWarten(10);
    // Programs start without a display all the same.
    QVERIFY(desktop.programmStarten(u"true"_s, Desktop::Fensterart::MinimiertOhneFokus));
    QVERIFY(desktop.letzteProzessId() > 0);
}

QTEST_GUILESS_MAIN(TestBefehlszeile)
#include "tst_befehlszeile.moc"
