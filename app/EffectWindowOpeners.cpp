// The main window's side of the effect window and its multi-tap echo window:
// opening, closing, and bringing them up to date after a synchronisation or a
// change of language.
#include "app/CSonoriaDlg.h"
#include "effects/CEfxDlg.h"
#include "effects/CTapDlg.h"

namespace sonoria {

CEfxDlg* CSonoriaDlg::EffectWindow() const { return effect_.data(); }

CTapDlg* CSonoriaDlg::MultiTapWindow() const { return effect_ != nullptr ? effect_->TapWindow() : nullptr; }

void CSonoriaDlg::ShowEffect() {
    if (effect_ == nullptr) {
        effect_ = new CEfxDlg(this);
        // A closing window is never reached again from here.
        connect(effect_.data(), &CEfxDlg::closing, this, [this] {
            effect_ = nullptr;
            update();
        });
    }
    effect_->show();
}

void CSonoriaDlg::CloseEffectWindow() {
    CEfxDlg* effect = effect_.data();
    if (effect == nullptr) return;
    effect_ = nullptr;
    effect->close();  // closes its multi-tap window first
}

void CSonoriaDlg::RefreshEffectWindows() {
    CEfxDlg* effect = effect_.data();
    if (effect == nullptr) return;
    effect->SetEchoLayoutFromDevice();
    effect->RefreshReverb();
    effect->RefreshEcho();
    if (CTapDlg* taps = effect->TapWindow()) taps->RefreshTaps();
}

void CSonoriaDlg::RetextEffectWindows() {
    CEfxDlg* effect = effect_.data();
    if (effect == nullptr) return;
    effect->ApplyLanguage();
    if (CTapDlg* taps = effect->TapWindow()) taps->ApplyLanguage();
}

}  // namespace sonoria
