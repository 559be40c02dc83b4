// The current language table and the re-texting of windows from it.
#pragma once

#include <QWidget>

#include <functional>

#include "app/LanguageTable.h"

namespace sonoria {

// Makes the table of `language` (0 Chinese, else English) the current one and
// the language the display texts follow. Returns false when the table could
// not be loaded (windows then keep their texts).
bool LoadLanguage(int language);

const LanguageTable& CurrentLanguageTable();

// Sets the window's caption and its direct children's texts from the current
// table, by the keys of `dialogId`; anything the table does not name keeps
// its text. Children of children are not visited: a hosted page applies its
// own dialog id.
void ApplyLanguageTexts(QWidget* window, int dialogId);
void ApplyLanguageTexts(QWidget* window, int dialogId, const LanguageTable& table);

// Switches the program to `language`: loads its table, re-texts the main
// window (dialog `mainDialogId`) when the table loaded, then always runs
// `refresh` (status text, flow captions, open windows), so that everything
// that depends on the language follows.
void SelectLanguage(int language, QWidget* mainWindow, int mainDialogId, const std::function<void()>& refresh);

// The language button: the other language, stored in the settings, then selected.
int ToggleLanguage(int language, QWidget* mainWindow, int mainDialogId, const std::function<void()>& refresh);

}  // namespace sonoria
