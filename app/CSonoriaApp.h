// The application object: brings the process up, makes sure one copy runs,
// and runs the main window until it closes.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

#include "app/HotKeys.h"
#include "app/SingleInstance.h"

namespace sonoria {

class CSonoriaApp {
public:
    using MainWindowFactory = std::function<std::unique_ptr<QWidget>()>;

    CSonoriaApp();

    // Start-up in order: single-instance check, the main window built by
    // `createMainWindow`, run until it closes. Returns the exit code.
    int Run(const MainWindowFactory& createMainWindow);

    // Leaves this run out of the one-copy rule: it neither yields to a
    // running copy nor answers later starts (a headless screenshot run).
    void StandAlone() { standAlone_ = true; }

    // The window a second start brings to the front; set once it exists.
    void SetMainWindow(QWidget* window);
    // Installs the program-wide hot keys.
    void InstallHotKeys(HotKeys::Actions actions);

private:
    SingleInstance instance_;
    QWidget* mainWindow_ = nullptr;
    bool standAlone_ = false;
    std::unique_ptr<HotKeys> hotKeys_;
};

// Restores a minimised window and brings it to the front.
void BringToFront(QWidget* window);

}  // namespace sonoria
