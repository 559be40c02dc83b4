// sonoria: the program. Without options it works with a device on USB;
// --virtual[=MODEL] uses the built-in virtual device instead, started from a
// mode data file with --virtual-state=FILE. --screenshot=FILE saves a picture
// of the main window after --quit-after milliseconds and ends the program
// (used where there is no display).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "app/CSonoriaApp.h"
#include "app/CSonoriaDlg.h"
#include "app/DeviceWatch.h"
#include "app/ModeFileDialogs.h"
#include "files/VirtualDeviceState.h"
#include "link/HidapiBackend.h"
#include "link/LinkState.h"
#include "simulator/VirtualDevice.h"

using namespace sonoria;

namespace {

struct Options {
    bool useVirtual = false;
    QString model = QStringLiteral("KR710Q");
    QString virtualState;
    QString screenshot;
    int quitAfterMs = 4000;
};

bool Parse(const QStringList& args, Options& options) {
    for (const QString& arg : args.mid(1)) {
        if (arg == QLatin1String("--virtual")) {
            options.useVirtual = true;
        } else if (arg.startsWith(QLatin1String("--virtual="))) {
            options.useVirtual = true;
            options.model = arg.section(QLatin1Char('='), 1);
        } else if (arg.startsWith(QLatin1String("--virtual-state="))) {
            options.useVirtual = true;
            options.virtualState = arg.section(QLatin1Char('='), 1);
        } else if (arg.startsWith(QLatin1String("--screenshot="))) {
            options.screenshot = arg.section(QLatin1Char('='), 1);
        } else if (arg.startsWith(QLatin1String("--quit-after="))) {
            options.quitAfterMs = arg.section(QLatin1Char('='), 1).toInt();
        } else {
            std::fprintf(stderr,
                         "usage: sonoria [--virtual[=MODEL]] [--virtual-state=FILE] [--screenshot=FILE "
                         "[--quit-after=MS]]\n");
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("SONORIA"));
    QApplication::setApplicationName(QStringLiteral("SONORIA-K7X"));
    Options options;
    if (!Parse(QApplication::arguments(), options)) return 2;

    std::shared_ptr<VirtualDevice> virtualDevice;
    if (options.useVirtual) {
        virtualDevice = std::make_shared<VirtualDevice>(options.model.toStdString());
        std::string error;
        if (!options.virtualState.isEmpty() &&
            !LoadVirtualDeviceState(*virtualDevice, options.virtualState.toStdString(), &error)) {
            std::fprintf(stderr, "sonoria: cannot start the virtual device from the file: %s\n", error.c_str());
            return 3;
        }
        SetHidBackend(virtualDevice);
    } else {
        SetHidBackend(std::make_shared<HidapiBackend>());
    }

    CSonoriaApp sonoria;
    const int code = sonoria.Run([&] {
        auto window = std::make_unique<CSonoriaDlg>();
        CSonoriaDlg* dialog = window.get();
        InstallWriteFailureBox(dialog);
        dialog->SetDeviceWatch(virtualDevice ? CreateVirtualDeviceWatch(*virtualDevice)
                                             : CreatePlatformDeviceWatch());
        sonoria.InstallHotKeys({[dialog] { return dialog->Synchronising(); },
                                [dialog] { dialog->ShowMachineSettings(); }, [dialog] { dialog->ShowLogo(); }});
        if (!options.screenshot.isEmpty()) {
            QTimer::singleShot(options.quitAfterMs, dialog, [dialog, path = options.screenshot] {
                QDir().mkpath(QFileInfo(path).absolutePath());
                const bool saved = dialog->grab().save(path);
                std::printf(saved ? "main window saved to %s\n" : "could not save %s\n",
                            QFileInfo(path).absoluteFilePath().toLocal8Bit().constData());
                dialog->close();
            });
        }
        return std::unique_ptr<QWidget>(std::move(window));
    });
    SetHidBackend(nullptr);
    return code;
}
