// Several virtual devices behind one backend, as several devices plugged in
// at once: each lists and opens under its own path.
#pragma once

#include <memory>
#include <vector>

#include "simulator/VirtualDevice.h"

namespace sonoria {

class VirtualDeviceGroup : public HidBackend {
public:
    // The devices should have paths of their own (VirtualDevicePath).
    explicit VirtualDeviceGroup(std::vector<std::shared_ptr<VirtualDevice>> devices);

    // The interfaces of every plugged device, in the order given.
    std::optional<std::vector<HidInterfaceInfo>> Enumerate() override;
    // The device whose path it is, as VirtualDevice::Open.
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    bool SharedWithOtherPrograms() const override { return false; }

    const std::vector<std::shared_ptr<VirtualDevice>>& Devices() const { return devices_; }

private:
    std::vector<std::shared_ptr<VirtualDevice>> devices_;
};

}  // namespace sonoria
