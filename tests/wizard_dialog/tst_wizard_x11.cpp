// The wizard window on a real X server: centred, and a page ended by Enter
// and Esc typed through XTest or by the frame's close request.

#include <QScreen>

#include "Seitenhelfer.h"

// Xlib's macros clash with Qt's names, so it comes after Qt.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace Qt::StringLiterals;

class TestWizardX11 : public QObject
{
    Q_OBJECT
private slots:
    void mittig();
    void seiteBeenden_data();
    void seiteBeenden();

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

// A key typed, or (0) the frame closed, while a page waits.
void TestWizardX11::seiteBeenden_data()
{
    QTest::addColumn<int>("taste");
    QTest::addColumn<bool>("weiter");
    QTest::newRow("enter") << int(XK_Return) << true;
    QTest::newRow("esc") << int(XK_Escape) << false;
    QTest::newRow("fensterrahmen") << 0 << false;
}

void TestWizardX11::seiteBeenden()
{
    QFETCH(int, taste);
    QFETCH(bool, weiter);

    Display* x = XOpenDisplay(nullptr);
    QVERIFY(x);
    Wachhund wachhund(m_dialog, 10000);
    bool aktiv = false;
    QTimer::singleShot(0, [&] {
        aktiv = QTest::qWaitForWindowActive(&m_dialog, 5000);
        if (taste) {
            const KeyCode code = XKeysymToKeycode(x, KeySym(taste));
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
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, weiter);
    QCOMPARE(m_dialog.blnBenutzerAbbrechenGedrückt, !weiter);
    // The window stays for the driver.
    QTest::qWait(100);
    QVERIFY(m_dialog.isVisible());
}

QTEST_MAIN(TestWizardX11)
#include "tst_wizard_x11.moc"
