// Runs the user's edit lane on the window's thread: kept parameter writes go
// out as the device answers, and after a full answer window without one the
// next goes anyway, so that a device that has fallen silent is found out.
#pragma once

#include <QObject>
#include <QTimer>

namespace sonoria {

class EditLaneDriver : public QObject {
    Q_OBJECT
public:
    // Installs the lane for the calling thread; the destructor removes it.
    explicit EditLaneDriver(QObject* parent = nullptr);
    ~EditLaneDriver() override;

private:
    void Pump();
    void PumpOverdue();
    void Rearm(bool progressed);

    QTimer overdue_;  // the answer window without an answer while writes are kept
};

}  // namespace sonoria
