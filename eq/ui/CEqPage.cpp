#include "eq/ui/CEqPage.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QResizeEvent>

#include <vector>

#include "controls/CGdipButton.h"
#include "controls/ControlText.h"
#include "controls/LanguageTexts.h"
#include "controls/TemplateControls.h"
#include "eq/EqValues.h"
#include "eq/EqViewSend.h"
#include "eq/ui/CEqPanel.h"
#include "eq/ui/EqFilePorter.h"
#include "state/DeviceState.h"
#include "state/EqResets.h"
#include "state/Language.h"
#include "state/ParamReaders.h"

namespace sonoria {
namespace {

const QColor kPageGrey(199, 199, 199);
const QColor kTitleRed(255, 0, 0);
const QColor kHintBlue(26, 11, 179);
constexpr int kResetImage = 294;
constexpr int kSourceImage = 247;
constexpr int kSourceSelectedImage = 309;

struct Title {
    const char* chinese;
    const char* english;
};

// Titles by view; the sub's source views are named after the rear outputs
// while the sub serves as rear left and right.
Title ViewTitle(EqView view, bool rear) {
    switch (view) {
        case EqView::Mic: return {"话筒均衡", "Mic EQ"};
        case EqView::Music: return {"音乐均衡", "Music EQ"};
        case EqView::MainMic: return {"主输出话筒均衡", "Mic Main EQ"};
        case EqView::MainMusic: return {"主输出音乐均衡", "Music Main EQ"};
        case EqView::CenterMic: return {"中置话筒均衡", "Mic C EQ"};
        case EqView::CenterMusic: return {"中置音乐均衡", "Music C EQ"};
        case EqView::CenterOut: return {"中置输出均衡", "Center EQ"};
        case EqView::SubMic: return rear ? Title{"后置话筒均衡", "Rear Mic EQ"} : Title{"超低话筒均衡", "Mic S EQ"};
        case EqView::SubMusic:
            return rear ? Title{"后置音乐均衡", "Rear Music EQ"} : Title{"超低音乐均衡", "Music S EQ"};
        case EqView::SubOut: return {"超低输出均衡", "Sub EQ"};
        case EqView::Reverb:
        case EqView::Echo: break;  // shown by the effect window, which has no page title
    }
    return {"", ""};
}

// The factory curve of a view's EQ, written by the senders.
void ResetViewEq(EqView view) {
    switch (view) {
        case EqView::Mic: ResetMicEq(); break;
        case EqView::Music: ResetMusicEq(); break;
        case EqView::MainMic: ResetMainMicEq(); break;
        case EqView::MainMusic: ResetMainMusicEq(); break;
        case EqView::CenterMic: ResetCenterEqA(); break;
        case EqView::CenterMusic: ResetCenterEqB(); break;
        case EqView::CenterOut: ResetCenterFilters(); break;
        case EqView::SubMic: ResetSubEqA(); break;
        case EqView::SubMusic: ResetSubEqB(); break;
        case EqView::SubOut: ResetSubFilters(); break;
        case EqView::Reverb: ResetReverbEq(); break;
        case EqView::Echo: ResetEchoEq(); break;
    }
}

void SetColours(QWidget* control, const QColor& text) {
    if (control == nullptr) return;
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Window, kPageGrey);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

}  // namespace

CEqPage::CEqPage(QWidget* parent, const DialogSpec& table, int resetButtonId, int titleId, EqView initialView)
    : QWidget(parent), m_dialogId(table.id), m_titleId(titleId), m_view(initialView) {
    BuildDialog(this, table);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kPageGrey);
    setPalette(palette);
    setAutoFillBackground(true);

    m_panel = CEqPanel::ReplaceControl(FindControl(this, kPanelId));
    if (m_panel != nullptr) {
        m_panelOrigin = m_panel->pos();
        connect(m_panel, &CEqPanel::bandPicked, this, [this](const EqBand& band, int) { OnBandChanged(band); });
        connect(m_panel, &CEqPanel::bandChanged, this, [this](const EqBand& band, int) { OnBandChanged(band); });
        m_files = new EqFilePorter(this, {this, m_panel, [this] { return m_view; }, [this] { RefreshEq(); }, {}});
    }
    SetColours(FindControl(this, m_titleId), kTitleRed);
    SetColours(FindControl(this, kHintId), kHintBlue);
    for (const int id : {resetButtonId, kImportId, kExportId}) {
        if (auto* button = FindControlAs<CGdipButton>(this, id)) {
            button->SetStandardImage(kResetImage);
            button->SetCaptionColor(Qt::white);
        }
    }
    m_resetButton = FindControlAs<CGdipButton>(this, resetButtonId);
    if (m_resetButton != nullptr) connect(m_resetButton, &QAbstractButton::clicked, this, &CEqPage::ResetEq);
    if (m_files == nullptr) return;
    if (auto* button = FindControlAs<CGdipButton>(this, kImportId)) {
        connect(button, &QAbstractButton::clicked, m_files, &EqFilePorter::Import);
    }
    if (auto* button = FindControlAs<CGdipButton>(this, kExportId)) {
        connect(button, &QAbstractButton::clicked, m_files, &EqFilePorter::Export);
    }
}

CEqPage::~CEqPage() {
    // The panel dies with the page's children, after this; it must not report to a page half gone.
    if (m_panel != nullptr) m_panel->disconnect(this);
}

void CEqPage::PrepareHiddenButtons(std::initializer_list<int> ids) {
    for (int id : ids) {
        if (auto* button = FindControlAs<CGdipButton>(this, id)) {
            button->SetStandardImage(kSourceImage);
            button->SetAlternateImage(kSourceSelectedImage);
            button->SetCaptionColor(Qt::white);
        }
    }
}

QString CEqPage::TitleText(bool english) const {
    const Title title = ViewTitle(m_view, RearCopyActive());
    return QString::fromUtf8(english ? title.english : title.chinese);
}

void CEqPage::RefreshEq() {
    if (m_panel == nullptr) return;
    m_files->DropPreview();
    m_panel->SetLayout(EqViewLayout(m_view), true);
    m_panel->SetShowOff(EqViewSwitchedOff(m_view));
    for (const EqViewValue& value : EqViewFillOrder(m_view)) {
        m_panel->FillBandValue(value.band, value.field, value.param->text, ReadParam(*value.param));
    }
}

void CEqPage::ApplyLanguage() {
    ApplyWindowLanguageTexts(this, m_dialogId);
    const bool english = IsEnglish();
    if (QWidget* title = FindControl(this, m_titleId)) SetControlText(title, TitleText(english));
    if (m_panel != nullptr) m_panel->SetEnglish(english);
}

void CEqPage::ResetEq() {
    ResetViewEq(m_view);
    // In rear routing the other output follows, with its own factory values.
    if (const auto twin = EqViewRearTwin(m_view); twin && RearCopyActive()) ResetViewEq(*twin);
    RefreshEq();
}

void CEqPage::OnBandChanged(const EqBand& changed) {
    // While an import is shown on the graph, only its Apply sends.
    if (m_files->Previewing()) return;
    // The record is the panel's own; keep a copy for the sends.
    const EqBand band = changed;
    SendEqViewBand(m_view, band);
}

void CEqPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_panel == nullptr) return;
    m_panel->setGeometry(m_panelOrigin.x(), m_panelOrigin.y(), event->size().width(),
                         event->size().height() - m_panelOrigin.y());
}

void CEqPage::hideEvent(QHideEvent* event) {
    if (!event->spontaneous() && m_files != nullptr) m_files->CancelPreview();
    QWidget::hideEvent(event);
}

void CEqPage::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape never close a page (nor, through it, the main window).
    if (!SwallowClosingKey(event)) QWidget::keyPressEvent(event);
}

}  // namespace sonoria
