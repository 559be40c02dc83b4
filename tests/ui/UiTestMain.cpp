// Runs the window and control tests inside a QApplication on the offscreen
// platform, so that they need no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QStandardPaths>

#include <clocale>

#include "app/SonoriaApplication.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A runtime and a temporary folder of its own (mode 0700, removed at the
    // end), so that single-instance marks and sockets never meet those of a
    // program or another test running at the same time.
    QTemporaryDir own;
    if (!own.isValid() || !QDir(own.path()).mkdir("runtime") || !QDir(own.path()).mkdir("tmp")) return 1;
    for (const char* folder : {"runtime", "tmp"}) {
        QFile::setPermissions(own.filePath(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own.filePath("runtime")));
    qputenv("TMPDIR", QFile::encodeName(own.filePath("tmp")));
    // Settings written by the tests go to a private location, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    // The program's own application: user input is delivered in edit steps.
    sonoria::SonoriaApplication app(argc, argv);
    // As the program does: numbers in texts in the C locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName("SONORIA-TEST");
    QApplication::setApplicationName("SONORIA-K7X-TEST");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
