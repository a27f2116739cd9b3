// tastenfenster --titel TEXT --ausgabe DATEI
// Shows a window with the given title and appends every key it receives to
// DATEI (UTF-8), see Tastenfenster.h.
#include <QCommandLineParser>
#include <QGuiApplication>

#include "tests/script/tastenfenster/Tastenfenster.h"

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption titel(QStringLiteral("titel"), QStringLiteral("Fenstertitel"),
                                   QStringLiteral("TEXT"));
    const QCommandLineOption ausgabe(QStringLiteral("ausgabe"), QStringLiteral("Ausgabedatei"),
                                     QStringLiteral("DATEI"));
    parser.addOptions({titel, ausgabe});
    parser.process(app);
    if (!parser.isSet(titel) || !parser.isSet(ausgabe)) {
        fputs("tastenfenster --titel TEXT --ausgabe DATEI\n", stderr);
        return 2;
    }
    Tastenfenster fenster(parser.value(titel), parser.value(ausgabe));
    if (!fenster.ausgabeOffen()) {
        fputs("tastenfenster: Ausgabedatei kann nicht geschrieben werden\n", stderr);
        return 1;
    }
    fenster.show();
    return app.exec();
}
