// sonoria: the program. Without options it works with a device on USB;
// --virtual[=MODEL] uses the built-in virtual device instead, started from a
// mode data file with --virtual-state=FILE and showing a fault with
// --virtual-fault=FAULT. --trace writes every report on the wire to standard
// error, in the lines of sonoria-cli --trace. --screenshot=FILE saves a
// picture of the main window after --quit-after milliseconds and ends the
// program (used where there is no display); such a run stands outside the
// one-copy rule and fails when no picture was saved.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>

#include "app/CSonoriaApp.h"
#include "app/CSonoriaDlg.h"
#include "app/DeviceWatch.h"
#include "app/ModeFileDialogs.h"
#include "app/SonoriaApplication.h"
#include "launch/BackendChoice.h"
#include "launch/StrictNumber.h"
#include "launch/WireTrace.h"
#include "link/HidapiBackend.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"

using namespace sonoria;

namespace {

constexpr int kFailure = 1;
constexpr int kUsageError = 2;
constexpr int kFileError = 3;

struct Options {
    BackendChoice backend;
    bool trace = false;
    QString screenshot;
    int quitAfterMs = 4000;
};

void PrintUsage(const std::string& error) {
    if (!error.empty()) std::fprintf(stderr, "sonoria: %s\n", error.c_str());
    std::fprintf(stderr, "usage: sonoria %s [--trace] [--screenshot=FILE [--quit-after=MS]]\n", kBackendUsage);
}

bool Parse(const QStringList& args, Options& options) {
    for (const QString& arg : args.mid(1)) {
        const std::string text = arg.toStdString();
        std::string error;
        switch (TakeBackendArgument(text, options.backend, error)) {
            case BackendArgument::Taken: continue;
            case BackendArgument::Invalid: PrintUsage(error); return false;
            case BackendArgument::NotOurs: break;
        }
        if (arg == QLatin1String("--trace")) {
            options.trace = true;
        } else if (arg.startsWith(QLatin1String("--screenshot="))) {
            options.screenshot = arg.section(QLatin1Char('='), 1);
        } else if (arg.startsWith(QLatin1String("--quit-after="))) {
            const auto ms = ParseStrictInteger(text.substr(text.find('=') + 1));
            if (!ms || *ms < 0 || *ms > std::numeric_limits<int>::max()) {
                PrintUsage("--quit-after takes a whole number of milliseconds");
                return false;
            }
            options.quitAfterMs = static_cast<int>(*ms);
        } else {
            PrintUsage("unknown option " + text);
            return false;
        }
    }
    return true;
}

// Lines from the read thread and the window's thread never mix: each goes out
// in one write of the locked standard error stream.
void TraceToStandardError() {
    SetReportTrace(WireTrace([](const std::string& line) { std::fputs((line + "\n").c_str(), stderr); }));
}

}  // namespace

int main(int argc, char** argv) {
    // The window's steady work is the meters' few small repaints a second. On
    // X11, Qt hands each one over in shared memory and then waits for the
    // server to let go of it, which costs more wake-ups than sending the few
    // pixels down the socket. The user's own choice still holds.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    SonoriaApplication app(argc, argv);
    // Numbers in texts are written and read in the C locale, whatever the
    // user's; the application object has just set the user's.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QStringLiteral("SONORIA"));
    QApplication::setApplicationName(QStringLiteral("SONORIA-K7X"));
    // Lets desktops match the window to its launcher (packaging/sonoria.desktop).
    QGuiApplication::setDesktopFileName(QStringLiteral("sonoria"));
    Options options;
    if (!Parse(QApplication::arguments(), options)) return kUsageError;

    std::shared_ptr<VirtualDevice> virtualDevice;
    if (options.backend.useVirtual) {
        std::string error;
        virtualDevice = MakeVirtualDevice(options.backend, error);
        if (!virtualDevice) {
            std::fprintf(stderr, "sonoria: cannot start the virtual device from the file: %s\n", error.c_str());
            return kFileError;
        }
        SetHidBackend(virtualDevice);
    } else {
        SetHidBackend(std::make_shared<HidapiBackend>());
    }
    if (options.trace) TraceToStandardError();

    CSonoriaApp sonoria;
    if (!options.screenshot.isEmpty()) sonoria.StandAlone();
    bool screenshotSaved = false;
    const int code = sonoria.Run([&] {
        auto window = std::make_unique<CSonoriaDlg>();
        CSonoriaDlg* dialog = window.get();
        InstallWriteFailureBox(dialog);
        dialog->Session().SetDeviceWatch(virtualDevice ? CreateVirtualDeviceWatch(*virtualDevice)
                                             : CreatePlatformDeviceWatch());
        sonoria.InstallHotKeys({[dialog] { return dialog->Synchronising(); },
                                [dialog] { dialog->ShowMachineSettings(); }, [dialog] { dialog->ShowLogo(); },
                                [dialog] { dialog->Session().Undo(); }, [dialog] { dialog->Session().Redo(); }});
        if (!options.screenshot.isEmpty()) {
            QTimer::singleShot(options.quitAfterMs, dialog, [dialog, &screenshotSaved, path = options.screenshot] {
                QDir().mkpath(QFileInfo(path).absolutePath());
                screenshotSaved = dialog->grab().save(path);
                if (screenshotSaved) {
                    std::printf("main window saved to %s\n", QFileInfo(path).absoluteFilePath().toLocal8Bit().constData());
                }
                dialog->close();
            });
        }
        return std::unique_ptr<QWidget>(std::move(window));
    });
    SetReportTrace({});
    SetHidBackend(nullptr);
    if (!options.screenshot.isEmpty() && !screenshotSaved) {
        std::fprintf(stderr, "sonoria: could not save the screenshot %s\n",
                     QFileInfo(options.screenshot).absoluteFilePath().toLocal8Bit().constData());
        return code != 0 ? code : kFailure;
    }
    return code;
}
