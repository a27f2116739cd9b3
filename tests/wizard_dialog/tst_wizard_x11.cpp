// The wizard window on a real X server: centred, a page ended by Enter and
// Esc typed through XTest or by the frame's close request, and double clicks
// and held keys whose second click or repeats the server makes.

#include <QScreen>
#include <QStyleHints>

#include "Seitenhelfer.h"

// Xlib's macros clash with Qt's names, so it comes after Qt.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

using namespace Qt::StringLiterals;

class TestWizardX11 : public QObject
{
    Q_OBJECT
private slots:
    void mittig();
    void seiteBeenden_data() { falltabelle("wizard-faelle.txt", "x11"); }
    void seiteBeenden();
    void doppelklick_data() { falltabelle("wizard-faelle.txt", "doppelklick"); }
    void doppelklick();
    void gehalteneTaste_data() { falltabelle("wizard-faelle.txt", "x11-gehalten"); }
    void gehalteneTaste();

private:
    frmWizard m_dialog;
};

void TestWizardX11::mittig()
{
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    // Also a first page that returns at once opens centred.
    frmWizard d;
    Wachhund wachhund(d);
    d.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Status"_s);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    // A window manager may place the window only after it was mapped.
    QTest::qWait(200);
    const QPoint mitte = d.geometry().center();
    QVERIFY((mitte - d.screen()->availableGeometry().center()).manhattanLength() <= 2);
}

void TestWizardX11::seiteBeenden()
{
    QFETCH(QString, taste);
    QFETCH(QString, weiter);
    Display* x = XOpenDisplay(nullptr);
    QVERIFY(x);
    bool aktiv = false;
    Wachhund wachhund(m_dialog, 10000, [&] {
        aktiv = QTest::qWaitForWindowActive(&m_dialog, 5000);
        if (const KeySym k = XStringToKeysym(taste.toLatin1().constData()); k != NoSymbol) {
            const KeyCode code = XKeysymToKeycode(x, k);
            XTestFakeKeyEvent(x, code, True, CurrentTime);
            XTestFakeKeyEvent(x, code, False, CurrentTime);
        } else {
            // What a window manager sends when the user closes the frame.
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = m_dialog.winId();
            e.xclient.message_type = XInternAtom(x, "WM_PROTOCOLS", False);
            e.xclient.format = 32;
            e.xclient.data.l[0] = long(XInternAtom(x, "WM_DELETE_WINDOW", False));
            XSendEvent(x, e.xclient.window, False, NoEventMask, &e);
        }
        XFlush(x);
    });
    const QString ergebnis =
        m_dialog.ShowShapeTextzeileEingeben(1, 1, 1, 0, u"T"_s, u"Name"_s, u"abc"_s, true);
    XCloseDisplay(x);
    QVERIFY(aktiv && !wachhund.abgelaufen);
    QCOMPARE(ergebnis, u"abc"_s);
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, weiter == u"ja");
    QCOMPARE(m_dialog.blnBenutzerAbbrechenGedrückt, weiter == u"nein");
    // The window stays for the driver.
    QTest::qWait(100);
    QVERIFY(m_dialog.isVisible());
}

// The offscreen test's cases with the server's own mouse: it decides by time
// and place what is a double click.
void TestWizardX11::doppelklick()
{
    QFETCH(QString, seite1);
    QFETCH(QString, seite2);
    QFETCH(QString, flag);
    Display* x = XOpenDisplay(nullptr);
    QVERIFY(x);
    const auto* weiter = element<QPushButton>(m_dialog, u"cmdWeiter"_s);
    const int intervall = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    auto maus = [&](const QString& folge) {
        for (const QChar c : folge) {
            if (c == u'w') {
                QTest::qWait(intervall + 50);
                continue;
            }
            // p and d press, r releases the left button.
            XTestFakeButtonEvent(x, 1, c == u'r' ? False : True, CurrentTime);
            XFlush(x);
            QTest::qWait(30);
        }
    };
    bool ersteMitWeiter = false;
    {
        Wachhund erste(m_dialog, 10000, [&] {
            QVERIFY(QTest::qWaitForWindowExposed(&m_dialog));
            QTest::qWait(200); // a window manager may still move the window
            const QPoint mitte = weiter->mapToGlobal(weiter->rect().center());
            XTestFakeMotionEvent(x, -1, mitte.x(), mitte.y(), CurrentTime);
            maus(u"w"_s + seite1);
            QTest::qWait(100);
            ersteMitWeiter = m_dialog.blnBenutzerWeiterGedrückt;
            m_dialog.SeiteBeenden();
        });
        m_dialog.ShowShapeNurAnzeige(1, 1, 1, 0, u"T"_s, u"Seite 1"_s);
        QVERIFY(!erste.abgelaufen);
    }
    // A page that moves the focus nowhere: a button pressed before stays down.
    Wachhund zweite(m_dialog, 2 * intervall + 500, [&] { maus(seite2); });
    m_dialog.ShowShapeUserdefiniert(1, 1, 1, 0, u"T"_s, u"ShapeNurAnzeige"_s);
    XCloseDisplay(x);
    QCOMPARE(ersteMitWeiter, seite1.endsWith(u'r'));
    QCOMPARE(zweite.abgelaufen, flag.isEmpty());
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, flag == u"weiter");
}

// The first press of a held key ends a page; the repeats the server sends
// while the key stays down reach the next page and must not end it too.
void TestWizardX11::gehalteneTaste()
{
    QFETCH(QString, taste);
    QFETCH(QString, erste);
    Display* x = XOpenDisplay(nullptr);
    QVERIFY(x);
    const bool alt = taste.startsWith(u"alt+");
    const KeyCode altCode = XKeysymToKeycode(x, XStringToKeysym("Alt_L"));
    const KeyCode code = XKeysymToKeycode(x, XStringToKeysym(qPrintable(taste.mid(alt ? 4 : 0))));
    QVERIFY(code != 0 && altCode != 0);
    auto druecken = [&](Bool runter) {
        if (alt && runter)
            XTestFakeKeyEvent(x, altCode, True, CurrentTime);
        XTestFakeKeyEvent(x, code, runter, CurrentTime);
        if (alt && !runter)
            XTestFakeKeyEvent(x, altCode, False, CurrentTime);
        XFlush(x);
    };
    bool aktiv = false;
    {
        Wachhund erste(m_dialog, 10000, [&] {
            aktiv = QTest::qWaitForWindowActive(&m_dialog, 5000);
            druecken(True);
        });
        m_dialog.ShowShapeNurAnzeige(1, 1, 1, 0, u"T"_s, u"Seite 1"_s);
        QVERIFY(aktiv && !erste.abgelaufen);
    }
    const bool ersteWeiter = m_dialog.blnBenutzerWeiterGedrückt;
    const bool ersteAbbrechen = m_dialog.blnBenutzerAbbrechenGedrückt;
    // The server repeats a held key after some 600 ms, then 25 times a second.
    Wachhund zweite(m_dialog, 4000, [&] {
        QTest::qWait(1500);
        druecken(False);
    });
    m_dialog.ShowShapeNurAnzeige(1, 1, 1, 0, u"T"_s, u"Seite 2"_s);
    XCloseDisplay(x);
    QCOMPARE(ersteWeiter, erste == u"weiter");
    QCOMPARE(ersteAbbrechen, erste == u"abbrechen");
    QVERIFY(zweite.abgelaufen);
    QVERIFY(!m_dialog.blnBenutzerWeiterGedrückt && !m_dialog.blnBenutzerAbbrechenGedrückt);
}

QTEST_MAIN(TestWizardX11)
#include "tst_wizard_x11.moc"
