// The window tests' main: headless, with a QApplication.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    // Test discovery runs this program at build time without the test's
    // environment, so headless mode is chosen here as well.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
