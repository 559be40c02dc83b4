// The EQ views the pages show and the command-line tool prints: for each, the
// graph layout, the switch that turns the EQ off on the device, which
// parameter fills which band value (in the order the pages fill them), and
// which parameters an edit of a band writes (in the order they are sent).
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "eq/EqBand.h"
#include "eq/EqLayouts.h"
#include "eq/EqValues.h"
#include "state/ParameterTable.h"

namespace sonoria {

enum class EqView : int {
    Mic,
    Music,
    MainMic,
    MainMusic,
    CenterMic,
    CenterMusic,
    CenterOut,
    SubMic,
    SubMusic,
    SubOut,
    Reverb,  // the effect window's reverb EQ
    Echo,    // the effect window's echo EQ: two points, or three where the device has the low shelf
};
inline constexpr int kEqViewCount = 12;

// One band value and the parameter it lives in.
struct EqViewValue {
    int band;
    EqField field;
    const ParamInfo* param;
};

// The graph layout of a view. The echo view's depends on the device: three
// points while the extended-echo flag is set, else two.
int EqViewLayout(EqView view);

// The parameter whose second byte switches the view's EQ (0 shows "OFF"), or
// null for the views of the output filters, which have no switch.
const ParamInfo* EqViewSwitch(EqView view);

// Whether the view's EQ is switched off in the device image.
bool EqViewSwitchedOff(EqView view);

// Every value the view shows, in the order the pages fill them: the view's own
// bands, then the reference copies of the EQs that feed it.
std::span<const EqViewValue> EqViewFillOrder(EqView view);

// The values an edit of `band` writes, in the order they are sent; empty for a
// band the user cannot edit.
std::vector<EqViewValue> EqViewSendOrder(EqView view, int band);

// The echo EQ's values for a graph that shows `layout` (two or three points),
// whatever the device reports: the graph's own layout decides which point
// edits which parameter. Empty for another layout or a point it does not have.
std::span<const EqViewValue> EchoEqFillOrder(int layout);
std::vector<EqViewValue> EchoEqSendOrder(int layout, int band);

// The view of the other output with the same source (centre <-> sub), which
// takes every edit a second time while both outputs are routed to the rear;
// nullopt for the views of the other pages.
std::optional<EqView> EqViewRearTwin(EqView view);

// The view's name on the command line ("mic", "center-out", ...), and back.
std::string_view EqViewName(EqView view);
std::optional<EqView> EqViewFromName(std::string_view name);

// A graph's bands as a new graph shows the view: the layout applied, then
// every value filled from the device image (values of the copy in use for
// the centre and sub outputs), each band's response computed. Returns the
// number of bands in use.
int FillEqViewBands(EqView view, std::span<EqBand, kEqMaxBands> bands);

// The command-line name of a band shape: PEAK, LOWPASS, HIGHPASS, LOWSHELF,
// HIGHSHELF or OFF.
std::string_view EqBandTypeName(EqBandType type);

}  // namespace sonoria
