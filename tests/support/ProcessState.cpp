#include "support/ProcessState.h"

#include "link/DeviceLock.h"
#include "link/EditLane.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/RearRouting.h"
#include "state/SyncWorkers.h"

namespace sonoria::test {

HostMessageSink& NoListener() {
    class Nobody : public HostMessageSink {
    public:
        void Post(unsigned, std::uintptr_t, std::intptr_t) override {}
        void Send(unsigned, std::uintptr_t, std::intptr_t) override {}
    };
    static Nobody nobody;
    return nobody;
}

ProcessStateGuard::ProcessStateGuard()
    : backend_(CurrentHidBackend()),
      handler_(ReadBack(SetReportHandler)),
      trace_(ReadBack(SetReportTrace)),
      mainWindow_(g_hMainWnd.load()),
      readThreadEnd_(g_bReadThreadEnd.load()),
      syncIdle_(g_bSyncIdle.load()),
      upgradeMode_(g_bUpgradeMode.load()),
      transferPercent_(g_nTransferPercent.load()),
      interrupted_(SynchronisationInterrupted()),
      language_(CurrentLanguage()),
      lockDirectory_(ReadBack(SetDeviceLockDirectory)),
      logSink_(ReadBack(SetDebugLogSink)),
      writeFailure_(ReadBack(SetWriteFailureHandler)),
      firmware_(ReadBack(SetFirmwareImageSource)) {}

ProcessStateGuard::~ProcessStateGuard() {
    // Workers write to the link, so they stop before it closes; the link's
    // own flags are then put back over what closing it left.
    StopSyncWorkers();
    DisconnectDevice();
    DropEdits();
    SetHidBackend(std::move(backend_));
    SetReportHandler(handler_);
    SetReportTrace(std::move(trace_));
    g_hMainWnd.store(mainWindow_);
    g_bReadThreadEnd.store(readThreadEnd_);
    g_bSyncIdle.store(syncIdle_);
    g_bUpgradeMode.store(upgradeMode_);
    g_nTransferPercent.store(transferPercent_);
    if (interrupted_) {
        InterruptSynchronisation();
    } else {
        ClearSynchronisationInterrupt();
    }
    SetCurrentLanguage(language_);
    SetDeviceLockDirectory(std::move(lockDirectory_));
    SetDebugLogSink(std::move(logSink_));
    SetWriteFailureHandler(std::move(writeFailure_));
    SetFirmwareImageSource(std::move(firmware_));
    ResetDeviceState();
    ResetRearRoutingFirstTime();
}

}  // namespace sonoria::test
