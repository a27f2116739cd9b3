// The page protocol: button states over consecutive pages, status pages,
// Enter and Esc, the wait, help and the window's fixed parts.

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTextBrowser>

#include "Seitenhelfer.h"
#include "system/Programmordner.h"
#include "wizard_dialog/Twips.h"

using namespace Qt::StringLiterals;

using Zustaende = QList<QList<int>>;

/// A key pressed while a page with the given button states waits, and the
/// flag it sets; none means the page goes on waiting.
struct Taste
{
    const char* name;
    QList<int> zustand;
    QStringView art, vorgabe;
    int taste;
    QStringView flag;
};
Q_DECLARE_METATYPE(Taste)

class TestWizardProtokoll : public QObject
{
    Q_OBJECT
private slots:
    void fenster();
    void knopfzustaende_data();
    void knopfzustaende();
    void tasten_data();
    void tasten();
    void warten();
    void hilfe();

private:
    // One dialog for all pages, as the wizard keeps one for its whole run.
    frmWizard m_dialog;
};

void TestWizardProtokoll::fenster()
{
    frmWizard d;
    Wachhund wachhund(d);
    d.ShowShapeNurAnzeige(2, 2, 2, 0, u"Titel"_s, u"Text"_s);
    QCOMPARE(d.windowTitle(), u"Titel"_s);
    QCOMPARE(d.minimumSize(), d.maximumSize());
    for (const auto& [name, text] : {std::pair{"cmdFertigstellen", "Fertig stellen"},
                                     {"cmdHilfe", "&Hilfe"},
                                     {"cmdZurück", "< &Zurück"},
                                     {"cmdWeiter", "&Weiter >"},
                                     {"cmdAbbrechen", "Abbrechen"}})
        QCOMPARE(knopf(d, QString::fromUtf8(name))->text(), QString::fromUtf8(text));
    // Grey lines along the top and left edge of the picture frame; inside
    // them the built-in picture, which a page without a picture keeps.
    auto* rahmen = element(d, u"WizardPictureRahmen"_s);
    const QImage gemalt = rahmen->grab().toImage();
    const QImage bild = element<QLabel>(d, u"WizardPicture"_s)->pixmap().toImage();
    QCOMPARE(bild.size(), QSize(119, 227));
    QCOMPARE(gemalt.pixelColor(rahmen->width() - 1, 0), QColor(128, 128, 128));
    QCOMPARE(gemalt.pixelColor(0, rahmen->height() - 1), QColor(128, 128, 128));
    QCOMPARE(gemalt.pixelColor(1, 1), bild.pixelColor(0, 0));
}

// Pages shown one after the other, as text pages and again as caller-defined
// ones. Expected: the buttons as the last page left them (see knoepfe); the
// default button; where a shown Fertig stellen stands (5640 is Weiter's
// place, 210 its own); whether the last page waited for a button, which it
// does not without a usable Weiter, Zurück or Fertig stellen.
void TestWizardProtokoll::knopfzustaende_data()
{
    QTest::addColumn<Zustaende>("seiten");
    QTest::addColumn<QString>("erwartet");
    // clang-format off
    QTest::newRow("1,1,1,0") << Zustaende{{1, 1, 1, 0}} << u"ve ve ve hg/Weiter/-/wartet"_s;
    QTest::newRow("2,1,0,1") << Zustaende{{2, 1, 0, 1}} << u"vg ve hg ve/Fertig/5640/wartet"_s;
    QTest::newRow("1,2,1,0") << Zustaende{{1, 2, 1, 0}} << u"ve vg ve hg/Weiter/-/wartet"_s;
    QTest::newRow("1,1,2,0") << Zustaende{{1, 1, 2, 0}} << u"ve ve vg hg/-/-/wartet"_s;
    QTest::newRow("1,1,0,2") << Zustaende{{1, 1, 1, 1}, {1, 1, 0, 2}}
                             << u"ve ve hg vg/-/5640/wartet"_s;
    QTest::newRow("2,2,0,1") << Zustaende{{2, 2, 0, 1}} << u"vg vg hg ve/Fertig/5640/wartet"_s;
    QTest::newRow("2,2,2,0") << Zustaende{{2, 2, 2, 0}} << u"vg vg vg hg/-/-/sofort"_s;
    QTest::newRow("1,2,2,0") << Zustaende{{1, 2, 2, 0}} << u"ve vg vg hg/-/-/sofort"_s;
    QTest::newRow("2,2,0,2") << Zustaende{{2, 2, 0, 2}} << u"vg vg hg vg/-/5640/sofort"_s;
    // The default button follows the states passed, so 3 leaves none.
    QTest::newRow("3") << Zustaende{{2, 1, 0, 1}, {3, 3, 3, 3}} << u"vg ve hg ve/-/5640/wartet"_s;
    QTest::newRow("-1,7,0,3") << Zustaende{{0, 2, 1, 0}, {-1, 7, 0, 3}}
                              << u"hg vg hg hg/-/-/sofort"_s;
    QTest::newRow("ueber 16 bit") << Zustaende{{1, 1, 1, 0}, {65537, 65536, 1, 0}}
                                  << u"ve ve ve hg/Weiter/-/wartet"_s;
    QTest::newRow("fertig zurueck") << Zustaende{{2, 1, 0, 1}, {1, 1, 1, 1}}
                                    << u"ve ve ve ve/Fertig/210/wartet"_s;
    // clang-format on
}

void TestWizardProtokoll::knopfzustaende()
{
    QFETCH(Zustaende, seiten);
    QFETCH(QString, erwartet);

    frmWizard& d = m_dialog;
    const QPushButton* fertig = knopf(d, u"cmdFertigstellen"_s);
    for (const bool userdefiniert : {false, true}) {
        bool wartete = false;
        for (const QList<int>& z : seiten) {
            // A click left over from the previous page must not count.
            d.blnBenutzerWeiterGedrückt = true;
            wartete = false;
            QObject seite; // its timer cannot outlive the page
            QTimer::singleShot(0, &seite, [&] {
                wartete = !d.blnBenutzerFertig;
                d.SeiteBeenden();
            });
            if (userdefiniert)
                d.ShowShapeUserdefiniert(z[0], z[1], z[2], z[3], u"T"_s, u"shapenuranzeige"_s);
            else
                d.ShowShapeNurAnzeige(z[0], z[1], z[2], z[3], u"T"_s, u"Text"_s);
        }
        QVERIFY(d.blnBenutzerFertig && element(d, u"ShapeNurAnzeige"_s)->isVisible());
        QVERIFY(!d.blnBenutzerWeiterGedrückt && !d.blnBenutzerZurückGedrückt &&
                !d.blnBenutzerAbbrechenGedrückt && !d.blnBenutzerFertigstellenGedrückt);
        QString ist = knoepfe(d) + (knopf(d, u"cmdWeiter"_s)->isDefault() ? u"/Weiter/"_s
                                    : fertig->isDefault()                 ? u"/Fertig/"_s
                                                                          : u"/-/"_s);
        for (const int links : {5640, 210})
            ist += fertig->isVisible() && fertig->x() == Twips(d).x(links) ? QString::number(links)
                                                                           : QString();
        ist += fertig->isHidden() ? u"-"_s : QString();
        QCOMPARE(ist + (wartete ? u"/wartet"_s : u"/sofort"_s), erwartet);
    }
}

void TestWizardProtokoll::tasten_data()
{
    QTest::addColumn<Taste>("t");
    const QList<int> normal{1, 1, 1, 0}, fertig{2, 1, 0, 1};
    const int enter = Qt::Key_Return, esc = Qt::Key_Escape;
    // clang-format off
    const Taste faelle[] = {
        {"enter", normal, u"nuranzeige", u"", enter, u"weiter"},
        {"esc", normal, u"nuranzeige", u"", esc, u"abbrechen"},
        {"enter im befehlseditor", normal, u"befehle", u"", enter, u"weiter"},
        {"esc im befehlseditor", normal, u"befehle", u"", esc, u"abbrechen"},
        {"enter drueckt fertig stellen", fertig, u"nuranzeige", u"", enter, u"fertig"},
        {"esc bei grauem abbrechen", fertig, u"nuranzeige", u"", esc, u""},
        {"enter ohne standardknopf", {1, 1, 2, 0}, u"nuranzeige", u"", enter, u""},
        {"enter ohne pflichteingabe", normal, u"zeile", u"  ", enter, u""},
    };
    // clang-format on
    for (const Taste& t : faelle)
        QTest::newRow(t.name) << t;
}

void TestWizardProtokoll::tasten()
{
    QFETCH(Taste, t);
    // Where nothing may happen, a second without effect is enough.
    Wachhund wachhund(m_dialog, t.flag.isEmpty() ? 1000 : 5000);
    spaeter(
        [&] {
            // The key goes to the focused control, or to the window itself.
            QWidget* ziel = QApplication::focusWidget();
            QTest::keyClick(ziel && ziel->window() == &m_dialog ? ziel : &m_dialog,
                            static_cast<Qt::Key>(t.taste));
        },
        50);
    zeigen(m_dialog, t.art, u"Frage"_s, u"a|b"_s, t.vorgabe.toString(), true, t.zustand);
    QCOMPARE(wachhund.abgelaufen, t.flag.isEmpty());
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, t.flag == u"weiter");
    QCOMPARE(m_dialog.blnBenutzerAbbrechenGedrückt, t.flag == u"abbrechen");
    QCOMPARE(m_dialog.blnBenutzerFertigstellenGedrückt, t.flag == u"fertig");
    QVERIFY(!m_dialog.blnBenutzerZurückGedrückt);
}

void TestWizardProtokoll::warten()
{
    // The page waits for a button without polling: the event loop sleeps
    // until something happens, so it hardly wakes in 400 ms.
    Wachhund wachhund(m_dialog);
    int aufgewacht = 0, bisKlick = -1;
    bool wartete = false;
    const auto zaehler = connect(QAbstractEventDispatcher::instance(),
                                 &QAbstractEventDispatcher::awake, this, [&] { ++aufgewacht; });
    spaeter(
        [&] {
            bisKlick = aufgewacht;
            wartete = !m_dialog.blnBenutzerFertig;
            klicken(knopf(m_dialog, u"cmdZurück"_s));
        },
        400);
    m_dialog.ShowShapeNurAnzeige(1, 1, 1, 0, u"T"_s, u"Text"_s);
    disconnect(zaehler);
    QVERIFY(wartete);
    QVERIFY(m_dialog.blnBenutzerZurückGedrückt);
    QVERIFY2(bisKlick >= 0 && bisKlick < 10, qPrintable(QString::number(bisKlick)));
    // The finished page stays on screen.
    QVERIFY(m_dialog.isVisible());
    // A caller that sets the flag itself ends the page too.
    spaeter([this] { m_dialog.blnBenutzerFertig = true; }, 50);
    m_dialog.ShowShapeNurAnzeige(1, 1, 1, 0, u"T"_s, u"Text"_s);
    QVERIFY(!wachhund.abgelaufen);
}

void TestWizardProtokoll::hilfe()
{
    // Help opens beside the command-step editor, whose page goes on waiting,
    // at the section for context 125, which explains the commands.
    AppPfadSetzen(QStringLiteral(SENDARO_PROGRAMMORDNER));
    frmWizard d;
    Wachhund wachhund(d);
    bool warteteMitHilfe = false;
    spaeter([&] { klicken(knopf(d, u"cmdHilfe"_s)); }, 20);
    spaeter(
        [&] {
            warteteMitHilfe = !d.blnBenutzerFertig && knopf(d, u"cmdHilfe"_s)->isVisible();
            klicken(knopf(d, u"cmdWeiter"_s));
        },
        300);
    zeigen(d, u"befehle", u"Befehle"_s);
    AppPfadSetzen(QString());
    QVERIFY(!wachhund.abgelaufen);
    QVERIFY(warteteMitHilfe && d.blnBenutzerWeiterGedrückt);
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(knopf(d, u"cmdHilfe"_s)->isHidden());
    auto* browser = d.findChild<QTextBrowser*>();
    QVERIFY(browser && browser->window()->isVisible());
    QCOMPARE(browser->source().fileName(), u"sendwacht.hlp"_s);
    QCOMPARE(browser->source().fragment(), u"kontext125"_s);
    QVERIFY(browser->verticalScrollBar()->value() > 0);
    QVERIFY(browser->toPlainText().contains(u"TastenSenden"_s));
}

QTEST_MAIN(TestWizardProtokoll)
#include "tst_wizard_protokoll.moc"
