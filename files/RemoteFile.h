// The remote code file: exactly the 16 bytes of the remote-code block.
#pragma once

#include <string>

namespace sonoria {

inline constexpr const char* kRemoteFileExtension = "remo";

// Writes the block; 1, or 0 after reporting the failure (see ModeFile.h).
int WriteRemoteFile(const std::string& path);

// Reads up to 16 bytes into the block (a shorter file leaves the rest);
// 1, or 0 when the file cannot be opened (the block is unchanged).
int ReadRemoteFile(const std::string& path);

// Sends the image's remote-code block with command 99; false when the
// command could not be written.
bool SendRemoteBlock();

// The load behind "Load file": the path's extension becomes "remo", the file
// is read and the block sent with command 99. Returns 1, or -1 when the file
// could not be read or the command could not be written.
int LoadRemoteFile(const std::string& path);

}  // namespace sonoria
