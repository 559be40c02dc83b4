#include "app/MainWindowTemplate.h"

#include "app/FlowPanel.h"

namespace sonoria {
namespace {

const ControlSpec kOwnControls[] = {
    {IDC_MIC_CAPTION, ControlKind::Label, "MIC", 68, 1, 33, 8},
    {IDC_MIC_SLIDER, ControlKind::Slider, "", 66, 11, 99, 11},
    {IDC_MIC_VALUE, ControlKind::Label, "0", 150, 1, 19, 8, kCentered},
    {IDC_MUSIC_CAPTION, ControlKind::Label, "MUSIC", 178, 1, 30, 8},
    {IDC_MUSIC_SLIDER, ControlKind::Slider, "", 177, 11, 99, 11},
    {IDC_MUSIC_VALUE, ControlKind::Label, "0", 259, 1, 19, 8, kCentered},
    {IDC_CENTER_CAPTION, ControlKind::Label, "CENTER", 289, 1, 48, 8},
    {IDC_CENTER_SLIDER, ControlKind::Slider, "", 288, 11, 99, 11},
    {IDC_CENTER_VALUE, ControlKind::Label, "0", 371, 1, 19, 8, kCentered},
    {IDC_SUB_CAPTION, ControlKind::Label, "SUB", 401, 1, 29, 8},
    {IDC_SUB_SLIDER, ControlKind::Slider, "", 399, 11, 99, 11},
    {IDC_SUB_VALUE, ControlKind::Label, "0", 481, 1, 19, 8, kCentered},
    {IDC_LANGUAGE, ControlKind::ImageButton, "中文", 2, 5, 19, 17},
    {IDC_FUNCTION, ControlKind::ImageButton, "功能", 21, 5, 41, 17},
    {-1, ControlKind::Picture, "281", 5, 41, 11, 18},
    {-2, ControlKind::Picture, "280", 2, 84, 14, 16},
    {IDC_MIC_METER, ControlKind::PeakMeter, "", 14, 35, 58, 4},
    {IDC_MUSIC_L_METER, ControlKind::PeakMeter, "", 14, 79, 58, 4},
    {IDC_MUSIC_R_METER, ControlKind::PeakMeter, "", 14, 101, 58, 4},
    {IDC_CONNECTION_PICTURE, ControlKind::Picture, "339", 10, 111, 23, 22},
    {IDC_STATUS_CAPTION, ControlKind::Label, "连接状态", 36, 111, 42, 8, kCentered},
    {IDC_STATUS_TEXT, ControlKind::Label, "未连接", 36, 123, 42, 8, kCentered},
    {IDC_MODE_CAPTION, ControlKind::Label, "载入机器模式", 151, 107, 42, 8},
    {IDC_MODE_1, ControlKind::ImageButton, "", 120, 119, 21, 14},
    {IDC_MODE_1 + 1, ControlKind::ImageButton, "", 147, 119, 21, 14},
    {IDC_MODE_1 + 2, ControlKind::ImageButton, "", 174, 119, 21, 14},
    {IDC_MODE_1 + 3, ControlKind::ImageButton, "", 201, 119, 21, 14},
    {IDC_PAGE_FRAME, ControlKind::GroupBox, "", 0, 140, 507, 180},
    {IDC_PAGE_HOST, ControlKind::PageHost, "", 1, 144, 502, 176},
    {IDC_PEQ_SW, ControlKind::PushButton, "PEQ SW", 445, 129, 50, 10, kHidden},
};

}  // namespace

DialogSpec MainWindowTemplate() {
    static const std::vector<ControlSpec> controls = [] {
        std::vector<ControlSpec> all(std::begin(kOwnControls), std::end(kOwnControls));
        for (const ControlSpec& control : FlowPanelControls()) all.push_back(control);
        return all;
    }();
    return {kMainDialogId, "SONORIA-S2", kMainWidthDu, kMainHeightDu, kMainWindowFont, controls};
}

}  // namespace sonoria
