// The main window's half that draws the device session: the connection
// status, the meters and master volumes, the progress window over a
// synchronisation, the session's questions, the upgrade window's part in a
// connection, and the close.
#include <QCloseEvent>
#include <QLabel>

#include "admin/CSynDlg.h"
#include "app/CSonoriaDlg.h"
#include "app/DeviceSession.h"
#include "app/FlowPanel.h"
#include "app/MainWindowTemplate.h"
#include "app/MessageService.h"
#include "app/ModeFileDialogs.h"
#include "controls/CPeakMeterCtrl.h"
#include "controls/CXBmpSlider.h"
#include "controls/DialogTemplate.h"
#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"

namespace sonoria {
namespace {

MessageIcon IconOf(const SessionQuestion& question) {
    if (question.IsWarning()) return MessageIcon::Warning;
    if (question.IsError()) return MessageIcon::Error;
    return MessageIcon::None;
}

}  // namespace

void CSonoriaDlg::DrawSession() {
    DeviceSession* session = session_.get();
    connect(session, &DeviceSession::connectionChanged, this, &CSonoriaDlg::SetConnectionStatus);
    connect(session, &DeviceSession::notice, this, &CSonoriaDlg::ShowInfo);
    connect(session, &DeviceSession::questionAsked, this, &CSonoriaDlg::AnswerQuestion);
    connect(session, &DeviceSession::saveModeFileWanted, this,
            [this](const std::vector<std::uint8_t>& snapshot) { SaveModeFileDialog(this, snapshot); });
    connect(session, &DeviceSession::progressWanted, this,
            [this](const std::function<void()>& closed) { RunSyncProgress(closed); });
    connect(session, &DeviceSession::routingProgressWanted, this, &CSonoriaDlg::OpenSyncProgress);
    connect(session, &DeviceSession::progressDone, this, &CSonoriaDlg::CloseSyncProgress);
    connect(session, &DeviceSession::refreshNeeded, this, &CSonoriaDlg::RefreshAfterSync);
    connect(session, &DeviceSession::routingDone, this, [this] { panel_->OnRoutingDone(); });
    connect(session, &DeviceSession::metersRead, this, &CSonoriaDlg::FeedMeters);
    connect(session, &DeviceSession::deviceBack, this, &CSonoriaDlg::CloseWaitForUpgrade);
    connect(session, &DeviceSession::upgradeModeEntered, this, &CSonoriaDlg::OnUpgradeModeEntered);
    connect(session, &DeviceSession::linkEnded, this, &CSonoriaDlg::UpgradeLinkEnded);
    connect(session, &DeviceSession::upgradeDone, this, &CSonoriaDlg::OnUpgradeDone);
    connect(session, &DeviceSession::keyLearned, this, &CSonoriaDlg::OnKeyLearned);
    connect(session, &DeviceSession::wirelessStatusChanged, this, &CSonoriaDlg::OnWirelessStatus);
    connect(session, &DeviceSession::phaseChanged, this, [this](SessionPhase phase) {
        if (phase == SessionPhase::Ready) unsetCursor();
    });
    session->SetProgressShownQuery([this] { return SyncWindow() != nullptr; });
}

void CSonoriaDlg::AnswerQuestion(SessionQuestion& question) {
    if (!question.IsYesNo()) {
        ShowMessageBox(this, question.text, question.caption, IconOf(question));
        return;
    }
    question.answer = AskYesNo(this, question.text, question.caption);
}

bool CSonoriaDlg::Synchronising() const {
    const CSynDlg* progress = SyncWindow();
    return progress != nullptr && progress->Running();
}

void CSonoriaDlg::FeedMeters() {
    struct Source {
        int meter;
        ParamAddress level;
    };
    // The meters' levels are in the second byte.
    constexpr Source kSources[] = {
        {IDC_MIC_METER, kMicMeter}, {IDC_MUSIC_L_METER, kMusicMeterL}, {IDC_MUSIC_R_METER, kMusicMeterR}};
    for (const Source& source : kSources) {
        const int value = GetParam(source.level).second;
        if (auto* meter = FindControlAs<CPeakMeterCtrl>(this, source.meter)) meter->SetData(0, std::span(&value, 1));
    }
}

void CSonoriaDlg::OnMasterVolume(int sliderId, int position) {
    struct Strip {
        int slider;
        MasterVolume volume;
        int label;
        int shownDivisor;
        ParamAddress address;  // what a refused move goes back to
    };
    static constexpr Strip kStrips[] = {
        {IDC_MIC_SLIDER, MasterVolume::Mic, IDC_MIC_VALUE, 2, kMicVolume},
        {IDC_MUSIC_SLIDER, MasterVolume::Music, IDC_MUSIC_VALUE, 2, kMusicVolume},
        {IDC_CENTER_SLIDER, MasterVolume::Center, IDC_CENTER_VALUE, 1, kCenterVolume},
        {IDC_SUB_SLIDER, MasterVolume::Sub, IDC_SUB_VALUE, 1, kSubVolume},
    };
    const Strip* strip = nullptr;
    for (const Strip& candidate : kStrips) {
        if (candidate.slider == sliderId) strip = &candidate;
    }
    if (strip == nullptr) return;
    const auto label = [this](int id, int value) { FindControlAs<QLabel>(this, id)->setText(QString::number(value)); };
    bool pairMoved = false;
    if (!session_->SetMasterVolume(strip->volume, position, &pairMoved)) {
        // Locked: the slider goes back to what the device holds.
        Slider(sliderId)->SetPos(GetParam(strip->address).first);
        return;
    }
    label(strip->label, position / strip->shownDivisor);
    if (pairMoved) {
        // Routed to the rear, centre and sub are one left/right pair.
        const bool center = sliderId == IDC_CENTER_SLIDER;
        Slider(center ? IDC_SUB_SLIDER : IDC_CENTER_SLIDER)->SetPos(position);
        label(center ? IDC_SUB_VALUE : IDC_CENTER_VALUE, position);
    }
    UpdateValueColors();
}

void CSonoriaDlg::OnModeButton(int mode) { session_->LoadStoredMode(mode); }

void CSonoriaDlg::closeEvent(QCloseEvent* event) {
    if (!session_->MayClose()) {
        event->ignore();
        return;
    }
    CloseEffectWindow();
    session_->Shutdown();
    event->accept();
    done(QDialog::Accepted);
}

}  // namespace sonoria
