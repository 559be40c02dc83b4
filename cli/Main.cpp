#include <atomic>
#include <csignal>
#include <iostream>

#include "cli/Cli.h"
#include "state/SyncWorkers.h"

namespace {

// The signal that asked us to stop; only a lock-free atomic may be touched
// from the handler.
std::atomic<int> g_caughtSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnStopSignal(int signal) {
    g_caughtSignal.store(signal);
    sonoria::InterruptSynchronisation();
}

// SIGINT and SIGTERM let the command in flight end and the device go; a
// second one (the handler is reset after the first) ends the program at once.
void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    InstallStopHandlers();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = sonoria::cli::RunCli(args, std::cout, std::cerr);
    // A signal that came before the run had started still counts.
    return g_caughtSignal.load() != 0 ? static_cast<int>(sonoria::cli::kExitInterrupted) : status;
}
