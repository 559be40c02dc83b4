#include "app/ControlFactories.h"

#include "app/Localization.h"
#include "app/MessageService.h"

#include "controls/DialogTemplate.h"
#include "controls/CGdipButton.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CTabWnd.h"
#include "controls/CXBmpSlider.h"
#include "controls/CXPGroupBox.h"
#include "controls/FileDialogHooks.h"
#include "controls/LanguageTexts.h"

namespace sonoria {

void RegisterControlFactories() {
    SetControlFactory(ControlKind::ImageButton, [](QWidget* parent) { return new CGdipButton(parent); });
    SetControlFactory(ControlKind::Slider, [](QWidget* parent) { return new CXBmpSlider(parent); });
    SetControlFactory(ControlKind::PeakMeter, [](QWidget* parent) { return new CPeakMeterCtrl(parent); });
    SetControlFactory(ControlKind::GroupBox, [](QWidget* parent) { return new CXPGroupBox(parent); });
    SetControlFactory(ControlKind::PageHost, [](QWidget* parent) { return new CTabWnd(parent); });
    // The pages and windows outside app/ reach the language tables through this.
    SetLanguageTextsHook([](QWidget* window, int dialogId) { ApplyLanguageTexts(window, dialogId); });
    // And the program's file dialogs and message boxes.
    SetFileDialogHooks({.chooseOpen = ChooseOpenFileName,
                        .chooseSave = ChooseSaveFileName,
                        .warn = [](QWidget* owner, const QString& text,
                                   const QString& caption) { ShowMessageBox(owner, text, caption, MessageIcon::Warning); },
                        .askYesNo = AskYesNo});
}

}  // namespace sonoria
