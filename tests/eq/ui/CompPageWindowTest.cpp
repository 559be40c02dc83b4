// The compressor page in the main window: flow button 2200 shows it (but not
// on the base model, which has the gate popup instead), a synchronisation
// refreshes it, a language change re-texts it, and none of that sends.
#include "app/MainWindowFixture.h"

#include <QCheckBox>

#include <algorithm>

#include "app/FlowPanel.h"
#include "controls/CTabWnd.h"
#include "controls/ControlText.h"
#include "eq/ui/CCompressPanel.h"
#include "eq/ui/CMicCompDlg.h"

namespace sonoria::test {
namespace {

class CompPageWindowTest : public MainWindowTest {
protected:
    // Whether the device received any parameter change.
    bool NothingSet() const {
        const std::vector<Report>& received = device->Received();
        return std::none_of(received.begin(), received.end(), [](const Report& r) { return r[1] == CMD_SET_PARAM; });
    }
    void ClickFlow(int id) { QTest::mouseClick(FindControl(window.get(), id), Qt::LeftButton); }
};

TEST_F(CompPageWindowTest, GateCompButtonShowsThePageFilledFromTheDevice) {
    device->SetParam(1, 6, 127, 255);  // threshold 0 dB
    device->SetParam(1, 3, 0, 1);     // compressor on
    Open();
    CMicCompDlg* page = window->CompressorPage();
    ASSERT_NE(page, nullptr);
    auto* host = FindControlAs<CTabWnd>(window.get(), IDC_PAGE_HOST);
    EXPECT_EQ(host->Page(kCompressorPage), page);
    EXPECT_EQ(host->PageTemplateId(kCompressorPage), CMicCompDlg::kDialogId);
    device->ClearRecord();

    ClickFlow(IDC_FLOW_GATE_COMP);
    EXPECT_EQ(window->CurrentPage(), kCompressorPage);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->Slider(CMicCompDlg::kThresholdSliderId)->GetPos(), 127);
    EXPECT_EQ(ControlText(FindControl(page, CMicCompDlg::kThresholdSliderId + CMicCompDlg::kValueTextOffset)),
              "0.0dB");
    EXPECT_TRUE(page->Switch()->isChecked());
    EXPECT_EQ(page->Panel()->Enabled(), 1);
    // The window starts in Chinese; the toggle re-texts the page.
    EXPECT_EQ(ControlText(FindControl(page, 1088)), QString::fromUtf8("压限开关"));
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
    EXPECT_EQ(ControlText(FindControl(page, 1088)), "Mic Comp");
    EXPECT_EQ(ControlText(FindControl(page, CMicCompDlg::kSwitchId)), "ON");
    EXPECT_TRUE(NothingSet());

    // A user's move goes to the device; a synchronisation brings the device's values back.
    QTest::keyClick(page->Slider(CMicCompDlg::kRatioSliderId), Qt::Key_Right);
    ASSERT_EQ(Sets(1, 7).size(), 1u);
    device->ClearRecord();
    SetParamFirst(1, 2, 40);  // as a read of the device would leave it
    window->RefreshAfterSync();
    EXPECT_EQ(page->Slider(CMicCompDlg::kGateSliderId)->GetPos(), 40);
    EXPECT_TRUE(NothingSet());
    SaveScreenshot("compressor-in-main-window-en");
}

TEST_F(CompPageWindowTest, UnderTheBaseModelsNameTheButtonLeavesThePageAlone) {
    Open();
    // The name the image holds before any device is read.
    g_Device.machineName.Set(kDefaultMachineName);
    ClickFlow(IDC_FLOW_MIC_PEQ);
    device->ClearRecord();
    ClickFlow(IDC_FLOW_GATE_COMP);
    EXPECT_EQ(window->CurrentPage(), kChannelEqPage);
    EXPECT_FALSE(window->CompressorPage()->isVisible());
    EXPECT_TRUE(NothingSet());
}

}  // namespace
}  // namespace sonoria::test
