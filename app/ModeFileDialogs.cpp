#include "app/ModeFileDialogs.h"

#include <QPointer>

#include "app/MessageService.h"
#include "files/FileIo.h"
#include "files/FileNames.h"
#include "files/ModeFile.h"
#include "files/ModeFileFormat.h"

namespace sonoria {

int SaveModeFileDialog(QWidget* owner, const std::vector<std::uint8_t>& snapshot) {
    const QString chosen = ChooseSaveFileName(owner, QStringLiteral("Mode Data File(*.k71x)"));
    if (chosen.isEmpty()) return 0;
    const std::string path = WithExtension(chosen.toStdString(), kModeFileExtension);
    return WriteModeFileBytes(path, snapshot) == 1 ? 1 : -1;
}

void InstallWriteFailureBox(QWidget* owner) {
    QPointer<QWidget> window(owner);
    SetWriteFailureHandler([window](int errorCode, const std::string& path) {
        ShowMessageBox(window.data(), QString::fromStdString(WriteFailureText(errorCode, path)),
                       QString::fromLatin1(kWriteFailureTitle), MessageIcon::Warning);
    });
}

}  // namespace sonoria
