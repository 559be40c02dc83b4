// Saving the parameters to a mode data file chosen by the user.
#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

namespace sonoria {

// Asks for a file name ("Mode Data File(*.k71x)"), makes its extension
// "k71x" and writes `snapshot` (from BuildModeFile). Returns 1 when written,
// -1 when writing failed (after the "Can't write to file" box), 0 when cancelled.
int SaveModeFileDialog(QWidget* owner, const std::vector<std::uint8_t>& snapshot);

// Shows the write-failure box of the files layer; install once at start-up.
void InstallWriteFailureBox(QWidget* owner);

}  // namespace sonoria
