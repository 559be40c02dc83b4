#include "app/MessageService.h"

#include <QFileDialog>
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

SaveFileHandler& SaveHandler() {
    static SaveFileHandler handler;
    return handler;
}

}  // namespace

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
    const auto buttons =
        request.buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(ToQt(request.icon), request.caption, request.text, buttons, request.owner);
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
