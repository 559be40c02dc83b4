#include "app/RemoteFileDialogs.h"

#include "app/MessageService.h"
#include "files/FileNames.h"
#include "files/RemoteFile.h"

namespace sonoria {
namespace {

QString Filter() { return QStringLiteral("Remote Data File(*.remo)"); }

}  // namespace

int SaveRemoteFileDialog(QWidget* owner) {
    const QString chosen = ChooseSaveFileName(owner, Filter());
    if (chosen.isEmpty()) return 0;
    return WriteRemoteFile(WithExtension(chosen.toStdString(), kRemoteFileExtension)) == 1 ? 1 : -1;
}

int LoadRemoteFileDialog(QWidget* owner) {
    const QString chosen = ChooseOpenFileName(owner, Filter());
    if (chosen.isEmpty()) return 0;
    return LoadRemoteFile(chosen.toStdString());
}

}  // namespace sonoria
