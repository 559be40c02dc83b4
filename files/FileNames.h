// Rules on the names of mode and remote files.
#pragma once

#include <string>
#include <string_view>

namespace sonoria {

// Replaces the extension of the file name (the text after the last dot of the
// name, not of its folders) by `extension`, or appends it when the name has none.
std::string WithExtension(const std::string& path, std::string_view extension);

// The stored mode (0..3) a mode file's name (without its folder) designates,
// or -1 for none: the name cut before its first ".k71x", in lower case,
// starting with "默认1", "melorin1" or "m1" (mode 0), and so on up to 4.
int TargetModeForName(std::string_view fileName);

// The same for a path, whose name is what follows its last '/' or '\\'.
int TargetModeForFileName(const std::string& path);

// The message shown when a file cannot be written.
inline constexpr const char* kWriteFailureTitle = "Can't write to file";
std::string WriteFailureText(int errorCode, const std::string& path);

}  // namespace sonoria
