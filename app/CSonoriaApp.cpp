#include "app/CSonoriaApp.h"

#include <QApplication>

namespace sonoria {

CSonoriaApp::CSonoriaApp() {
    QObject::connect(&instance_, &SingleInstance::activationRequested, [this] { BringToFront(mainWindow_); });
}

void CSonoriaApp::SetMainWindow(QWidget* window) {
    mainWindow_ = window;
    if (!standAlone_) instance_.Listen();
}

void CSonoriaApp::InstallHotKeys(HotKeys::Actions actions) {
    if (hotKeys_) qApp->removeEventFilter(hotKeys_.get());
    hotKeys_ = std::make_unique<HotKeys>(std::move(actions));
    qApp->installEventFilter(hotKeys_.get());
}

int CSonoriaApp::Run(const MainWindowFactory& createMainWindow) {
    if (!standAlone_ && !CheckSingleInstance(instance_)) return 0;
    std::unique_ptr<QWidget> window = createMainWindow();
    SetMainWindow(window.get());
    window->show();
    const int code = QApplication::exec();
    if (hotKeys_) qApp->removeEventFilter(hotKeys_.get());
    mainWindow_ = nullptr;
    window.reset();
    return code;
}

void BringToFront(QWidget* window) {
    if (window == nullptr) return;
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace sonoria
