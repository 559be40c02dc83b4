#include "app/MessageService.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>

namespace sonoria {
namespace {

MessageHandler& Handler() {
    static MessageHandler handler;
    return handler;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A question must be answered: Escape and the close box leave it open.
class QuestionBox : public QMessageBox {
public:
    QuestionBox(Icon icon, const QString& caption, const QString& text, StandardButtons buttons, QWidget* owner,
                bool mustAnswer)
        : QMessageBox(icon, caption, text, buttons, owner), mustAnswer_(mustAnswer) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (mustAnswer_ && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        // Only a button ends it; those end it without closing.
        if (mustAnswer_) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool mustAnswer_;
};

SaveFileHandler& SaveHandler() {
    static SaveFileHandler handler;
    return handler;
}

OpenFileHandler& OpenHandler() {
    static OpenFileHandler handler;
    return handler;
}

}  // namespace

QString ChooseOpenFileName(QWidget* owner, const QString& filter) {
    if (OpenHandler()) return OpenHandler()(filter);
    return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
}

OpenFileHandler SetOpenFileHandler(OpenFileHandler handler) {
    std::swap(OpenHandler(), handler);
    return handler;
}

QString ChooseSaveFileName(QWidget* owner, const QString& filter) {
    if (SaveHandler()) return SaveHandler()(filter);
    return QFileDialog::getSaveFileName(owner, QString(), QString(), filter);
}

SaveFileHandler SetSaveFileHandler(SaveFileHandler handler) {
    std::swap(SaveHandler(), handler);
    return handler;
}

MessageAnswer ShowMessage(const MessageRequest& request) {
    if (Handler()) return Handler()(request);
    const bool question = request.buttons == MessageButtons::YesNo;
    const auto buttons = question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QuestionBox box(ToQt(request.icon), request.caption, request.text, buttons, request.owner, question);
    switch (box.exec()) {
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        case QMessageBox::Ok: return MessageAnswer::Ok;
        default: return MessageAnswer::Closed;
    }
}

bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) {
    return ShowMessage({owner, text, caption, MessageIcon::Question, MessageButtons::YesNo}) == MessageAnswer::Yes;
}

void ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon) {
    ShowMessage({owner, text, caption, icon, MessageButtons::Ok});
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    std::swap(Handler(), handler);
    return handler;
}

}  // namespace sonoria
