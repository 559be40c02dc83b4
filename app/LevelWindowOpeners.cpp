// The main window's openers of the level, mix and delay windows and of the
// automatic subwoofer window, and its care of them.
#include <QApplication>

#include "app/CSonoriaDlg.h"
#include "app/FlowPanel.h"
#include "app/WindowReferences.h"
#include "controls/DialogTemplate.h"

namespace sonoria {
namespace {

// The popup for this button: the one open for it, or a new one from `create`;
// null when the button has no popup of this kind. A popup open for another
// button (reached from the keyboard, without the click that would have
// closed it) gives way.
template <typename Popup, typename Create>
Popup* PopupFor(QPointer<Popup>& reference, int buttonId, bool buttonHasOne, Create create) {
    if (LiveWindow(reference) != nullptr && reference->ButtonId() != buttonId) CloseAndForget(reference);
    if (LiveWindow(reference) == nullptr && buttonHasOne) reference = create();
    return reference.data();
}

}  // namespace

void CSonoriaDlg::ShowLevelPopup(int buttonId) {
    auto* popup = PopupFor(windows_.Ref<CSliderDlg>(), buttonId, FindLevelInstance(buttonId) != nullptr, [&] {
        return new CSliderDlg(buttonId, this, [this] { panel_->RefreshFlowCaptions(); });
    });
    if (popup == nullptr) return;
    popup->show();
    PlaceUnderButton(popup, buttonId, popup->size());
}

void CSonoriaDlg::ShowMixPopup(int buttonId) {
    auto* popup = PopupFor(windows_.Ref<CMicSliderDlg>(), buttonId, FindMixInstance(buttonId) != nullptr, [&] {
        return new CMicSliderDlg(buttonId, this, [this] { panel_->RefreshFlowCaptions(); });
    });
    if (popup == nullptr) return;
    popup->show();
    PlaceUnderButton(popup, buttonId, popup->size());
}

void CSonoriaDlg::ShowDelayWindow(int buttonId) {
    auto* popup = PopupFor(windows_.Ref<CSliderDelayDlg>(), buttonId, FindDelayInstance(buttonId) != nullptr, [&] {
        return new CSliderDelayDlg(buttonId, this, [this] { panel_->RefreshFlowCaptions(); });
    });
    if (popup == nullptr) return;
    popup->show();
    // The delay window has a caption: it is placed by its frame.
    PlaceUnderButton(popup, buttonId, popup->frameGeometry().size());
}

void CSonoriaDlg::ShowAutoSub(QWidget* owner) {
    QPointer<CAutoSubDlg>& autoSub = windows_.Ref<CAutoSubDlg>();
    if (LiveWindow(autoSub) == nullptr) autoSub = new CAutoSubDlg(owner != nullptr ? owner : this);
    autoSub->show();
    autoSub->raise();
}

void CSonoriaDlg::PlaceUnderButton(QWidget* popup, int buttonId, QSize size) {
    const QWidget* button = FindControl(this, buttonId);
    if (button == nullptr) return;
    const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
    const int buttonRight = topLeft.x() + button->width();
    const QRect frame = frameGeometry();
    const int windowRight = frame.x() + frame.width();
    // Left-aligned with the button, unless that would pass the window's right edge.
    int left = topLeft.x();
    if (windowRight < left + size.width()) left = buttonRight - size.width();
    popup->move(left, topLeft.y() + button->height());
}

void CSonoriaDlg::CloseLevelPopups() {
    windows_.CloseAndForget<CSliderDlg>();
    windows_.CloseAndForget<CMicSliderDlg>();
    windows_.CloseAndForget<CSliderDelayDlg>();
}

void CSonoriaDlg::RefreshLevelWindows() {
    // The delay window keeps what it showed when it opened.
    if (CAutoSubDlg* autoSub = AutoSubWindow()) autoSub->RefreshAutoSub();
    if (CSliderDlg* level = LevelPopup()) level->RefreshLevelPopup();
    if (CMicSliderDlg* mix = MixPopup()) mix->RefreshMixPopup();
}

void CSonoriaDlg::RetextLevelWindows() {
    if (CAutoSubDlg* autoSub = AutoSubWindow()) autoSub->ApplyLanguage();
    if (CSliderDelayDlg* delay = DelayWindow()) delay->ApplyLanguage();
}

bool CSonoriaDlg::OwnsActiveWindow() const {
    for (const QWidget* window = QApplication::activeWindow(); window != nullptr;
         window = window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr) {
        if (window == this) return true;
    }
    return false;
}

}  // namespace sonoria
