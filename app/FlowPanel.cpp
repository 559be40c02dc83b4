#include "app/FlowPanel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QGuiApplication>
#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

#include "controls/ControlText.h"
#include "app/MainWindowTemplate.h"
#include "controls/CGdipButton.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ParamReaders.h"
#include "state/ParameterTable.h"
#include "state/Senders.h"
#include "state/ValueScaling.h"

namespace sonoria {
namespace {

// Button pictures.
constexpr int kGlowImage = 294;      // selected
constexpr int kTealImage = 291;
constexpr int kBlueImage = 292;
constexpr int kDarkBlueImage = 293;
constexpr int kGreenEffectImage = 295;
constexpr int kGreenImage = 296;     // every block not named otherwise

const QColor kCaptionColor(60, 240, 40);
const QColor kOutputCaptionColor(120, 120, 120);  // output labels and the unused effect block
const QColor kSelectedCaptionColor(255, 255, 255);

constexpr int kUnusedEffectButton = 2238;
constexpr int kSwitchOn = 1;
// A pitch byte of 0 is an unset shifter: shown as no shift.
constexpr int kPitchNoShift = 64;
constexpr const char* kBaseModelVariant = "KR710P";

struct FlowButtonEntry {
    ControlSpec control;
    int image;
    const char* hint;  // tool tips exist in Chinese only
};

using CK = ControlKind;
const FlowButtonEntry kFlowButtons[] = {
    {{2200, CK::ImageButton, "噪声门+压限", 17, 40, 46, 16}, kGreenImage, "话筒噪声门和压限调节窗口"},
    {{2201, CK::ImageButton, "移频器", 76, 40, 50, 16}, kGreenImage, "话筒移频量设置"},
    {{2202, CK::ImageButton, "PEQ", 136, 40, 34, 16}, kBlueImage, "话筒的总均衡"},
    {{2203, CK::ImageButton, "直达音量", 187, 40, 46, 16}, kGreenImage, "话筒直达声总音量"},
    {{2204, CK::ImageButton, "噪声门", 17, 84, 46, 16}, kGreenImage, "音乐噪声门调节"},
    {{2205, CK::ImageButton, "变调器", 76, 84, 50, 16}, kGreenImage, "音乐变调调节"},
    {{2206, CK::ImageButton, "PEQ", 136, 84, 34, 16}, kBlueImage, "音乐总均衡调试窗口"},
    {{2207, CK::ImageButton, "音乐音量", 385, 178, 48, 14, kHidden}, kGreenImage, nullptr},
    {{2208, CK::ImageButton, "效果", 199, 62, 34, 16}, kGreenEffectImage, "效果调节窗口"},
    {{2209, CK::ImageButton, "混合", 377, 181, 50, 14, kHidden}, kGreenImage, nullptr},
    {{2210, CK::ImageButton, "混合", 377, 181, 38, 14, kHidden}, kGreenImage, nullptr},
    {{2211, CK::ImageButton, "Button2", 378, 179, 50, 14, kHidden}, kGreenImage, nullptr},
    {{2212, CK::ImageButton, "PEQ", 408, 76, 34, 16}, kTealImage, "中置输出均衡"},
    {{2213, CK::ImageButton, "相位", 451, 121, 47, 16}, kDarkBlueImage, "超低相位修正"},
    {{2214, CK::ImageButton, "PEQ", 408, 114, 34, 16}, kDarkBlueImage, "超低输出均衡"},
    {{2215, CK::ImageButton, "延时", 307, 48, 47, 14}, kGreenImage, "主输出左通道延时"},
    {{2216, CK::ImageButton, "延时", 307, 85, 47, 14}, kTealImage, "中置输出通道延时"},
    {{2217, CK::ImageButton, "延时", 306, 121, 47, 14}, kDarkBlueImage, "超低输出通道延时"},
    {{2218, CK::ImageButton, "+PEQ", 363, 33, 34, 14}, kGreenImage, "话筒主输出均衡"},
    {{2219, CK::ImageButton, "+PEQ", 363, 49, 34, 14}, kGreenImage, "音乐主输出均衡"},
    {{2220, CK::ImageButton, "+PEQ+", 363, 70, 34, 14}, kTealImage, "话筒中置输出均衡"},
    {{2221, CK::ImageButton, "+PEQ+", 363, 85, 34, 14}, kTealImage, "音乐中置输出均衡"},
    {{2222, CK::ImageButton, "+PEQ+", 363, 106, 34, 14}, kDarkBlueImage, "话筒超低输出均衡"},
    {{2223, CK::ImageButton, "+PEQ+", 363, 121, 34, 14}, kDarkBlueImage, "音乐超低输出均衡"},
    {{2224, CK::ImageButton, "效果音量", 147, 62, 46, 16}, kGreenImage, "话筒效果声总音量"},
    {{2225, CK::ImageButton, "效果", 299, 170, 39, 11, kHidden}, kTealImage, nullptr},
    {{2226, CK::ImageButton, "话筒", 257, 70, 39, 14}, kTealImage, "中置输出的话筒音量"},
    {{2227, CK::ImageButton, "音乐", 257, 85, 39, 14}, kTealImage, "中置输出的音乐声音量"},
    {{2228, CK::ImageButton, "效果", 299, 181, 39, 11, kHidden}, kDarkBlueImage, nullptr},
    {{2229, CK::ImageButton, "话筒", 257, 106, 39, 14}, kDarkBlueImage, "超低输出的话筒音量"},
    {{2230, CK::ImageButton, "音乐", 257, 121, 39, 14}, kDarkBlueImage, "超低输出的音乐声音量"},
    {{2231, CK::ImageButton, "延时", 359, 157, 47, 13, kHidden}, kGreenImage, "主输出右通道延时"},
    {{2232, CK::ImageButton, "超低输出(S)", 451, 104, 47, 16, kDisabled}, kDarkBlueImage,
     "点击后进行中置超低和后置切换"},
    {{2233, CK::ImageButton, "中置输出(C)", 451, 76, 47, 16, kDisabled}, kTealImage,
     "点击后进行中置超低和后置切换"},
    {{2234, CK::ImageButton, "主输出左(ML)", 451, 31, 47, 16, kDisabled}, kGreenImage, nullptr},
    {{2235, CK::ImageButton, "主输出左(MR)", 451, 49, 47, 16, kDisabled}, kGreenImage, nullptr},
    {{2236, CK::ImageButton, "话筒音量", 384, 178, 48, 14, kHidden}, kGreenImage, nullptr},
    {{2237, CK::ImageButton, "音乐音量", 380, 182, 46, 14, kHidden | kDisabled}, kGreenImage, nullptr},
    {{2238, CK::ImageButton, "效果", 298, 160, 39, 11, kHidden | kDisabled}, kGreenImage, nullptr},
    {{2239, CK::ImageButton, "话筒", 257, 33, 39, 14}, kGreenImage, nullptr},
    {{2240, CK::ImageButton, "音乐", 257, 48, 39, 14}, kGreenImage, nullptr},
};
static_assert(std::size(kFlowButtons) == kFlowButtonCount);

const ControlSpec kOtherControls[] = {
    {IDC_SHIFT_SWITCH, CK::CheckBox, "移频开", 85, 29, 37, 10},
    {IDC_PITCH_SWITCH, CK::CheckBox, "变调开", 85, 73, 37, 10, kHidden},
    {IDC_REAR_SWITCH, CK::CheckBox, "中置超低转后置", 433, 65, 64, 10},
    // Painted by the main window; only their rectangles are used.
    {IDC_DIAGRAM_AREA, CK::Frame, "", 65, 29, 385, 111, kHidden},
    {IDC_PANEL_FRAME, CK::Frame, "", 1, 25, 504, 115, kHidden},
};

// The blocks that exist only while centre and sub feed their own outputs.
constexpr int kCenterOnlyBlocks[] = {2212, 2220, 2221, 2226, 2227, 2213, 2214, 2216};

// The grey output labels can never be clicked; grey captions mark them.
bool HasGreyCaption(int id) {
    return (id >= IDC_FLOW_SUB_LABEL && id <= IDC_FLOW_MAIN_R_LABEL) || id == kUnusedEffectButton;
}

enum class ValueKind { Rule, Pitch };

struct Caption {
    int id;
    const char* chinese;
    const char* english;
    std::string_view param;
    ValueKind kind = ValueKind::Rule;
};

// Blocks whose caption carries their value.
const Caption kCaptions[] = {
    {2204, "噪声门", "MNG ", "MusicGateThreshold"},
    {2201, "移频 ", "MFS ", "MicShiftAmount"},
    {2205, "变调", "Pitch", "PitchShift", ValueKind::Pitch},
    {2203, "直达音量 ", "Direct ", "MicDirectVolume"},
    {2224, "效果音量 ", "Efx Vol ", "EffectVolume"},
    {2225, "效果 ", "Efx ", "CenterEffectLevel"},
    {2226, "话筒 ", "Mic ", "CenterMicLevel"},
    {2239, "话筒 ", "Mic ", "MainMicLevel"},
    {2227, "音乐 ", "Music ", "CenterMusicLevel"},
    {2240, "音乐 ", "Music ", "MainMusicLevel"},
    {2228, "效果 ", "Efx ", "SubEffectLevel"},
    {2229, "话筒 ", "Mic ", "SubMicLevel"},
    {2230, "音乐 ", "Music ", "SubMusicLevel"},
    {2213, "相位 ", "Phase ", "SubPhase"},
    {2217, "延时 ", "Delay ", "SubDelay"},
    {2215, "延时 ", "Delay ", "MainLDelay"},
    {2216, "延时 ", "Delay ", "CenterDelay"},
    {2231, "延时 ", "Delay ", "MainRDelay"},
};
// Button 2200: the gate alone on the base models, gate and compressor on the others.
const Caption kGateCaption{IDC_FLOW_GATE_COMP, "噪声门", "MNG ", "MicGateThreshold"};
constexpr const char* kGateCompChinese = "噪声门+压限";
constexpr const char* kGateCompEnglish = "MNG+CP";

// Texts of the routing display: [rear][english].
struct RoutingTexts {
    const char* text[2][2];
};
const RoutingTexts kCenterVolumeCaption{{{"中置音量", "Center"}, {"后置左", "Rear.L"}}};
const RoutingTexts kSubVolumeCaption{{{"超低音量", "Sub"}, {"后置右", "Rear.R"}}};
const RoutingTexts kCenterOutputLabel{{{"中置输出(C)", "Center(C)"}, {"后置左(R.L)", "Rear L(R.L)"}}};
const RoutingTexts kSubOutputLabel{{{"超低输出(S)", "Sub(S)"}, {"后置右(R.R)", "Rear R(R.R)"}}};
// The notice of a routing change, by the routing before it: [rear][english].
const RoutingTexts kRoutingNotice{{{"中置超低转后置输出", "Center sub to rear"}, {"后置转中置超低输出", "Rear to center sub"}}};

QString Pick(const RoutingTexts& texts, bool rear) {
    return QString::fromUtf8(texts.text[rear ? 1 : 0][IsEnglish() ? 1 : 0]);
}

bool RoutedToRear() { return g_Device.rearRouting.load(std::memory_order_relaxed) == 1; }

QString MachineName() { return QString::fromStdString(g_Device.machineName.Get()); }

bool NameIs(const QString& name, const char* model) {
    return name.compare(QLatin1String(model), Qt::CaseInsensitive) == 0;
}

// The base model has the gate popup in place of the compressor page and fewer EQ controls.
bool IsBaseModel() { return NameIs(MachineName(), kDefaultMachineName); }

int ParamValue(std::string_view name) {
    const ParamInfo* param = FindParam(name);
    return param != nullptr ? ReadParam(*param) : 0;
}

QString ValueText(const Caption& caption) {
    const ParamInfo* param = FindParam(caption.param);
    if (param == nullptr) return {};
    int value = ReadParam(*param);
    if (caption.kind == ValueKind::Pitch && value == 0) value = kPitchNoShift;
    return QString::fromStdString(FormatParamText(*param, value));
}

QString CaptionText(const Caption& caption) {
    return QString::fromUtf8(IsEnglish() ? caption.english : caption.chinese) + ValueText(caption);
}

void SetCheckedQuietly(QWidget* window, int id, bool checked) {
    auto* box = FindControlAs<QAbstractButton>(window, id);
    if (box == nullptr) return;
    const bool wasBlocked = box->blockSignals(true);
    box->setChecked(checked);
    box->blockSignals(wasBlocked);
}

}  // namespace

std::span<const ControlSpec> FlowPanelControls() {
    static const std::vector<ControlSpec> controls = [] {
        std::vector<ControlSpec> all;
        for (const FlowButtonEntry& button : kFlowButtons) all.push_back(button.control);
        all.insert(all.end(), std::begin(kOtherControls), std::end(kOtherControls));
        return all;
    }();
    return controls;
}

FlowPanel::FlowPanel(QWidget* window, FlowPanelActions actions)
    : QObject(window), m_window(window), m_actions(std::move(actions)) {}

FlowPanel::~FlowPanel() {
    if (m_routingChange) QGuiApplication::restoreOverrideCursor();
}

CGdipButton* FlowPanel::FlowButton(int id) const {
    if (id < IDC_FLOW_FIRST || id > IDC_FLOW_LAST) return nullptr;
    return FindControlAs<CGdipButton>(m_window, id);
}

void FlowPanel::Init() {
    for (const auto& entry : kFlowButtons) {
        const int id = entry.control.id;
        CGdipButton* button = FlowButton(id);
        if (button == nullptr) continue;
        button->SetAlternateImage(kGlowImage);
        button->SetStandardImage(entry.image);
        button->SetCaptionColor(HasGreyCaption(id) ? kOutputCaptionColor : kCaptionColor);
        if (entry.hint != nullptr) {
            const QString hint = QString::fromUtf8(entry.hint);
            button->setToolTip(hint);
            button->SetHintText(hint);
        }
        if (!button->isHidden() && button->isEnabled()) {
            // The hand marks every block a click opens, the main mix blocks
            // 2239 and 2240 included: they open their popups like the others.
            button->setCursor(Qt::PointingHandCursor);
            connect(button, &QAbstractButton::clicked, this, [this, id] { SelectFlowBlock(id); });
        }
    }

    // Clicks only: programmatic changes (mirroring the device) must send nothing.
    if (auto* shift = FindControlAs<QCheckBox>(m_window, IDC_SHIFT_SWITCH))
        connect(shift, &QAbstractButton::clicked, this, &FlowPanel::OnShiftSwitch);
    if (auto* rear = FindControlAs<QCheckBox>(m_window, IDC_REAR_SWITCH))
        connect(rear, &QAbstractButton::clicked, this, &FlowPanel::OnRoutingSwitch);
}

void FlowPanel::SelectFlowBlock(int id) {
    CGdipButton* clicked = FlowButton(id);
    // A block the user cannot reach does nothing, whoever asks.
    if (clicked == nullptr || clicked->isHidden() || !clicked->isEnabled()) return;

    for (const auto& entry : kFlowButtons) {
        if (CGdipButton* button = FlowButton(entry.control.id)) {
            button->SetSelected(false);
            button->SetGreyed(false);
            button->SetCaptionColor(HasGreyCaption(entry.control.id) ? kOutputCaptionColor : kCaptionColor);
        }
    }
    clicked->SetSelected(true);
    clicked->SetCaptionColor(kSelectedCaptionColor);
    m_selected = id;

    switch (id) {
        case IDC_FLOW_GATE_COMP:
            if (IsBaseModel()) {
                if (m_actions.showLevelPopup) m_actions.showLevelPopup(id);
            } else {
                SetupPage(kCompressorPage, id);
                ShowPage(kCompressorPage);
            }
            break;
        case IDC_FLOW_MIC_PEQ:
        case IDC_FLOW_MUSIC_PEQ:
            SetupPage(kChannelEqPage, id);
            ShowPage(kChannelEqPage);
            break;
        case IDC_FLOW_MAIN_MIC_PEQ:
        case IDC_FLOW_MAIN_MUSIC_PEQ:
            SetupPage(kMainOutputEqPage, id);
            ShowPage(kMainOutputEqPage);
            break;
        case IDC_FLOW_CENTER_MIC_PEQ:
        case IDC_FLOW_CENTER_MUSIC_PEQ:
        case IDC_FLOW_SUB_MIC_PEQ:
        case IDC_FLOW_SUB_MUSIC_PEQ:
        case IDC_FLOW_CENTER_PEQ:
        case IDC_FLOW_SUB_PEQ:
            SetupPage(kCenterSubEqPage, id);
            ShowPage(kCenterSubEqPage);
            break;
        case IDC_FLOW_EFFECT:
            if (m_actions.showEffect) m_actions.showEffect();
            break;
        case IDC_FLOW_SHIFT:
        case IDC_FLOW_DIRECT:
        case IDC_FLOW_MUSIC_GATE:
        case IDC_FLOW_PITCH:
        case IDC_FLOW_SUB_PHASE:
        case IDC_FLOW_EFFECT_VOLUME:
        case IDC_FLOW_CENTER_MUSIC:
        case IDC_FLOW_SUB_MUSIC:
        case IDC_FLOW_MAIN_MUSIC:
            if (m_actions.showLevelPopup) m_actions.showLevelPopup(id);
            break;
        case IDC_FLOW_CENTER_MIC:
        case IDC_FLOW_SUB_MIC:
        case IDC_FLOW_MAIN_MIC:
            if (m_actions.showMixPopup) m_actions.showMixPopup(id);
            break;
        case IDC_FLOW_MAIN_DELAY:
        case IDC_FLOW_CENTER_DELAY:
        case IDC_FLOW_SUB_DELAY:
            if (m_actions.showDelayWindow) m_actions.showDelayWindow(id);
            break;
        default: break;
    }
}

void FlowPanel::ShowPage(int page) {
    if (page < 0 || page >= kFlowPageCount) return;
    m_currentPage = page;
    if (m_actions.showPage) m_actions.showPage(page);
}

void FlowPanel::SetupPage(int page, int buttonId) {
    if (m_actions.setupPage) m_actions.setupPage(page, buttonId);
}

void FlowPanel::RefreshFlowCaptions() {
    for (const Caption& caption : kCaptions) {
        if (CGdipButton* button = FlowButton(caption.id)) SetControlText(button, CaptionText(caption));
    }
    if (CGdipButton* gate = FlowButton(IDC_FLOW_GATE_COMP)) {
        const QString name = MachineName();
        if (NameIs(name, kDefaultMachineName) || NameIs(name, kBaseModelVariant)) {
            SetControlText(gate, CaptionText(kGateCaption));
        } else {
            SetControlText(gate, QString::fromUtf8(IsEnglish() ? kGateCompEnglish : kGateCompChinese));
        }
    }
}

void FlowPanel::MoveOutputLabels(bool rear) {
    const auto moveTopTo = [this](int id, int top) {
        if (QWidget* label = FlowButton(id)) label->move(label->x(), top);
    };
    const auto moveBottomTo = [this](int id, int bottomEdge) {
        if (QWidget* label = FlowButton(id)) label->move(label->x(), bottomEdge - label->height());
    };
    const QWidget* centerPeq = FlowButton(IDC_FLOW_CENTER_PEQ);
    const QWidget* subMicPeq = FlowButton(IDC_FLOW_SUB_MIC_PEQ);
    const QWidget* subMusicPeq = FlowButton(IDC_FLOW_SUB_MUSIC_PEQ);
    if (centerPeq == nullptr || subMicPeq == nullptr || subMusicPeq == nullptr) return;
    const int subMicBottomEdge = subMicPeq->y() + subMicPeq->height();
    if (rear) {
        moveBottomTo(IDC_FLOW_CENTER_LABEL, subMicBottomEdge);
        moveTopTo(IDC_FLOW_SUB_LABEL, subMusicPeq->y());
    } else {
        moveTopTo(IDC_FLOW_CENTER_LABEL, centerPeq->y());
        moveBottomTo(IDC_FLOW_SUB_LABEL, subMicBottomEdge);
        moveTopTo(IDC_FLOW_SUB_PHASE, subMusicPeq->y());
    }
}

void FlowPanel::RefreshRoutingDisplay() {
    const bool rear = RoutedToRear();
    if (m_currentPage == kCenterSubEqPage && rear) {
        SetupPage(kCenterSubEqPage, kRearRoutingPageSetup);
        ShowPage(kCenterSubEqPage);
    }
    SetupPage(kCenterSubEqPage, kPageRefreshOnly);

    for (int id : kCenterOnlyBlocks) {
        if (QWidget* button = FlowButton(id)) button->setVisible(!rear);
    }
    MoveOutputLabels(rear);

    if (QWidget* label = FindControl(m_window, IDC_CENTER_CAPTION)) SetControlText(label, Pick(kCenterVolumeCaption, rear));
    if (QWidget* label = FindControl(m_window, IDC_SUB_CAPTION)) SetControlText(label, Pick(kSubVolumeCaption, rear));
    if (QWidget* label = FlowButton(IDC_FLOW_CENTER_LABEL)) SetControlText(label, Pick(kCenterOutputLabel, rear));
    if (QWidget* label = FlowButton(IDC_FLOW_SUB_LABEL)) SetControlText(label, Pick(kSubOutputLabel, rear));

    if (m_actions.refreshVolumeStrip) m_actions.refreshVolumeStrip();
    if (m_actions.invalidate) m_actions.invalidate();
}

void FlowPanel::CheckBoxesFromImage() {
    SetCheckedQuietly(m_window, IDC_SHIFT_SWITCH, ParamValue("MicShiftEnable") == kSwitchOn);
    SetCheckedQuietly(m_window, IDC_PITCH_SWITCH, ParamValue("PitchEnable") == kSwitchOn);
    SetCheckedQuietly(m_window, IDC_REAR_SWITCH, RoutedToRear());
}

void FlowPanel::OnShiftSwitch(bool checked) { SetMicShiftEnable(checked ? kSwitchOn : 0); }

void FlowPanel::OnRoutingSwitch(bool checked) {
    if (m_routingChange) {
        // One change at a time: this click is undone.
        SetCheckedQuietly(m_window, IDC_REAR_SWITCH, !checked);
        return;
    }
    m_routingChange = true;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_actions.showInfo) m_actions.showInfo(Pick(kRoutingNotice, RoutedToRear()), kRoutingInfoMs);
    // About forty commands and seconds of ramps: never on this thread.
    if (m_actions.changeRouting) {
        m_actions.changeRouting(checked);
    } else {
        OnRoutingDone();
    }
}

void FlowPanel::OnRoutingDone() {
    if (!m_routingChange) return;
    m_routingChange = false;
    QGuiApplication::restoreOverrideCursor();
    SetupPage(kCenterSubEqPage, kRearRoutingPageSetup);
    ShowPage(m_currentPage);
    RefreshRoutingDisplay();
    RefreshFlowCaptions();
    SetCheckedQuietly(m_window, IDC_REAR_SWITCH, RoutedToRear());
}

}  // namespace sonoria
