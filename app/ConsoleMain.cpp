// sonoria: connects to the device (or the built-in virtual device), reads its
// whole state and shows the input meters for a few seconds. The windows replace
// this console front end; the link underneath is the same.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/HidapiBackend.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/Synchronize.h"

using namespace sonoria;

namespace {

class ConsoleWindow : public HostMessageSink {
public:
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t) override {
        std::printf("message %u (%ju)\n", message, static_cast<std::uintmax_t>(wParam));
    }
    void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        Post(message, wParam, lParam);
    }
};

int Usage() {
    std::fprintf(stderr, "usage: sonoria [--virtual[=MODEL]] [--seconds=N]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::shared_ptr<HidBackend> backend;
    int seconds = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--virtual") {
            backend = std::make_shared<VirtualDevice>();
        } else if (arg.rfind("--virtual=", 0) == 0) {
            backend = std::make_shared<VirtualDevice>(arg.substr(std::strlen("--virtual=")));
        } else if (arg.rfind("--seconds=", 0) == 0) {
            seconds = std::atoi(arg.c_str() + std::strlen("--seconds="));
        } else {
            return Usage();
        }
    }
    if (!backend) backend = std::make_shared<HidapiBackend>();
    SetHidBackend(backend);

    ConsoleWindow window;
    if (ConnectDevice(&window) != 1) {
        std::fprintf(stderr, "No device found (USB vendor 0x2010, product 0x1031). "
                             "Plug it in, or run with --virtual to use the built-in virtual device.\n");
        return 1;
    }
    ReadAll();
    const std::string name = g_Device.machineName.Get();
    std::printf("machine: %s%s\nhardware version: %s\nsub-version: %02d\ncurrent mode: %d\n", name.c_str(),
                IsKnownModel(name) ? "" : " (not a model this program controls)",
                g_Device.hardwareVersion.Get().c_str(), g_Device.subVersion.load(),
                g_Device.currentMode.load() + 1);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end && g_bReadThreadEnd.load() == 0) {
        SendCommand(CMD_GET_METERS);
        std::printf("meters  mic %3d  music L %3d  music R %3d\n", GetParam(1, 0).second, GetParam(4, 0).second,
                    GetParam(4, 16).second);
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    SendCommand(CMD_BYE);
    CloseLink();
    return 0;
}
