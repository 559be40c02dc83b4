#include "app/CoalescingSender.h"

#include <algorithm>

namespace sonoria {
namespace {

// How often kept sends look whether the device has answered.
constexpr int kRetryMs = 2;

}  // namespace

CoalescingSender::CoalescingSender(std::function<bool()> busy, QObject* parent)
    : QObject(parent), busy_(std::move(busy)) {
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &CoalescingSender::Flush);
}

void CoalescingSender::Send(int key, std::function<void()> send) {
    if (pending_.empty() && !busy_()) {
        send();
        return;
    }
    const auto kept = std::find_if(pending_.begin(), pending_.end(), [key](const auto& p) { return p.first == key; });
    if (kept != pending_.end()) {
        kept->second = std::move(send);
    } else {
        pending_.emplace_back(key, std::move(send));
    }
    if (!retry_.isActive()) retry_.start();
}

void CoalescingSender::SendKeptNow() {
    retry_.stop();
    auto kept = std::move(pending_);
    pending_.clear();
    for (auto& [key, send] : kept) send();
}

void CoalescingSender::Clear() {
    pending_.clear();
    retry_.stop();
}

void CoalescingSender::Flush() {
    // One send per turn: the next waits for the answer to this one.
    if (pending_.empty() || busy_()) {
        if (pending_.empty()) retry_.stop();
        return;
    }
    const std::function<void()> send = std::move(pending_.front().second);
    pending_.erase(pending_.begin());
    if (pending_.empty()) retry_.stop();
    send();
}

}  // namespace sonoria
