// The effect window and the multi-tap echo window on the virtual device: what
// every slider, list, graph point and reset sends (checked against the reports
// the device received), the re-reads after a program change, the enabling
// rules, the echo graph's two- and three-point forms, and that filling,
// refreshing and re-texting send nothing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>

#include <memory>
#include <vector>

#include "ui/WindowOnDevice.h"
#include "app/Localization.h"
#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "controls/ControlText.h"
#include "controls/DialogTemplate.h"
#include "eq/ui/CEqPanel.h"
#include "effects/CEfxDlg.h"
#include "effects/CTapDlg.h"
#include "link/CommandCodes.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ReportDispatch.h"
#include "support/TestSupport.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using test::Get;
using test::Set;

void StoreW15(int block, int index, int value) {
    SetParam(block, index, {std::uint8_t(value >> 8), std::uint8_t(value & 0xFF)});
}

class EfxDlgTest : public test::WindowOnDeviceTest {
protected:
    void TearDown() override { delete dialog.data(); }
    CEfxDlg* Open() {
        dialog = new CEfxDlg(nullptr);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.data(), test::kEventTimeoutMs));
        return dialog.data();
    }
    QComboBox* List(int id) const { return FindControlAs<QComboBox>(dialog.data(), id); }
    CXBmpSlider* Slider(int id) const { return dialog->Slider(id); }
    QString Text(int id) const { return ControlText(FindControl(dialog.data(), id)); }
    CGdipButton* Advanced() const { return FindControlAs<CGdipButton>(dialog.data(), CEfxDlg::kAdvancedId); }
    std::vector<Report> Received() const { return device->Received(); }
    // A point as the graph hands it over after the user moved it.
    static void Move(CEqPanel* panel, int point, float frequency, float gain) {
        EqBand record = panel->GetBand(point);
        record.frequency = frequency;
        record.gain = gain;
        emit panel->bandChanged(record, panel->controlId());
    }
    static std::vector<Report> SetsOf(std::initializer_list<std::array<int, 4>> sets) {
        std::vector<Report> reports;
        for (const auto& s : sets) reports.push_back(Set(s[0], s[1], s[2], s[3]));
        return reports;
    }

    QPointer<CEfxDlg> dialog;
};

TEST_F(EfxDlgTest, OpeningRefreshingAndRetextingSendNothingAndDeviceValuesNeverIndexTheLists) {
    SetParamSecond(3, 0, 5);
    SetParamSecond(2, 7, 4);
    for (int language : {kLanguageChinese, kLanguageEnglish}) {
        LoadLanguage(language);
        Open();
        device->ClearRecord();
        for (int round = 0; round < 2; ++round) {
            dialog->RefreshReverb();
            dialog->RefreshEcho();
            dialog->ApplyLanguage();
            dialog->SetEchoLayoutFromDevice();
        }
        // Selecting from code is no choice of the user's.
        List(CEfxDlg::kReverbPresetList)->setCurrentIndex(0);
        List(CEfxDlg::kEchoTypeList)->setCurrentIndex(2);
        dialog->ShowMultiTap();
        dialog->TapWindow()->RefreshTaps();
        dialog->TapWindow()->ApplyLanguage();
        EXPECT_TRUE(Received().empty());
        EXPECT_EQ(List(CEfxDlg::kReverbPresetList)->count(), 19);
        EXPECT_EQ(List(CEfxDlg::kEchoTypeList)->count(), 5);
        const bool english = language == kLanguageEnglish;
        EXPECT_EQ(List(CEfxDlg::kReverbPresetList)->itemText(15),
                  QString::fromUtf8(english ? "15: Gated Reverb A" : "15: 混响门 A"));
        EXPECT_EQ(List(CEfxDlg::kEchoTypeList)->itemText(4),
                  QString::fromUtf8(english ? "4: Multi Tap Echo" : "4: 多抽头回声"));
        delete dialog.data();
    }

    // Values no list entry names: no selection, while the rules still use them.
    SetParamSecond(3, 0, 200);
    SetParamSecond(2, 7, 255);
    SetParamFirst(3, 7, 200);
    Open();
    EXPECT_EQ(List(CEfxDlg::kReverbPresetList)->currentIndex(), -1);
    EXPECT_EQ(List(CEfxDlg::kEchoTypeList)->currentIndex(), -1);
    EXPECT_TRUE(Slider(2116)->IsSliderEnabled());
    EXPECT_FALSE(Slider(2115)->IsSliderEnabled());
    EXPECT_TRUE(Slider(2118)->IsSliderEnabled());
    EXPECT_FALSE(Advanced()->isEnabled());
    EXPECT_EQ(Slider(2112)->GetPos(), 127);
    // A choice outside the lists sends nothing.
    device->ClearRecord();
    for (int index : {-1, 19, 255}) emit List(CEfxDlg::kReverbPresetList)->activated(index);
    for (int index : {-1, 5, 255}) emit List(CEfxDlg::kEchoTypeList)->activated(index);
    EXPECT_TRUE(Received().empty());
}

TEST_F(EfxDlgTest, EverySliderRowSendsItsParameterAndShowsItsText) {
    SetCurrentLanguage(kLanguageEnglish);
    SetParamSecond(3, 0, 15);
    SetParamSecond(2, 7, 1);
    Open();
    struct Row {
        int slider, label, block, index;
        const char* top;     // the text at 127
        const char* bottom;  // the text at 0
    };
    const Row rows[] = {
        {2123, 2178, 2, 23, "0.0dB", "-Inf"}, {2112, 2162, 3, 7, "692ms", "20ms"},
        {2111, 2161, 3, 11, "250ms", "0ms"},  {2115, 2165, 3, 10, "0.0dB", "off"},
        {2116, 2166, 3, 1, "0.0dB", "-Inf"},  {2118, 2168, 2, 11, "0.0dB", "-Inf"},
        {2131, 2172, 2, 13, "692ms", "20ms"}, {2120, 2177, 2, 14, "99%", "0%"},
        {2122, 2184, 2, 15, "127", "0"},      {2107, 2157, 3, 3, "0.0dB", "-Inf"},
        {2127, 2179, 2, 12, "0.0dB", "-Inf"},
    };
    for (const Row& row : rows) {
        device->ClearRecord();
        emit Slider(row.slider)->sliderChanged(row.slider, 127);
        emit Slider(row.slider)->sliderChanged(row.slider, 0);
        // The echo time alone marks its top with 254.
        const int top = row.slider == 2131 ? 254 : 255;
        EXPECT_EQ(Received(), SetsOf({{row.block, row.index, 127, top}, {row.block, row.index, 0, 0}})) << row.slider;
        EXPECT_EQ(Text(row.label), QString::fromUtf8(row.bottom)) << row.slider;
        emit Slider(row.slider)->sliderChanged(row.slider, 127);
        EXPECT_EQ(Text(row.label), QString::fromUtf8(row.top)) << row.slider;
    }
    // The gate's "off" follows the language at the next refresh.
    SetParamFirst(3, 10, 0);
    SetCurrentLanguage(kLanguageChinese);
    dialog->RefreshReverb();
    EXPECT_EQ(Text(2165), QString::fromUtf8("关闭"));
    // The hidden rows can never be moved.
    device->ClearRecord();
    for (int hidden : {2113, 2114, 2117, 2119}) emit Slider(hidden)->sliderChanged(hidden, 9);
    EXPECT_TRUE(Received().empty());
}

TEST_F(EfxDlgTest, ProgramChoicesSendTheirIndexThenRereadWhatTheDeviceLoaded) {
    Open();
    device->SetParam(3, 7, 99, 0);   // what the device's new program holds
    device->SetParam(2, 11, 42, 0);
    device->ClearRecord();
    List(CEfxDlg::kReverbPresetList)->setCurrentIndex(16);
    emit List(CEfxDlg::kReverbPresetList)->activated(16);
    EXPECT_EQ(Received(), (std::vector<Report>{Set(3, 0, 0, 16), Get(3, 1), Get(3, 4), Get(3, 5), Get(3, 6),
                                               Get(3, 7), Get(3, 10), Get(3, 11), Get(2, 23)}));
    EXPECT_EQ(Slider(2112)->GetPos(), 99);
    EXPECT_TRUE(Slider(2115)->IsSliderEnabled());

    for (int type : {1, 4}) {
        device->ClearRecord();
        emit List(CEfxDlg::kEchoTypeList)->activated(type);
        std::vector<Report> expected = {Set(2, 7, 0, type), Get(3, 3)};
        for (int index = 8; index <= (type == 4 ? 22 : 15); ++index) expected.push_back(Get(2, index));
        expected.push_back(Get(2, 26));
        expected.push_back(Get(2, 27));
        EXPECT_EQ(Received(), expected) << type;
        EXPECT_EQ(Slider(2118)->GetPos(), 42);
        EXPECT_EQ(Advanced()->isEnabled(), type == 4);
    }
}

TEST_F(EfxDlgTest, EnablingRulesOfPresetsAndEchoTypes) {
    Open();
    const int reverbSliders[] = {2123, 2116, 2112, 2115, 2111};
    for (int preset = 0; preset <= 18; ++preset) {
        SetParamSecond(3, 0, std::uint8_t(preset));
        dialog->RefreshReverb();
        EXPECT_EQ(List(CEfxDlg::kReverbPresetList)->currentIndex(), preset);
        for (int id : reverbSliders) {
            const bool expected = preset != 0 && (id != 2115 || preset >= 15);
            EXPECT_EQ(Slider(id)->IsSliderEnabled(), expected) << "preset " << preset << " slider " << id;
        }
    }
    for (int type = 0; type <= 4; ++type) {
        SetParamSecond(2, 7, std::uint8_t(type));
        dialog->RefreshEcho();
        for (int id : {2118, 2122, 2131, 2107, 2120, 2127}) EXPECT_EQ(Slider(id)->IsSliderEnabled(), type != 0) << id;
        EXPECT_EQ(Advanced()->isEnabled(), type == 4) << type;
    }
}

TEST_F(EfxDlgTest, GraphPointsSendTheirParametersByTheGraphsLayout) {
    Open();
    CEqPanel* reverb = dialog->ReverbPanel();
    CEqPanel* echo = dialog->EchoPanel();
    ASSERT_EQ(reverb->GetLayout(), kEqLayoutReverb);
    ASSERT_EQ(echo->GetLayout(), kEqLayoutEcho);  // the device image reports no low shelf
    device->ClearRecord();
    Move(reverb, 0, 19.0f, 0.0f);       // below 20 Hz: high-pass off
    Move(reverb, 1, 2000.0f, 6.0f);     // +6 dB at the top
    Move(reverb, 1, 500.0f, -12.0f);
    Move(reverb, 1, 500.0f, 0.0f);
    Move(reverb, 2, 1000.0f, 3.0f);     // no third point
    EXPECT_EQ(Received(), SetsOf({{3, 6, 0, 0}, {3, 4, 127, 255}, {3, 5, 127, 255}, {3, 4, 0, 0}, {3, 5, 0, 0},
                                  {3, 4, 64, 0}, {3, 5, 0, 0}}));
    dialog->RefreshReverb();
    EXPECT_EQ(reverb->GetBand(0).frequency, 18.0f);

    device->ClearRecord();
    Move(echo, 1, 1000.0f, 12.0f);     // (1000 - 500) / 0.045777764 = 10922.3
    Move(echo, 0, 920.0f, 0.0f);        // 900 / 0.026857108 = 33510.6: kept to 32767
    EXPECT_EQ(Received(), SetsOf({{2, 9, 127, 255}, {2, 10, 42, 170}, {2, 8, 127, 255}}));

    // Three points: the low shelf between them.
    echo->SetLayout(kEqLayoutEchoThreePoint);
    device->ClearRecord();
    Move(echo, 1, 40.0f, -12.0f);
    Move(echo, 2, 2000.0f, 12.0f);
    Move(echo, 3, 2000.0f, 12.0f);
    EXPECT_EQ(Received(), SetsOf({{2, 26, 0, 0}, {2, 27, 5, 31}, {2, 9, 127, 255}, {2, 10, 127, 255}}));

    // A pick without a move sends back what the device holds.
    StoreW15(2, 26, 16390);
    StoreW15(2, 27, 1000);
    dialog->RefreshEcho();
    device->ClearRecord();
    emit echo->bandPicked(echo->GetBand(1), echo->controlId());
    EXPECT_EQ(Received(), SetsOf({{2, 26, 64, 6}, {2, 27, 3, 232}}));
}

TEST_F(EfxDlgTest, EqResetsSendTheFactoryCurveAndShowIt) {
    g_Device.extendedEcho.store(1);
    StoreW15(3, 4, 100);
    StoreW15(2, 27, 20000);
    Open();
    ASSERT_EQ(dialog->EchoPanel()->GetLayout(), kEqLayoutEchoThreePoint);
    EXPECT_EQ(dialog->EchoPanel()->GetBandCount(), 3);
    EXPECT_EQ(dialog->EchoPanel()->GetBand(1).frequency, 610.0f);  // 20000 * 1000 / 32767 = 610.4
    device->ClearRecord();
    QTest::mouseClick(FindControl(dialog.data(), CEfxDlg::kResetReverbEqId), Qt::LeftButton);
    QTest::mouseClick(FindControl(dialog.data(), CEfxDlg::kResetEchoEqId), Qt::LeftButton);
    EXPECT_EQ(Received(), SetsOf({{3, 6, 0, 0}, {3, 4, 64, 0}, {3, 5, 127, 255}, {2, 8, 0, 0}, {2, 9, 64, 0},
                                  {2, 10, 127, 255}, {2, 26, 64, 0}, {2, 27, 5, 31}}));
    EXPECT_EQ(dialog->ReverbPanel()->GetBand(0).frequency, 18.0f);
    EXPECT_EQ(dialog->ReverbPanel()->GetBand(1).frequency, 1999.0f);
    EXPECT_EQ(dialog->ReverbPanel()->GetBand(1).gain, 0.0f);
    EXPECT_EQ(dialog->EchoPanel()->GetBand(1).frequency, 40.0f);
    EXPECT_EQ(dialog->EchoPanel()->GetBand(2).frequency, 1999.0f);
}

TEST_F(EfxDlgTest, EscapeAndEnterLeaveBothWindowsOpenAndTheCloseBoxClosesThem) {
    Open();
    dialog->ShowMultiTap();
    QPointer<CTapDlg> taps = dialog->TapWindow();
    ASSERT_NE(taps, nullptr);
    for (QWidget* window : {static_cast<QWidget*>(dialog.data()), static_cast<QWidget*>(taps.data())}) {
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(window, Qt::Key(key));
            EXPECT_TRUE(window->isVisible()) << key;
        }
    }
    // Later presses show the same window again.
    dialog->ShowMultiTap();
    EXPECT_EQ(dialog->TapWindow(), taps.data());
    EXPECT_TRUE(taps->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(taps, nullptr);
    EXPECT_TRUE(dialog->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialog, nullptr);
}

TEST_F(EfxDlgTest, TapSlidersSendTheirParametersAndKeepWorkingAfterTheTypeChanged) {
    SetParamSecond(2, 7, 4);
    Open();
    dialog->ShowMultiTap();
    CTapDlg* taps = dialog->TapWindow();
    const struct {
        int slider, label, index;
        const char* top;
        const char* bottom;
    } rows[] = {
        {2107, 2157, 16, "0.0dB", "-Inf"}, {2108, 2158, 17, "0.0dB", "-Inf"}, {2109, 2159, 20, "100%", "0%"},
        {2110, 2160, 18, "0.0dB", "-Inf"}, {2111, 2161, 21, "100%", "0%"},   {2112, 2162, 19, "0.0dB", "-Inf"},
        {2113, 2163, 22, "100%", "0%"},
    };
    SetParamSecond(2, 7, 1);
    dialog->RefreshEcho();
    for (const auto& row : rows) {
        device->ClearRecord();
        emit taps->Slider(row.slider)->sliderChanged(row.slider, 0);
        EXPECT_EQ(ControlText(FindControl(taps, row.label)), QString::fromUtf8(row.bottom));
        emit taps->Slider(row.slider)->sliderChanged(row.slider, 127);
        EXPECT_EQ(ControlText(FindControl(taps, row.label)), QString::fromUtf8(row.top));
        EXPECT_EQ(Received(), SetsOf({{2, row.index, 0, 0}, {2, row.index, 127, 255}})) << row.slider;
        EXPECT_TRUE(taps->Slider(row.slider)->IsSliderEnabled());
    }
    // Values from the device: clamped positions.
    SetParamFirst(2, 17, 250);
    taps->RefreshTaps();
    EXPECT_EQ(taps->Slider(2108)->GetPos(), 127);
}

TEST_F(EfxDlgTest, ClosingTheTapWindowAloneRefreshesTheEchoSection) {
    SetParamSecond(2, 7, 4);
    Open();
    dialog->ShowMultiTap();
    QPointer<CTapDlg> taps = dialog->TapWindow();
    SetParamFirst(2, 11, 77);
    SetParamSecond(2, 7, 1);
    taps->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(taps, nullptr);
    EXPECT_EQ(Slider(2118)->GetPos(), 77);
    EXPECT_FALSE(Advanced()->isEnabled());
    // The effect window closing takes a new tap window with it, without a call back.
    dialog->ShowMultiTap();
    taps = dialog->TapWindow();
    delete dialog.data();
    EXPECT_EQ(taps, nullptr);
}

}  // namespace
}  // namespace sonoria
