#include "app/ControlFactories.h"

#include "app/Localization.h"

#include "controls/DialogTemplate.h"
#include "controls/CGdipButton.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CTabWnd.h"
#include "controls/CXBmpSlider.h"
#include "controls/CXPGroupBox.h"
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
}

}  // namespace sonoria
