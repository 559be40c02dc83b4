// Whole-file reads and checked writes shared by the mode and remote files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace sonoria {

// Called when a file cannot be written, with the system's error code and the
// path; the windows show it as a message box, the command-line tool prints it.
using WriteFailureHandler = std::function<void(int errorCode, const std::string& path)>;
WriteFailureHandler SetWriteFailureHandler(WriteFailureHandler handler);

// Reads at most `limit` bytes from the start of a file; false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::size_t limit);

// Creates or truncates the file and writes `bytes`, checking every write and
// the close; on any failure reports it to the handler and returns false.
bool WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace sonoria
