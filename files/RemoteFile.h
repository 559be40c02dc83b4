// The remote code file: exactly the 16 bytes of the remote-code block.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sonoria {

inline constexpr const char* kRemoteFileExtension = "remo";

// Writes the block; 1, or 0 after reporting the failure (see ModeFile.h).
int WriteRemoteFile(const std::string& path);

// Reads and checks a remote code file without touching the block: a regular
// file of 1 to 16 bytes. False with the reason, in the current language, in
// `error`. SendRemoteCodes (state/RemoteKeys.h) puts such bytes in the block.
bool ReadRemoteFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error = nullptr);

// The load behind "Load file": the path's extension becomes "remo", the file
// is read, put at the start of the block (a shorter file leaves the rest) and
// the block sent with command 99. Returns 1, or -1 when the file was refused
// (nothing is changed or sent then) or the command could not be written.
int LoadRemoteFile(const std::string& path);

}  // namespace sonoria
