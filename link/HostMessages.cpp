#include "link/HostMessages.h"

namespace sonoria {

std::atomic<HostMessageSink*> g_hMainWnd{nullptr};

void PostHostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (HostMessageSink* window = g_hMainWnd.load()) window->Post(message, wParam, lParam);
}

void SendHostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (HostMessageSink* window = g_hMainWnd.load()) window->Send(message, wParam, lParam);
}

}  // namespace sonoria
