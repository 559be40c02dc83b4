// Arrival and removal of HID devices, as the platform reports them. On Linux
// a libudev monitor on the "hidraw" subsystem; the virtual device reports its
// own plugging through the same interface.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace sonoria {

class VirtualDevice;

class DeviceWatch : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DeviceWatch() override = default;

signals:
    // Delivered on the user-interface thread, with the device's path as the
    // HID backend names it.
    void deviceArrived(const QString& path);
    void deviceRemoved(const QString& path);
};

// The platform's watch; null where the platform offers none. The caller is
// its one owner (it has no Qt parent).
std::unique_ptr<DeviceWatch> CreatePlatformDeviceWatch();

// Watches a virtual device's Plug and Unplug (which may be called from any
// thread); owned by the caller like the platform's watch.
std::unique_ptr<DeviceWatch> CreateVirtualDeviceWatch(VirtualDevice& device);

}  // namespace sonoria
