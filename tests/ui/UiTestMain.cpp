// Runs the window and control tests inside a QApplication on the offscreen
// platform, so that they need no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include <clocale>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings written by the tests go to a private location, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // As the program does: numbers in texts in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName("SONORIA-TEST");
    QApplication::setApplicationName("SONORIA-K7X-TEST");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
