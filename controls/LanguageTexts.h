// How a window outside app/ re-texts itself from the current language table:
// the application shell installs the routine that knows the tables, and the
// windows call it with their own dialog id.
#pragma once

class QWidget;

namespace sonoria {

using LanguageTextsHook = void (*)(QWidget* window, int dialogId);

// Installed once by the application shell; null removes it.
void SetLanguageTextsHook(LanguageTextsHook hook);

// The caption and the direct children's texts of `window` from the current
// language table, by the keys of `dialogId`. Does nothing before a hook is set.
void ApplyWindowLanguageTexts(QWidget* window, int dialogId);

}  // namespace sonoria
