// fensterblick: the end-to-end test's eye on the wizard window, from outside.
//   fensterblick kennung FENSTER            prints a fingerprint of the page
//   fensterblick warten FENSTER ALT MS      waits until the fingerprint differs
//                                           from ALT and holds still, prints it
//   fensterblick bild FENSTER DATEI.png     saves the window, frame included
//   fensterblick titel FENSTER              prints the window's title and
//                                           every new one, a line each, until
//                                           the window is gone
// FENSTER is an X window id (decimal or 0x...). The fingerprint covers the
// top of the page area, where every page of the wizard begins with its own
// text; the fields lower down, whose text cursor blinks, stay out of it.
// Exit code 0, 1 on timeout or when the window cannot be read, 2 on usage.
#include <cstdio>

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

namespace {

// The page area of the wizard window, as parts of the window's size: it
// begins a quarter from the left; its first two lines of text.
constexpr double kLinks = 0.26;
constexpr double kRechts = 0.98;
constexpr double kOben = 0.01;
constexpr double kUnten = 0.09;

QString kennung(WId fenster)
{
    QScreen* bildschirm = QGuiApplication::primaryScreen();
    const QPixmap ganz = bildschirm->grabWindow(fenster);
    if (ganz.isNull())
        return {};
    const QImage bild = ganz.toImage().convertToFormat(QImage::Format_RGB32);
    const int x = static_cast<int>(bild.width() * kLinks);
    const int y = static_cast<int>(bild.height() * kOben);
    const QImage teil = bild.copy(x, y, static_cast<int>(bild.width() * kRechts) - x,
                                  static_cast<int>(bild.height() * kUnten) - y);
    QCryptographicHash h(QCryptographicHash::Sha1);
    for (int zeile = 0; zeile < teil.height(); ++zeile)
        h.addData(QByteArrayView(reinterpret_cast<const char*>(teil.constScanLine(zeile)),
                                 teil.width() * 4));
    return QString::fromLatin1(h.result().toHex());
}

/// The window with the frame the window manager put around it, in root
/// coordinates; without a window manager the window alone.
QRect mitRahmen(WId fenster)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return {};
    QRect r;
    XWindowAttributes a;
    Window kind = 0;
    int x = 0;
    int y = 0;
    if (XGetWindowAttributes(d, fenster, &a) &&
        XTranslateCoordinates(d, fenster, DefaultRootWindow(d), 0, 0, &x, &y, &kind)) {
        r = QRect(x, y, a.width, a.height);
        Atom typ = 0;
        int format = 0;
        unsigned long anzahl = 0;
        unsigned long rest = 0;
        unsigned char* daten = nullptr;
        const Atom rahmen = XInternAtom(d, "_NET_FRAME_EXTENTS", False);
        if (XGetWindowProperty(d, fenster, rahmen, 0, 4, False, XA_CARDINAL, &typ, &format, &anzahl,
                               &rest, &daten) == Success &&
            daten && format == 32 && anzahl == 4) {
            const auto* e = reinterpret_cast<const long*>(daten);
            r.adjust(-static_cast<int>(e[0]), -static_cast<int>(e[2]), static_cast<int>(e[1]),
                     static_cast<int>(e[3]));
        }
        if (daten)
            XFree(daten);
    }
    XCloseDisplay(d);
    return r;
}

/// Follows the title through the window's property changes, so that no
/// title is missed however briefly it stands.
int titelVerfolgen(WId fenster)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 1;
    // The window may go at any moment; its end is told by DestroyNotify.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const Atom name = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    XSelectInput(d, fenster, PropertyChangeMask | StructureNotifyMask);
    QByteArray zuletzt;
    const auto ausgeben = [&] {
        Atom typ = 0;
        int format = 0;
        unsigned long anzahl = 0;
        unsigned long rest = 0;
        unsigned char* daten = nullptr;
        if (XGetWindowProperty(d, fenster, name, 0, 1024, False, utf8, &typ, &format, &anzahl,
                               &rest, &daten) != Success)
            return false;
        const QByteArray titel(reinterpret_cast<const char*>(daten), daten ? int(anzahl) : 0);
        if (daten)
            XFree(daten);
        if (titel != zuletzt) {
            zuletzt = titel;
            std::printf("%s\n", titel.constData());
            std::fflush(stdout);
        }
        return true;
    };
    // Selected first and read then, so a change in between is not lost.
    XSync(d, False);
    if (!ausgeben()) {
        XCloseDisplay(d);
        return 1;
    }
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == DestroyNotify && e.xdestroywindow.window == fenster)
            break;
        if (e.type == PropertyNotify && e.xproperty.atom == name)
            ausgeben();
    }
    XCloseDisplay(d);
    return 0;
}

int verwendung()
{
    std::fputs("fensterblick kennung FENSTER | warten FENSTER ALT MS | bild FENSTER DATEI"
               " | titel FENSTER\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList a = QGuiApplication::arguments();
    if (a.size() < 3)
        return verwendung();
    bool ok = false;
    const WId fenster = a.at(2).toULongLong(&ok, 0);
    if (!ok)
        return verwendung();

    if (a.at(1) == u"kennung"_s && a.size() == 3) {
        const QString k = kennung(fenster);
        std::printf("%s\n", qPrintable(k));
        return k.isEmpty() ? 1 : 0;
    }

    if (a.at(1) == u"titel"_s && a.size() == 3)
        return titelVerfolgen(fenster);

    if (a.at(1) == u"bild"_s && a.size() == 4) {
        const QRect r = mitRahmen(fenster);
        if (r.isEmpty())
            return 1;
        const QPixmap bild =
            QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
        return !bild.isNull() && bild.save(a.at(3), "PNG") ? 0 : 1;
    }

    if (a.at(1) == u"warten"_s && a.size() == 5) {
        const QString alt = a.at(3);
        const int ms = a.at(4).toInt();
        // Polled every 50 ms; a new fingerprint counts once it has been seen
        // three times in a row, so a page still being drawn is not taken.
        QString zuletzt;
        int gleich = 0;
        int rc = 1;
        QTimer takt;
        QObject::connect(&takt, &QTimer::timeout, &app, [&] {
            const QString k = kennung(fenster);
            if (k.isEmpty() || k == alt) {
                gleich = 0;
                return;
            }
            gleich = k == zuletzt ? gleich + 1 : 1;
            zuletzt = k;
            if (gleich >= 3) {
                std::printf("%s\n", qPrintable(k));
                rc = 0;
                app.quit();
            }
        });
        takt.start(50);
        QTimer::singleShot(ms, &app, &QGuiApplication::quit);
        app.exec();
        return rc;
    }
    return verwendung();
}
