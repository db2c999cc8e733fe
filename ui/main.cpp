// The program: the main window, loaded as at every start.
#include <QApplication>

#include "ui/QuadroStazione.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("meteo-aprs"));
    ui::QuadroStazione window;
    window.Form_Load();
    return QApplication::exec();
}
