// tastenfenster --titel TEXT --ausgabe DATEI
// Shows a window with the given title and appends every key it receives to
// DATEI (UTF-8), see Tastenfenster.h.
#include <algorithm>

#include <QGuiApplication>

#include "tests/script/tastenfenster/Tastenfenster.h"

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList a = QGuiApplication::arguments();
    const qsizetype titel = a.indexOf(QStringLiteral("--titel")) + 1;
    const qsizetype ausgabe = a.indexOf(QStringLiteral("--ausgabe")) + 1;
    if (titel <= 0 || ausgabe <= 0 || std::max(titel, ausgabe) >= a.size()) {
        fputs("tastenfenster --titel TEXT --ausgabe DATEI\n", stderr);
        return 2;
    }
    Tastenfenster fenster(a.at(titel), a.at(ausgabe));
    if (!fenster.ausgabeOffen()) {
        fputs("tastenfenster: Ausgabedatei kann nicht geschrieben werden\n", stderr);
        return 1;
    }
    fenster.show();
    return app.exec();
}
