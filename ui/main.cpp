// The program: the main window, loaded as at every start.
#include <QApplication>
#include <QIcon>

#include "ui/QuadroStazione.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("meteo-aprs"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/meteo-aprs.png")));
    ui::QuadroStazione window;
    window.Form_Load();
    return QApplication::exec();
}
