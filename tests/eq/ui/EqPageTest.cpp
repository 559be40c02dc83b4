// The three EQ pages on the virtual device: what they fill from the image,
// what an edit, a click or a reset sends (checked against the reports the
// device received), the rear-routing mirror, titles and keys.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include <memory>
#include <vector>

#include "ui/WindowOnDevice.h"
#include "app/Localization.h"
#include "controls/CGdipButton.h"
#include "controls/ControlText.h"
#include "eq/ui/CCenterDlg.h"
#include "eq/ui/CEqPanel.h"
#include "eq/ui/CMainDlg.h"
#include "eq/ui/CMicHLDlg.h"
#include "link/CommandCodes.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ReportDispatch.h"
#include "state/SyncWorkers.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

// One parameter command as the device received it: the value in the bytes of
// its encoding (W15: first << 8 | second; S7: first).
struct Sent {
    int block, index, value;
    friend bool operator==(const Sent&, const Sent&) = default;
};
std::ostream& operator<<(std::ostream& out, const Sent& s) {
    return out << s.block << "/" << s.index << "=" << s.value;
}

// The page host's size in the main window.
constexpr QSize kPageSize(878, 330);

class EqPageTest : public test::WindowOnDeviceTest {
protected:

    template <typename Page>
    Page* Open() {
        auto* made = new Page(nullptr);
        page.reset(made);
        made->resize(kPageSize);
        made->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(made, test::kEventTimeoutMs));
        device->ClearRecord();
        return made;
    }
    CEqPanel* Panel() const { return page->Panel(); }
    // Paints the graph, which places the markers where a press finds them.
    void Place() { Panel()->repaint(); }
    QPoint Marker(int band) const {
        const EqBand& b = Panel()->GetBand(band);
        return {CEqPanel::kPlotLeft + b.x, CEqPanel::kPlotTop + b.y};
    }
    void Click(int band) {
        const QPoint at = Marker(band);
        QTest::mousePress(Panel(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(Panel(), Qt::LeftButton, {}, at);
    }
    // A band as the graph hands it to the page after the user changed it.
    void Edit(int band, float frequency, float gain, float q) {
        EqBand record = Panel()->GetBand(band);
        record.frequency = frequency;
        record.gain = gain;
        record.q = q;
        emit Panel()->bandChanged(record, CEqPage::kPanelId);
    }
    std::vector<Sent> Sets() const {
        std::vector<Sent> sets;
        for (const Report& r : device->Received()) {
            if (r[1] != CMD_SET_PARAM) continue;
            const ParamInfo* param = ParamAt(r[2], r[3]);
            const bool byte = param != nullptr && param->encoding == Encoding::S7;
            sets.push_back({r[2], r[3], byte ? r[4] : (r[4] << 8 | r[5])});
        }
        return sets;
    }
    static void Store(int block, int index, int value, ParamCopy copy = ParamCopy::Active) {
        const ParamInfo* param = ParamAt(block, index);
        if (param != nullptr && param->encoding == Encoding::S7) {
            SetParamFirst(block, index, std::uint8_t(value), copy);
        } else {
            SetParam(block, index, {std::uint8_t(value >> 8), std::uint8_t(value & 0xFF)}, copy);
        }
    }
    QString Title() const { return ControlText(FindControl(page.get(), page->View() <= EqView::Music ? 1194 : 1196)); }

    std::unique_ptr<CEqPage> page;
};

TEST_F(EqPageTest, OpeningRefreshingAndRetextingEveryViewSendsNothing) {
    Store(1, 21, 127);
    Store(7, 21, 88);
    for (int language : {kLanguageChinese, kLanguageEnglish}) {
        LoadLanguage(language);
        auto* channel = Open<CMicHLDlg>();
        for (int c : {CMicHLDlg::kMicrophone, CMicHLDlg::kMusic}) {
            channel->SetChannel(c);
            channel->RefreshEq();
            channel->ApplyLanguage();
            Place();
            EXPECT_EQ(Panel()->GetLayout(), c == CMicHLDlg::kMusic ? kEqLayoutMusic : kEqLayoutMic);
        }
        auto* main = Open<CMainDlg>();
        for (int p : {CMainDlg::kMicrophone, CMainDlg::kMusic}) {
            main->SetPath(p);
            main->RefreshEq();
            main->ApplyLanguage();
            Place();
        }
        EXPECT_EQ(Panel()->GetLayout(), kEqLayoutMainMusic);
        auto* centre = Open<CCenterDlg>();
        for (int output : {CCenterDlg::kCenter, CCenterDlg::kSub}) {
            for (int source : {CCenterDlg::kMicrophone, CCenterDlg::kMusic, CCenterDlg::kOutputFilters}) {
                centre->SetSelection(output, source);
                centre->RefreshEq();
                centre->ApplyLanguage();
                Place();
            }
        }
        EXPECT_EQ(Panel()->GetLayout(), kEqLayoutSubFilters);
        EXPECT_TRUE(Sets().empty()) << Sets().front();
    }
}

TEST_F(EqPageTest, ChannelPageFillsTheDisplayedNumbersAndShowsOffWhenSwitchedOff) {
    Store(1, 21, 1);        // 20 + 280 / 126 = 22 Hz
    Store(1, 14, 16384 + 2730);  // (2730) * 12 / 16383 = 1.9996: "2.0dB"
    Store(2, 6, 1072);      // 1072 / 1.679269 = 638.4: "638Hz"
    Store(1, 20, 27012);    // 27012 * 0.39675 + 7000 = 17717.1
    SetParamSecond(1, 8, 1);
    auto* channel = Open<CMicHLDlg>();
    EXPECT_EQ(Panel()->GetBand(0).frequency, 22.0f);
    EXPECT_EQ(Panel()->GetBand(2).gain, 2.0f);
    EXPECT_EQ(Panel()->GetBand(5).frequency, 638.0f);
    EXPECT_NEAR(Panel()->GetBand(7).frequency, 17717.1f, 0.1f);
    EXPECT_FALSE(Panel()->IsShowOff());

    // The music low shelf at its reset value 0 reads "0Hz": the band keeps its frequency.
    Store(4, 5, 0);
    Store(4, 8, 0);
    channel->SetChannel(CMicHLDlg::kMusic);
    channel->RefreshEq();
    EXPECT_EQ(Panel()->GetBand(1).frequency, 40.0f);
    EXPECT_TRUE(Panel()->IsShowOff());
    EXPECT_EQ(Panel()->GetBandCount(), 5);
}

TEST_F(EqPageTest, ClickingMarkersWithoutMovingThemSendsBackWhatTheDeviceHolds) {
    // Values whose display texts do not convert back to themselves.
    Store(1, 21, 100);      // mic high-pass "242Hz", which converts to 101
    Store(1, 20, 27012);    // mic low-pass: the text loses the fraction
    Store(1, 16, 1000);     // peak frequency: 595 Hz converts to 999
    Store(1, 15, 20000);    // Q
    Store(1, 14, 16390);    // gain
    SetParamSecond(1, 8, 1);
    Open<CMicHLDlg>();
    Place();
    for (int band : {0, 2, 7}) Click(band);
    const std::vector<Sent> expected = {
        {1, 21, 100}, {1, 21, 100},                                        // press, release
        {1, 14, 16390}, {1, 16, 1000}, {1, 15, 20000},
        {1, 14, 16390}, {1, 16, 1000}, {1, 15, 20000},
        {1, 20, 27012}, {1, 20, 27012},
    };
    EXPECT_EQ(Sets(), expected);

    // Output filters: a high-pass at 88 and a low-pass at 533 stay where they are, click after click.
    Store(7, 21, 88);
    Store(7, 20, 533);
    auto* centre = Open<CCenterDlg>();
    centre->SetSelection(CCenterDlg::kSub, CCenterDlg::kOutputFilters);
    centre->RefreshEq();
    Place();
    for (int round = 0; round < 3; ++round) {
        Click(0);
        Click(1);
    }
    std::vector<Sent> rounds;
    for (int round = 0; round < 3; ++round) rounds.insert(rounds.end(), {{7, 21, 88}, {7, 21, 88}, {7, 20, 533}, {7, 20, 533}});
    EXPECT_EQ(Sets(), rounds);
    EXPECT_EQ(GetParam(7, 21).second, 88);
}

TEST_F(EqPageTest, ChannelEditsConvertAndSaturateInsteadOfWrapping) {
    auto* channel = Open<CMicHLDlg>();
    Edit(0, 302.0f, 0, 0.48f);      // what raw 127 shows: the code's top, not off
    Edit(0, 19.0f, 0, 0.48f);       // below 20 Hz: off
    Edit(0, 20.0f, 0, 0.48f);       // the first step
    Edit(1, 1500.0f, -0.05f, 0.1f); // the shelf's code ends at 1000 Hz
    Edit(7, 20001.0f, 0, 0.48f);    // the low-pass open
    const std::vector<Sent> expected = {
        {1, 21, 127}, {1, 21, 0}, {1, 21, 1},
        {1, 9, 16384 - 68}, {1, 10, 32767},  // gain truncated: 0.05 * 16384 / 12 = 68.27
        {1, 20, 32767},
    };
    EXPECT_EQ(Sets(), expected);
    channel->RefreshEq();
    EXPECT_EQ(Panel()->GetBand(0).frequency, 22.0f);
    EXPECT_EQ(Panel()->GetBand(7).frequency, 20001.0f);

    // Music: every value to the left and the right channel, shelves frequency first.
    channel->SetChannel(CMicHLDlg::kMusic);
    channel->RefreshEq();
    device->ClearRecord();
    Edit(1, 500.0f, 6.0f, 0.1f);
    const std::vector<Sent> music = {
        {4, 5, 16384}, {4, 21, 16384},  // 500 * 32767 / 1000 = 16383.5, rounded
        {4, 4, 16384 + 8191}, {4, 20, 16384 + 8191},  // trunc(6 * 16383 / 12) = 8191
    };
    EXPECT_EQ(Sets(), music);
}

TEST_F(EqPageTest, MainOutputEditsGoToBothSidesValueByValue) {
    Open<CMainDlg>();
    Edit(0, 1000.0f, 3.0f, 2.0f);
    const std::vector<Sent> expected = {
        {5, 5, 20480}, {6, 5, 20480},   // 16384 + round(3 * 16383 / 12)
        {5, 7, 1679}, {6, 7, 1679},     // round(1000 * 1.679269)
        {5, 6, 20206}, {6, 6, 20206},   // trunc(32767 - 32767 / 2.6087)
    };
    EXPECT_EQ(Sets(), expected);
    // Locked reference bands are never the user's to change.
    device->ClearRecord();
    Edit(4, 500.0f, 3.0f, 2.0f);
    EXPECT_TRUE(Sets().empty());
}

TEST_F(EqPageTest, CentreAndSubSendInTheirOwnOrderAndMirrorEachOtherInRearRouting) {
    auto* centre = Open<CCenterDlg>();
    Edit(1, 1000.0f, 3.0f, 2.0f);
    EXPECT_EQ(Sets(), (std::vector<Sent>{{8, 6, 1679}, {8, 4, 20480}, {8, 5, 20206}}));

    centre->SetSelection(CCenterDlg::kSub, CCenterDlg::kMusic);
    centre->RefreshEq();
    device->ClearRecord();
    Edit(0, 1000.0f, 3.0f, 2.0f);
    EXPECT_EQ(Sets(), (std::vector<Sent>{{7, 8, 20480}, {7, 10, 1679}, {7, 9, 20206}}));

    // Routed to the rear: the same values in the view's order, then to the other output.
    g_Device.rearRouting.store(1);
    centre->SetSelection(CCenterDlg::kCenter, CCenterDlg::kMicrophone);
    centre->RefreshEq();
    device->ClearRecord();
    Edit(0, 1000.0f, 3.0f, 2.0f);
    EXPECT_EQ(Sets(), (std::vector<Sent>{{8, 3, 1679}, {8, 1, 20480}, {8, 2, 20206},
                                         {7, 3, 1679}, {7, 1, 20480}, {7, 2, 20206}}));
    EXPECT_EQ(GetParam(7, 3, ParamCopy::Rear), (ParamBytes{6, 143}));
    EXPECT_EQ(GetParam(7, 3, ParamCopy::Normal), (ParamBytes{0, 0}));

    centre->SetSelection(CCenterDlg::kSub, CCenterDlg::kOutputFilters);
    centre->RefreshEq();
    device->ClearRecord();
    Edit(1, 15300.0f, 0, 0.5f);   // above 15200 Hz: the low-pass off
    Edit(0, 100.0f, 0, 0.707f);   // trunc(2^23 * 100 * 2pi / 48000) >> 8 = 428
    EXPECT_EQ(Sets(), (std::vector<Sent>{{7, 20, 0}, {8, 20, 0}, {7, 21, 428}, {8, 21, 428}}));
}

TEST_F(EqPageTest, ResetButtonsWriteTheFactoryCurveAndRefresh) {
    Store(2, 3, 3000);
    auto* channel = Open<CMicHLDlg>();
    QTest::mouseClick(channel->ResetButton(), Qt::LeftButton);
    const std::vector<Sent> sets = Sets();
    ASSERT_EQ(sets.size(), 4u + 12u + 2u);
    EXPECT_EQ(sets.front(), (Sent{1, 9, 16384}));
    EXPECT_EQ(sets[3], (Sent{1, 12, 32512}));
    EXPECT_EQ(sets[14], (Sent{2, 3, 494}));
    EXPECT_EQ(sets.back(), (Sent{1, 21, 0}));
    EXPECT_EQ(Panel()->GetBand(4).frequency, 294.0f);  // 494 / 1.679269 = 294.2, refreshed

    // The sub's filters: its crossover, or full range while it serves the rear.
    auto* centre = Open<CCenterDlg>();
    centre->SetSelection(CCenterDlg::kSub, CCenterDlg::kOutputFilters);
    centre->RefreshEq();
    centre->ResetEq();
    EXPECT_EQ(Sets(), (std::vector<Sent>{{7, 20, 533}, {7, 21, 88}}));
    EXPECT_EQ(Panel()->GetBand(1).frequency, 248.0f);

    g_Device.rearRouting.store(1);
    device->ClearRecord();
    centre->ResetEq();
    EXPECT_EQ(Sets(), (std::vector<Sent>{{7, 20, 0}, {7, 21, 0}, {8, 20, 0}, {8, 21, 0}}));

    centre->SetSelection(CCenterDlg::kCenter, CCenterDlg::kMusic);
    centre->RefreshEq();
    device->ClearRecord();
    centre->ResetEq();
    const std::vector<Sent> both = Sets();
    ASSERT_EQ(both.size(), 12u);
    EXPECT_EQ(both[4], (Sent{8, 10, 420}));
    EXPECT_EQ(both[10], (Sent{7, 10, 84}));  // the sub's own factory frequencies
    EXPECT_EQ(both[11], (Sent{7, 13, 252}));
}

TEST_F(EqPageTest, TitlesFollowTheViewTheLanguageAndTheRouting) {
    SetCurrentLanguage(kLanguageChinese);
    auto* centre = Open<CCenterDlg>();
    centre->SetSelection(CCenterDlg::kSub, CCenterDlg::kMusic);
    centre->ApplyLanguage();
    EXPECT_EQ(Title(), QString::fromUtf8("超低音乐均衡"));
    EXPECT_FALSE(Panel()->IsEnglish());
    g_Device.rearRouting.store(1);
    centre->ApplyLanguage();
    EXPECT_EQ(Title(), QString::fromUtf8("后置音乐均衡"));
    SetCurrentLanguage(kLanguageEnglish);
    centre->ApplyLanguage();
    EXPECT_EQ(Title(), "Rear Music EQ");
    EXPECT_TRUE(Panel()->IsEnglish());
    centre->SetSelection(CCenterDlg::kCenter, CCenterDlg::kOutputFilters);
    centre->ApplyLanguage();
    EXPECT_EQ(Title(), "Center EQ");

    auto* main = Open<CMainDlg>();
    main->SetPath(CMainDlg::kMusic);
    main->ApplyLanguage();
    EXPECT_EQ(Title(), "Music Main EQ");
    LoadLanguage(kLanguageEnglish);
    main->ApplyLanguage();
    EXPECT_EQ(ControlText(main->ResetButton()), "Reset EQ");
    EXPECT_EQ(ControlText(FindControl(main, CEqPage::kHintId)), "Click by righ mouse after move to adjust Q value.");
    EXPECT_TRUE(FindControl(main, 2200)->isHidden());
}

TEST_F(EqPageTest, EnterAndEscapeDoNothingAndTheGraphFollowsThePageSize) {
    auto* channel = Open<CMicHLDlg>();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(channel, &press);
        EXPECT_TRUE(press.isAccepted());
    }
    EXPECT_TRUE(channel->isVisible());
    const QPoint origin = Panel()->pos();
    channel->resize(1000, 420);
    EXPECT_EQ(Panel()->geometry(), QRect(origin, QSize(1000, 420 - origin.y())));
    EXPECT_TRUE(Sets().empty());
}

}  // namespace
}  // namespace sonoria
