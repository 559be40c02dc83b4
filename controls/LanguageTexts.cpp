#include "controls/LanguageTexts.h"

#include <atomic>

namespace sonoria {
namespace {

std::atomic<LanguageTextsHook> g_hook{nullptr};

}  // namespace

void SetLanguageTextsHook(LanguageTextsHook hook) { g_hook.store(hook); }

void ApplyWindowLanguageTexts(QWidget* window, int dialogId) {
    if (const LanguageTextsHook hook = g_hook.load()) hook(window, dialogId);
}

}  // namespace sonoria
