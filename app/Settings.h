// The program's one persistent setting (the language), in the platform's
// settings store: HKEY_LOCAL_MACHINE\SOFTWARE\SONORIA\SONORIA-K7X on Windows,
// the same organisation and application names elsewhere.
#pragma once

#include <QString>

#include <cstdint>

namespace sonoria {

inline constexpr const char* kLanguageSetting = "language";

// A 32-bit value; 0 when it is missing or cannot be read.
std::uint32_t ReadSettingDword(const QString& name);
// Failures are ignored.
void WriteSettingDword(const QString& name, std::uint32_t value);

// The stored language: 0 Chinese, anything else reads as 1 (English).
int ReadLanguageSetting();

// Redirects the store to an INI file (tests); an empty path restores the platform store.
void SetSettingsFileForTesting(const QString& path);

}  // namespace sonoria
