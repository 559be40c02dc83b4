// The window that tells the user how to bring the device up in its upgrade
// mode, or to switch it off and on after an upgrade.
#pragma once

#include <QDialog>

class QLabel;

namespace sonoria {

inline constexpr int kWaitUpDialogId = 245;
inline constexpr int kWaitUpTextId = 1106;

class CWaitUpDlg : public QDialog {
    Q_OBJECT
public:
    explicit CWaitUpDlg(QWidget* owner);
    // A non-empty text replaces the standing instruction.
    void SetText(const QString& text);
    QString Text() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* text_ = nullptr;
};

}  // namespace sonoria
