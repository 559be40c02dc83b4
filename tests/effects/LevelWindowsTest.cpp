// The level, mix and delay windows under the flow buttons, in the main window
// on the virtual device: what each one puts on the wire when the user moves a
// slider, in normal and rear routing, what it shows, and that a click on
// another flow button always gets a window of its own.
#include "app/MainWindowFixture.h"

#include <QKeyEvent>

#include <array>

#include "app/FlowPanel.h"
#include "controls/ControlText.h"

namespace sonoria::test {
namespace {

// A parameter write as it crossed the wire: block, index, first and second byte.
using Write = std::array<int, 4>;

class LevelWindowsTest : public MainWindowTest {
protected:
    // What the device received once the user's edits have all reached it.
    std::vector<Write> Writes() const {
        EXPECT_TRUE(test::EditsReachedDevice());
        std::vector<Write> writes;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_PARAM) writes.push_back({r[2], r[3], r[4], r[5]});
        }
        return writes;
    }
    // A click activates the window first, as the desktop does.
    void ClickInWindow(QWidget* target) {
        QApplication::setActiveWindow(window.get());
        QTest::mouseClick(target, Qt::LeftButton);
    }
    // Opens the button's window the way the user does: a click while the button shows.
    void Press(int buttonId) {
        QWidget* button = FindControl(window.get(), buttonId);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible()) << buttonId;
        ClickInWindow(button);
    }
    // The user steps the slider onto `position` with an arrow key.
    static void StepTo(CXBmpSlider* slider, int position) {
        ASSERT_NE(slider, nullptr);
        if (position > slider->GetRangeMin()) {
            slider->SetPos(position - 1);
            QTest::keyClick(slider, Qt::Key_Right);
        } else {
            slider->SetPos(position + 1);
            QTest::keyClick(slider, Qt::Key_Left);
        }
        ASSERT_EQ(slider->GetPos(), position);
    }
    // The level popup of the button, with its slider moved to `position`: what was written.
    std::vector<Write> LevelWrites(int buttonId, int position) {
        Press(buttonId);
        CSliderDlg* popup = window->LevelPopup();
        EXPECT_NE(popup, nullptr);
        if (popup == nullptr) return {};
        EXPECT_EQ(popup->ButtonId(), buttonId);
        device->ClearRecord();
        StepTo(FindControlAs<CXBmpSlider>(popup, CSliderDlg::kSliderId), position);
        return Writes();
    }
    QString Text(QWidget* window, int id) const { return ControlText(FindControl(window, id)); }
    void RouteToRear() {
        g_Device.rearRouting.store(1);
        window->RefreshAfterSync();
    }
};

TEST_F(LevelWindowsTest, EveryLevelPopupWritesItsParametersInOrder) {
    Open();
    SetParamSecond(5, 0, 1);  // the pitch shifter on
    SetParamSecond(6, 0, 1);
    const struct {
        int button, position;
        std::vector<Write> expected;
    } cases[] = {
        {IDC_FLOW_SHIFT, 40, {{1, 23, 40, 0}}},
        {IDC_FLOW_DIRECT, 100, {{2, 25, 100, 0}}},
        {IDC_FLOW_MUSIC_GATE, 12, {{4, 1, 12, 0}, {4, 17, 12, 0}}},
        {IDC_FLOW_EFFECT_VOLUME, 127, {{2, 24, 127, 255}}},
        {IDC_FLOW_CENTER_MUSIC, 33, {{8, 16, 33, 0}}},
        {IDC_FLOW_SUB_MUSIC, 34, {{7, 16, 34, 0}}},
        {IDC_FLOW_MAIN_MUSIC, 0, {{5, 20, 0, 0}, {6, 20, 0, 0}}},
        {IDC_FLOW_SUB_PHASE, 71, {{7, 25, 0, 71}}},
        // No shift: the pitch shifter goes off with it.
        {IDC_FLOW_PITCH, 64, {{5, 1, 64, 0}, {6, 1, 64, 0}, {5, 0, 0, 0}, {6, 0, 0, 0}}},
        {IDC_FLOW_PITCH, 60, {{5, 1, 60, 0}, {6, 1, 60, 0}, {5, 0, 0, 1}, {6, 0, 0, 1}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LevelWrites(c.button, c.position), c.expected) << c.button;
    }
    // The caption of the button follows at once.
    EXPECT_TRUE(ControlText(FindControl(window.get(), IDC_FLOW_DIRECT)).endsWith("100"));
}

TEST_F(LevelWindowsTest, PitchPhaseAndStoredValuesBeyondTheirSliders) {
    Open();
    SetParamFirst(5, 1, 0);  // never shifted: shown as no shift
    Press(IDC_FLOW_PITCH);
    auto* pitch = FindControlAs<CXBmpSlider>(window->LevelPopup(), CSliderDlg::kSliderId);
    EXPECT_EQ(pitch->GetPos(), 64);
    EXPECT_EQ(pitch->GetRangeMin(), 56);
    EXPECT_EQ(pitch->GetRangeMax(), 72);
    pitch->SetPos(72);
    QTest::keyClick(pitch, Qt::Key_Right);
    EXPECT_EQ(pitch->GetPos(), 72);

    SetParamSecond(7, 25, 200);  // more than the phase slider reaches
    Press(IDC_FLOW_SUB_PHASE);
    auto* phase = FindControlAs<CXBmpSlider>(window->LevelPopup(), CSliderDlg::kSliderId);
    EXPECT_EQ(phase->GetRangeMax(), 71);
    EXPECT_EQ(phase->GetPos(), 71);
}

TEST_F(LevelWindowsTest, MixPopupsWriteAndNumberBothSlidersInBothLanguages) {
    Open();
    SetParamFirst(5, 18, 21);
    SetParamFirst(6, 18, 99);  // the right side is not what the popup shows
    SetParamFirst(5, 19, 22);
    Press(IDC_FLOW_MAIN_MIC);
    CMicSliderDlg* mix = window->MixPopup();
    ASSERT_NE(mix, nullptr);
    EXPECT_EQ(Text(mix, CMicSliderDlg::kFirstNameId), QString::fromUtf8("直达声"));
    EXPECT_EQ(Text(mix, CMicSliderDlg::kSecondNameId), QString::fromUtf8("效果"));
    EXPECT_EQ(Text(mix, CMicSliderDlg::kFirstValueId), "21");
    EXPECT_EQ(Text(mix, CMicSliderDlg::kSecondValueId), "22");
    device->ClearRecord();
    StepTo(FindControlAs<CXBmpSlider>(mix, CMicSliderDlg::kFirstSliderId), 50);
    StepTo(FindControlAs<CXBmpSlider>(mix, CMicSliderDlg::kSecondSliderId), 51);
    EXPECT_EQ(Writes(), (std::vector<Write>{{6, 18, 50, 0}, {5, 18, 50, 0}, {6, 19, 51, 0}, {5, 19, 51, 0}}));
    EXPECT_EQ(Text(mix, CMicSliderDlg::kFirstValueId), "50");
    EXPECT_EQ(Text(mix, CMicSliderDlg::kSecondValueId), "51");

    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
    Press(IDC_FLOW_CENTER_MIC);
    mix = window->MixPopup();
    ASSERT_NE(mix, nullptr);
    EXPECT_EQ(Text(mix, CMicSliderDlg::kFirstNameId), "Direct");
    EXPECT_EQ(Text(mix, CMicSliderDlg::kSecondNameId), "EFX");
    device->ClearRecord();
    StepTo(FindControlAs<CXBmpSlider>(mix, CMicSliderDlg::kFirstSliderId), 7);
    StepTo(FindControlAs<CXBmpSlider>(mix, CMicSliderDlg::kSecondSliderId), 8);
    Press(IDC_FLOW_SUB_MIC);
    mix = window->MixPopup();
    ASSERT_NE(mix, nullptr);
    StepTo(FindControlAs<CXBmpSlider>(mix, CMicSliderDlg::kFirstSliderId), 9);
    StepTo(FindControlAs<CXBmpSlider>(mix, CMicSliderDlg::kSecondSliderId), 10);
    EXPECT_EQ(Writes(), (std::vector<Write>{{8, 15, 7, 0}, {8, 14, 8, 0}, {7, 15, 9, 0}, {7, 14, 10, 0}}));
}

TEST_F(LevelWindowsTest, RoutedToTheRearTheRearPairFollowsAndTheNormalCopyStays) {
    Open();
    SetParamFirst(7, 16, 5, ParamCopy::Normal);
    SetParamFirst(8, 16, 6, ParamCopy::Normal);
    SetParamFirst(7, 15, 1, ParamCopy::Normal);
    SetParamFirst(8, 15, 2, ParamCopy::Normal);
    RouteToRear();
    EXPECT_EQ(LevelWrites(IDC_FLOW_SUB_MUSIC, 90), (std::vector<Write>{{7, 16, 90, 0}, {8, 16, 90, 0}}));
    Press(IDC_FLOW_SUB_MIC);
    CMicSliderDlg* mix = window->MixPopup();
    ASSERT_NE(mix, nullptr);
    device->ClearRecord();
    StepTo(FindControlAs<CXBmpSlider>(mix, CMicSliderDlg::kFirstSliderId), 91);
    StepTo(FindControlAs<CXBmpSlider>(mix, CMicSliderDlg::kSecondSliderId), 92);
    EXPECT_EQ(Writes(), (std::vector<Write>{{7, 15, 91, 0}, {8, 15, 91, 0}, {7, 14, 92, 0}, {8, 14, 92, 0}}));
    // The rear copy took the values; the normal centre and sub kept theirs.
    EXPECT_EQ(GetParam(7, 16, ParamCopy::Rear).first, 90);
    EXPECT_EQ(GetParam(8, 16, ParamCopy::Rear).first, 90);
    EXPECT_EQ(GetParam(8, 15, ParamCopy::Rear).first, 91);
    EXPECT_EQ(GetParam(7, 16, ParamCopy::Normal).first, 5);
    EXPECT_EQ(GetParam(8, 16, ParamCopy::Normal).first, 6);
    EXPECT_EQ(GetParam(7, 15, ParamCopy::Normal).first, 1);
    EXPECT_EQ(GetParam(8, 15, ParamCopy::Normal).first, 2);
}

TEST_F(LevelWindowsTest, BaseModelsGateOpensTheLevelPopup) {
    Open();
    g_Device.machineName.Set("KR710");
    EXPECT_EQ(LevelWrites(IDC_FLOW_GATE_COMP, 30), (std::vector<Write>{{1, 2, 30, 0}}));
}

TEST_F(LevelWindowsTest, DelayWindowsWriteTheirSectionsAndShowMilliseconds) {
    Open();
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);  // English
    SetParam(5, 24, {0x23, 0x28});  // 9000: more than the slider reaches
    SetParam(6, 24, {0, 96});
    SetParamFirst(6, 21, 44);
    Press(IDC_FLOW_MAIN_DELAY);
    CSliderDelayDlg* delay = window->DelayWindow();
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(delay->windowTitle(), "Main Music Delay");
    EXPECT_FALSE(delay->OneSection());
    EXPECT_EQ(Text(delay, 1026), "Direct Level");
    EXPECT_EQ(Text(delay, 1034), "Delay time");
    EXPECT_EQ(FindControlAs<CXBmpSlider>(delay, CSliderDelayDlg::kTopDelayId)->GetPos(), 4095);
    EXPECT_EQ(Text(delay, CSliderDelayDlg::kTopDelayValueId), "93.75ms");  // the stored value
    EXPECT_EQ(Text(delay, CSliderDelayDlg::kBottomDelayValueId), "1.00ms");
    EXPECT_EQ(Text(delay, CSliderDelayDlg::kBottomDirectValueId), "44");

    device->ClearRecord();
    const auto slider = [&](int id) { return FindControlAs<CXBmpSlider>(delay, id); };
    StepTo(slider(CSliderDelayDlg::kTopDelayId), 4095);
    EXPECT_EQ(Text(delay, CSliderDelayDlg::kTopDelayValueId), "85.31ms");
    StepTo(slider(CSliderDelayDlg::kBottomDelayId), 0);
    EXPECT_EQ(Text(delay, CSliderDelayDlg::kBottomDelayValueId), "0.00ms");
    StepTo(slider(CSliderDelayDlg::kTopDirectId), 10);
    StepTo(slider(CSliderDelayDlg::kTopDelayLevelId), 11);
    StepTo(slider(CSliderDelayDlg::kBottomDirectId), 12);
    StepTo(slider(CSliderDelayDlg::kBottomDelayLevelId), 13);
    EXPECT_EQ(Text(delay, CSliderDelayDlg::kBottomDelayLevelValueId), "13");
    EXPECT_EQ(Writes(), (std::vector<Write>{{5, 24, 0x1F, 0xFE},
                                            {6, 24, 0, 0},
                                            {5, 21, 10, 0},
                                            {5, 22, 11, 0},
                                            {6, 21, 12, 0},
                                            {6, 22, 13, 0}}));
    // The delay caption on the button follows the delay time.
    EXPECT_TRUE(ControlText(FindControl(window.get(), IDC_FLOW_MAIN_DELAY)).endsWith("85.31ms"));

    Press(IDC_FLOW_CENTER_DELAY);
    delay = window->DelayWindow();
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(delay->windowTitle(), "Center Music Delay");
    EXPECT_TRUE(delay->OneSection());
    device->ClearRecord();
    StepTo(slider(CSliderDelayDlg::kTopDelayId), 100);
    StepTo(slider(CSliderDelayDlg::kTopDirectId), 3);
    EXPECT_EQ(Writes(), (std::vector<Write>{{8, 24, 0, 200}, {8, 17, 3, 0}}));

    Press(IDC_FLOW_SUB_DELAY);
    delay = window->DelayWindow();
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(delay->windowTitle(), "Sub Music Delay");
    EXPECT_TRUE(delay->OneSection());
    EXPECT_LT(delay->height(), FindControl(delay, CSliderDelayDlg::kLowerPictureId)->y());
    device->ClearRecord();
    StepTo(slider(CSliderDelayDlg::kTopDelayLevelId), 4);
    StepTo(slider(CSliderDelayDlg::kBottomDelayLevelId), 5);  // the hidden section writes the sub too
    EXPECT_EQ(Writes(), (std::vector<Write>{{7, 18, 4, 0}, {7, 18, 5, 0}}));
}

TEST_F(LevelWindowsTest, RoutedToTheRearTheSubDelayWindowShowsBothRearSides) {
    Open();
    RouteToRear();
    EXPECT_FALSE(FindControl(window.get(), IDC_FLOW_CENTER_DELAY)->isVisible());
    Press(IDC_FLOW_SUB_DELAY);
    CSliderDelayDlg* delay = window->DelayWindow();
    ASSERT_NE(delay, nullptr);
    EXPECT_EQ(delay->windowTitle(), QString::fromUtf8("后置音乐延时调整"));
    EXPECT_EQ(Text(delay, 1032), QString::fromUtf8("直达通道电平"));
    EXPECT_FALSE(delay->OneSection());
    device->ClearRecord();
    const auto slider = [&](int id) { return FindControlAs<CXBmpSlider>(delay, id); };
    StepTo(slider(CSliderDelayDlg::kTopDelayId), 1);
    StepTo(slider(CSliderDelayDlg::kBottomDelayId), 2);
    StepTo(slider(CSliderDelayDlg::kBottomDirectId), 3);
    EXPECT_EQ(Writes(), (std::vector<Write>{{7, 24, 0, 2}, {8, 24, 0, 4}, {8, 17, 3, 0}}));
    EXPECT_EQ(GetParam(8, 17, ParamCopy::Rear).first, 3);

    // Back to normal routing while it is open: the bottom section writes the sub again.
    g_Device.rearRouting.store(0);
    device->ClearRecord();
    StepTo(slider(CSliderDelayDlg::kBottomDirectId), 6);
    EXPECT_EQ(Writes(), (std::vector<Write>{{7, 17, 6, 0}}));
}

TEST_F(LevelWindowsTest, OpeningRefreshingAndRetextingSendNothing) {
    Open();
    device->ClearRecord();
    for (int id : {IDC_FLOW_DIRECT, IDC_FLOW_MAIN_MIC, IDC_FLOW_MAIN_DELAY, IDC_FLOW_PITCH, IDC_FLOW_SUB_PHASE}) {
        Press(id);
    }
    window->ShowAutoSub();
    window->ShowLevelPopup(IDC_FLOW_DIRECT);
    window->RefreshAfterSync();
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
    EXPECT_TRUE(Writes().empty());
    for (const Report& r : device->Received()) EXPECT_NE(r[1], CMD_AUTOSUB);
}

TEST_F(LevelWindowsTest, AnotherFlowButtonGetsAFreshPopupOfItsOwn) {
    Open();
    Press(IDC_FLOW_DIRECT);
    QPointer<CSliderDlg> first = window->LevelPopup();
    ASSERT_FALSE(first.isNull());
    Press(IDC_FLOW_EFFECT_VOLUME);
    ASSERT_NE(window->LevelPopup(), nullptr);
    EXPECT_NE(window->LevelPopup(), first.data());
    EXPECT_EQ(window->LevelPopup()->ButtonId(), IDC_FLOW_EFFECT_VOLUME);
    test::ProcessQueuedEvents();  // the first one's deletion comes later
    EXPECT_TRUE(first.isNull());

    // Closed by Escape and not yet deleted: the next press still gets a new one.
    QPointer<CSliderDlg> second = window->LevelPopup();
    QTest::keyClick(second.data(), Qt::Key_Escape);
    window->ShowLevelPopup(IDC_FLOW_DIRECT);
    ASSERT_NE(window->LevelPopup(), nullptr);
    EXPECT_NE(window->LevelPopup(), second.data());
    EXPECT_EQ(window->LevelPopup()->ButtonId(), IDC_FLOW_DIRECT);
    // Reached from the keyboard, without a click: the same button keeps its
    // popup, another button gets its own.
    QPointer<CSliderDlg> third = window->LevelPopup();
    window->ShowLevelPopup(IDC_FLOW_DIRECT);
    EXPECT_EQ(window->LevelPopup(), third.data());
    window->ShowLevelPopup(IDC_FLOW_SHIFT);
    ASSERT_NE(window->LevelPopup(), nullptr);
    EXPECT_NE(window->LevelPopup(), third.data());
    EXPECT_EQ(window->LevelPopup()->ButtonId(), IDC_FLOW_SHIFT);
    EXPECT_TRUE(third.isNull() || !third->isVisible());
    // Enter does not close it.
    QTest::keyClick(window->LevelPopup(), Qt::Key_Return);
    EXPECT_TRUE(window->LevelPopup()->isVisible());

    // A click on the caption bar closes the three popups, and the auto sub stays.
    window->ShowMixPopup(IDC_FLOW_MAIN_MIC);
    window->ShowDelayWindow(IDC_FLOW_MAIN_DELAY);
    window->ShowAutoSub();
    QMouseEvent caption(QEvent::NonClientAreaMouseButtonPress, QPointF(5, -5), QPointF(5, -5),
                        window->mapToGlobal(QPointF(5, -5)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &caption);
    EXPECT_EQ(window->LevelPopup(), nullptr);
    EXPECT_EQ(window->MixPopup(), nullptr);
    EXPECT_EQ(window->DelayWindow(), nullptr);
    EXPECT_NE(window->AutoSubWindow(), nullptr);
    // A click into the window closes the auto sub as well.
    ClickInWindow(FindControl(window.get(), IDC_STATUS_TEXT));
    EXPECT_EQ(window->AutoSubWindow(), nullptr);
}

TEST_F(LevelWindowsTest, PopupsSitUnderTheirButtonInsideTheWindowsRightEdge) {
    Open();
    const auto shown = [&](int id) -> QWidget* {
        switch (id) {
            case IDC_FLOW_MAIN_DELAY:
            case IDC_FLOW_SUB_DELAY: return window->DelayWindow();
            case IDC_FLOW_MAIN_MIC: return window->MixPopup();
            default: return window->LevelPopup();
        }
    };
    for (int id : {IDC_FLOW_DIRECT, IDC_FLOW_SUB_PHASE, IDC_FLOW_MAIN_DELAY, IDC_FLOW_SUB_DELAY, IDC_FLOW_MAIN_MIC}) {
        Press(id);
        QWidget* popup = shown(id);
        ASSERT_NE(popup, nullptr) << id;
        QWidget* button = FindControl(window.get(), id);
        const QRect a(button->mapToGlobal(QPoint(0, 0)), button->size());
        const QRect frame = popup->frameGeometry();
        const int windowRight = window->frameGeometry().x() + window->frameGeometry().width();
        EXPECT_EQ(frame.y(), a.y() + a.height()) << id;
        if (a.x() + frame.width() <= windowRight) {
            EXPECT_EQ(frame.x(), a.x()) << id;
        } else {
            EXPECT_EQ(frame.x() + frame.width(), a.x() + a.width()) << id;
        }
    }
}

}  // namespace
}  // namespace sonoria::test
