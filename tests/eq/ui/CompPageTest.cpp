// The compressor page on the virtual device: what it fills from the image,
// what each slider and the switch send (the device's own record, byte by
// byte), that opening, refreshing and re-texting send nothing, and what the
// curve view draws.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QTest>

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ui/WindowOnDevice.h"
#include "app/Localization.h"
#include "controls/CXBmpSlider.h"
#include "controls/ControlText.h"
#include "eq/ui/CCompressPanel.h"
#include "eq/ui/CMicCompDlg.h"
#include "link/CommandCodes.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ReportDispatch.h"
#include "state/SyncWorkers.h"
#include "state/ValueScaling.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

// One parameter command's bytes as the device received them: block, index, first, second.
using Wire = std::array<int, 4>;

// The page host's size in the main window.
constexpr QSize kPageSize(878, 330);

class CompPageTest : public test::WindowOnDeviceTest {
protected:
    CMicCompDlg* Open() {
        page = std::make_unique<CMicCompDlg>();
        page->resize(kPageSize);
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get(), test::kEventTimeoutMs));
        device->ClearRecord();
        return page.get();
    }
    std::vector<Wire> Sets() const {
        std::vector<Wire> sets;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_PARAM) sets.push_back({r[2], r[3], r[4], r[5]});
        }
        return sets;
    }
    QString Text(int id) const { return ControlText(FindControl(page.get(), id)); }
    QString ValueText(int sliderId) const { return Text(sliderId + CMicCompDlg::kValueTextOffset); }
    void Key(int sliderId, Qt::Key key) { QTest::keyClick(page->Slider(sliderId), key); }
    void ClickThumb(int sliderId) {
        CXBmpSlider* slider = page->Slider(sliderId);
        QTest::mouseClick(slider, Qt::LeftButton, {}, slider->ThumbRect().center());
    }
    // The dynamics of a device with the compressor on and its values off the defaults.
    static void StoreDynamics() {
        SetParamFirst(1, 2, 0);     // gate: bypass
        SetParamSecond(1, 3, 1);    // compressor on
        SetParamFirst(1, 4, 10);    // attack
        SetParamFirst(1, 5, 100);   // release
        SetParamFirst(1, 6, 64);    // threshold: -21 dB
        SetParamFirst(1, 7, 3);     // ratio 4:1
    }

    std::unique_ptr<CMicCompDlg> page;
};

TEST_F(CompPageTest, FillsSlidersTextsSwitchAndCurveFromTheImageWithoutSending) {
    StoreDynamics();
    for (int language : {kLanguageChinese, kLanguageEnglish}) {
        LoadLanguage(language);
        Open();
        EXPECT_EQ(page->Slider(CMicCompDlg::kGateSliderId)->GetPos(), 0);
        EXPECT_EQ(page->Slider(CMicCompDlg::kAttackSliderId)->GetPos(), 10);
        EXPECT_EQ(page->Slider(CMicCompDlg::kReleaseSliderId)->GetPos(), 100);
        EXPECT_EQ(page->Slider(CMicCompDlg::kThresholdSliderId)->GetPos(), 64);
        EXPECT_EQ(page->Slider(CMicCompDlg::kRatioSliderId)->GetPos(), 3);
        EXPECT_EQ(ValueText(CMicCompDlg::kGateSliderId),
                  language == kLanguageEnglish ? QString("Bypass") : QString::fromUtf8("关闭"));
        EXPECT_EQ(ValueText(CMicCompDlg::kThresholdSliderId), "-21.0dB");
        EXPECT_EQ(ValueText(CMicCompDlg::kRatioSliderId), "4:1");
        EXPECT_EQ(ValueText(CMicCompDlg::kAttackSliderId), QString::fromStdString(AttackText(10)));
        EXPECT_EQ(ValueText(CMicCompDlg::kReleaseSliderId), QString::fromStdString(ReleaseText(100)));
        EXPECT_TRUE(page->Switch()->isChecked());
        EXPECT_EQ(page->Panel()->Enabled(), 1);
        EXPECT_FLOAT_EQ(page->Panel()->Settings().threshold, -21.0f);
        EXPECT_FLOAT_EQ(page->Panel()->Settings().ratioSlope, 124.0f / 128);
        EXPECT_EQ(page->Slider(CMicCompDlg::kGateSliderId)->GetRangeMax(), 127);

        // Again and again: a refresh, a re-text and the setup send nothing.
        page->SetupSliders();
        page->RefreshDynamics();
        page->ApplyLanguage();
        page->Panel()->repaint();
        EXPECT_TRUE(Sets().empty());
    }
}

TEST_F(CompPageTest, LabelsComeFromTheLanguageTablesInBothLanguages) {
    struct Label {
        int id;
        const char* chinese;
        const char* english;
    };
    const Label labels[] = {{1059, "噪声门", "NoiseGate"},   {1088, "压限开关", "Mic Comp"}, {1147, "开", "ON"},
                            {1055, "门(阈)", "Threshold"},   {1056, "比率", "Ratio"},
                            {1057, "起始时间", "Attack time"}, {1058, "释放时间", "Release time"}};
    Open();
    for (int language : {kLanguageChinese, kLanguageEnglish}) {
        LoadLanguage(language);
        page->ApplyLanguage();
        for (const Label& label : labels) {
            EXPECT_EQ(Text(label.id), QString::fromUtf8(language == kLanguageEnglish ? label.english : label.chinese))
                << label.id;
        }
    }
    // The value texts follow the language at the next refresh.
    LoadLanguage(kLanguageChinese);
    page->RefreshDynamics();
    EXPECT_EQ(ValueText(CMicCompDlg::kGateSliderId), QString::fromUtf8("关闭"));
    EXPECT_TRUE(Sets().empty());
}

TEST_F(CompPageTest, EverySliderSendsItsParameterAndUpdatesItsTextAndTheCurve) {
    StoreDynamics();
    Open();
    Key(CMicCompDlg::kGateSliderId, Qt::Key_Right);        // 0 -> 1
    Key(CMicCompDlg::kThresholdSliderId, Qt::Key_Left);    // 64 -> 63
    Key(CMicCompDlg::kRatioSliderId, Qt::Key_Right);       // 3 -> 4
    Key(CMicCompDlg::kAttackSliderId, Qt::Key_Right);      // 10 -> 11
    Key(CMicCompDlg::kReleaseSliderId, Qt::Key_Left);      // 100 -> 99
    const std::vector<Wire> expected = {{1, 2, 1, 0}, {1, 6, 63, 0}, {1, 7, 4, 0}, {1, 4, 11, 0}, {1, 5, 99, 0}};
    EXPECT_EQ(Sets(), expected);

    EXPECT_EQ(ValueText(CMicCompDlg::kGateSliderId), QString::fromStdString(GateText(1)));
    EXPECT_EQ(ValueText(CMicCompDlg::kThresholdSliderId), "-21.3dB");
    EXPECT_EQ(ValueText(CMicCompDlg::kRatioSliderId), "5:1");
    EXPECT_EQ(ValueText(CMicCompDlg::kAttackSliderId), QString::fromStdString(AttackText(11)));
    EXPECT_EQ(ValueText(CMicCompDlg::kReleaseSliderId), QString::fromStdString(ReleaseText(99)));
    EXPECT_FLOAT_EQ(page->Panel()->Settings().threshold, CompThresholdDb(63));
    EXPECT_FLOAT_EQ(page->Panel()->Settings().ratioSlope, 123.0f / 128);
    // The image holds what was sent, so a refresh shows the same.
    page->RefreshDynamics();
    EXPECT_EQ(page->Slider(CMicCompDlg::kThresholdSliderId)->GetPos(), 63);
    EXPECT_EQ(Sets().size(), expected.size());
}

TEST_F(CompPageTest, ClickingAThumbSendsTheUnchangedValueAgainAndTheEndsKeepTheirBytes) {
    StoreDynamics();
    Open();
    ClickThumb(CMicCompDlg::kThresholdSliderId);
    ClickThumb(CMicCompDlg::kRatioSliderId);
    EXPECT_EQ(Sets(), (std::vector<Wire>{{1, 6, 64, 0}, {1, 7, 3, 0}}));

    // At the top a further step stays at 127, which travels with 255 as its second byte.
    device->ClearRecord();
    SetParamFirst(1, 7, 127);
    page->RefreshDynamics();
    Key(CMicCompDlg::kRatioSliderId, Qt::Key_Right);
    Key(CMicCompDlg::kGateSliderId, Qt::Key_Left);  // already at 0
    EXPECT_EQ(Sets(), (std::vector<Wire>{{1, 7, 127, 255}, {1, 2, 0, 0}}));
    EXPECT_EQ(ValueText(CMicCompDlg::kRatioSliderId), "128:1");
    EXPECT_FLOAT_EQ(page->Panel()->Settings().ratioSlope, 0.0f);
}

TEST_F(CompPageTest, TheSwitchSendsItsSecondByteAndOnlyADeviceOneChecksIt) {
    Open();
    EXPECT_FALSE(page->Switch()->isChecked());
    EXPECT_EQ(page->Panel()->Enabled(), 0);
    QTest::mouseClick(page->Switch(), Qt::LeftButton);
    EXPECT_EQ(page->Panel()->Enabled(), 1);
    QTest::mouseClick(page->Switch(), Qt::LeftButton);
    EXPECT_EQ(page->Panel()->Enabled(), 0);
    EXPECT_EQ(Sets(), (std::vector<Wire>{{1, 3, 0, 1}, {1, 3, 0, 0}}));

    // Any other device value leaves the box clear, and the curve shows no "OFF".
    SetParamSecond(1, 3, 2);
    page->RefreshDynamics();
    EXPECT_FALSE(page->Switch()->isChecked());
    EXPECT_EQ(page->Panel()->Enabled(), 2);
    EXPECT_EQ(Sets().size(), 2u);
}

TEST_F(CompPageTest, EnterAndEscapeDoNothing) {
    Open();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(page.get(), &press);
        EXPECT_TRUE(press.isAccepted());
    }
    EXPECT_TRUE(page->isVisible());
    EXPECT_TRUE(Sets().empty());
}

// The curve view on its own, at the size the example's numbers are for.
class CompressPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel.resize(400, 300);
    }
    QImage Painted() { return panel.grab().toImage(); }
    static bool Near(QColor a, QColor b, int tolerance = 40) {
        return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
               std::abs(a.blue() - b.blue()) <= tolerance;
    }
    CCompressPanel panel;
};

TEST_F(CompressPanelTest, DrawsTheGridTheKneeTheCurveAndTheBand) {
    panel.SetThreshold(-21.0f);
    panel.SetRatioSlope(0.4921875f);
    panel.SetEnabled(1);
    const QImage image = Painted();
    ASSERT_EQ(image.size(), QSize(400, 300));
    const DynamicsCurve curve = panel.Curve();
    EXPECT_EQ(curve.knee, (CurvePoint{220, 137}));
    // The red dot at the knee, under the lines that meet there.
    EXPECT_GT(image.pixelColor(221, 139).red(), 150);
    EXPECT_LT(image.pixelColor(221, 139).green(), 100);
    EXPECT_TRUE(Near(image.pixelColor(220, 137), QColor(0, 207, 255), 90));
    // The curve's pen half way from the knee to the right end.
    const QColor onCurve = image.pixelColor((220 + 395) / 2, (137 + 72) / 2);
    EXPECT_TRUE(Near(onCurve, QColor(0, 207, 255), 90)) << onCurve.name().toStdString();
    // A grid line above the band is plain grid green; the same line inside the band is shaded.
    const DynamicsPlot plot(400, 300);
    EXPECT_EQ(image.pixelColor(plot.GridX(3), 20), QColor::fromRgb(CCompressPanel::kGridColour));
    EXPECT_NE(image.pixelColor(plot.GridX(3), 200), QColor::fromRgb(CCompressPanel::kGridColour));
    // Ground outside the plot, where no label is.
    EXPECT_EQ(image.pixelColor(398, 150), QColor(32, 32, 32));
}

TEST_F(CompressPanelTest, ShowsOffOnlyWhileTheCompressorIsOff) {
    panel.SetEnabled(1);
    const QImage on = Painted();
    panel.SetEnabled(0);
    const QImage off = Painted();
    panel.SetEnabled(2);
    const QImage other = Painted();
    EXPECT_EQ(on, other);
    // "OFF" in its blue, in the middle of the panel.
    int blue = 0;
    for (int y = 120; y < 180; ++y) {
        for (int x = 150; x < 250; ++x) {
            if (Near(off.pixelColor(x, y), QColor(0, 150, 255), 30) && !Near(on.pixelColor(x, y), QColor(0, 150, 255), 30)) ++blue;
        }
    }
    EXPECT_GT(blue, 100);
}

TEST_F(CompressPanelTest, TheGridIsRebuiltForANewSizeAndNothingIsDrawnWithoutOne) {
    Painted();
    EXPECT_EQ(panel.GridCache().size(), QSize(400, 300));
    panel.resize(300, 200);
    const QImage smaller = Painted();
    EXPECT_EQ(panel.GridCache().size(), QSize(300, 200));
    // The right end follows the new width.
    EXPECT_EQ(panel.Curve().rightEnd.x, 295);
    EXPECT_EQ(smaller.size(), QSize(300, 200));
    panel.resize(0, 0);
    panel.grab();
    EXPECT_EQ(panel.GridCache().size(), QSize(300, 200));
}

}  // namespace
}  // namespace sonoria
