#include "link/HidapiBackend.h"

#include <hidapi/hidapi.h>

#include <map>
#include <mutex>

#include "link/CommandCodes.h"

namespace sonoria {
namespace {

// The attributes hidapi reported for each path at the last enumeration; the
// device itself is asked only when the path was never enumerated.
std::mutex g_attributesMutex;
std::map<std::string, HidAttributes> g_enumeratedAttributes;

// hidapi is initialised once for the process however many backends and open
// devices exist: hid_exit while a device is still open would pull the library
// from under it.
std::mutex g_libraryMutex;
int g_libraryUsers = 0;

void AcquireLibrary() {
    std::lock_guard lock(g_libraryMutex);
    if (g_libraryUsers++ == 0) hid_init();
}

void ReleaseLibrary() {
    std::lock_guard lock(g_libraryMutex);
    if (--g_libraryUsers == 0) hid_exit();
}

class HidapiDevice : public HidDevice {
public:
    HidapiDevice(hid_device* device, std::optional<HidAttributes> attributes)
        : device_(device), attributes_(attributes) {
        AcquireLibrary();
    }
    ~HidapiDevice() override {
        hid_close(device_);
        ReleaseLibrary();
    }

    std::optional<HidAttributes> GetAttributes() override {
        if (attributes_) return attributes_;
        if (const hid_device_info* info = hid_get_device_info(device_)) {
            return HidAttributes{info->vendor_id, info->product_id};
        }
        return std::nullopt;
    }

    int Read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override {
        return hid_read_timeout(device_, buffer, size, timeoutMs);
    }

    int Write(const std::uint8_t* data, std::size_t size) override { return hid_write(device_, data, size); }

private:
    hid_device* device_;
    std::optional<HidAttributes> attributes_;
};

}  // namespace

HidapiBackend::HidapiBackend() { AcquireLibrary(); }

HidapiBackend::~HidapiBackend() { ReleaseLibrary(); }

std::optional<std::vector<HidInterfaceInfo>> HidapiBackend::Enumerate() {
    std::vector<HidInterfaceInfo> interfaces;
    // Only our own interfaces: a desktop with a keyboard, a mouse and a few
    // receivers has more HID interfaces than the connection examines.
    hid_device_info* list = hid_enumerate(kVendorId, kProductId);
    std::lock_guard lock(g_attributesMutex);
    g_enumeratedAttributes.clear();
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        const std::string path = info->path != nullptr ? info->path : "";
        interfaces.push_back({path, kInterfaceActive, HidAttributes{info->vendor_id, info->product_id}});
        if (!path.empty()) g_enumeratedAttributes[path] = {info->vendor_id, info->product_id};
    }
    hid_free_enumeration(list);
    return interfaces;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const std::string& path) {
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) return nullptr;
    std::optional<HidAttributes> attributes;
    {
        std::lock_guard lock(g_attributesMutex);
        if (auto found = g_enumeratedAttributes.find(path); found != g_enumeratedAttributes.end()) {
            attributes = found->second;
        }
    }
    return std::make_unique<HidapiDevice>(device, attributes);
}

}  // namespace sonoria
