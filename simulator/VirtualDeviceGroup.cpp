#include "simulator/VirtualDeviceGroup.h"

#include <utility>

namespace sonoria {

VirtualDeviceGroup::VirtualDeviceGroup(std::vector<std::shared_ptr<VirtualDevice>> devices)
    : devices_(std::move(devices)) {}

std::optional<std::vector<HidInterfaceInfo>> VirtualDeviceGroup::Enumerate() {
    std::vector<HidInterfaceInfo> all;
    for (const auto& device : devices_) {
        for (HidInterfaceInfo& info : device->Enumerate().value_or(std::vector<HidInterfaceInfo>{})) {
            all.push_back(std::move(info));
        }
    }
    return all;
}

std::unique_ptr<HidDevice> VirtualDeviceGroup::Open(const std::string& path) {
    for (const auto& device : devices_) {
        if (device->Path() == path) return device->Open(path);
    }
    return nullptr;
}

}  // namespace sonoria
