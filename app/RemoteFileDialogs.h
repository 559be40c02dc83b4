// The file dialogs behind the remote learning window's "Save file" and "Load file".
#pragma once

#include <QWidget>

namespace sonoria {

// Asks for a file name ("Remote Data File(*.remo)"), makes its extension
// "remo" and writes the remote-code block. 1 written, -1 failed, 0 cancelled.
int SaveRemoteFileDialog(QWidget* owner);

// Asks for a remote code file, reads it into the block and sends the block.
// 1 read and sent, -1 refused or not sent, 0 cancelled.
int LoadRemoteFileDialog(QWidget* owner);

}  // namespace sonoria
