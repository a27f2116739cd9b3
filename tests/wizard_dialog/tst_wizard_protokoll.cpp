// The page protocol of the wizard window: button states, default and
// cancel buttons, the wait, status pages, closing, help and the picture.

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

#include "Seitenhelfer.h"
#include "system/Programmordner.h"
#include "wizard_dialog/Twips.h"

using namespace Qt::StringLiterals;

using Zustaende = QList<QList<int>>;

class TestWizardProtokoll : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void fenster();
    void knopfzustaende_data();
    void knopfzustaende();
    void tasten_data();
    void tasten();
    void statusseite_data();
    void statusseite();
    void wartenBisKnopf();
    void flagVomAufrufer();
    void rahmenSchliessen();
    void hilfe();
    void hilfeOhneDatei();
    void bild();

private:
    // One dialog for all tests, as the wizard keeps one for its whole run.
    frmWizard m_dialog;
};

void TestWizardProtokoll::cleanup()
{
    AppPfadSetzen(QString());
}

void TestWizardProtokoll::fenster()
{
    const Twips t(m_dialog);
    m_dialog.ShowShapeNurAnzeige(2, 2, 2, 0, u"Titel"_s, u"Text"_s);
    QCOMPARE(m_dialog.size(), QSize(t.x(8130), t.y(5460)));
    QCOMPARE(m_dialog.minimumSize(), m_dialog.maximumSize());
    QCOMPARE(m_dialog.palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(m_dialog.windowTitle(), u"Titel"_s);

    struct Soll
    {
        const char* name;
        const char* text;
        int links;
        int breite;
    };
    const Soll knoepfe[] = {
        {"cmdHilfe", "&Hilfe", 3225, 1140},
        {"cmdZurück", "< &Zurück", 4500, 1140},
        {"cmdWeiter", "&Weiter >", 5640, 1155},
        {"cmdAbbrechen", "Abbrechen", 6930, 1125},
    };
    auto* leiste = element(m_dialog, u"PictureButtons"_s);
    QVERIFY(leiste);
    QCOMPARE(leiste->geometry(), t.rechteck(0, 5460 - 660, 8130, 660));
    for (const Soll& s : knoepfe) {
        QPushButton* k = knopf(m_dialog, QString::fromUtf8(s.name));
        QVERIFY2(k, s.name);
        QCOMPARE(k->parentWidget(), leiste);
        QCOMPARE(k->text(), QString::fromUtf8(s.text));
        QCOMPARE(k->geometry(), t.rechteck(s.links, 135, s.breite, 360));
    }
    QCOMPARE(knopf(m_dialog, u"cmdFertigstellen"_s)->text(), u"Fertig stellen"_s);
    QCOMPARE(element(m_dialog, u"WizardPictureRahmen"_s)->geometry(),
             t.rechteck(150, 135, 1815, 3435));
    QCOMPARE(element(m_dialog, u"ShapeNurAnzeige"_s)->geometry(), t.rechteck(2055, 75, 5910, 4635));

    // Centred on the screen when first shown.
    const QRect bildschirm = m_dialog.screen()->availableGeometry();
    QVERIFY(qAbs(m_dialog.geometry().center().x() - bildschirm.center().x()) <= 1);
    QVERIFY(qAbs(m_dialog.geometry().center().y() - bildschirm.center().y()) <= 1);
}

// Pages are shown one after the other with the given states; the buttons
// are checked after the last. Per button: v/h visible or hidden, e/g
// enabled or greyed; Abbrechen, Zurück, Weiter, Fertig stellen.
void TestWizardProtokoll::knopfzustaende_data()
{
    QTest::addColumn<Zustaende>("seiten");
    QTest::addColumn<QString>("erwartet");
    QTest::addColumn<QString>("standard");
    QTest::addColumn<bool>("fertigAnWeitersPlatz");

    QTest::newRow("1,1,1,0") << Zustaende{{1, 1, 1, 0}} << u"ve ve ve hg"_s << u"cmdWeiter"_s
                             << false;
    QTest::newRow("2,1,0,1") << Zustaende{{2, 1, 0, 1}} << u"vg ve hg ve"_s << u"cmdFertigstellen"_s
                             << true;
    QTest::newRow("1,2,1,0") << Zustaende{{1, 2, 1, 0}} << u"ve vg ve hg"_s << u"cmdWeiter"_s
                             << false;
    QTest::newRow("fertig und weiter")
        << Zustaende{{1, 1, 1, 1}} << u"ve ve ve ve"_s << u"cmdFertigstellen"_s << false;
    QTest::newRow("weiter grau, kein standard")
        << Zustaende{{1, 1, 2, 0}} << u"ve ve vg hg"_s << QString() << false;
    QTest::newRow("fertig grau ohne weiter")
        << Zustaende{{1, 1, 0, 2}} << u"ve ve hg vg"_s << QString() << true;
    // The default button follows the states passed, so 3 leaves none.
    QTest::newRow("3 behaelt die vorige seite")
        << Zustaende{{2, 1, 0, 1}, {3, 3, 3, 3}} << u"vg ve hg ve"_s << QString() << true;
    QTest::newRow("3 und andere werte einzeln")
        << Zustaende{{0, 2, 1, 0}, {-1, 7, 0, 3}} << u"hg vg hg hg"_s << QString() << false;
    QTest::newRow("zu grosser wert behaelt den knopf")
        << Zustaende{{1, 1, 1, 0}, {65537, 65536, 1, 0}} << u"ve ve ve hg"_s << u"cmdWeiter"_s
        << false;
    QTest::newRow("fertig kehrt an seinen platz zurueck")
        << Zustaende{{2, 1, 0, 1}, {1, 1, 1, 1}} << u"ve ve ve ve"_s << u"cmdFertigstellen"_s
        << false;
}

void TestWizardProtokoll::knopfzustaende()
{
    QFETCH(Zustaende, seiten);
    QFETCH(QString, erwartet);
    QFETCH(QString, standard);
    QFETCH(bool, fertigAnWeitersPlatz);

    for (const QList<int>& z : seiten) {
        Wachhund wachhund(m_dialog);
        spaeter([this] { m_dialog.SeiteBeenden(); });
        m_dialog.ShowShapeNurAnzeige(z[0], z[1], z[2], z[3], u"Seite"_s, u"Text"_s);
        QVERIFY(!wachhund.abgelaufen());
    }

    const QStringList namen{u"cmdAbbrechen"_s, u"cmdZurück"_s, u"cmdWeiter"_s,
                            u"cmdFertigstellen"_s};
    QStringList ist;
    for (const QString& name : namen) {
        const QPushButton* k = knopf(m_dialog, name);
        ist << QString(k->isHidden() ? u'h' : u'v') + (k->isEnabled() ? u'e' : u'g');
    }
    QCOMPARE(ist.join(u' '), erwartet);

    QString istStandard;
    for (const QString& name : {u"cmdWeiter"_s, u"cmdFertigstellen"_s}) {
        if (knopf(m_dialog, name)->isDefault())
            istStandard += name;
    }
    QCOMPARE(istStandard, standard);

    // Where a hidden Fertig stellen stands does not matter.
    const Twips t(m_dialog);
    const QPushButton* fertig = knopf(m_dialog, u"cmdFertigstellen"_s);
    if (!fertig->isHidden())
        QCOMPARE(fertig->x(), fertigAnWeitersPlatz ? t.x(5640) : t.x(210));
}

// A key pressed while the page waits; the flag it sets (empty: the page
// goes on waiting).
void TestWizardProtokoll::tasten_data()
{
    QTest::addColumn<QList<int>>("zustand");
    QTest::addColumn<QString>("seite");
    QTest::addColumn<int>("taste");
    QTest::addColumn<QString>("flag");

    const int enter = Qt::Key_Return;
    const int esc = Qt::Key_Escape;
    QTest::newRow("enter drueckt weiter")
        << QList<int>{1, 1, 1, 0} << u"text"_s << enter << u"weiter"_s;
    QTest::newRow("esc drueckt abbrechen")
        << QList<int>{1, 1, 1, 0} << u"text"_s << esc << u"abbrechen"_s;
    QTest::newRow("enter im textfeld")
        << QList<int>{1, 1, 1, 0} << u"zeile"_s << enter << u"weiter"_s;
    QTest::newRow("esc im textfeld")
        << QList<int>{1, 1, 1, 0} << u"zeile"_s << esc << u"abbrechen"_s;
    QTest::newRow("enter in der liste")
        << QList<int>{1, 1, 1, 0} << u"liste"_s << static_cast<int>(Qt::Key_Enter) << u"weiter"_s;
    QTest::newRow("enter auf dem kaestchen")
        << QList<int>{1, 1, 1, 0} << u"haekchen"_s << enter << u"weiter"_s;
    QTest::newRow("enter im befehlseditor")
        << QList<int>{1, 1, 1, 0} << u"befehle"_s << enter << u"weiter"_s;
    QTest::newRow("esc im befehlseditor")
        << QList<int>{1, 1, 1, 0} << u"befehle"_s << esc << u"abbrechen"_s;
    QTest::newRow("enter drueckt fertig stellen")
        << QList<int>{2, 1, 0, 1} << u"text"_s << enter << u"fertig"_s;
    QTest::newRow("esc bei grauem abbrechen")
        << QList<int>{2, 1, 0, 1} << u"text"_s << esc << QString();
    QTest::newRow("esc bei verborgenem abbrechen")
        << QList<int>{0, 1, 1, 0} << u"text"_s << esc << QString();
    QTest::newRow("enter ohne standardknopf")
        << QList<int>{1, 1, 2, 0} << u"text"_s << enter << QString();
    QTest::newRow("enter bei fehlender pflichteingabe")
        << QList<int>{1, 1, 1, 0} << u"leer"_s << enter << QString();
}

void TestWizardProtokoll::tasten()
{
    QFETCH(QList<int>, zustand);
    QFETCH(QString, seite);
    QFETCH(int, taste);
    QFETCH(QString, flag);

    // Nothing may happen within a second; then the watchdog ends the page.
    Wachhund wachhund(m_dialog, flag.isEmpty() ? 1000 : 5000);
    spaeter([this, taste] { ::taste(m_dialog, static_cast<Qt::Key>(taste)); }, 50);
    const int a = zustand[0], z = zustand[1], w = zustand[2], f = zustand[3];
    if (seite == u"text")
        m_dialog.ShowShapeNurAnzeige(a, z, w, f, u"T"_s, u"Text"_s, u"Überschrift"_s);
    else if (seite == u"zeile")
        m_dialog.ShowShapeTextzeileEingeben(a, z, w, f, u"T"_s, u"Name"_s, u"Hauppauge"_s, true);
    else if (seite == u"leer")
        m_dialog.ShowShapeTextzeileEingeben(a, z, w, f, u"T"_s, u"Name"_s, u"  "_s, true);
    else if (seite == u"befehle")
        m_dialog.ShowShapeComboTextEingeben(a, z, w, f, u"T"_s, u"Befehle"_s, u",Warten,Beep"_s,
                                            ComboTextTabelle(12));
    else if (seite == u"liste")
        m_dialog.ShowShapeAusListeAuswählen(a, z, w, f, u"T"_s, u"Liste"_s, u"a\r\nb"_s, u"2"_s,
                                            true);
    else
        m_dialog.ShowShapeHäkchenSetzen(a, z, w, f, u"T"_s, u"Frage"_s, u"Kästchen"_s, true);

    QCOMPARE(wachhund.abgelaufen(), flag.isEmpty());
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, flag == u"weiter");
    QCOMPARE(m_dialog.blnBenutzerAbbrechenGedrückt, flag == u"abbrechen");
    QCOMPARE(m_dialog.blnBenutzerFertigstellenGedrückt, flag == u"fertig");
    QVERIFY(!m_dialog.blnBenutzerZurückGedrückt);
}

void TestWizardProtokoll::statusseite_data()
{
    QTest::addColumn<QList<int>>("zustand");
    QTest::addColumn<bool>("wartet");

    QTest::newRow("2,2,2,0") << QList<int>{2, 2, 2, 0} << false;
    QTest::newRow("1,2,2,0 abbrechen allein zaehlt nicht") << QList<int>{1, 2, 2, 0} << false;
    QTest::newRow("2,2,0,2 weiter verborgen, fertig grau") << QList<int>{2, 2, 0, 2} << false;
    QTest::newRow("1,1,1,0") << QList<int>{1, 1, 1, 0} << true;
    QTest::newRow("2,1,2,0 zurueck bedienbar") << QList<int>{2, 1, 2, 0} << true;
    QTest::newRow("2,2,0,1 fertig bedienbar") << QList<int>{2, 2, 0, 1} << true;
}

void TestWizardProtokoll::statusseite()
{
    QFETCH(QList<int>, zustand);
    QFETCH(bool, wartet);

    for (const QString& art : {u"nuranzeige"_s, u"userdefiniert"_s}) {
        // A click left over from the previous page must not count.
        m_dialog.blnBenutzerWeiterGedrückt = true;
        bool warteteNoch = false;
        spaeter([this, &warteteNoch] {
            warteteNoch = !m_dialog.blnBenutzerFertig;
            m_dialog.SeiteBeenden();
        });
        if (art == u"nuranzeige")
            m_dialog.ShowShapeNurAnzeige(zustand[0], zustand[1], zustand[2], zustand[3], u"S"_s,
                                         u"Status: AZS-Datei wird eingeladen"_s);
        else
            m_dialog.ShowShapeUserdefiniert(zustand[0], zustand[1], zustand[2], zustand[3], u"S"_s,
                                            u"shapenuranzeige"_s);
        QVERIFY2(m_dialog.isVisible(), qPrintable(art));
        QVERIFY(m_dialog.blnBenutzerFertig);
        if (!wartet) {
            QVERIFY2(!m_dialog.blnBenutzerWeiterGedrückt && !m_dialog.blnBenutzerZurückGedrückt &&
                         !m_dialog.blnBenutzerAbbrechenGedrückt &&
                         !m_dialog.blnBenutzerFertigstellenGedrückt,
                     qPrintable(art));
            // Let the queued action run now, between pages.
            QTest::qWait(20);
            QVERIFY(!warteteNoch);
        } else {
            QVERIFY2(warteteNoch, qPrintable(art));
        }
        QCOMPARE(element(m_dialog, u"ShapeNurAnzeige"_s)->isVisible(), true);
    }
}

void TestWizardProtokoll::wartenBisKnopf()
{
    // The page does not return until a navigation button is pressed. While
    // it waits, the event loop sleeps until something happens: a wait that
    // polls would wake it every few milliseconds.
    Wachhund wachhund(m_dialog);
    bool wartete = false;
    int aufgewacht = 0;
    int aufgewachtBisKlick = -1;
    const auto zaehler = connect(QAbstractEventDispatcher::instance(),
                                 &QAbstractEventDispatcher::awake, this, [&] { ++aufgewacht; });
    spaeter(
        [&, this] {
            aufgewachtBisKlick = aufgewacht;
            wartete = !m_dialog.blnBenutzerFertig;
            klicken(knopf(m_dialog, u"cmdZurück"_s));
        },
        400);
    m_dialog.ShowShapeNurAnzeige(1, 1, 1, 0, u"T"_s, u"Text"_s);
    disconnect(zaehler);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(wartete);
    QVERIFY(m_dialog.blnBenutzerZurückGedrückt);
    QVERIFY(m_dialog.blnBenutzerFertig);
    QVERIFY2(aufgewachtBisKlick >= 0 && aufgewachtBisKlick < 10,
             qPrintable(QString::number(aufgewachtBisKlick)));
    // The finished page stays on screen as it was.
    QVERIFY(m_dialog.isVisible());
    QCOMPARE(element<QLabel>(m_dialog, u"ShapeNurAnzeigeLabel"_s)->text(), u"Text"_s);
}

void TestWizardProtokoll::flagVomAufrufer()
{
    // A caller that sets the flag itself ends the page as well.
    Wachhund wachhund(m_dialog);
    spaeter([this] { m_dialog.blnBenutzerFertig = true; }, 50);
    m_dialog.ShowShapeNurAnzeige(1, 1, 1, 0, u"T"_s, u"Text"_s);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(!m_dialog.blnBenutzerWeiterGedrückt);
}

void TestWizardProtokoll::rahmenSchliessen()
{
    Wachhund wachhund(m_dialog);
    // The window system's close request arrives as a spontaneous event.
    spaeter(
        [this] {
            QCloseEvent schliessen;
            QSpontaneKeyEvent::setSpontaneous(&schliessen);
            QApplication::instance()->notify(&m_dialog, &schliessen);
        },
        50);
    const QString ergebnis =
        m_dialog.ShowShapeTextzeileEingeben(1, 1, 1, 0, u"T"_s, u"Name"_s, u"abc"_s);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(m_dialog.blnBenutzerAbbrechenGedrückt);
    QVERIFY(!m_dialog.blnBenutzerWeiterGedrückt);
    QCOMPARE(ergebnis, u"abc"_s);
    // The window stays for the driver, which closes it itself.
    QVERIFY(m_dialog.isVisible());

    frmWizard zweiter;
    zweiter.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Status"_s);
    QVERIFY(zweiter.isVisible());
    QVERIFY(zweiter.close());
    QVERIFY(!zweiter.isVisible());
    QVERIFY(!zweiter.blnBenutzerAbbrechenGedrückt);
}

void TestWizardProtokoll::hilfe()
{
    AppPfadSetzen(QStringLiteral(SENDARO_PROGRAMMORDNER));
    const ComboTextTabelle tabelle(12);
    Wachhund wachhund(m_dialog);
    bool sichtbarWaehrend = false;
    bool warteteNachHilfe = false;
    QWidget* fenster = nullptr;
    spaeter([this] { klicken(knopf(m_dialog, u"cmdHilfe"_s)); }, 20);
    spaeter(
        [&, this] {
            sichtbarWaehrend = !knopf(m_dialog, u"cmdHilfe"_s)->isHidden();
            warteteNachHilfe = !m_dialog.blnBenutzerFertig;
            fenster = m_dialog.findChild<QWidget*>(u"Hilfefenster"_s);
            klicken(knopf(m_dialog, u"cmdWeiter"_s));
        },
        300);
    m_dialog.ShowShapeComboTextEingeben(1, 1, 1, 0, u"T"_s, u"Befehle"_s, u",Warten,Beep"_s,
                                        tabelle);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(sichtbarWaehrend);
    QVERIFY(warteteNachHilfe);
    QVERIFY(m_dialog.blnBenutzerWeiterGedrückt);
    QVERIFY(!QGuiApplication::overrideCursor());

    QVERIFY(fenster);
    QVERIFY(fenster->isVisible());
    auto* browser = fenster->findChild<QTextBrowser*>();
    QVERIFY(browser);
    QCOMPARE(browser->source().fileName(), u"sendwacht.hlp"_s);
    QCOMPARE(browser->source().fragment(), u"kontext125"_s);
    const QString text = browser->toPlainText();
    for (const QString& wort : {u"AnwendungStarten"_s, u"FensterAktivieren"_s, u"Warten"_s,
                                u"TastenSenden"_s, u"Terminieren"_s, u"Beep"_s, u"[Kanal]"_s,
                                u"[BILDAB]"_s, u"{PGDN}"_s, u"[F16]"_s, u"Platzhalter"_s})
        QVERIFY2(text.contains(wort), qPrintable(wort));
    // The section for the context is scrolled into view, not the top.
    QVERIFY(browser->verticalScrollBar()->value() > 0);

    // The help button belongs to the command-step editor only.
    Wachhund zweiter(m_dialog);
    spaeter([this] { m_dialog.SeiteBeenden(); });
    m_dialog.ShowShapeNurAnzeige(1, 1, 1, 0, u"T"_s, u"Text"_s);
    QVERIFY(knopf(m_dialog, u"cmdHilfe"_s)->isHidden());
    fenster->close();
}

void TestWizardProtokoll::hilfeOhneDatei()
{
    QTemporaryDir leer;
    AppPfadSetzen(leer.path());
    frmWizard dialog;
    Wachhund wachhund(dialog);
    bool warteteNachHilfe = false;
    spaeter([&dialog] { klicken(knopf(dialog, u"cmdHilfe"_s)); }, 20);
    spaeter(
        [&] {
            warteteNachHilfe = !dialog.blnBenutzerFertig;
            klicken(knopf(dialog, u"cmdZurück"_s));
        },
        200);
    dialog.ShowShapeComboTextEingeben(1, 1, 1, 0, u"T"_s, u"Befehle"_s, u",Beep"_s,
                                      ComboTextTabelle(12));
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(warteteNachHilfe);
    QVERIFY(dialog.blnBenutzerZurückGedrückt);
    auto* fenster = dialog.findChild<QWidget*>(u"Hilfefenster"_s);
    QVERIFY(!fenster || !fenster->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestWizardProtokoll::bild()
{
    frmWizard dialog;
    auto* bild = element<QLabel>(dialog, u"WizardPicture"_s);
    QVERIFY(bild);
    QCOMPARE(bild->pixmap().size(), QSize(119, 227));

    // The frame lines: dark grey along the top and the left edge.
    dialog.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Text"_s);
    auto* rahmen = element(dialog, u"WizardPictureRahmen"_s);
    const QImage gemalt = rahmen->grab().toImage();
    for (int i : {0, 5, rahmen->width() - 1})
        QCOMPARE(gemalt.pixelColor(i, 0), QColor(128, 128, 128));
    for (int i : {0, 5, rahmen->height() - 1})
        QCOMPARE(gemalt.pixelColor(0, i), QColor(128, 128, 128));
    // The picture lies inside the lines.
    QCOMPARE(gemalt.pixelColor(1, 1), bild->pixmap().toImage().pixelColor(0, 0));
    QCOMPARE(gemalt.pixelColor(rahmen->width() - 1, rahmen->height() - 1), QColor(Qt::white));

    QPixmap rot(40, 30);
    rot.fill(Qt::red);
    dialog.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Text"_s, QString(), &rot);
    QCOMPARE(bild->pixmap().size(), QSize(40, 30));
    // No picture, or an empty one, keeps what is shown.
    const QPixmap leer;
    dialog.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Text"_s, QString(), &leer);
    dialog.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Text"_s);
    QCOMPARE(bild->pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
}

QTEST_MAIN(TestWizardProtokoll)
#include "tst_wizard_protokoll.moc"
