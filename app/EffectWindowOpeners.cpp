// The main window's side of the effect window and its multi-tap echo window:
// opening, closing, and bringing them up to date after a synchronisation or a
// change of language.
#include "app/CSonoriaDlg.h"
#include "effects/CEfxDlg.h"
#include "effects/CTapDlg.h"

namespace sonoria {

CEfxDlg* CSonoriaDlg::EffectWindow() const { return windows_.Find<CEfxDlg>(); }

CTapDlg* CSonoriaDlg::MultiTapWindow() const {
    CEfxDlg* effect = EffectWindow();
    return effect != nullptr ? effect->TapWindow() : nullptr;
}

void CSonoriaDlg::ShowEffect() {
    QPointer<CEfxDlg>& effect = windows_.Ref<CEfxDlg>();
    if (effect == nullptr) {
        effect = new CEfxDlg(this);
        // A closing window is never reached again from here.
        connect(effect.data(), &CEfxDlg::closing, this, [this] {
            windows_.Take<CEfxDlg>();
            update();
        });
    }
    effect->show();
}

void CSonoriaDlg::CloseEffectWindow() {
    // Closes its multi-tap window first.
    windows_.CloseAndForget<CEfxDlg>();
}

void CSonoriaDlg::RefreshEffectWindows() {
    CEfxDlg* effect = EffectWindow();
    if (effect == nullptr) return;
    effect->SetEchoLayoutFromDevice();
    effect->RefreshReverb();
    effect->RefreshEcho();
    if (CTapDlg* taps = effect->TapWindow()) taps->RefreshTaps();
}

void CSonoriaDlg::RetextEffectWindows() {
    CEfxDlg* effect = EffectWindow();
    if (effect == nullptr) return;
    effect->ApplyLanguage();
    if (CTapDlg* taps = effect->TapWindow()) taps->ApplyLanguage();
}

}  // namespace sonoria
