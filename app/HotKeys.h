// The program-wide hot keys: F7 opens the machine settings, Ctrl+F6 the
// power-on logo window (both when the key is released), Ctrl+Z undoes the
// last edit and Ctrl+Shift+Z or Ctrl+Y redoes it (when pressed, the key then
// going to no window). None acts while the synchronisation progress window
// is open, and none re-enters itself.
#pragma once

#include <QObject>

class QKeyEvent;

#include <functional>

namespace sonoria {

class HotKeys : public QObject {
    Q_OBJECT
public:
    struct Actions {
        std::function<bool()> synchronising;        // the progress window is open
        std::function<void()> openMachineSettings;  // F7
        std::function<void()> openLogo;             // Ctrl+F6
        std::function<void()> undo;                 // Ctrl+Z
        std::function<void()> redo;                 // Ctrl+Shift+Z, Ctrl+Y
    };

    explicit HotKeys(Actions actions, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Run(bool& guard, const std::function<void()>& action);
    bool HistoryKey(const QKeyEvent* key);

    Actions actions_;
    bool f7Guard_ = true;
    bool ctrlF6Guard_ = true;
    bool historyGuard_ = true;
};

}  // namespace sonoria
