// Sends that must not keep the window waiting for the device. While the
// device still owes the answer to an earlier command, a send is kept instead
// of written, and a later send for the same key replaces it; kept sends go
// out in the order they were first kept as soon as the device is free.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

namespace sonoria {

class CoalescingSender : public QObject {
    Q_OBJECT
public:
    // `busy` says whether a write now would have to wait for the device.
    CoalescingSender(std::function<bool()> busy, QObject* parent = nullptr);

    // Runs `send` at once when the device is free, otherwise keeps it as the
    // latest send of `key`.
    void Send(int key, std::function<void()> send);
    // Runs every kept send now, waiting for the device as a plain send does
    // (before the window goes away).
    void SendKeptNow();
    // Forgets every kept send (the link they were meant for is gone).
    void Clear();
    bool Pending() const { return !pending_.empty(); }

private:
    void Flush();

    std::function<bool()> busy_;
    std::vector<std::pair<int, std::function<void()>>> pending_;
    QTimer retry_;
};

}  // namespace sonoria
