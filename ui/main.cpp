// The program: the main window, loaded as at every start.
#include <QApplication>
#include <QDir>
#include <QIcon>

#include "ui/InstanceLock.h"
#include "ui/QuadroStazione.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("meteo-aprs"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/meteo-aprs.png")));
    const auto lock = ui::lockWorkingFolder(QDir::currentPath());
    if (!lock)
        return 1; // the user has been told why
    ui::QuadroStazione window;
    window.Form_Load();
    return QApplication::exec();
}
