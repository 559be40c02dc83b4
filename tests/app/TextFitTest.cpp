// Every window with a template, in both languages, with the longest values
// its captions can show: no text may be wider than its control. A window
// joins with one test below; a clipping is accepted only through the
// allow-list, with its reason.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <string_view>
#include <vector>

#include "admin/CDlgFunction.h"
#include "admin/CInfoDlg.h"
#include "admin/COtherDlg.h"
#include "admin/CRemoteDlg.h"
#include "admin/CRemoteStudyDlg.h"
#include "admin/CWMicDlg.h"
#include "app/ControlFactories.h"
#include "admin/CSynDlg.h"
#include "app/CSonoriaDlg.h"
#include "app/DeviceWatch.h"
#include "app/FlowPanel.h"
#include "app/Localization.h"
#include "app/MainWindowFixture.h"
#include "app/MainWindowTemplate.h"
#include "app/MessageService.h"
#include "app/Settings.h"
#include "controls/CGdipButton.h"
#include "controls/CTabWnd.h"
#include "controls/DialogTemplate.h"
#include "controls/DialogTemplateFonts.h"
#include "effects/CEfxDlg.h"
#include "effects/CTapDlg.h"
#include "eq/ui/CEqImportPreview.h"
#include "eq/ui/CEqPanel.h"
#include "eq/ui/EqFilePorter.h"
#include "eq/ui/CMicCompDlg.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ParameterTable.h"
#include "state/SyncWorkers.h"
#include "state/ValueScaling.h"
#include "ui/TextFit.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using test::FitAllowance;

// Clippings accepted, each with its reason ({dialog id, control id, "why"}).
// Empty: every text fits.
const std::vector<FitAllowance> kAllowedClippings = {};

void ExpectAllTextsFit(const QWidget* window, const std::string& state) {
    const QString report = test::UnallowedClippings(window, kAllowedClippings);
    EXPECT_TRUE(report.isEmpty()) << state << ":\n" << report.toStdString();
}

void SaveScreenshot(QWidget* window, const QString& name) {
    QDir().mkpath(SONORIA_SCREENSHOT_DIR);
    window->grab().save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/%1.png").arg(name));
}

const char* LanguageName(int language) { return language == kLanguageEnglish ? "en" : "zh"; }

// The values a caption can show: what the editing windows let the user set.
struct CaptionRange {
    std::string_view param;
    int lowest, highest;
};
constexpr int kLevelTop = 127;
constexpr int kPitchLowest = 56, kPitchHighest = 72;
constexpr int kPhaseTop = 71;
constexpr int kDelayTop = 8191;  // the delay senders' limit
const CaptionRange kCaptionRanges[] = {
    {"MicGateThreshold", 0, kLevelTop},  {"MusicGateThreshold", 0, kLevelTop}, {"MicShiftAmount", 0, kLevelTop},
    {"PitchShift", kPitchLowest, kPitchHighest}, {"MicDirectVolume", 0, kLevelTop}, {"EffectVolume", 0, kLevelTop},
    {"CenterEffectLevel", 0, kLevelTop}, {"CenterMicLevel", 0, kLevelTop},    {"CenterMusicLevel", 0, kLevelTop},
    {"SubEffectLevel", 0, kLevelTop},    {"SubMicLevel", 0, kLevelTop},       {"SubMusicLevel", 0, kLevelTop},
    {"MainMicLevel", 0, kLevelTop},      {"MainMusicLevel", 0, kLevelTop},    {"SubPhase", 0, kPhaseTop},
    {"SubDelay", 0, kDelayTop},          {"MainLDelay", 0, kDelayTop},        {"CenterDelay", 0, kDelayTop},
    {"MainRDelay", 0, kDelayTop},
};

void StoreValue(const ParamInfo& param, int value) {
    switch (param.encoding) {
        case Encoding::W15: SetParam(param.address.block, param.address.index, {std::uint8_t(value >> 8), std::uint8_t(value & 0xFF)}); break;
        case Encoding::B2: SetParamSecond(param.address.block, param.address.index, std::uint8_t(value)); break;
        default: SetParamFirst(param.address.block, param.address.index, std::uint8_t(value)); break;
    }
}

// Puts into the device image the 0..127 value of `param` whose text is widest.
void StoreWidestValue(const ParamInfo& param, const QFontMetrics& metrics) {
    int widest = 0;
    const auto width = [&](int raw) {
        return metrics.horizontalAdvance(QString::fromStdString(FormatParamText(param, raw)));
    };
    for (int v = 0; v <= kLevelTop; ++v) {
        if (width(v) > width(widest)) widest = v;
    }
    StoreValue(param, widest);
}

// Puts into the device image, for each captioned value, the one whose text is
// widest in `font` in the current language.
void StoreWidestCaptionValues(const QFont& font) {
    const QFontMetrics metrics(font);
    for (const CaptionRange& range : kCaptionRanges) {
        const ParamInfo* param = FindParam(range.param);
        ASSERT_NE(param, nullptr) << range.param;
        int widest = range.lowest;
        int widestPixels = -1;
        for (int v = range.lowest; v <= range.highest; ++v) {
            const int pixels = metrics.horizontalAdvance(QString::fromStdString(FormatParamText(*param, v)));
            if (pixels > widestPixels) {
                widest = v;
                widestPixels = pixels;
            }
        }
        StoreValue(*param, widest);
    }
}

// A view of an EQ page, opened by its flow button, with a band selected so
// that the graph shows its value labels and info line.
struct EqViewShot {
    int flowButton;
    int selectedBand;
    const char* name;
};

class TextFitTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(DialogFaceFound()) << "the dialog face is missing: run scripts/setup.sh (fonts-wine)";
        SetSettingsFileForTesting(settingsDir.filePath("settings.ini"));
        WriteSettingDword(kLanguageSetting, static_cast<std::uint32_t>(GetParam()));
        SetMessageHandler([](const MessageRequest&) { return MessageAnswer::No; });
        SetHidBackend(device);
    }
    void TearDown() override { test::CloseWindowAndLink(window); }
    std::string State(const char* what) const { return std::string(what) + " (" + LanguageName(GetParam()) + ")"; }
    // The window connected to the virtual device and read, as the user sees it.
    void OpenConnected() {
        window = std::make_unique<CSonoriaDlg>();
        window->Session().SetStartupDelay(24 * 3600 * 1000);
        window->show();
        window->Session().StartupConnection();
        ASSERT_EQ(g_bDeviceOpen.load(), 1);
        ASSERT_TRUE(test::WaitUntil([&] { return !SyncWorkersRunning() && window->SyncWindow() == nullptr; }));
    }
    QString ShotName(const char* what) const { return QStringLiteral("fit-%1-%2").arg(what, LanguageName(GetParam())); }
    // The longest values into the image and onto the window, as a synchronisation would.
    void ShowLongestValues() {
        StoreWidestCaptionValues(FindControlAs<CGdipButton>(window.get(), IDC_FLOW_MAIN_DELAY)->CaptionFont());
        SetParamSecond(1, 22, 1);  // the frequency shifter on: a ticked box
        window->RefreshAfterSync();
    }

    // Each view checked in the main window, and a screenshot of the page, with
    // a curve to show: every EQ gain at +5 or -4 dB in turn, the mic and output
    // filters in the audible range.
    void ExpectEqPageFits(int pageIndex, std::initializer_list<EqViewShot> views, const char* suffix = "") {
        int turn = 0;
        for (const ParamInfo& param : AllParams()) {
            if (param.text == TextRule::Gain12Text) StoreValue(param, ++turn % 2 ? 16384 + 6826 : 16384 - 5461);
        }
        for (const auto& [name, raw] : {std::pair{"MicHighPassFreq", 30}, {"MicLowPassFreq", 20000},
                                         {"CenterHighPassFreq", 428}, {"CenterLowPassFreq", 2000},
                                         {"SubHighPassFreq", 300}, {"SubLowPassFreq", 533}}) {
            StoreValue(*FindParam(name), raw);
        }
        window->RefreshAfterSync();
        for (const EqViewShot& view : views) {
            QTest::mouseClick(FindControl(window.get(), view.flowButton), Qt::LeftButton);
            auto* page = qobject_cast<CEqPage*>(FindControlAs<CTabWnd>(window.get(), IDC_PAGE_HOST)->Page(pageIndex));
            ASSERT_NE(page, nullptr);
            ASSERT_TRUE(page->isVisible()) << view.name;
            page->Panel()->SetSelectedBand(view.selectedBand);
            page->Panel()->repaint();
            ExpectAllTextsFit(window.get(), State(view.name));
            SaveScreenshot(page, ShotName((std::string("eq-") + view.name + suffix).c_str()));
        }
    }

    QTemporaryDir settingsDir;
    std::shared_ptr<VirtualDevice> device = std::make_shared<VirtualDevice>("KR710Q");
    std::unique_ptr<CSonoriaDlg> window;
};

TEST_P(TextFitTest, MainWindowDisconnectedConnectedAndRoutedToTheRear) {
    window = std::make_unique<CSonoriaDlg>();
    window->Session().SetStartupDelay(24 * 3600 * 1000);  // no connection until asked
    window->show();
    ASSERT_EQ(window->Language(), GetParam());
    ShowLongestValues();
    ExpectAllTextsFit(window.get(), State("disconnected"));
    SaveScreenshot(window.get(), ShotName("main-disconnected"));

    window->Session().StartupConnection();
    ASSERT_EQ(g_bDeviceOpen.load(), 1);
    ASSERT_TRUE(test::WaitUntil([&] { return !SyncWorkersRunning() && window->SyncWindow() == nullptr; }));
    ShowLongestValues();
    ExpectAllTextsFit(window.get(), State("connected"));
    SaveScreenshot(window.get(), ShotName("main-connected"));

    g_Device.rearRouting.store(1);
    ShowLongestValues();
    ExpectAllTextsFit(window.get(), State("routed to the rear"));
    SaveScreenshot(window.get(), ShotName("main-rear"));
}

// Every notice the program shows in the information window, by language.
const char* const kChineseNotices[] = {
    "话筒音量已经被锁定!", "音乐音量已经被锁定!", "载入模式已锁定!", "存储模式已锁定!", "已储存模式四",
    "请先连接设备再执行此操作!", "机器没有连接!", "保存设置成功!", "遥控器键码保存成功!", "载入遥控文件成功",
    "载入遥控文件失败", "保存遥控文件成功", "保存遥控文件失败", "请先连接设备!", "请等待进入升级模式",
    "升级完成，正在重启中……", "设备没有连接!", "错误,建议重连设备", "中置超低转后置输出", "后置转中置超低输出",
    "升级失败,请重试!",
};
const char* const kEnglishNotices[] = {
    "Load mode locked!", "Save mode locked!", "Saved Mode4", "Setting saved", "Save remote control key successed !",
    "Wait to upgrade mode", "Restart……", "Device is disconnected!", "Center sub to rear", "Rear to center sub",
    "Upgrade failed, please retry!",
};

TEST_P(TextFitTest, ChannelEqPage) {
    OpenConnected();
    ExpectEqPageFits(kChannelEqPage, {{IDC_FLOW_MIC_PEQ, 3, "mic"}, {IDC_FLOW_MUSIC_PEQ, 1, "music"}});
}

TEST_P(TextFitTest, MainOutputEqPage) {
    OpenConnected();
    ExpectEqPageFits(kMainOutputEqPage,
                     {{IDC_FLOW_MAIN_MIC_PEQ, 0, "main-mic"}, {IDC_FLOW_MAIN_MUSIC_PEQ, 1, "main-music"}});
}

TEST_P(TextFitTest, CenterSubEqPageAlsoRoutedToTheRear) {
    OpenConnected();
    ExpectEqPageFits(kCenterSubEqPage,
                     {{IDC_FLOW_CENTER_MIC_PEQ, 0, "center-mic"}, {IDC_FLOW_CENTER_MUSIC_PEQ, 1, "center-music"},
                      {IDC_FLOW_CENTER_PEQ, 0, "center-out"}, {IDC_FLOW_SUB_MIC_PEQ, 1, "sub-mic"},
                      {IDC_FLOW_SUB_MUSIC_PEQ, 0, "sub-music"}, {IDC_FLOW_SUB_PEQ, 1, "sub-out"}});
    g_Device.rearRouting.store(1);
    window->RefreshAfterSync();
    ExpectEqPageFits(kCenterSubEqPage,
                     {{IDC_FLOW_SUB_MIC_PEQ, 0, "sub-mic"}, {IDC_FLOW_SUB_MUSIC_PEQ, 1, "sub-music"},
                      {IDC_FLOW_SUB_PEQ, 0, "sub-out"}},
                     "-rear");
}

// The import preview over the channel EQ page with all it can show: lines
// not used, the file's preamp, both ways.
TEST_P(TextFitTest, FilterImportPreviewOverTheChannelEqPage) {
    OpenConnected();
    QTest::mouseClick(FindControl(window.get(), IDC_FLOW_MIC_PEQ), Qt::LeftButton);
    CEqPage* page = window->ChannelEqPage();
    QFile file(settingsDir.filePath("living room.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Equalizer: Room correction for the living room\nPreamp: -6.2 dB\n"
               "Filter 1: ON PK Fc 63 Hz Gain -7.5 dB Q 3.2\nFilter 2: ON PK Fc 180 Hz Gain 3.0 dB Q 1.4\n"
               "Filter 3: ON PK Fc 2400 Hz Gain -2.5 dB Q 2.0\nFilter 4: ON PK Fc 7800 Hz Gain 2.0 dB Q 1.0\n"
               "Filter 5: ON XX Fc 100 Hz\nFilter 6: ON PK Gain 2 dB Q 1\nChannel: L\n");
    file.close();
    SetOpenFileHandler([&](const QString&) { return file.fileName(); });
    QTest::mouseClick(FindControl(page, CEqPage::kImportId), Qt::LeftButton);
    CEqImportPreview* preview = page->FilePorter()->Preview();
    ASSERT_NE(preview, nullptr);
    ExpectAllTextsFit(preview, State("import preview"));
    // The window with the preview where it stands over it.
    page->Panel()->repaint();
    QPixmap shot = window->grab();
    QPainter(&shot).drawPixmap(window->mapFromGlobal(preview->pos()), preview->grab());
    QDir().mkpath(SONORIA_SCREENSHOT_DIR);
    shot.save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/%1.png").arg(ShotName("eq-import-preview")));
    page->FilePorter()->CancelPreview();
    SetOpenFileHandler({});
}

TEST_P(TextFitTest, CompressorPage) {
    OpenConnected();
    QTest::mouseClick(FindControl(window.get(), IDC_FLOW_GATE_COMP), Qt::LeftButton);
    CMicCompDlg* page = window->CompressorPage();
    ASSERT_TRUE(page->isVisible());
    // The widest value text of each slider, with the compressor off (the curve shows "OFF").
    const QFontMetrics metrics(FindControl(page, CMicCompDlg::kGateSliderId + CMicCompDlg::kValueTextOffset)->font());
    for (const char* name : {"MicGateThreshold", "MicCompThreshold", "MicCompRatio", "MicCompAttack", "MicCompRelease"}) {
        StoreWidestValue(*FindParam(name), metrics);
    }
    StoreValue(*FindParam("MicCompEnable"), 0);
    window->RefreshAfterSync();
    ExpectAllTextsFit(window.get(), State("compressor off"));
    SaveScreenshot(page, ShotName("compressor-off"));
    // Switched on, a threshold and ratio that bend the curve.
    StoreValue(*FindParam("MicCompEnable"), 1);
    StoreValue(*FindParam("MicCompThreshold"), 64);
    StoreValue(*FindParam("MicCompRatio"), 64);
    window->RefreshAfterSync();
    ExpectAllTextsFit(window.get(), State("compressor on"));
    SaveScreenshot(page, ShotName("compressor-on"));
}

TEST_P(TextFitTest, InformationWindowWithEveryNotice) {
    SetCurrentLanguage(GetParam());
    QPointer<CInfoDlg> info = new CInfoDlg(nullptr);
    const QFontMetrics metrics = FindControlAs<QLabel>(info.data(), kInfoTextId)->fontMetrics();
    QString longest;
    const auto check = [&](const char* notice) {
        const QString text = QString::fromUtf8(notice);
        info->ShowText(text, 60000);
        ExpectAllTextsFit(info.data(), State(notice));
        if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(longest)) longest = text;
    };
    if (GetParam() == kLanguageEnglish) {
        for (const char* notice : kEnglishNotices) check(notice);
    } else {
        for (const char* notice : kChineseNotices) check(notice);
    }
    info->ShowText(longest, 60000);
    SaveScreenshot(info.data(), ShotName("info-longest"));
    delete info.data();
}

// The level, mix and delay windows of the flow buttons and the automatic
// subwoofer window, with their widest numbers.
TEST_P(TextFitTest, LevelMixDelayAndAutoSubWindows) {
    OpenConnected();
    // Into the active copy: the rear one once routed to the rear.
    const auto storeWidestLevels = [] {
        for (int block : {5, 6, 7, 8}) {
            for (int index : {17, 18, 21, 22}) SetParamFirst(block, index, 127);
            sonoria::SetParam(block, 24, {0x1F, 0xFE});  // 85.31ms
        }
    };
    storeWidestLevels();
    SetParamFirst(5, 18, 127);
    SetParamFirst(5, 19, 127);
    const auto check = [&](QWidget* popup, const char* what) {
        ASSERT_NE(popup, nullptr) << what;
        ExpectAllTextsFit(popup, State(what));
        SaveScreenshot(popup, ShotName(what));
        window->CloseTransientWindows();
    };
    window->ShowLevelPopup(IDC_FLOW_DIRECT);
    check(window->LevelPopup(), "level-popup");
    window->ShowLevelPopup(IDC_FLOW_PITCH);
    check(window->LevelPopup(), "pitch-popup");
    window->ShowLevelPopup(IDC_FLOW_SUB_PHASE);
    check(window->LevelPopup(), "phase-popup");
    window->ShowMixPopup(IDC_FLOW_MAIN_MIC);
    check(window->MixPopup(), "mix-popup");
    window->ShowDelayWindow(IDC_FLOW_SUB_DELAY);
    check(window->DelayWindow(), "delay-one-section");
    window->ShowDelayWindow(IDC_FLOW_MAIN_DELAY);
    check(window->DelayWindow(), "delay-two-sections");
    g_Device.rearRouting.store(1);
    storeWidestLevels();
    window->RefreshAfterSync();
    window->ShowDelayWindow(IDC_FLOW_SUB_DELAY);
    check(window->DelayWindow(), "delay-rear");
    g_Device.rearRouting.store(0);

    g_Device.autoSub[0].store(255);
    g_Device.autoSub[1].store(188);  // a stored ratio beyond the slider shows as stored
    window->ShowAutoSub();
    check(window->AutoSubWindow(), "autosub-on");
    g_Device.autoSub[0].store(0);
    window->ShowAutoSub();
    check(window->AutoSubWindow(), "autosub-off");
}

// The effect window in its two looks (reverb off with a plain echo, a gated
// reverb with the multi-tap echo), then its multi-tap window, each with the
// widest value every label can show.
TEST_P(TextFitTest, EffectWindowAndMultiTapWindow) {
    OpenConnected();
    QTest::mouseClick(FindControl(window.get(), IDC_FLOW_EFFECT), Qt::LeftButton);
    QPointer<CEfxDlg> effect = window->EffectWindow();
    ASSERT_NE(effect, nullptr);
    const QFontMetrics metrics(FindControl(effect.data(), 2178)->font());
    for (const char* name : {"ReverbInputGain", "ReverbTime", "ReverbPreDelay", "ReverbGate", "ReverbLevel",
                             "EchoInputGain", "EchoTime", "EchoFeedback", "EchoHighDamp", "EchoToReverb",
                             "EchoOutputGain", "TapMainLevel", "Tap1Level", "Tap1Delay", "Tap2Level", "Tap2Delay",
                             "Tap3Level", "Tap3Delay"}) {
        StoreWidestValue(*FindParam(name), metrics);
    }
    for (const auto& [preset, echo] : {std::pair{0, 1}, std::pair{15, 4}}) {
        SetParamSecond(3, 0, std::uint8_t(preset));
        SetParamSecond(2, 7, std::uint8_t(echo));
        window->RefreshAfterSync();
        effect->ReverbPanel()->SetSelectedBand(1);
        effect->EchoPanel()->SetSelectedBand(1);
        effect->repaint();
        const std::string look = "effect-preset" + std::to_string(preset) + "-echo" + std::to_string(echo);
        ExpectAllTextsFit(effect.data(), State(look.c_str()));
        SaveScreenshot(effect.data(), ShotName(look.c_str()));
    }
    QTest::mouseClick(FindControl(effect.data(), CEfxDlg::kAdvancedId), Qt::LeftButton);
    QPointer<CTapDlg> taps = window->MultiTapWindow();
    ASSERT_NE(taps, nullptr);
    taps->repaint();
    ExpectAllTextsFit(taps.data(), State("multi-tap"));
    SaveScreenshot(taps.data(), ShotName("multitap"));
}

TEST_P(TextFitTest, RemoteLearningWindowsWithEveryPrompt) {
    RegisterControlFactories();
    LoadLanguage(GetParam());
    {
        CRemoteDlg remote(nullptr, {});
        remote.show();
        ExpectAllTextsFit(&remote, State("remote learning"));
    }
    CRemoteStudyDlg progress(nullptr);
    progress.show();
    for (int key = 1; key <= 15; ++key) {
        progress.SetPrompt(CRemoteDlg::KeyPrompt(key));
        ExpectAllTextsFit(&progress, State(("learning key " + std::to_string(key)).c_str()));
    }
    progress.OnKeyLearned(0xAB);
    ExpectAllTextsFit(&progress, State("key learned"));
    SaveScreenshot(&progress, ShotName("remote-study-learned"));
}

TEST_P(TextFitTest, WirelessMicWindowWithEveryTip) {
    RegisterControlFactories();
    LoadLanguage(GetParam());
    CWMicDlg wmic(nullptr);
    wmic.show();
    auto* rooms = FindControlAs<QComboBox>(&wmic, kWmicRoomListId);
    for (int room = 0; room < rooms->count(); ++room) {
        rooms->setCurrentIndex(room);
        ExpectAllTextsFit(&wmic, State(("room " + std::to_string(room)).c_str()));
    }
    SaveScreenshot(&wmic, ShotName("wireless-mics"));
}

TEST_P(TextFitTest, SynchronisationProgressWindow) {
    CSynDlg progress(nullptr, {});
    ExpectAllTextsFit(&progress, State("progress"));
}

TEST_P(TextFitTest, FunctionWindowWithAndWithoutTheWirelessButton) {
    OpenConnected();
    window->ShowFunction();
    CDlgFunction* function = window->FunctionWindow();
    ASSERT_NE(function, nullptr);
    ExpectAllTextsFit(function, State("function"));
    SaveScreenshot(function, ShotName("function"));
    g_Device.machineName.Set(kWirelessModel);
    window->RefreshAfterSync();
    ASSERT_FALSE(FindControl(function, CDlgFunction::kWirelessId)->isHidden());
    ExpectAllTextsFit(function, State("function with the wireless button"));
    SaveScreenshot(function, ShotName("function-wireless"));
}

TEST_P(TextFitTest, MachineSettingsWithEveryLockAndTheWidestValues) {
    OpenConnected();
    // One power-on volume off ("Invalid"), the other at its widest; every lock on.
    const std::uint8_t record[kMachineRecordSize] = {0, 255, 127, 127, 126, 49, 49, 1, 0xFF};
    for (std::size_t i = 0; i < kMachineRecordSize; ++i) g_Device.machineDevice[i].store(record[i]);
    window->ShowMachineSettings();
    COtherDlg* settings = window->MachineSettingsWindow();
    ASSERT_NE(settings, nullptr);
    ExpectAllTextsFit(settings, State("machine settings"));
    SaveScreenshot(settings, ShotName("machine-settings"));
}

TEST_P(TextFitTest, LogoAboutAndFirmwareWindows) {
    OpenConnected();
    window->ShowLogo();
    window->ShowAbout();
    window->ShowFirmwareUpgrade();
    window->ShowWaitForUpgrade(QString());
    const std::pair<QWidget*, const char*> shots[] = {
        {window->LogoWindow(), "logo"}, {window->AboutWindow(), "about"},
        {window->UpgradeWindow(), "upgrade"}, {window->WaitForUpgradeWindow(), "wait-upgrade"}};
    for (const auto& [shown, name] : shots) {
        ASSERT_NE(shown, nullptr) << name;
        ExpectAllTextsFit(shown, State(name));
        SaveScreenshot(shown, ShotName(name));
    }
    window->ShowWaitForUpgrade(QString::fromUtf8(GetParam() == kLanguageEnglish ? "Please restart machine!"
                                                                                 : "升级完成，请重启机器电源!"));
    ExpectAllTextsFit(window->WaitForUpgradeWindow(), State("wait-upgrade restart"));
    SaveScreenshot(window->WaitForUpgradeWindow(), ShotName("wait-upgrade-restart"));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, TextFitTest, ::testing::Values(kLanguageChinese, kLanguageEnglish),
                         [](const auto& info) { return std::string(LanguageName(info.param)); });

}  // namespace
}  // namespace sonoria

namespace sonoria {
namespace {

// The check itself, on controls made too narrow on purpose.
TEST(TextFitCheck, ReportsEveryKindOfControlTooNarrowForItsTextAndNothingElse) {
    const ControlSpec controls[] = {
        {1, ControlKind::Label, "Disconnected", 0, 0, 20, 8},
        {2, ControlKind::Label, "Fits", 0, 10, 60, 8},
        {3, ControlKind::Label, "Hidden and far too long", 0, 20, 10, 8, kHidden},
        {4, ControlKind::CheckBox, "C&&S To Rear L&&R", 0, 30, 40, 10},
        {5, ControlKind::CheckBox, "MFS", 0, 40, 40, 10},
        {6, ControlKind::PushButton, "Close", 0, 50, 15, 14},
    };
    QWidget window;
    BuildDialog(&window, {321, "", 200, 100, kMainWindowFont, controls});
    // Image buttons on a pill face with a five-pixel transparent margin.
    QImage pill(150, 45, QImage::Format_ARGB32);
    pill.fill(Qt::transparent);
    QPainter(&pill).fillRect(5, 5, 140, 35, QColor(0, 118, 116));
    const auto imageButton = [&](int id, const char* text, int widthDu) {
        auto* button = new CGdipButton(&window);
        button->setGeometry(DialogUnitsToPixels(kMainWindowFont, 0, 60 + 20 * (id - 7), widthDu, 14));
        button->SetStandardImage(pill);
        button->setText(QString::fromUtf8(text));
        SetControlId(button, id);
    };
    imageButton(7, "Delay 85.31ms", 47);    // a pixel smaller, and whole
    imageButton(8, "Delay 341.32ms", 30);   // elided: not whole
    imageButton(9, "PEQ", 34);

    std::vector<int> reported;
    for (const test::ClippedText& clipped : test::FindClippedTexts(&window)) {
        EXPECT_EQ(clipped.dialogId, 321);
        EXPECT_GT(clipped.needed, clipped.available) << clipped.controlId;
        reported.push_back(clipped.controlId);
    }
    EXPECT_EQ(reported, (std::vector<int>{1, 4, 6, 8}));

    const std::vector<test::FitAllowance> allowed = {{321, 1, "a reason"}, {321, 4, "a reason"}, {321, 6, "a reason"}};
    const QString report = test::UnallowedClippings(&window, allowed);
    EXPECT_TRUE(report.startsWith("window 321, control 8 \"Delay 341.32ms\": needs ")) << report.toStdString();
}

}  // namespace
}  // namespace sonoria
