// The effect window: the microphone effect unit's reverb and echo, each with
// its program list, its sliders and a small EQ graph. Every change the user
// makes goes to the device at once; opening, refreshing and re-texting the
// window send nothing. "Advanced" opens the multi-tap echo window, which this
// window owns. Each graph imports and exports filter files (EqFilePorter).
#pragma once

#include <QDialog>
#include <QPointer>

#include "eq/EqViews.h"

class QComboBox;
class QLabel;

namespace sonoria {

class CEqPanel;
class CGdipButton;
class CTapDlg;
class EqFilePorter;
class CXBmpSlider;
struct EqBand;
struct ParamInfo;

class CEfxDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 244;
    // Control ids others address.
    static constexpr int kReverbPresetList = 1144;
    static constexpr int kEchoTypeList = 1228;
    static constexpr int kReverbPanelId = 1169;
    static constexpr int kEchoPanelId = 1016;
    static constexpr int kResetReverbEqId = 1017;
    static constexpr int kResetEchoEqId = 1018;
    static constexpr int kAdvancedId = 1168;
    // Import, then export, of each graph's section.
    static constexpr int kReverbImportId = 1310;
    static constexpr int kReverbExportId = 1311;
    static constexpr int kEchoImportId = 1312;
    static constexpr int kEchoExportId = 1313;
    static constexpr int kReverbPresetCount = 19;

    // Built, filled from the device image and re-texted, centred over `owner`;
    // not shown yet.
    explicit CEfxDlg(QWidget* owner);
    ~CEfxDlg() override;

    // The language table's texts, both lists refilled in the current language
    // with the device's selections, the graphs' info lines.
    void ApplyLanguage();
    // The reverb section (with the echo's send to reverb) from the device image.
    void RefreshReverb();
    // The echo section and the state of "Advanced" from the device image.
    void RefreshEcho();
    // The echo graph shows three points while the device has the echo low
    // shelf, else two; the caller refreshes.
    void SetEchoLayoutFromDevice();
    // Opens the multi-tap echo window, or shows the one that exists.
    void ShowMultiTap();

    CTapDlg* TapWindow() const { return m_tap.data(); }
    CEqPanel* ReverbPanel() const { return m_reverbPanel; }
    CEqPanel* EchoPanel() const { return m_echoPanel; }
    EqFilePorter* ReverbFiles() const { return m_reverbFiles; }
    EqFilePorter* EchoFiles() const { return m_echoFiles; }
    CXBmpSlider* Slider(int id) const;
    // Set from the moment the window starts closing; nothing may call back into it then.
    bool IsClosing() const { return m_closing; }

signals:
    // The window starts closing: its owner drops every reference to it now,
    // before anything is torn down.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetUpControls();
    EqFilePorter* SetUpFiles(CEqPanel* panel, EqView view, void (CEfxDlg::*refresh)(), int importId);
    void OnSlider(int id, int position);
    void OnReverbPresetChosen(int index);
    void OnEchoTypeChosen(int index);
    // A program the user chose (index below `count`): sent, re-read after the
    // device loaded it, and shown.
    void ChangeProgram(int index, int count, void (*send)(int), void (*reread)(), void (CEfxDlg::*refresh)());
    void OnBand(const EqBand& band, int panelId);
    void OnResetReverbEq();
    void OnResetEchoEq();
    void FillLists();
    void ApplyReverbEnabling(int preset);
    void ApplyEchoEnabling(int type);
    void SetSliderEnabled(int id, bool enabled);
    // The slider at the parameter's value (clamped to its range) and the row's value label.
    void ShowRow(int sliderId);
    // Marks the window closing, tells the owner and closes the multi-tap window.
    void BeginClosing();

    QComboBox* m_reverbList = nullptr;
    QComboBox* m_echoList = nullptr;
    CEqPanel* m_reverbPanel = nullptr;
    CEqPanel* m_echoPanel = nullptr;
    EqFilePorter* m_reverbFiles = nullptr;
    EqFilePorter* m_echoFiles = nullptr;
    CGdipButton* m_advanced = nullptr;
    QPointer<CTapDlg> m_tap;
    bool m_closing = false;
};

// The reverb programs and echo types as the lists show them, in the current language.
QString ReverbPresetName(int index);
QString EchoTypeName(int index);

}  // namespace sonoria
