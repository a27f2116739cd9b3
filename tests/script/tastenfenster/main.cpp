// tastenfenster --titel TEXT --ausgabe DATEI [--verborgen | --ausblenden |
//                                             --vollbild-nach MS] [--keysym]
// A window that appends every key press to DATEI (UTF-8), so a test can
// compare exactly what arrived: a printable key's text as it stands, any
// other key (or one with Ctrl, Alt, Meta, or from the keypad) as
// "<Modifiers+Name>" in Qt's portable notation, e.g. "<Return>", "<Alt+F4>",
// "<Num++>". Modifier keys alone are not written.
// --verborgen: the window is made, titled, but never mapped (withdrawn from the
// start, as a program that starts in the tray); --ausblenden: it is shown and
// withdrawn again as soon as it is on the screen (hidden to the tray);
// --vollbild-nach MS: it is made at once and shown full-screen MS
// milliseconds later, as a program that is slow to start.
// --keysym: each key written as <Name> also gets the keysym the server
// delivered, in hex ("<Del:ffff>"), since Qt gives some keys the name of
// another (Clear is Del) and others none at all (Break).
#include <algorithm>

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QRasterWindow>
#include <QTimer>

class Tastenfenster : public QRasterWindow
{
public:
    QFile ausgabe;
    bool ausblendenWennSichtbar = false;
    bool mitKeysym = false;

protected:
    void exposeEvent(QExposeEvent* e) override
    {
        QRasterWindow::exposeEvent(e);
        if (ausblendenWennSichtbar && isExposed()) {
            ausblendenWennSichtbar = false;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    hide();
                    // Tells the test that the window is withdrawn now.
                    fputs("ausgeblendet\n", stdout);
                    fflush(stdout);
                },
                Qt::QueuedConnection);
        }
    }

    void keyPressEvent(QKeyEvent* e) override
    {
        static const QList<int> modifikatoren{Qt::Key_Shift,   Qt::Key_Control, Qt::Key_Alt,
                                              Qt::Key_AltGr,   Qt::Key_Meta,    Qt::Key_Super_L,
                                              Qt::Key_Super_R, Qt::Key_Hyper_L, Qt::Key_Hyper_R};
        if (modifikatoren.contains(e->key()))
            return;
        const QString text = e->text();
        const bool druckbar =
            !text.isEmpty() && std::ranges::all_of(text, [](QChar c) { return c.isPrint(); }) &&
            !(e->modifiers() &
              (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier));
        QString name = QKeySequence(e->keyCombination()).toString(QKeySequence::PortableText);
        if (mitKeysym)
            name += u':' + QString::number(e->nativeVirtualKey(), 16);
        ausgabe.write((druckbar ? text : u'<' + name + u'>').toUtf8());
    }
};

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList a = QGuiApplication::arguments();
    const qsizetype titel = a.indexOf(QStringLiteral("--titel")) + 1;
    const qsizetype datei = a.indexOf(QStringLiteral("--ausgabe")) + 1;
    if (titel <= 0 || datei <= 0 || std::max(titel, datei) >= a.size()) {
        fputs("tastenfenster --titel TEXT --ausgabe DATEI\n", stderr);
        return 2;
    }
    Tastenfenster fenster;
    fenster.setTitle(a.at(titel));
    fenster.resize(420, 120);
    fenster.ausgabe.setFileName(a.at(datei));
    fenster.mitKeysym = a.contains(QStringLiteral("--keysym"));
    if (!fenster.ausgabe.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fputs("tastenfenster: Ausgabedatei kann nicht geschrieben werden\n", stderr);
        return 1;
    }
    const qsizetype vollbild = a.indexOf(QStringLiteral("--vollbild-nach")) + 1;
    if (a.contains(QStringLiteral("--verborgen"))) {
        fenster.create();
    } else if (vollbild > 0 && vollbild < a.size()) {
        fenster.create();
        QTimer::singleShot(a.at(vollbild).toInt(), &fenster, &QWindow::showFullScreen);
    } else {
        fenster.show();
        if (a.contains(QStringLiteral("--ausblenden")))
            fenster.ausblendenWennSichtbar = true;
    }
    return app.exec();
}
