// The power-on logo window: the text of up to seven characters the device
// shows when it is switched on.
#pragma once

#include <QDialog>

#include "admin/AdminWindowHooks.h"

class QLineEdit;

namespace sonoria {

inline constexpr int kLogoDialogId = 375;
inline constexpr int kLogoEditId = 1038;

class CLogoDlg : public QDialog {
    Q_OBJECT
public:
    CLogoDlg(QWidget* owner, AdminWindowHooks hooks);

    // The OK button: checks the text and sends it; the window stays open.
    void OnOk();
    QLineEdit* Edit() const { return edit_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpperCaseAsTyped(const QString& text);

    AdminWindowHooks hooks_;
    QLineEdit* edit_ = nullptr;
};

}  // namespace sonoria
