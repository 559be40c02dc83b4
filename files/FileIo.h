// Whole-file reads and checked writes shared by the mode and remote files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "files/FileRefusal.h"

namespace sonoria {

// Called when a file cannot be written, with the system's error code and the
// path; the windows show it as a message box, the command-line tool prints it.
using WriteFailureHandler = std::function<void(int errorCode, const std::string& path)>;
WriteFailureHandler SetWriteFailureHandler(WriteFailureHandler handler);

// Reads a whole regular file of at most `limit.maxBytes` bytes. Refuses, with
// the reason in `refusal`, a path that cannot be opened, that is not a regular
// file (a folder, a device, a named pipe: none is ever opened for reading, so
// nothing blocks), an empty file, and a file larger than the limit (by its
// size on disk, before anything is read).
bool ReadFileBytes(const std::string& path, std::string& bytes, FileSizeLimit limit, FileRefusal& refusal);

// Writes `bytes` as the whole content of the file, checking every write.
// A regular file (or a new one) is written to a temporary file in the same
// folder that then replaces it, so the previous file survives any failure; the
// replacement keeps the old file's permissions. A device is written in place;
// a folder or a named pipe is refused. On failure reports the error code and
// the path to the handler, leaves no temporary file and returns false.
bool WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace sonoria
