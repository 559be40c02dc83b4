#include "state/Language.h"

namespace sonoria {

// Chinese until the settings say otherwise.
std::atomic<int> g_nLanguage{kLanguageChinese};

int CurrentLanguage() { return g_nLanguage.load(std::memory_order_relaxed); }

void SetCurrentLanguage(int language) {
    g_nLanguage.store(language == kLanguageChinese ? kLanguageChinese : kLanguageEnglish,
                      std::memory_order_relaxed);
}

bool IsEnglish() { return CurrentLanguage() == kLanguageEnglish; }

}  // namespace sonoria
