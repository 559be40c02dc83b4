// Real devices through hidapi (hidraw on Linux).
#pragma once

#include "link/HidBackend.h"

namespace sonoria {

class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;

    std::optional<std::vector<HidInterfaceInfo>> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
};

}  // namespace sonoria
