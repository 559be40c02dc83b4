// Sending a view's bands to the device the way an edit of the graph does.
#pragma once

#include "eq/EqBand.h"
#include "eq/EqImport.h"
#include "eq/EqViews.h"

namespace sonoria {

// One edit of `band`: its values in the view's send order, each as the raw
// value its number gives (a value that was not moved goes back as the raw
// value it came from), then, while both outputs are routed to the rear, the
// same raw values to the other output's view.
void SendEqViewBand(EqView view, const EqBand& band);

// Every band an import changes, one edit per band, in band order.
void SendEqImport(EqView view, const EqImport& import);

}  // namespace sonoria
