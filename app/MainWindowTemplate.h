// The main window's template (dialog 229): its own controls; the signal-flow
// panel adds its buttons, switches and diagram areas.
#pragma once

#include <span>
#include <vector>

#include "controls/DialogTemplate.h"

namespace sonoria {

inline constexpr int kMainDialogId = 229;
inline constexpr int kMainWidthDu = 506;
inline constexpr int kMainHeightDu = 323;

// Control ids of the main window.
enum MainControl : int {
    IDC_MODE_1 = 1000,  // to 1003
    IDC_CONNECTION_PICTURE = 1017,
    IDC_LANGUAGE = 1019,
    IDC_MIC_CAPTION = 1026,
    IDC_MIC_VALUE = 1027,
    IDC_CENTER_CAPTION = 1028,
    IDC_CENTER_VALUE = 1029,
    IDC_MUSIC_CAPTION = 1030,
    IDC_MUSIC_VALUE = 1031,
    IDC_SUB_CAPTION = 1032,
    IDC_SUB_VALUE = 1033,
    IDC_MUSIC_SLIDER = 1103,
    IDC_CENTER_SLIDER = 1104,
    IDC_SUB_SLIDER = 1105,
    IDC_MIC_SLIDER = 1106,
    IDC_MIC_METER = 1109,
    IDC_MUSIC_L_METER = 1110,
    IDC_MUSIC_R_METER = 1111,
    IDC_PAGE_HOST = 1190,
    IDC_PAGE_FRAME = 1191,
    IDC_DIAGRAM_AREA = 1192,
    IDC_PANEL_FRAME = 1193,
    IDC_FUNCTION = 1195,
    IDC_MODE_CAPTION = 1205,
    IDC_STATUS_CAPTION = 1206,
    IDC_STATUS_TEXT = 1207,
    IDC_PEQ_SW = 1208,
};

// The whole template: the window's own controls followed by the panel's.
DialogSpec MainWindowTemplate();

}  // namespace sonoria
