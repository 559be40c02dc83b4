// The self-closing information window: a short notice over a picture, gone
// after the time its caller gives.
#pragma once

#include <QDialog>
#include <QFont>
#include <QTimer>

class QLabel;

namespace sonoria {

inline constexpr int kInfoDialogId = 145;
inline constexpr int kInfoTextId = 1223;

class CInfoDlg : public QDialog {
    Q_OBJECT
public:
    // Created visible, titled in the current language, centred on `owner`.
    explicit CInfoDlg(QWidget* owner);

    // Shows `text` and closes the window after `milliseconds`; a later call
    // replaces the text and restarts the time, keeping the window where it is.
    void ShowText(const QString& text, int milliseconds);
    QString Text() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* text_ = nullptr;
    QFont messageFont_;  // "宋体" 25
    QString message_;
    QTimer closeTimer_;  // closes the notice after its time
};

}  // namespace sonoria
