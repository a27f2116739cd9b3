// The wizard window on a real X server, with and without a window manager:
// the close request of the window system, keys typed through XTest and the
// window's place on the screen.

#include <QScreen>

#include "Seitenhelfer.h"

// Xlib's macros clash with Qt's names, so it comes after Qt.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace Qt::StringLiterals;

namespace {
/// Sends the window the close request a window manager sends when the user
/// closes it through its frame (WM_DELETE_WINDOW).
bool schliessenAnfordern(Display* anzeige, Window fenster)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = fenster;
    e.xclient.message_type = XInternAtom(anzeige, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(anzeige, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    const Status ok = XSendEvent(anzeige, fenster, False, NoEventMask, &e);
    XFlush(anzeige);
    return ok != 0;
}

void tasteDruecken(Display* anzeige, KeySym zeichen)
{
    const KeyCode code = XKeysymToKeycode(anzeige, zeichen);
    XTestFakeKeyEvent(anzeige, code, True, CurrentTime);
    XTestFakeKeyEvent(anzeige, code, False, CurrentTime);
    XFlush(anzeige);
}
} // namespace

class TestWizardX11 : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void rahmenSchliessen();
    void tasten_data();
    void tasten();
    void mittig();

private:
    Display* m_anzeige = nullptr;
    frmWizard m_dialog;
};

void TestWizardX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    m_anzeige = XOpenDisplay(nullptr);
    QVERIFY(m_anzeige);
}

void TestWizardX11::cleanupTestCase()
{
    if (m_anzeige)
        XCloseDisplay(m_anzeige);
}

void TestWizardX11::rahmenSchliessen()
{
    Wachhund wachhund(m_dialog);
    bool gesendet = false;
    spaeter([&] { gesendet = schliessenAnfordern(m_anzeige, m_dialog.winId()); }, 300);
    const QString ergebnis =
        m_dialog.ShowShapeTextzeileEingeben(1, 1, 1, 0, u"T"_s, u"Name"_s, u"abc"_s);
    QVERIFY(gesendet);
    QVERIFY(!wachhund.abgelaufen());
    QVERIFY(m_dialog.blnBenutzerAbbrechenGedrückt);
    QCOMPARE(ergebnis, u"abc"_s);
    QTest::qWait(100);
    QVERIFY(m_dialog.isVisible());
}

void TestWizardX11::tasten_data()
{
    QTest::addColumn<int>("zeichen");
    QTest::addColumn<QString>("flag");
    QTest::newRow("enter") << int(XK_Return) << u"weiter"_s;
    QTest::newRow("esc") << int(XK_Escape) << u"abbrechen"_s;
}

void TestWizardX11::tasten()
{
    QFETCH(int, zeichen);
    QFETCH(QString, flag);

    Wachhund wachhund(m_dialog, 10000);
    bool aktiv = false;
    spaeter([&] {
        aktiv = QTest::qWaitForWindowActive(&m_dialog, 5000);
        tasteDruecken(m_anzeige, static_cast<KeySym>(zeichen));
    });
    m_dialog.ShowShapeTextzeileEingeben(1, 1, 1, 0, u"T"_s, u"Name"_s, u"abc"_s, true);
    QVERIFY(aktiv);
    QVERIFY(!wachhund.abgelaufen());
    QCOMPARE(m_dialog.blnBenutzerWeiterGedrückt, flag == u"weiter");
    QCOMPARE(m_dialog.blnBenutzerAbbrechenGedrückt, flag == u"abbrechen");
}

void TestWizardX11::mittig()
{
    frmWizard dialog;
    dialog.ShowShapeNurAnzeige(2, 2, 2, 0, u"T"_s, u"Status"_s);
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // A window manager may place the window only after it was mapped.
    QTest::qWait(200);
    const QPoint mitte = dialog.screen()->availableGeometry().center();
    QVERIFY2(
        (dialog.geometry().center() - mitte).manhattanLength() <= 2,
        qPrintable(
            u"%1,%2"_s.arg(dialog.geometry().center().x()).arg(dialog.geometry().center().y())));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
}

QTEST_MAIN(TestWizardX11)
#include "tst_wizard_x11.moc"
