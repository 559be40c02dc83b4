#include "eq/EqViewSend.h"

#include <vector>

#include "eq/EqValues.h"
#include "link/EditLane.h"
#include "state/DeviceState.h"
#include "state/ParamReaders.h"
#include "state/ParamSender.h"

namespace sonoria {

void SendEqViewBand(EqView view, const EqBand& band) {
    // One edit: while the device is busy a newer position of the band replaces it whole.
    const EditGroup edit;
    const std::vector<EqViewValue> values = EqViewSendOrder(view, band.index);
    std::vector<int> raws;
    raws.reserve(values.size());
    for (const EqViewValue& value : values) {
        const int raw =
            RawForBandValue(RulesOf(*value.param), ReadParam(*value.param), BandFieldValue(band, value.field));
        SendParam(*value.param, raw);
        raws.push_back(raw);
    }
    const auto twin = EqViewRearTwin(view);
    if (!twin || !RearCopyActive()) return;
    // The other output takes the same values in the same order.
    const std::vector<EqViewValue> twinValues = EqViewSendOrder(*twin, band.index);
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (const EqViewValue& other : twinValues) {
            if (other.field == values[i].field) SendParam(*other.param, raws[i]);
        }
    }
}

void SendEqImport(EqView view, const EqImport& import) {
    for (const int position : import.changed) {
        SendEqViewBand(view, import.bands[static_cast<std::size_t>(position)]);
    }
}

}  // namespace sonoria
