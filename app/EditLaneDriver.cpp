#include "app/EditLaneDriver.h"

#include <chrono>
#include <thread>

#include "link/EditLane.h"
#include "link/LinkState.h"

namespace sonoria {

EditLaneDriver::EditLaneDriver(QObject* parent) : QObject(parent) {
    overdue_.setSingleShot(true);
    overdue_.setInterval(std::chrono::duration_cast<std::chrono::milliseconds>(kAnswerWait));
    connect(&overdue_, &QTimer::timeout, this, &EditLaneDriver::PumpOverdue);
    // Called from the read thread too: it only queues the pump for this thread.
    InstallEditLane(std::this_thread::get_id(),
                    [this] { QMetaObject::invokeMethod(this, &EditLaneDriver::Pump, Qt::QueuedConnection); });
}

EditLaneDriver::~EditLaneDriver() { RemoveEditLane(); }

void EditLaneDriver::Pump() { Rearm(PumpEdits()); }

void EditLaneDriver::PumpOverdue() { Rearm(PumpEdits(true)); }

void EditLaneDriver::Rearm(bool progressed) {
    if (!EditsPending()) {
        overdue_.stop();
    } else if (progressed || !overdue_.isActive()) {
        overdue_.start();
    }
}

}  // namespace sonoria
