#include "state/SyncWorkers.h"

#include <mutex>

#include "link/DebugLog.h"

namespace sonoria {
namespace {

std::mutex g_starterMutex;
std::function<void()> g_readAllStarter;

}  // namespace

void StartSynchronizeData() {
    DebugLog("Start thread:SynchronizeData\n");
    std::function<void()> starter;
    {
        std::lock_guard lock(g_starterMutex);
        starter = g_readAllStarter;
    }
    if (starter) starter();
}

std::function<void()> SetReadAllWorker(std::function<void()> starter) {
    std::lock_guard lock(g_starterMutex);
    std::swap(g_readAllStarter, starter);
    return starter;
}

}  // namespace sonoria
