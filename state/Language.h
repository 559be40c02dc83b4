// The language the user interface is shown in, for code that picks a word
// at the moment it formats a text.
#pragma once

#include <atomic>

namespace sonoria {

inline constexpr int kLanguageChinese = 0;
inline constexpr int kLanguageEnglish = 1;

// 0 Chinese, 1 English. Written by the language switch, read from any thread.
extern std::atomic<int> g_nLanguage;

int CurrentLanguage();
// Any value other than 0 selects English.
void SetCurrentLanguage(int language);
bool IsEnglish();

}  // namespace sonoria
