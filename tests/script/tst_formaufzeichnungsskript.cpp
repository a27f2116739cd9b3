#include <memory>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTest>

#include "script/gui/FormAufzeichnungsskript.h"
#include "script/gui/Statusfenster.h"
#include "tests/gemeinsam/Falltabelle.h"

// Only as an independent observer of where the window really stands.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

namespace {
QStringList texte(const QList<QAction*>& aktionen)
{
    QStringList t;
    for (const QAction* a : aktionen)
        t << (a->isChecked() ? u"✓"_s : QString()) + a->text();
    return t;
}

/// The outer rectangle of the window as the X server has it: the child of
/// the root that holds it (the window manager's frame, or the window itself
/// without one), borders included.
QRect rahmenAufDemServer(Display* d, Window fenster)
{
    Window aktuell = fenster;
    for (int i = 0; i < 16; ++i) {
        Window wurzel = 0;
        Window eltern = 0;
        Window* kinder = nullptr;
        unsigned int anzahl = 0;
        if (!XQueryTree(d, aktuell, &wurzel, &eltern, &kinder, &anzahl))
            return {};
        if (kinder)
            XFree(kinder);
        if (eltern == wurzel)
            break;
        aktuell = eltern;
    }
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, aktuell, &a))
        return {};
    return QRect(a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width);
}

/// Maps a dock window of the given height along the bottom edge that asks
/// the window manager to keep it free (_NET_WM_STRUT_PARTIAL).
void leisteOeffnen(Display* d, int hoehe)
{
    const int breite = DisplayWidth(d, DefaultScreen(d));
    const int hoch = DisplayHeight(d, DefaultScreen(d));
    const Window w =
        XCreateSimpleWindow(d, DefaultRootWindow(d), 0, hoch - hoehe, breite, hoehe, 0, 0, 0);
    Atom dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&dock), 1);
    long rand[12] = {0, 0, 0, hoehe, 0, 0, 0, 0, 0, 0, 0, breite - 1};
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(rand), 12);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_STRUT", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(rand), 4);
    XMapWindow(d, w);
    XFlush(d);
}

/// The work area the window manager announces (_NET_WORKAREA of the first
/// desktop), else the whole screen.
QRect arbeitsbereichAufDemServer(Display* d)
{
    const Window wurzel = DefaultRootWindow(d);
    Atom typ = 0;
    int format = 0;
    unsigned long anzahl = 0;
    unsigned long rest = 0;
    unsigned char* daten = nullptr;
    QRect bereich(0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d)));
    if (XGetWindowProperty(d, wurzel, XInternAtom(d, "_NET_WORKAREA", False), 0, 4, False,
                           XA_CARDINAL, &typ, &format, &anzahl, &rest, &daten) == Success &&
        daten && format == 32 && anzahl == 4) {
        const auto* w = reinterpret_cast<const unsigned long*>(daten);
        bereich = QRect(int(w[0]), int(w[1]), int(w[2]), int(w[3]));
    }
    if (daten)
        XFree(daten);
    return bereich;
}
} // namespace

class TestFormAufzeichnungsskript : public QObject
{
    Q_OBJECT

    QPointer<FormAufzeichnungsskript> m_form;

private slots:
    void init() { m_form = new FormAufzeichnungsskript; }

    void cleanup()
    {
        delete m_form.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void nummerierung_data() { falltabelle("script-faelle.txt", "status-nummerierung"); }
    void nummerierung()
    {
        QFETCH(QString, meldungen);
        QFETCH(QString, erste);
        const int n = meldungen.toInt();
        for (int i = 1; i <= n; ++i)
            m_form->ShowDebugInfo(u"Aktion %1"_s.arg(i));
        QVERIFY(m_form->isVisible());
        m_form->ShowDebugInfoAddOk();
        QCOMPARE(m_form->LabelAktuelleAktion->text(), u"Aktion %1 ..Ok"_s.arg(n));
        // At least two digits; the check mark on the newest entry only; the
        // history keeps the text without the confirmation.
        QStringList erwartet;
        for (int i = erste.toInt(); i <= n; ++i)
            erwartet << (i ? u"%1: Aktion %2"_s.arg(i, 2, 10, QChar(u'0')).arg(i) : u"(Start)"_s);
        erwartet.last().prepend(u"✓"_s);
        QCOMPARE(texte(m_form->mnuVerlauf), erwartet);
        // The menu: history, separator, "Schließen".
        QCOMPARE(m_form->mnuPopupVerlauf->actions(),
                 (m_form->mnuVerlauf + QList<QAction*>{m_form->trenn1, m_form->mnuSchließen}));
        QVERIFY(m_form->trenn1->isSeparator());
        QCOMPARE(m_form->mnuSchließen->text(), u"Schließen"_s);
    }

    void platzierung_data() { falltabelle("script-faelle.txt", "status-platzierung"); }
    void platzierung()
    {
        QFETCH(QString, hoehe);
        QFETCH(QString, leiste);
        const bool oben = hoehe.toInt() > 0;
        const std::unique_ptr<Display, int (*)(Display*)> d(XOpenDisplay(nullptr), XCloseDisplay);
        QVERIFY(d);
        if (leiste.toInt() > 0) {
            if (qgetenv("SENDARO_TEST_WM") != "1")
                QSKIP("Ohne Fenstermanager gibt es keinen Arbeitsbereich.");
            // A panel along the bottom edge, which the window manager keeps
            // out of the work area; it goes with our connection.
            leisteOeffnen(d.get(), leiste.toInt());
            const int unten = m_form->screen()->geometry().bottom() - leiste.toInt();
            QTRY_COMPARE(m_form->screen()->availableGeometry().bottom(), unten);
        }
        if (oben) {
            m_form->setFixedHeight(hoehe.toInt());
            m_form->platzieren();
        }
        m_form->ShowDebugInfo(u"Test"_s);
        const QRect frei = m_form->screen()->availableGeometry();
        const QRect rahmen = m_form->frameGeometry();
        QCOMPARE(rahmen.right(), frei.right());
        QCOMPARE(oben ? rahmen.top() : rahmen.bottom(), oben ? frei.top() : frei.bottom());
        QVERIFY(m_form->windowFlags() & Qt::WindowStaysOnTopHint);

        // What the server shows, frame included, must agree once the window
        // manager has done its work: the whole frame inside the work area.
        const QRect bereich = arbeitsbereichAufDemServer(d.get());
        QCOMPARE(bereich, frei);
        const auto aussen = [&] { return rahmenAufDemServer(d.get(), Window(m_form->winId())); };
        const auto ecke = [&] {
            const QRect r = aussen();
            return oben ? QPoint(r.right(), r.top()) : r.bottomRight();
        };
        QTRY_COMPARE(ecke(), oben ? bereich.topRight() : bereich.bottomRight());
        m_form->ShowDebugInfo(u"Noch ein Test"_s);
        QTest::qWait(300); // a late move by the window manager would show now
        QCOMPARE(ecke(), oben ? bereich.topRight() : bereich.bottomRight());
        if (!oben)
            QVERIFY2(bereich.contains(aussen()),
                     qPrintable(u"Rahmen %1,%2 %3x%4"_s.arg(aussen().x())
                                    .arg(aussen().y())
                                    .arg(aussen().width())
                                    .arg(aussen().height())));
        QCOMPARE(aussen(), m_form->frameGeometry());
    }

    void schliessenUndNeu()
    {
        Statusfenster anzeige;
        anzeige.ShowDebugInfo(u"Erste"_s);
        anzeige.ShowDebugInfo(u"Zweite"_s);
        QPointer<FormAufzeichnungsskript> alt = anzeige.fenster();
        QVERIFY(alt);
        alt->mnuSchließen->trigger();
        QVERIFY(!alt->isVisible());
        QVERIFY(!(alt->windowFlags() & Qt::WindowStaysOnTopHint)); // a normal window again
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alt);
        QVERIFY(!anzeige.fenster());
        // A confirmation for a closed window goes nowhere; the next report
        // opens a new window with a fresh history.
        anzeige.ShowDebugInfoAddOk();
        anzeige.ShowDebugInfo(u"Dritte"_s);
        QVERIFY(anzeige.fenster());
        QCOMPARE(texte(anzeige.fenster()->mnuVerlauf),
                 (QStringList{u"(Start)"_s, u"✓01: Dritte"_s}));
    }
};

QTEST_MAIN(TestFormAufzeichnungsskript)
#include "tst_formaufzeichnungsskript.moc"
