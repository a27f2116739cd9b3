// The yardstick for the wizard's start: a Qt Widgets program that shows one
// empty window and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget fenster;
    fenster.setWindowTitle(QStringLiteral("Leeres Fenster"));
    fenster.resize(542, 364);
    fenster.show();
    return app.exec();
}
