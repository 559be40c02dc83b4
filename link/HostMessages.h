// Messages the link and the synchronisation workers send to the main window,
// and the interface through which they reach it.
#pragma once

#include <atomic>
#include <cstdint>

namespace sonoria {

enum HostMessage : unsigned {
    WM_KEY_LEARNED = 1001,     // wParam: the key code just learned
    WM_SYNC_DONE = 1002,       // wParam: 0 after a read-all, 1 after a write-all, 2 after a
                               // routing change of the centre and sub outputs;
                               // lParam: 1 when it ran to its end on a sound link, 0 when it failed
    WM_WMIC_STATUS = 1003,     // wireless-microphone status changed
    WM_UPGRADE_DONE = 1004,    // firmware transfer finished; wParam: 1 every report written, 0 failed
    WM_LINK_LOST = 1005,       // the read thread ended on a read error, or the device stopped answering
};

class HostMessageSink {
public:
    virtual ~HostMessageSink() = default;
    // Queues the message for the window and returns at once.
    virtual void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Delivers the message in order with the posted ones. Implementations must
    // not make the calling thread wait on the window: the read thread sends
    // these, and a window that is closing the link waits for the read thread.
    virtual void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// The main window; set by ConnectDevice. Null means nobody listens.
extern std::atomic<HostMessageSink*> g_hMainWnd;

void PostHostMessage(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
void SendHostMessage(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

}  // namespace sonoria
