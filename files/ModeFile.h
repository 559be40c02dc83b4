// Saving the device image to a mode data file and loading one back into it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sonoria {

// Writes the image as a version 3 file (948 bytes). Returns 1, or 0 after
// reporting the failure (FileIo.h) when any part of the file could not be written.
int WriteModeFile(const std::string& path);

// The version 3 bytes of the image as it is now (a snapshot to write later).
std::vector<std::uint8_t> BuildModeFile();
// Writes such a snapshot; 1, or 0 after reporting the failure.
int WriteModeFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

// Reads a mode data file of version 1, 2 or 3, or without header, into the
// image. Returns 1 when read; 0 with the reason in `error` and the image
// unchanged when it is refused (see ReadModeFileBytes).
// Machine settings, remote codes and light settings in the file are not applied.
int ReadModeFile(const std::string& path, std::string* error = nullptr);

// Reads and checks a mode data file without touching the image, so that a
// refusal comes before anything is sent: it must be a regular file of at most
// 64 KiB, of a known version, at least as long as its layout's parameter
// section. False with the reason, in the current language, in `error`.
bool ReadModeFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error = nullptr);

// Applies a file's bytes already in memory to the image, with the same checks.
int LoadModeFileBytes(std::span<const std::uint8_t> bytes, std::string* error = nullptr);

}  // namespace sonoria
