#include "launch/VirtualDeviceState.h"

#include <vector>

#include "files/ModeFile.h"
#include "files/ModeFileFormat.h"
#include "simulator/VirtualDevice.h"

namespace sonoria {
namespace {

template <typename Target, typename Source>
void CopyPresent(Target& target, const Source& source) {
    for (std::size_t i = 0; i < source.size() && i < target.size(); ++i) {
        if (source[i]) target[i] = *source[i];
    }
}

void CopyBlock(sim::ParamSet& params, int block, const FileParamBlock& values) {
    for (int index = 0; index < kBlockSizes[block]; ++index) {
        sim::ParamBytes bytes = params.Get(block, index);
        if (values[index][0]) bytes.first = *values[index][0];
        if (values[index][1]) bytes.second = *values[index][1];
        params.Set(block, index, bytes);
    }
}

}  // namespace

bool LoadVirtualDeviceState(VirtualDevice& device, const std::string& path, std::string* error) {
    std::vector<std::uint8_t> bytes;
    // The same checks as a load into a device: a refused file starts nothing.
    if (!ReadModeFileBytes(path, bytes, error)) return false;
    const ModeFileContents contents = ParseModeFile(bytes);
    sim::DeviceMemory memory = device.Memory();
    for (int block = 1; block <= kLastBlock; ++block) CopyBlock(memory.working, block, contents.params[block]);
    const bool hasRear = contents.layout == ModeFileLayout::V2 || contents.layout == ModeFileLayout::V3;
    if (hasRear && contents.SaysRearRouting()) {
        CopyBlock(memory.working, kSubBlock, contents.rear[0]);
        CopyBlock(memory.working, kCenterBlock, contents.rear[1]);
    }
    memory.stored[memory.currentMode] = memory.working;
    CopyPresent(memory.autoSub, contents.autoSub);
    CopyPresent(memory.machine, contents.machine);
    CopyPresent(memory.remote, contents.remote);
    for (std::size_t r = 0; r < kLightRecordCount; ++r) CopyPresent(memory.lights[r], contents.lights[r]);
    CopyPresent(memory.lightTable, contents.lightTable);
    device.SetMemory(std::move(memory));
    return true;
}

}  // namespace sonoria
