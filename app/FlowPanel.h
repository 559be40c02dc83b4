// The signal-flow panel in the upper half of the main window: one image button
// per processing block over the diagram, the value captions on them, the
// three switches, and the display of the centre/sub to rear routing.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <span>

#include "controls/DialogTemplate.h"

class QWidget;

namespace sonoria {

class CGdipButton;

// Control ids of the panel.
enum FlowControl : int {
    IDC_FLOW_FIRST = 2200,
    IDC_FLOW_GATE_COMP = 2200,
    IDC_FLOW_SHIFT = 2201,
    IDC_FLOW_MIC_PEQ = 2202,
    IDC_FLOW_DIRECT = 2203,
    IDC_FLOW_MUSIC_GATE = 2204,
    IDC_FLOW_PITCH = 2205,
    IDC_FLOW_MUSIC_PEQ = 2206,
    IDC_FLOW_EFFECT = 2208,
    IDC_FLOW_CENTER_PEQ = 2212,
    IDC_FLOW_SUB_PHASE = 2213,
    IDC_FLOW_SUB_PEQ = 2214,
    IDC_FLOW_MAIN_DELAY = 2215,
    IDC_FLOW_CENTER_DELAY = 2216,
    IDC_FLOW_SUB_DELAY = 2217,
    IDC_FLOW_MAIN_MIC_PEQ = 2218,
    IDC_FLOW_MAIN_MUSIC_PEQ = 2219,
    IDC_FLOW_CENTER_MIC_PEQ = 2220,
    IDC_FLOW_CENTER_MUSIC_PEQ = 2221,
    IDC_FLOW_SUB_MIC_PEQ = 2222,
    IDC_FLOW_SUB_MUSIC_PEQ = 2223,
    IDC_FLOW_EFFECT_VOLUME = 2224,
    IDC_FLOW_CENTER_MIC = 2226,
    IDC_FLOW_CENTER_MUSIC = 2227,
    IDC_FLOW_SUB_MIC = 2229,
    IDC_FLOW_SUB_MUSIC = 2230,
    IDC_FLOW_SUB_LABEL = 2232,
    IDC_FLOW_CENTER_LABEL = 2233,
    IDC_FLOW_MAIN_L_LABEL = 2234,
    IDC_FLOW_MAIN_R_LABEL = 2235,
    IDC_FLOW_MAIN_MIC = 2239,
    IDC_FLOW_MAIN_MUSIC = 2240,
    IDC_FLOW_LAST = 2240,
    IDC_SHIFT_SWITCH = 1198,
    IDC_PITCH_SWITCH = 1199,
    IDC_REAR_SWITCH = 1210,
};
inline constexpr int kFlowButtonCount = IDC_FLOW_LAST - IDC_FLOW_FIRST + 1;

// The pages of the main window's page host.
enum FlowPage : int {
    kCompressorPage = 0,
    kChannelEqPage = 1,
    kMainOutputEqPage = 2,
    kCenterSubEqPage = 3,
    kFlowPageCount = 4,
};
// The page the main window shows before any flow button is clicked.
inline constexpr int kInitialPage = kChannelEqPage;

// Button ids setupPage receives when no flow button asked for the setup.
// Set up again with what the page already has:
inline constexpr int kPageRefreshOnly = 0;
// The centre/sub page after a routing change: sub output, microphone source,
// and the full model's controls whatever the machine name:
inline constexpr int kRearRoutingPageSetup = -1;

// How long the routing notice stays up.
inline constexpr int kRoutingInfoMs = 1500;

// The panel's controls in the main window's template (dialog units).
std::span<const ControlSpec> FlowPanelControls();

// What the panel needs from the main window.
struct FlowPanelActions {
    std::function<void(const QString& text, int ms)> showInfo;
    std::function<void(int buttonId)> showLevelPopup, showMixPopup, showDelayWindow;
    std::function<void()> showEffect;
    std::function<void(int page)> showPage;                 // current page = page; the page host shows it
    std::function<void(int page, int buttonId)> setupPage;  // the page sets itself up for that button and refreshes
    std::function<void()> refreshVolumeStrip;               // sliders 1104/1105 and labels 1029/1033
    std::function<void()> invalidate;                       // repaint the main window (diagram)
    // Starts the routing change (true: to the rear) away from the window and
    // returns at once; the window calls OnRoutingDone when it has ended.
    std::function<void(bool toRear)> changeRouting;
};

class FlowPanel : public QObject {
    Q_OBJECT

public:
    // `window` holds the controls built from FlowPanelControls().
    FlowPanel(QWidget* window, FlowPanelActions actions);
    ~FlowPanel() override;

    // Images, caption colours and hints of the flow buttons; connects the
    // buttons that can be clicked and the switches.
    void Init();

    // A click on a flow button: lights it and opens its editor.
    void SelectFlowBlock(int id);
    // The value captions, in the current language, from the device image.
    void RefreshFlowCaptions();
    // Applies the rear-routing flag: visible blocks, output labels, names,
    // the centre/sub volumes and the diagram. Safe to call at any time.
    void RefreshRoutingDisplay();
    // The switches from the device image, without sending anything.
    void CheckBoxesFromImage();

    // Check box 1198.
    void OnShiftSwitch(bool checked);
    // Check box 1210: the new routing state. Shows the notice and the wait
    // cursor and starts the change; the panel follows it in OnRoutingDone.
    void OnRoutingSwitch(bool checked);
    // The routing change has ended (done, failed or abandoned with the link):
    // the display follows the routing the image now holds. Nothing happens
    // when no change is under way.
    void OnRoutingDone();
    bool RoutingChangeRunning() const { return m_routingChange; }

    // The button clicked last; 0 before any.
    int SelectedBlock() const { return m_selected; }
    // The page of the page host this panel last asked for.
    int CurrentPage() const { return m_currentPage; }

    CGdipButton* FlowButton(int id) const;

private:
    void ShowPage(int page);
    void SetupPage(int page, int buttonId);
    void MoveOutputLabels(bool rear);

    QWidget* m_window;
    FlowPanelActions m_actions;
    int m_selected = 0;
    int m_currentPage = kInitialPage;
    bool m_routingChange = false;  // also: the wait cursor is ours to restore
};

}  // namespace sonoria
