// The window shown while the device listens for one remote-control key: the
// key's prompt, then the code heard. It closes by itself a moment after a
// code arrives; ended any other way before that, it tells the device to stop
// listening, so that a later key press cannot overwrite the key.
#pragma once

#include <QDialog>
#include <QTimer>

namespace sonoria {

inline constexpr int kRemoteStudyDialogId = 205;
inline constexpr int kStudyPromptId = 1106;
inline constexpr int kStudyCodeId = 1038;
inline constexpr int kStudyNoticeId = 1004;
inline constexpr int kStudyCancelId = 3;
inline constexpr int kStudyCloseId = 1;
// How long the learned code stays in view before the window closes.
inline constexpr int kStudyCloseDelayMs = 600;

class CRemoteStudyDlg : public QDialog {
    Q_OBJECT
public:
    // Titled and texted in the current language; the prompt comes next.
    explicit CRemoteStudyDlg(QWidget* owner);
    ~CRemoteStudyDlg() override;

    void SetPrompt(const QString& prompt);
    QString Prompt() const;
    // A code came from the device: show it, offer Close, and close soon.
    void OnKeyLearned(int code);
    bool CodeArrived() const { return codeArrived_; }
    QString CodeText() const;

public slots:
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CancelLearning();
    // Once per window: the device stops listening unless a code arrived.
    void StopListening();

    bool codeArrived_ = false;
    bool stopSent_ = false;
    QTimer closeTimer_;  // closes the window a moment after the code arrived
};

}  // namespace sonoria
