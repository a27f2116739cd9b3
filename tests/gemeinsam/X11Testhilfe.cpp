#include "tests/gemeinsam/X11Testhilfe.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

QString dateiText(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString programmAusgabe(const QString& programm, const QStringList& argumente)
{
    QProcess p;
    p.start(programm, argumente);
    const bool fertig = p.waitForFinished(10000);
    p.kill();
    p.waitForFinished();
    return fertig ? QString::fromUtf8(p.readAllStandardOutput()).trimmed() : QString();
}

bool tastaturbelegung(const QString& layout)
{
    return QProcess::execute(u"setxkbmap"_s, {layout}) == 0;
}

bool fenstermanagerEingeholt(int maxMs)
{
    if (qgetenv("SENDARO_TEST_WM") != "1")
        return true;
    const QDeadlineTimer frist(maxMs);
    Display* d = nullptr;
    while (!d && !frist.hasExpired() && !(d = XOpenDisplay(nullptr)))
        QTest::qWait(100);
    if (!d)
        return false;
    // The window manager answers a frame-extents request, in turn with its
    // other work, by setting a property; repeated while it is still starting.
    const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(d, w, PropertyChangeMask);
    XEvent e{};
    bool antwort = false;
    for (int i = 0; !antwort && !frist.hasExpired(); ++i) {
        if (i % 50 == 0) {
            e.xclient.type = ClientMessage;
            e.xclient.window = w;
            e.xclient.message_type = XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False);
            e.xclient.format = 32;
            XSendEvent(d, DefaultRootWindow(d), False,
                       SubstructureRedirectMask | SubstructureNotifyMask, &e);
            XFlush(d);
        }
        QTest::qWait(20);
        while (XCheckTypedWindowEvent(d, w, PropertyNotify, &e))
            antwort = true;
    }
    XDestroyWindow(d, w);
    XCloseDisplay(d);
    return antwort;
}
