// The floor of a Qt Widgets program: a window with one line of text, shown,
// and one small file written after the same first interval as meteo-aprs's
// first tick (100 ms). What meteo-aprs takes beyond this to start, and
// holds beyond this in memory, is its own.
//   qt-floor FILE
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("qt-floor"));
    window.setCentralWidget(new QLabel(QStringLiteral("Pavimento di Qt Widgets"), &window));
    window.show();
    QTimer::singleShot(100, &window, [&path] {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("pronto\r\n");
    });
    return QApplication::exec();
}
