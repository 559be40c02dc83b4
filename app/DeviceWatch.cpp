#include "app/DeviceWatch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>

#include "simulator/VirtualDevice.h"

#ifdef SONORIA_HAVE_LIBUDEV
#include <libudev.h>
#endif

namespace sonoria {
namespace {

class VirtualDeviceWatch : public DeviceWatch {
public:
    explicit VirtualDeviceWatch(VirtualDevice& device) : device_(device) {
        QPointer<DeviceWatch> self(this);
        device_.SetPlugListener([self](bool arrived, const std::string& path) {
            const QString qpath = QString::fromStdString(path);
            // The plugging thread may be any; the window hears of it on its own thread.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, arrived, qpath] {
                    if (!self) return;
                    if (arrived) {
                        emit self->deviceArrived(qpath);
                    } else {
                        emit self->deviceRemoved(qpath);
                    }
                },
                Qt::QueuedConnection);
        });
    }
    ~VirtualDeviceWatch() override { device_.SetPlugListener({}); }

private:
    VirtualDevice& device_;
};

#ifdef SONORIA_HAVE_LIBUDEV
// hidraw nodes appear and disappear; the hidapi backend names devices by their node.
class UdevDeviceWatch : public DeviceWatch {
public:
    UdevDeviceWatch() {
        udev_ = udev_new();
        if (udev_ == nullptr) return;
        monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
        if (monitor_ == nullptr) return;
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr);
        if (udev_monitor_enable_receiving(monitor_) < 0) return;
        notifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { ReadEvent(); });
    }
    ~UdevDeviceWatch() override {
        delete notifier_;
        if (monitor_ != nullptr) udev_monitor_unref(monitor_);
        if (udev_ != nullptr) udev_unref(udev_);
    }

private:
    void ReadEvent() {
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (device == nullptr) return;
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action != nullptr && node != nullptr) {
            const QString path = QString::fromLocal8Bit(node);
            if (qstrcmp(action, "add") == 0) emit deviceArrived(path);
            if (qstrcmp(action, "remove") == 0) emit deviceRemoved(path);
        }
        udev_device_unref(device);
    }

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
};
#endif

}  // namespace

std::unique_ptr<DeviceWatch> CreatePlatformDeviceWatch() {
#ifdef SONORIA_HAVE_LIBUDEV
    return std::make_unique<UdevDeviceWatch>();
#else
    return nullptr;
#endif
}

std::unique_ptr<DeviceWatch> CreateVirtualDeviceWatch(VirtualDevice& device) {
    return std::make_unique<VirtualDeviceWatch>(device);
}

}  // namespace sonoria
