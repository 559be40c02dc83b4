#include "effects/CEfxDlg.h"

#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>

#include <algorithm>
#include <chrono>
#include <span>
#include <thread>
#include <vector>

#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "controls/CXPGroupBox.h"
#include "controls/ControlText.h"
#include "controls/DialogTemplate.h"
#include "controls/LanguageTexts.h"
#include "eq/EqViews.h"
#include "eq/ui/CEqPanel.h"
#include "eq/ui/EqFilePorter.h"
#include "effects/CTapDlg.h"
#include "effects/EffectLook.h"
#include "state/DeviceState.h"
#include "state/EchoType.h"
#include "state/EqResets.h"
#include "state/Language.h"
#include "state/ParameterAddresses.h"
#include "state/ParamReaders.h"
#include "state/ParamSender.h"
#include "state/Senders.h"
#include "state/ValueScaling.h"

namespace sonoria {
namespace {

constexpr int kResetImage = 294;
constexpr int kAdvancedImage = 293;
const QColor kSectionFrame(255, 180, 0);
const QColor kListText(255, 0, 0);
const QColor kGreyedCaption(120, 120, 120);
// The device needs this long to load a new program before it is asked for
// the values it chose, and this long to answer all of them.
constexpr std::chrono::milliseconds kProgramLoadWait(100);
constexpr std::chrono::milliseconds kRereadWait(150);

// One slider row: name label, slider below it, value label right of the name.
struct SliderRow {
    int nameId;
    const char* name;  // the template's (English) text
    int nameX, nameY;
    int sliderId, sliderX, sliderY;
    int valueId, valueX, valueY;
    const char* param;
    const char* tooltip;  // Chinese in both languages
    bool hidden;          // shown by no state of the window; refreshed all the same
};

const SliderRow kRows[] = {
    {1089, "Direct To Reverb", 9, 37, 2123, 4, 48, 2178, 89, 36, "ReverbInputGain", "直达声发送至混响", false},
    {1063, "Time", 9, 72, 2112, 4, 83, 2162, 85, 71, "ReverbTime", "混响效果的时长", false},
    {1062, "Pre-Delay ", 9, 102, 2111, 4, 114, 2161, 85, 102, "ReverbPreDelay", "在说话后到听见声音之间的间隔", false},
    {1066, "Gate", 125, 37, 2115, 124, 48, 2165, 205, 36, "ReverbGate", "设置门阀值", false},
    {1069, "Level", 125, 72, 2116, 124, 83, 2166, 205, 71, "ReverbLevel", "混响电平大小", false},
    {1071, "Input Gain", 8, 200, 2118, 4, 213, 2168, 81, 200, "EchoInputGain", "输入至回声模块的音量大小", false},
    {1091, "Time", 8, 237, 2131, 4, 249, 2172, 81, 237, "EchoTime", "回声时长", false},
    {1078, "Feedback", 8, 273, 2120, 4, 285, 2177, 85, 273, "EchoFeedback", "回声的反馈速度", false},
    {1080, "HP-Decay", 127, 200, 2122, 124, 213, 2184, 209, 200, "EchoHighDamp", "反馈高频衰减", false},
    {1081, "Send To Reverb", 127, 237, 2107, 123, 249, 2157, 205, 237, "EchoToReverb", "发送至混响", false},
    {1082, "Output Gain", 127, 273, 2127, 124, 285, 2179, 209, 273, "EchoOutputGain", "回声输出音量大小", false},
    {1070, "Direct", 14, 132, 2117, 4, 142, 2167, 85, 132, "ReverbDirect", "直达电平大小", true},
    {1068, "HDAMP", 125, 102, 2114, 123, 113, 2164, 205, 102, "ReverbHighDamp", "高频滤波的衰减", true},
    {1090, "Feedback", 7, 299, 2113, 3, 308, 2163, 85, 299, "ReverbFeedback", "混响回声的反馈速度", true},
    {1079, "Main Delay Vol", 125, 300, 2119, 121, 309, 2173, 199, 300, "TapMainLevel", "回声音量的大小", true},
};

constexpr int kSliderWidth = 115;
constexpr int kSliderHeight = 12;
constexpr int kLabelHeight = 9;
constexpr int kMinValueWidth = 26;

// Refresh orders: the reverb section also shows the echo's send to reverb.
constexpr int kReverbSliders[] = {2107, 2111, 2112, 2113, 2114, 2115, 2116, 2123};
constexpr int kEchoSliders[] = {2117, 2118, 2131, 2119, 2120, 2122, 2127};
// The sliders a program switches off.
constexpr int kReverbProgramSliders[] = {2123, 2116, 2112, 2115, 2114, 2111};
constexpr int kReverbGateSlider = 2115;
constexpr int kGatedPresetFirst = 15;
constexpr int kGatedPresetLast = 18;
constexpr int kEchoProgramSliders[] = {2118, 2122, 2131, 2107, 2120, 2127};

const SliderRow* RowOfSlider(int sliderId) {
    for (const SliderRow& row : kRows) {
        if (row.sliderId == sliderId) return &row;
    }
    return nullptr;
}

std::vector<ControlSpec> BuildControls() {
    std::vector<ControlSpec> controls = {
        {1163, ControlKind::GroupBox, "", 1, 3, 592, 156},
        {1164, ControlKind::GroupBox, "", 1, 162, 592, 160},
        {CEfxDlg::kReverbPanelId, ControlKind::Label, "", 241, 8, 349, 149},
        {CEfxDlg::kEchoPanelId, ControlKind::Label, "", 241, 169, 349, 149},
        {1084, ControlKind::Label, "Reverb Effect", 4, 16, 48, 9},
        {CEfxDlg::kReverbPresetList, ControlKind::ComboBox, "", 54, 14, 80, 12},
        {CEfxDlg::kResetReverbEqId, ControlKind::ImageButton, "Reset EQ", 177, 14, 58, 14},
        {1085, ControlKind::Label, "Echo Effect", 4, 180, 39, 9},
        {CEfxDlg::kEchoTypeList, ControlKind::ComboBox, "", 46, 178, 78, 12},
        {CEfxDlg::kAdvancedId, ControlKind::ImageButton, "Advanced", 129, 178, 42, 14},
        {CEfxDlg::kResetEchoEqId, ControlKind::ImageButton, "Reset EQ", 177, 178, 58, 14},
        // Below each section's sliders.
        {CEfxDlg::kReverbImportId, ControlKind::ImageButton, "Import…", 4, 140, 48, 14},
        {CEfxDlg::kReverbExportId, ControlKind::ImageButton, "Export…", 56, 140, 48, 14},
        {CEfxDlg::kEchoImportId, ControlKind::ImageButton, "Import…", 4, 303, 48, 14},
        {CEfxDlg::kEchoExportId, ControlKind::ImageButton, "Export…", 56, 303, 48, 14},
    };
    for (const SliderRow& row : kRows) {
        const unsigned hidden = row.hidden ? kHidden : 0u;
        const int valueWidth = std::max(kMinValueWidth, row.sliderX + kSliderWidth - row.valueX);
        controls.push_back({row.nameId, ControlKind::Label, row.name, row.nameX, row.nameY, row.valueX - row.nameX - 1,
                            kLabelHeight, hidden});
        controls.push_back({row.sliderId, ControlKind::Slider, "", row.sliderX, row.sliderY, kSliderWidth,
                            kSliderHeight, hidden});
        controls.push_back({row.valueId, ControlKind::Label, "", row.valueX, row.valueY, valueWidth, kLabelHeight,
                            hidden | kRightAligned});
    }
    return controls;
}

DialogSpec EfxTemplate() {
    static const std::vector<ControlSpec> controls = BuildControls();
    return {CEfxDlg::kDialogId, "Mic Effect", 594, 326, kDialogFont8, controls};
}

const char* const kReverbPresets[CEfxDlg::kReverbPresetCount][2] = {
    {"0: 关闭", "0: OFF"},
    {"1: 小房间 A", "1: Short Room A"},
    {"2: 小房间 B", "2: Short Room B"},
    {"3: 小房间 C", "3: Short Room C"},
    {"4: 房间 A", "4: Room A"},
    {"5: 房间 B", "5: Room B"},
    {"6: 小礼堂 A", "6: Small Hall A"},
    {"7: 小礼堂 B", "7: Small Hall B"},
    {"8: 大礼堂 A", "8: Large Hall A"},
    {"9: 大礼堂 B", "9: Large Hall B"},
    {"10: 短金属", "10: Short Plate"},
    {"11: 人声金属", "11: Vocal Plate"},
    {"12: 教堂 A", "12: Church A"},
    {"13: 教堂 B", "13: Church B"},
    {"14: 大教堂", "14: Cathedral"},
    {"15: 混响门 A", "15: Gated Reverb A"},
    {"16: 混响门 B", "16: Gated Reverb B"},
    {"17: 金属门 A", "17: Gated Plate A"},
    {"18: 金属门 B", "18: Gated Plate B"},
};

const char* const kEchoTypes[kEchoTypeCount][2] = {
    {"0: 关闭", "0: OFF"},
    {"1: 单声回声", "1: Mono Echo"},
    {"2: 双声回声", "2: Stereo Echo"},
    {"3: 三连音回声", "3: Triplet Echo"},
    {"4: 多抽头回声", "4: Multi Tap Echo"},
};

// A list shows the device's value only when it names an entry; any other
// value leaves the list without a selection.
void SelectEntry(QComboBox* list, int value) {
    if (list == nullptr) return;
    list->setCurrentIndex(value >= 0 && value < list->count() ? value : -1);
}

// The open list is as wide as its longest entry, even where the closed list is narrower.
void FitDropDown(QComboBox* list) {
    int widest = 0;
    for (int i = 0; i < list->count(); ++i) {
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
    }
    constexpr int kEntryMargin = 16;
    list->view()->setMinimumWidth(widest + kEntryMargin);
}

// The graph's points from the device image, as their display texts show them.
void FillPanel(CEqPanel* panel, std::span<const EqViewValue> values) {
    if (panel == nullptr) return;
    for (const EqViewValue& value : values) {
        panel->FillBandValue(value.band, value.field, value.param->text, ReadParam(*value.param));
    }
    panel->update();
}

}  // namespace

QString ReverbPresetName(int index) {
    if (index < 0 || index >= CEfxDlg::kReverbPresetCount) return {};
    return QString::fromUtf8(kReverbPresets[index][IsEnglish() ? 1 : 0]);
}

QString EchoTypeName(int index) {
    if (index < 0 || index >= kEchoTypeCount) return {};
    return QString::fromUtf8(kEchoTypes[index][IsEnglish() ? 1 : 0]);
}

CEfxDlg::CEfxDlg(QWidget* owner) : QDialog(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);
    BuildDialog(this, EfxTemplate());
    m_reverbPanel = CEqPanel::ReplaceControl(FindControl(this, kReverbPanelId));
    m_echoPanel = CEqPanel::ReplaceControl(FindControl(this, kEchoPanelId));
    if (m_reverbPanel != nullptr) m_reverbPanel->SetLayout(kEqLayoutReverb, false);
    if (m_echoPanel != nullptr) m_echoPanel->SetLayout(kEqLayoutEcho, false);
    SetUpControls();
    SetEchoLayoutFromDevice();
    RefreshReverb();
    RefreshEcho();
    ApplyLanguage();
    CentreOver(this, owner);
}

CEfxDlg::~CEfxDlg() {
    // The multi-tap window is a child: it must go while this window is still
    // whole, and it must not call back into it.
    m_closing = true;
    delete m_tap.data();
    // The graphs die with the children, after this; they must not report to a window half gone.
    if (m_reverbPanel != nullptr) m_reverbPanel->disconnect(this);
    if (m_echoPanel != nullptr) m_echoPanel->disconnect(this);
}

void CEfxDlg::SetUpControls() {
    SetDarkClientArea(this);
    for (int id : {1163, 1164}) {
        if (auto* box = FindControlAs<CXPGroupBox>(this, id)) box->SetFrameColor(kSectionFrame);
    }
    for (const SliderRow& row : kRows) {
        CXBmpSlider* slider = Slider(row.sliderId);
        if (slider == nullptr) continue;
        SetUpEffectSlider(slider, CXBmpSlider::kDarkThumbImageId);
        if (!row.hidden) connect(slider, &CXBmpSlider::sliderChanged, this, &CEfxDlg::OnSlider);
        if (QWidget* name = FindControl(this, row.nameId)) name->setToolTip(QString::fromUtf8(row.tooltip));
    }
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) MakeWhiteLabel(label);
    if (QWidget* label = FindControl(this, 1084)) label->setToolTip(QString::fromUtf8("混响预定义效果模式"));
    if (QWidget* label = FindControl(this, 1085)) label->setToolTip(QString::fromUtf8("回声预定义效果模式"));

    m_reverbList = FindControlAs<QComboBox>(this, kReverbPresetList);
    m_echoList = FindControlAs<QComboBox>(this, kEchoTypeList);
    for (QComboBox* list : {m_reverbList, m_echoList}) {
        if (list == nullptr) continue;
        QPalette palette = list->palette();
        palette.setColor(QPalette::ButtonText, kListText);
        palette.setColor(QPalette::Text, kListText);
        list->setPalette(palette);
    }
    // Only a choice the user made sends: filling and selecting from code do not.
    if (m_reverbList != nullptr) connect(m_reverbList, &QComboBox::activated, this, &CEfxDlg::OnReverbPresetChosen);
    if (m_echoList != nullptr) connect(m_echoList, &QComboBox::activated, this, &CEfxDlg::OnEchoTypeChosen);

    for (int id : {kResetReverbEqId, kResetEchoEqId, kAdvancedId, kReverbImportId, kReverbExportId, kEchoImportId,
                   kEchoExportId}) {
        auto* button = FindControlAs<CGdipButton>(this, id);
        if (button == nullptr) continue;
        button->SetStandardImage(id == kResetReverbEqId || id == kResetEchoEqId ? kResetImage : kAdvancedImage);
        button->SetCaptionColor(Qt::white);
    }
    m_advanced = FindControlAs<CGdipButton>(this, kAdvancedId);
    if (m_advanced != nullptr) {
        m_advanced->setToolTip(QString::fromUtf8("当回声设置为多抽头时，可详细设置参数"));
        connect(m_advanced, &QAbstractButton::clicked, this, &CEfxDlg::ShowMultiTap);
    }
    if (auto* reset = FindControlAs<CGdipButton>(this, kResetReverbEqId)) {
        connect(reset, &QAbstractButton::clicked, this, &CEfxDlg::OnResetReverbEq);
    }
    if (auto* reset = FindControlAs<CGdipButton>(this, kResetEchoEqId)) {
        connect(reset, &QAbstractButton::clicked, this, &CEfxDlg::OnResetEchoEq);
    }
    for (CEqPanel* panel : {m_reverbPanel, m_echoPanel}) {
        if (panel == nullptr) continue;
        connect(panel, &CEqPanel::bandPicked, this, &CEfxDlg::OnBand);
        connect(panel, &CEqPanel::bandChanged, this, &CEfxDlg::OnBand);
    }
    m_reverbFiles = SetUpFiles(m_reverbPanel, EqView::Reverb, &CEfxDlg::RefreshReverb, kReverbImportId);
    m_echoFiles = SetUpFiles(m_echoPanel, EqView::Echo, &CEfxDlg::RefreshEcho, kEchoImportId);
}

EqFilePorter* CEfxDlg::SetUpFiles(CEqPanel* panel, EqView view, void (CEfxDlg::*refresh)(), int importId) {
    if (panel == nullptr) return nullptr;
    EqFilePorter::Host host{this, panel, [view] { return view; }, [this, refresh] { (this->*refresh)(); }, {}};
    if (view == EqView::Echo) {
        // An import is planned and sent by the device's echo points: the graph shows them first.
        host.prepare = [this] {
            if (m_echoPanel->GetLayout() == EqViewLayout(EqView::Echo)) return;
            SetEchoLayoutFromDevice();
            RefreshEcho();
        };
    }
    auto* files = new EqFilePorter(this, std::move(host));
    if (auto* button = FindControlAs<CGdipButton>(this, importId)) {
        connect(button, &QAbstractButton::clicked, files, &EqFilePorter::Import);
    }
    if (auto* button = FindControlAs<CGdipButton>(this, importId + 1)) {
        connect(button, &QAbstractButton::clicked, files, &EqFilePorter::Export);
    }
    return files;
}

CXBmpSlider* CEfxDlg::Slider(int id) const { return FindControlAs<CXBmpSlider>(this, id); }

void CEfxDlg::ApplyLanguage() {
    ApplyWindowLanguageTexts(this, kDialogId);
    FillLists();
    const bool english = IsEnglish();
    if (m_reverbPanel != nullptr) m_reverbPanel->SetEnglish(english);
    if (m_echoPanel != nullptr) m_echoPanel->SetEnglish(english);
}

void CEfxDlg::FillLists() {
    if (m_reverbList != nullptr) {
        m_reverbList->clear();
        for (int i = 0; i < kReverbPresetCount; ++i) m_reverbList->addItem(ReverbPresetName(i));
        SelectEntry(m_reverbList, ReadParamB2(kReverbPreset));
        FitDropDown(m_reverbList);
    }
    if (m_echoList != nullptr) {
        m_echoList->clear();
        for (int i = 0; i < kEchoTypeCount; ++i) m_echoList->addItem(EchoTypeName(i));
        SelectEntry(m_echoList, ReadParamB2(kEchoType));
        FitDropDown(m_echoList);
    }
}

void CEfxDlg::SetEchoLayoutFromDevice() {
    if (m_echoFiles != nullptr) m_echoFiles->DropPreview();
    if (m_echoPanel != nullptr) m_echoPanel->SetLayout(EqViewLayout(EqView::Echo), true);
}

void CEfxDlg::ShowRow(int sliderId) {
    const SliderRow* row = RowOfSlider(sliderId);
    CXBmpSlider* slider = Slider(sliderId);
    if (row == nullptr || slider == nullptr) return;
    const ParamInfo& param = RequireParam(row->param);
    const int raw = ReadParam(param);
    slider->SetPos(std::clamp(raw, slider->GetRangeMin(), slider->GetRangeMax()));
    slider->update();
    if (QWidget* value = FindControl(this, row->valueId)) {
        SetControlText(value, QString::fromStdString(FormatParamText(param, raw)));
    }
}

void CEfxDlg::RefreshReverb() {
    // The graph shows the image again: an import being previewed ends unsent.
    if (m_reverbFiles != nullptr) m_reverbFiles->DropPreview();
    const int preset = ReadParamB2(kReverbPreset);
    SelectEntry(m_reverbList, preset);
    ApplyReverbEnabling(preset);
    for (int id : kReverbSliders) ShowRow(id);
    FillPanel(m_reverbPanel, EqViewFillOrder(EqView::Reverb));
}

void CEfxDlg::RefreshEcho() {
    if (m_echoFiles != nullptr) m_echoFiles->DropPreview();
    const int type = ReadParamB2(kEchoType);
    SelectEntry(m_echoList, type);
    ApplyEchoEnabling(type);
    if (m_advanced != nullptr) {
        const bool multiTap = type == RawValue(EchoType::MultiTap);
        m_advanced->setEnabled(multiTap);
        m_advanced->SetCaptionColor(multiTap ? QColor(Qt::white) : kGreyedCaption);
        m_advanced->update();
    }
    for (int id : kEchoSliders) ShowRow(id);
    if (m_echoPanel != nullptr) FillPanel(m_echoPanel, EchoEqFillOrder(m_echoPanel->GetLayout()));
}

void CEfxDlg::SetSliderEnabled(int id, bool enabled) {
    CXBmpSlider* slider = Slider(id);
    if (slider == nullptr) return;
    slider->SetSliderEnabled(enabled);
    if (slider->isVisible()) slider->repaint();
}

void CEfxDlg::ApplyReverbEnabling(int preset) {
    const bool on = preset != 0;
    for (int id : kReverbProgramSliders) SetSliderEnabled(id, on);
    if (on) SetSliderEnabled(kReverbGateSlider, preset >= kGatedPresetFirst && preset <= kGatedPresetLast);
}

void CEfxDlg::ApplyEchoEnabling(int type) {
    for (int id : kEchoProgramSliders) SetSliderEnabled(id, type != RawValue(EchoType::Off));
}

void CEfxDlg::OnSlider(int id, int position) {
    const SliderRow* row = RowOfSlider(id);
    if (row == nullptr || row->hidden) return;
    const ParamInfo& param = RequireParam(row->param);
    SendParam(param, position);
    if (QWidget* value = FindControl(this, row->valueId)) {
        SetControlText(value, QString::fromStdString(FormatParamText(param, ReadParam(param))));
    }
}

void CEfxDlg::OnReverbPresetChosen(int index) {
    ChangeProgram(index, kReverbPresetCount, SetReverbPreset, RereadReverb, &CEfxDlg::RefreshReverb);
}

void CEfxDlg::OnEchoTypeChosen(int index) {
    ChangeProgram(index, kEchoTypeCount, SetEchoType, RereadEcho, &CEfxDlg::RefreshEcho);
}

void CEfxDlg::ChangeProgram(int index, int count, void (*send)(int), void (*reread)(), void (CEfxDlg::*refresh)()) {
    if (index < 0 || index >= count) return;
    send(index);
    // Blocking on purpose: no edit may reach the device between the program
    // change and the re-read of what it loaded.
    std::this_thread::sleep_for(kProgramLoadWait);
    reread();
    std::this_thread::sleep_for(kRereadWait);
    (this->*refresh)();
}

void CEfxDlg::OnBand(const EqBand& changed, int panelId) {
    // While an import is shown on the graph, only its Apply sends.
    EqFilePorter* files = panelId == kReverbPanelId ? m_reverbFiles : m_echoFiles;
    if (files != nullptr && files->Previewing()) return;
    // The record is the graph's own; keep a copy for the sends.
    const EqBand band = changed;
    const EditGroup edit;  // the band's values go out together
    const std::vector<EqViewValue> values =
        panelId == kReverbPanelId ? EqViewSendOrder(EqView::Reverb, band.index)
                                  : EchoEqSendOrder(m_echoPanel != nullptr ? m_echoPanel->GetLayout() : -1, band.index);
    for (const EqViewValue& value : values) {
        SendParam(*value.param,
                  RawForBandValue(RulesOf(*value.param), ReadParam(*value.param), BandFieldValue(band, value.field)));
    }
}

void CEfxDlg::OnResetReverbEq() {
    ResetReverbEq();
    RefreshReverb();
}

void CEfxDlg::OnResetEchoEq() {
    ResetEchoEq();
    RefreshEcho();
}

void CEfxDlg::ShowMultiTap() {
    if (m_closing) return;
    if (m_tap == nullptr) m_tap = new CTapDlg(this);
    m_tap->show();
}

void CEfxDlg::BeginClosing() {
    if (m_closing) return;
    m_closing = true;
    for (EqFilePorter* files : {m_reverbFiles, m_echoFiles}) {
        if (files != nullptr) files->CancelPreview();
    }
    emit closing();
    if (m_tap != nullptr) m_tap->close();
}

void CEfxDlg::closeEvent(QCloseEvent* event) {
    BeginClosing();
    QDialog::closeEvent(event);
}

void CEfxDlg::keyPressEvent(QKeyEvent* event) {
    if (SwallowDialogKey(event)) return;
    QDialog::keyPressEvent(event);
}

}  // namespace sonoria
