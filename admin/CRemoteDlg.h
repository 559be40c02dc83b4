// Remote-control learning: a picture of the remote with a clickable area on
// each key. A click asks the device to learn that key and shows the learning
// window until a code arrives or the user gives up; Apply writes the learned
// codes to the device, and the codes go to and come from remote code files.
#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

#include "admin/CRemoteStudyDlg.h"

namespace sonoria {

inline constexpr int kRemoteDialogId = 204;
inline constexpr int kRemoteLoadId = 6;
inline constexpr int kRemoteSaveId = 5;
inline constexpr int kRemoteApplyId = 1;
inline constexpr int kRemoteCancelId = 2;
inline constexpr int kRemoteInfoMs = 1200;

class CRemoteDlg : public QDialog {
    Q_OBJECT
public:
    // What the window needs from the program around it.
    struct Hooks {
        std::function<void(const QString& text, int milliseconds)> showInfo;
        // The file dialogs: 1 done, -1 failed, 0 cancelled.
        std::function<int(QWidget* owner)> saveFile;
        std::function<int(QWidget* owner)> loadFile;
    };

    CRemoteDlg(QWidget* owner, Hooks hooks);

    // The id of key k's area (1..15); 0 outside.
    static int KeyAreaId(int key);
    // The prompt of key k in the current language.
    static QString KeyPrompt(int key);

    // A click on key k's area.
    void LearnKey(int key);
    // The learning window while a key is being learned, else null.
    CRemoteStudyDlg* Progress() const { return progress_.data(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply();
    void LoadFile();
    void SaveFile();
    void ShowInfo(const QString& text);

    Hooks hooks_;
    QPointer<CRemoteStudyDlg> progress_;
};

}  // namespace sonoria
