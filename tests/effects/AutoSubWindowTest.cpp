// The automatic subwoofer window on the virtual device: the record each user
// action sends, what the window shows for it in both languages, and its life
// as the main window's one instance.
#include "app/MainWindowFixture.h"

#include <QCheckBox>

#include <array>

#include "controls/ControlText.h"

namespace sonoria::test {
namespace {

// The CMD_AUTOSUB reports the host wrote: its three arguments.
using Record = std::array<int, 3>;

class AutoSubWindowTest : public MainWindowTest {
protected:
    std::vector<Record> Records() const {
        std::vector<Record> records;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_AUTOSUB) records.push_back({r[2], r[3], r[4]});
        }
        return records;
    }
    // The window opened with the device's record as read.
    CAutoSubDlg* OpenWith(std::uint8_t restore, std::uint8_t ratio) {
        device->SetAutoSubRecord({restore, ratio});
        Open();
        device->ClearRecord();
        window->ShowAutoSub();
        return window->AutoSubWindow();
    }
    static void StepTo(CXBmpSlider* slider, int position) {
        slider->SetPos(position + 1);
        QTest::keyClick(slider, Qt::Key_Left);
    }
    static QString Text(QWidget* dialog, int id) { return ControlText(FindControl(dialog, id)); }
    static QCheckBox* Switch(QWidget* dialog) { return FindControlAs<QCheckBox>(dialog, CAutoSubDlg::kSwitchId); }
    static CXBmpSlider* Slider(QWidget* dialog, int id) { return FindControlAs<CXBmpSlider>(dialog, id); }
};

TEST_F(AutoSubWindowTest, SlidersSendTheWholeRecordAndZeroSwitchesItOff) {
    CAutoSubDlg* sub = OpenWith(15, 40);
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(Switch(sub)->isChecked());
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRestoreValueId), "1.5s");
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRatioValueId), "40%");

    StepTo(Slider(sub, CAutoSubDlg::kRatioSliderId), 60);
    StepTo(Slider(sub, CAutoSubDlg::kRestoreSliderId), 254);
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRestoreValueId), "25.4s");
    StepTo(Slider(sub, CAutoSubDlg::kRestoreSliderId), 0);
    EXPECT_FALSE(Switch(sub)->isChecked());
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRestoreValueId), QString::fromUtf8("无效"));
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRatioValueId), QString::fromUtf8("无效"));
    // The ratio moved while off: sent with restore time 0, still shown as invalid.
    StepTo(Slider(sub, CAutoSubDlg::kRatioSliderId), 30);
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRatioValueId), QString::fromUtf8("无效"));
    EXPECT_EQ(Records(), (std::vector<Record>{{1, 15, 60}, {1, 254, 60}, {1, 0, 60}, {1, 0, 30}}));
    EXPECT_EQ(device->AutoSubRecord(), (sim::AutoSubRecord{0, 30}));
}

TEST_F(AutoSubWindowTest, TheSwitchKeepsARatioOrStartsAtOneSecondAndTwentyPercent) {
    CAutoSubDlg* sub = OpenWith(0, 0);
    ASSERT_NE(sub, nullptr);
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);  // English
    EXPECT_EQ(sub->windowTitle(), "Auto sub");
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRestoreLabelId), "Restore time");
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRestoreValueId), "Invalid");
    EXPECT_FALSE(Switch(sub)->isChecked());

    QTest::mouseClick(Switch(sub), Qt::LeftButton);  // on from nothing
    EXPECT_TRUE(Switch(sub)->isChecked());
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRestoreValueId), "1.0s");
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRatioValueId), "20%");
    QTest::mouseClick(Switch(sub), Qt::LeftButton);  // off
    EXPECT_FALSE(Switch(sub)->isChecked());
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRatioValueId), "Invalid");
    StepTo(Slider(sub, CAutoSubDlg::kRatioSliderId), 55);
    QTest::mouseClick(Switch(sub), Qt::LeftButton);  // on, keeping the ratio
    EXPECT_EQ(Records(), (std::vector<Record>{{1, 10, 20}, {1, 0, 20}, {1, 0, 55}, {1, 10, 55}}));
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRatioValueId), "55%");
}

TEST_F(AutoSubWindowTest, ShowsStoredValuesBeyondItsSlidersAndFollowsASynchronisation) {
    CAutoSubDlg* sub = OpenWith(255, 150);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(Slider(sub, CAutoSubDlg::kRatioSliderId)->GetPos(), 99);
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRatioValueId), "150%");
    EXPECT_EQ(Text(sub, CAutoSubDlg::kRestoreValueId), "25.5s");
    EXPECT_EQ(Text(sub, CAutoSubDlg::kHintId), QString::fromUtf8("演唱时超低通道自动控制"));

    g_Device.autoSub[0].store(0);
    window->RefreshAfterSync();
    EXPECT_FALSE(Switch(sub)->isChecked());
    EXPECT_TRUE(Records().empty());
}

TEST_F(AutoSubWindowTest, OneWindowRaisedAgainAndClosingWithItsOwner) {
    CAutoSubDlg* sub = OpenWith(10, 10);
    ASSERT_NE(sub, nullptr);
    window->ShowAutoSub();
    EXPECT_EQ(window->AutoSubWindow(), sub);

    // Opened for another owner: it closes with that owner.
    QTest::keyClick(sub, Qt::Key_Escape);
    EXPECT_FALSE(sub->isVisible());
    auto* owner = new QDialog(window.get());
    owner->show();
    window->ShowAutoSub(owner);
    QPointer<CAutoSubDlg> owned = window->AutoSubWindow();
    ASSERT_FALSE(owned.isNull());
    EXPECT_NE(owned.data(), sub);
    EXPECT_EQ(owned->parentWidget(), owner);
    delete owner;
    EXPECT_TRUE(owned.isNull());
    EXPECT_EQ(window->AutoSubWindow(), nullptr);
    window->ShowAutoSub();
    EXPECT_NE(window->AutoSubWindow(), nullptr);
}

}  // namespace
}  // namespace sonoria::test
