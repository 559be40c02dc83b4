// The wireless microphones of the model with a receiver: the room that fixes
// both microphones' channels, pairing, each microphone's transmit power and
// noise gate, their common volume, and whether each is paired and active.
#pragma once

#include <QDialog>
#include <QTimer>

#include <array>
#include <functional>

class QButtonGroup;
class QComboBox;
class QLabel;

namespace sonoria {

class CXBmpSlider;

inline constexpr int kWirelessDialogId = 362;
inline constexpr int kWmicRoomListId = 1136;
inline constexpr int kWmicTipId = 1141;
inline constexpr int kWmicPairMic1Id = 1134;
inline constexpr int kWmicPairMic2Id = 1135;
inline constexpr int kWmicGuidePairMic1Id = 1143;
inline constexpr int kWmicGuidePairMic2Id = 1145;
inline constexpr int kWmicPower1FullId = 1130;
inline constexpr int kWmicPower1LowId = 1131;
inline constexpr int kWmicPower2FullId = 1132;
inline constexpr int kWmicPower2LowId = 1133;
inline constexpr int kWmicVolumeSliderId = 2018;
inline constexpr int kWmicVolume2SliderId = 2019;
inline constexpr int kWmicGate1SliderId = 2020;
inline constexpr int kWmicGate2SliderId = 2021;
inline constexpr int kWmicBlinkMs = 400;
// Status icons: not paired, paired; microphone pictures: inactive, active.
inline constexpr int kWmicIconUnpaired = 363;
inline constexpr int kWmicIconPaired = 364;

class CWMicDlg : public QDialog {
    Q_OBJECT
public:
    // `showInfo`: the timed information window, for the notice that no device
    // is there to pair with.
    using ShowInfo = std::function<void(const QString& text, int milliseconds)>;
    explicit CWMicDlg(QWidget* owner, ShowInfo showInfo = {});

    // Every control from the image.
    void RefreshWirelessWindow();
    // The status icons and microphone pictures from the pairing states.
    void RefreshWirelessStatus();

    // A pairing button's action for microphone 0 or 1; without a sound link
    // only the disconnected notice.
    void Pair(int mic);
    // Between the two pairing commands.
    bool PairingPending() const { return pairPause_.isActive(); }
    // The image shown now by a status icon or microphone picture.
    int ShownImage(int controlId) const;
    bool Blinking(int mic) const { return blink_[static_cast<std::size_t>(mic)].isActive(); }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetupControls();
    void FillRoomList();
    void UpdateTip();
    void OnSlider(int controlId, int position);
    void OnPower(int mic, int power);
    void ShowImage(int controlId, int imageId);
    void Blink(int mic);
    void SetPairingControlsEnabled(bool enabled);
    void UpdateRadioColors();

    bool TellIfDisconnected();

    ShowInfo showInfo_;
    QComboBox* rooms_ = nullptr;
    std::array<QButtonGroup*, 2> powerGroups_{};
    std::array<QTimer, 2> blink_;  // blinks each microphone's icon while it pairs
    bool blinkOn_ = false;         // shared by both timers
    QTimer pairPause_;
    int pairingMic_ = 0;
};

}  // namespace sonoria
