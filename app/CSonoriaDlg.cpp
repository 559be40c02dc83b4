#include "app/CSonoriaDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "admin/CInfoDlg.h"
#include "admin/CSynDlg.h"
#include "app/ControlFactories.h"
#include "controls/ControlText.h"
#include "app/WindowReferences.h"
#include "controls/DialogTemplate.h"
#include "app/FlowPanel.h"
#include "app/Localization.h"
#include "app/MainWindowTemplate.h"
#include "app/Settings.h"
#include "controls/CGdipButton.h"
#include "controls/ClassicCheckStyle.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CTabWnd.h"
#include "controls/CXBmpSlider.h"
#include "controls/CXPGroupBox.h"
#include "controls/ImageLoader.h"
#include "eq/ui/CCenterDlg.h"
#include "eq/ui/CMainDlg.h"
#include "eq/ui/CMicHLDlg.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"
#include "state/Language.h"

namespace sonoria {
namespace {

constexpr QRgb kBackground = 0xFFC7C7C7;
constexpr QColor kPanelColor(32, 32, 32);
constexpr QColor kCaptionBlue(26, 11, 172);
constexpr int kMeterSegments = 35;
constexpr int kMeterDecayMs = 35;
constexpr int kPageFrameColor = 0x009078;  // RGB(0,144,120)

// Pages of the page host, by index: dialog ids of the compressor, channel EQ,
// main output EQ and centre/sub EQ pages.
constexpr std::array<int, 4> kPageDialogIds = {255, 249, 259, 257};

constexpr int kConnectedImage = 341;
constexpr int kDisconnectedImage = 339;
constexpr int kDiagramNormal = 283;
constexpr int kDiagramRear = 352;
constexpr int kProgramIcon = 209;

void SetLabelColors(QLabel* label, const QColor& text, const QColor& background) {
    if (label == nullptr) return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    label->setAutoFillBackground(background.isValid());
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        label->setPalette(palette);
    }
}

// Value colours: red near the top of a volume's range, amber below, green low.
QColor VolumeColor(int position, int redAbove, int amberFrom) {
    if (position > redAbove) return {230, 0, 0};
    if (position >= amberFrom) return {230, 150, 0};
    return {0, 230, 0};
}

}  // namespace

CSonoriaDlg::CSonoriaDlg(QWidget* parent) : QDialog(parent), session_(std::make_unique<DeviceSession>()) {
    RegisterControlFactories();
    connectedImage_ = LoadPngPixmap(kConnectedImage);
    disconnectedImage_ = LoadPngPixmap(kDisconnectedImage);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("sonoria"), QIcon(LoadPngPixmap(kProgramIcon))));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    BuildControls();
    PrepareControls();

    language_ = ReadLanguageSetting();
    initialSize_ = size();
    setMinimumSize(initialSize_);  // never smaller than it starts
    initialHostRect_ = FindControl(this, IDC_PAGE_HOST)->geometry();
    initialFrameRect_ = FindControl(this, IDC_PAGE_FRAME)->geometry();
    SelectLanguage(language_, this, kMainDialogId, [this] { RefreshLanguage(); });

    DrawSession();
    qApp->installEventFilter(this);
}

CSonoriaDlg::~CSonoriaDlg() {
    qApp->removeEventFilter(this);
    // A window that dies without being closed takes its session with it
    // first: nothing of the link may still run to reach into its windows.
    session_.reset();
}

void CSonoriaDlg::BuildControls() {
    BuildDialog(this, MainWindowTemplate());
    auto* host = FindControlAs<CTabWnd>(this, IDC_PAGE_HOST);
    pages_ = {windows_.Ref<CMicCompDlg>() = new CMicCompDlg(host), windows_.Ref<CMicHLDlg>() = new CMicHLDlg(host),
              windows_.Ref<CMainDlg>() = new CMainDlg(host), windows_.Ref<CCenterDlg>() = new CCenterDlg(host)};
    for (std::size_t i = 0; i < kPageDialogIds.size(); ++i) host->AddPage(pages_[i], kPageDialogIds[i]);
    host->LayoutPages();
    host->ShowPage(currentPage_);

    FlowPanelActions actions;
    actions.showInfo = [this](const QString& text, int ms) { ShowInfo(text, ms); };
    actions.showLevelPopup = [this](int id) { ShowLevelPopup(id); };
    actions.showMixPopup = [this](int id) { ShowMixPopup(id); };
    actions.showDelayWindow = [this](int id) { ShowDelayWindow(id); };
    actions.showEffect = [this] { ShowEffect(); };
    actions.showPage = [this, host](int page) {
        currentPage_ = page;
        host->ShowPage(page);
    };
    actions.setupPage = [this](int page, int buttonId) { SetupPage(page, buttonId); };
    actions.refreshVolumeStrip = [this] { RefreshVolumeStrip(); };
    actions.invalidate = [this] { update(); };
    actions.changeRouting = [this](bool toRear) { session_->StartRouting(toRear); };
    panel_ = std::make_unique<FlowPanel>(this, actions);
}

void CSonoriaDlg::PrepareControls() {
    for (int id : {IDC_MIC_SLIDER, IDC_MUSIC_SLIDER, IDC_CENTER_SLIDER, IDC_SUB_SLIDER}) {
        CXBmpSlider* slider = Slider(id);
        const bool outputVolume = id == IDC_CENTER_SLIDER || id == IDC_SUB_SLIDER;
        slider->SetRange(0, outputVolume ? 49 : 127);
        slider->SetPos(0);
        slider->SetTrackImages();
        slider->SetThumbImages(301);
        slider->SetMargins(5, 4, 1, 1);
        slider->SetBackgroundColor(kBackground);
        connect(slider, &CXBmpSlider::sliderChanged, this, &CSonoriaDlg::OnMasterVolume);
    }
    auto* function = FindControlAs<CGdipButton>(this, IDC_FUNCTION);
    function->SetStandardImage(268);
    function->SetCaptionColor(Qt::white);
    function->setToolTip(QString::fromUtf8("一些其他功能"));
    connect(function, &QAbstractButton::clicked, this, [this] { ShowFunction(); });
    auto* languageButton = FindControlAs<CGdipButton>(this, IDC_LANGUAGE);
    languageButton->SetStandardImage(292);
    languageButton->SetCaptionColor(Qt::white);
    connect(languageButton, &QAbstractButton::clicked, this, &CSonoriaDlg::ToggleLanguage);
    for (int mode = 0; mode < 4; ++mode) {
        auto* button = FindControlAs<CGdipButton>(this, IDC_MODE_1 + mode);
        button->SetStandardImage(330 + 2 * mode);
        button->SetAlternateImage(331 + 2 * mode);
        connect(button, &QAbstractButton::clicked, this, [this, mode] { OnModeButton(mode); });
    }
    panel_->Init();
    // The hand over the mode buttons (the panel gives it to its blocks).
    for (int mode = 0; mode < 4; ++mode) FindControl(this, IDC_MODE_1 + mode)->setCursor(Qt::PointingHandCursor);
    for (int id : {IDC_MIC_METER, IDC_MUSIC_L_METER, IDC_MUSIC_R_METER}) {
        auto* meter = FindControlAs<CPeakMeterCtrl>(this, id);
        meter->SetMeterBands(1, kMeterSegments);
        meter->ResetChannels();
        meter->StartDecayTimer(kMeterDecayMs);
        meter->SetHorizontal(true);
        meter->SetBackgroundColor(kPanelColor);
        meter->ShowPeakLine(false);
    }
    FindControlAs<CXPGroupBox>(this, IDC_PAGE_FRAME)->SetFrameColor(QColor::fromRgb(kPageFrameColor));
    for (int id : {IDC_MIC_CAPTION, IDC_CENTER_CAPTION, IDC_MUSIC_CAPTION, IDC_SUB_CAPTION}) {
        SetLabelColors(Label(id), kCaptionBlue, QColor());
    }
    SetLabelColors(Label(IDC_STATUS_CAPTION), Qt::white, kPanelColor);
    // The panel's switches: white text on its dark ground, the classic box and tick.
    for (int id : {1198, 1199, 1210}) {
        if (QWidget* box = FindControl(this, id)) {
            box->setStyle(ClassicCheckStyleInstance());
            QPalette palette = box->palette();
            palette.setColor(QPalette::WindowText, Qt::white);
            palette.setColor(QPalette::Button, kPanelColor);  // a button's ground
            box->setPalette(palette);
            box->setAutoFillBackground(true);
        }
    }
    SetLabelColors(Label(IDC_MODE_CAPTION), Qt::white, Qt::black);
    UpdateValueColors();
}

CXBmpSlider* CSonoriaDlg::Slider(int id) const { return FindControlAs<CXBmpSlider>(this, id); }
QLabel* CSonoriaDlg::Label(int id) const { return FindControlAs<QLabel>(this, id); }

void CSonoriaDlg::UpdateValueColors() {
    SetLabelColors(Label(IDC_MIC_VALUE), VolumeColor(Slider(IDC_MIC_SLIDER)->GetPos(), 120, 97), Qt::black);
    SetLabelColors(Label(IDC_MUSIC_VALUE), VolumeColor(Slider(IDC_MUSIC_SLIDER)->GetPos(), 120, 97), Qt::black);
    SetLabelColors(Label(IDC_CENTER_VALUE), VolumeColor(Slider(IDC_CENTER_SLIDER)->GetPos(), 40, 25), Qt::black);
    SetLabelColors(Label(IDC_SUB_VALUE), VolumeColor(Slider(IDC_SUB_SLIDER)->GetPos(), 40, 25), Qt::black);
}

void CSonoriaDlg::ShowInfo(const QString& text, int milliseconds) {
    QPointer<CInfoDlg>& info = windows_.Ref<CInfoDlg>();
    if (info.isNull()) info = new CInfoDlg(this);
    info->ShowText(text, milliseconds);
}

CSynDlg* CSonoriaDlg::MakeSyncProgress(std::function<void()> done) {
    CSynDlg::Hooks hooks;
    hooks.showInfo = [this](const QString& text, int ms) { ShowInfo(text, ms); };
    auto* progress = new CSynDlg(this, hooks);
    windows_.Ref<CSynDlg>() = progress;
    connect(progress, &QDialog::finished, this, [this, progress, done = std::move(done)] {
        if (SyncWindow() == progress) windows_.Take<CSynDlg>();
        progress->deleteLater();
        if (done) done();
    });
    return progress;
}

void CSonoriaDlg::RunSyncProgress(std::function<void()> done) {
    if (SyncWindow() != nullptr) {
        if (done) done();
        return;
    }
    CSynDlg* progress = MakeSyncProgress(std::move(done));
    // As modal as a nested run, every window of the program blocked, without one.
    progress->setWindowModality(Qt::ApplicationModal);
    progress->show();
}

void CSonoriaDlg::OpenSyncProgress() {
    if (SyncWindow() != nullptr) return;
    MakeSyncProgress()->open();
}

void CSonoriaDlg::CloseSyncProgress() {
    if (CSynDlg* progress = SyncWindow()) progress->CloseSyncProgress();
}

void CSonoriaDlg::SetConnectionStatus(bool connected) {
    if (auto* picture = Label(IDC_CONNECTION_PICTURE)) {
        picture->setPixmap(connected ? connectedImage_ : disconnectedImage_);
        picture->setScaledContents(true);
    }
    const bool english = IsEnglish();
    const char* text = connected ? (english ? "Connected" : "已连接") : (english ? "Disconnected" : "未连接");
    QLabel* status = Label(IDC_STATUS_TEXT);
    status->setText(QString::fromUtf8(text));
    SetLabelColors(status, connected ? QColor(0, 255, 0) : QColor(255, 0, 0), kPanelColor);
}

void CSonoriaDlg::RefreshVolumeStrip() {
    const auto machine = [](MachineRecordByte byte) { return int(g_Device.machineDevice[byte].load()); };
    struct Strip {
        int slider, label, maximum, value, shown;
    };
    const int mic = GetParam(kMicVolume).first;
    const int music = GetParam(kMusicVolume).first;
    const int center = GetParam(kCenterVolume).second;
    const int sub = GetParam(kSubVolume).second;
    const Strip strips[] = {
        {IDC_MIC_SLIDER, IDC_MIC_VALUE, machine(MaxMicVolume), mic, mic / 2},
        {IDC_MUSIC_SLIDER, IDC_MUSIC_VALUE, machine(MaxMusicVolume), music, music / 2},
        {IDC_CENTER_SLIDER, IDC_CENTER_VALUE, machine(MaxCenterVolume), center, center},
        {IDC_SUB_SLIDER, IDC_SUB_VALUE, machine(MaxSubVolume), sub, sub},
    };
    for (const Strip& strip : strips) {
        CXBmpSlider* slider = Slider(strip.slider);
        slider->SetRange(0, strip.maximum);
        slider->SetPos(std::clamp(strip.value, 0, strip.maximum));
        slider->update();
        Label(strip.label)->setText(QString::number(strip.shown));
    }
    UpdateValueColors();
}

void CSonoriaDlg::RefreshModeButtons() {
    const int current = g_Device.currentMode.load();
    for (int mode = 0; mode < 4; ++mode) {
        auto* button = FindControlAs<CGdipButton>(this, IDC_MODE_1 + mode);
        button->SetGreyed(false);
        button->SetSelected(mode == current);
        button->update();
    }
    if (CDlgFunction* function = FunctionWindow()) function->RefreshLoadButtons();
}

void CSonoriaDlg::RefreshAfterSync() {
    RefreshVolumeStrip();
    RefreshModeButtons();
    panel_->RefreshRoutingDisplay();
    panel_->RefreshFlowCaptions();
    panel_->CheckBoxesFromImage();
    if (CMicCompDlg* compressor = CompressorPage()) compressor->RefreshDynamics();
    RefreshLevelWindows();
    RefreshEffectWindows();
    const bool notBaseModel = NotBaseModel();
    for (CEqPage* page : EqPages()) {
        page->SetNotBaseModel(notBaseModel);
        page->RefreshEq();
    }
    if (CDlgFunction* function = FunctionWindow()) function->RefreshAfterSync();
    if (COtherDlg* settings = MachineSettingsWindow()) settings->RefreshMachineSettings();
    update();
}

std::vector<CEqPage*> CSonoriaDlg::EqPages() const {
    std::vector<CEqPage*> pages;
    for (CEqPage* page : {static_cast<CEqPage*>(ChannelEqPage()), static_cast<CEqPage*>(MainEqPage()),
                          static_cast<CEqPage*>(CenterEqPage())}) {
        if (page != nullptr) pages.push_back(page);
    }
    return pages;
}

bool CSonoriaDlg::NotBaseModel() {
    return QString::fromStdString(g_Device.machineName.Get()).compare(QString::fromLatin1(kDefaultMachineName),
                                                                      Qt::CaseInsensitive) != 0;
}

void CSonoriaDlg::SetupPage(int page, int buttonId) {
    CEqPage* target = nullptr;
    CMicHLDlg* channelEq = ChannelEqPage();
    CMainDlg* mainEq = MainEqPage();
    CCenterDlg* centerEq = CenterEqPage();
    switch (page) {
        case kChannelEqPage:
            target = channelEq;
            if (target == nullptr) return;
            if (buttonId == IDC_FLOW_MIC_PEQ) channelEq->SetChannel(CMicHLDlg::kMicrophone);
            if (buttonId == IDC_FLOW_MUSIC_PEQ) channelEq->SetChannel(CMicHLDlg::kMusic);
            break;
        case kMainOutputEqPage:
            target = mainEq;
            if (target == nullptr) return;
            if (buttonId == IDC_FLOW_MAIN_MIC_PEQ) mainEq->SetPath(CMainDlg::kMicrophone);
            if (buttonId == IDC_FLOW_MAIN_MUSIC_PEQ) mainEq->SetPath(CMainDlg::kMusic);
            break;
        case kCenterSubEqPage: {
            target = centerEq;
            if (target == nullptr) return;
            struct Choice {
                int buttonId, output, source;
            };
            static constexpr Choice kChoices[] = {
                {IDC_FLOW_CENTER_MIC_PEQ, CCenterDlg::kCenter, CCenterDlg::kMicrophone},
                {IDC_FLOW_CENTER_MUSIC_PEQ, CCenterDlg::kCenter, CCenterDlg::kMusic},
                {IDC_FLOW_CENTER_PEQ, CCenterDlg::kCenter, CCenterDlg::kOutputFilters},
                {IDC_FLOW_SUB_MIC_PEQ, CCenterDlg::kSub, CCenterDlg::kMicrophone},
                {IDC_FLOW_SUB_MUSIC_PEQ, CCenterDlg::kSub, CCenterDlg::kMusic},
                {IDC_FLOW_SUB_PEQ, CCenterDlg::kSub, CCenterDlg::kOutputFilters},
                // After a routing change: the sub (the rear outputs), microphone path.
                {kRearRoutingPageSetup, CCenterDlg::kSub, CCenterDlg::kMicrophone},
            };
            for (const Choice& choice : kChoices) {
                if (choice.buttonId == buttonId) centerEq->SetSelection(choice.output, choice.source);
            }
            break;
        }
        case kCompressorPage:
            if (CMicCompDlg* compressor = CompressorPage()) {
                compressor->SetupSliders();
                compressor->RefreshDynamics();
            }
            return;
        default: return;
    }
    target->SetNotBaseModel(buttonId == kRearRoutingPageSetup || NotBaseModel());
    target->RefreshEq();
    target->ApplyLanguage();
}

void CSonoriaDlg::RefreshLanguage() {
    // The language was just made current for the display texts; the window follows it.
    language_ = CurrentLanguage();
    SetConnectionStatus(session_->Connected());
    // The routing names stay after the table's texts while routed to rear.
    panel_->RefreshRoutingDisplay();
    panel_->RefreshFlowCaptions();
    if (CMicCompDlg* compressor = CompressorPage()) compressor->ApplyLanguage();
    RetextEffectWindows();
    for (CEqPage* page : EqPages()) page->ApplyLanguage();
    RetextLevelWindows();
    if (CDlgFunction* function = FunctionWindow()) function->ApplyLanguage();
    if (COtherDlg* settings = MachineSettingsWindow()) settings->RefreshMachineSettingsLanguage();
    update();
}

void CSonoriaDlg::CloseTransientWindows() {
    // Each reference is cleared before its window closes: Qt deletes a closed
    // window later, and the next opener must not find it meanwhile.
    windows_.CloseAndForget<CAutoSubDlg>();
    windows_.CloseAndForget<CSliderDlg>();
    windows_.CloseAndForget<CSliderDelayDlg>();
    windows_.CloseAndForget<CMicSliderDlg>();
    windows_.CloseAndForget<COtherDlg>();
    windows_.CloseAndForget<CDlgFunction>();
    CloseEffectWindow();
    CloseAdminWindows();
    if (CRemoteDlg* remote = windows_.Take<CRemoteDlg>()) {
        remote->hide();
        remote->deleteLater();
    }
}

void CSonoriaDlg::ToggleLanguage() {
    language_ = sonoria::ToggleLanguage(language_, this, kMainDialogId, [this] { RefreshLanguage(); });
}

QPixmap CSonoriaDlg::RenderBackground() const {
    QPixmap background(size());
    background.fill(QColor::fromRgba(kBackground));
    QPainter painter(&background);
    if (QWidget* frame = FindControl(this, IDC_PANEL_FRAME)) painter.fillRect(frame->geometry(), kPanelColor);
    if (QWidget* area = FindControl(this, IDC_DIAGRAM_AREA)) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(area->geometry(), LoadPngPixmap(RearCopyActive() ? kDiagramRear : kDiagramNormal));
    }
    return background;
}

void CSonoriaDlg::GiveButtonsTheirBackground() {
    const QPixmap background = RenderBackground();
    for (CGdipButton* button : findChildren<CGdipButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        button->SetBackground(background);
    }
}

void CSonoriaDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, RenderBackground());
}

void CSonoriaDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!backgroundsGiven_) {
        backgroundsGiven_ = true;
        GiveButtonsTheirBackground();
        session_->ConnectSoon();
    }
}

void CSonoriaDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // Never smaller than it started, also where the window manager ignores the
    // minimum size: back to the initial size, top-left corner kept.
    if (!initialSize_.isEmpty() && (width() < initialSize_.width() || height() < initialSize_.height())) {
        resize(initialSize_);
        return;
    }
    const QSize growth = size() - initialSize_;
    if (QWidget* host = FindControl(this, IDC_PAGE_HOST)) {
        host->resize(initialHostRect_.width() + growth.width() - 1, initialHostRect_.height() + growth.height() - 1);
    }
    if (QWidget* frame = FindControl(this, IDC_PAGE_FRAME)) {
        frame->resize(initialFrameRect_.width() + growth.width(), initialFrameRect_.height() + growth.height());
    }
}

void CSonoriaDlg::reject() {}

void CSonoriaDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape never close the main window.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CSonoriaDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && (isActiveWindow() || OwnsActiveWindow())) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this) CloseTransientWindows();
    }
    if (event->type() == QEvent::NonClientAreaMouseButtonPress && watched == this) CloseLevelPopups();
    return QDialog::eventFilter(watched, event);
}

}  // namespace sonoria
