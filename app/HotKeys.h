// The two program-wide hot keys: F7 opens the machine settings, Ctrl+F6 the
// power-on logo window. Both act when the key is released, never while the
// synchronisation progress window is open, and never re-enter themselves.
#pragma once

#include <QObject>

#include <functional>

namespace sonoria {

class HotKeys : public QObject {
    Q_OBJECT
public:
    struct Actions {
        std::function<bool()> synchronising;        // the progress window is open
        std::function<void()> openMachineSettings;  // F7
        std::function<void()> openLogo;             // Ctrl+F6
    };

    explicit HotKeys(Actions actions, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Run(bool& guard, const std::function<void()>& action);

    Actions actions_;
    bool f7Guard_ = true;
    bool ctrlF6Guard_ = true;
};

}  // namespace sonoria
