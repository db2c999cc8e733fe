// The program: the main window, loaded as at every start.
#include <QApplication>
#include <QDir>
#include <QIcon>

#include "io/file_io.h"
#include "settings/config.h"
#include "settings/send_settings.h"
#include "ui/InstanceLock.h"
#include "ui/QuadroStazione.h"

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("meteo-aprs"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/meteo-aprs.png")));
    const auto lock = ui::lockWorkingFolder(QDir::currentPath());
    if (!lock)
        return 1; // the user has been told why
    // Held by this copy alone from here on: a settings file's temporary is
    // what a copy that died left before its rename.
    io::removeLeftoverTemporaries(".", [](const std::string &name) {
        return name == settings::kConfigFileName || name == settings::kSendFileName;
    });
    ui::QuadroStazione window;
    window.Form_Load();
    return QApplication::exec();
}
