// Every message box of the program goes through here, so that tests can
// answer them.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace sonoria {

// The program's name: the caption of the boxes that have no title of their
// own. Every other box shows exactly the caption it is given.
inline constexpr const char* kProgramName = "SONORIA-S2";

enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No, Closed };

struct MessageRequest {
    QWidget* owner;
    QString text;
    QString caption;
    MessageIcon icon;
    MessageButtons buttons;
};

// Shows a modal message box (or asks the installed handler) and returns the answer.
MessageAnswer ShowMessage(const MessageRequest& request);

// Convenience forms.
bool AskYesNo(QWidget* owner, const QString& text, const QString& caption);
void ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, MessageIcon icon);

// Asks for a file name to save to (the platform's save dialog, with an
// overwrite question); empty when the user cancelled.
QString ChooseSaveFileName(QWidget* owner, const QString& filter);
using SaveFileHandler = std::function<QString(const QString& filter)>;
SaveFileHandler SetSaveFileHandler(SaveFileHandler handler);

// Asks for an existing file to open; empty when the user cancelled.
QString ChooseOpenFileName(QWidget* owner, const QString& filter);
using OpenFileHandler = std::function<QString(const QString& filter)>;
OpenFileHandler SetOpenFileHandler(OpenFileHandler handler);

// Replaces the real boxes (tests); an empty handler restores them.
using MessageHandler = std::function<MessageAnswer(const MessageRequest&)>;
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace sonoria
