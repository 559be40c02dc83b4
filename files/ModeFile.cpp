#include "files/ModeFile.h"

#include <vector>

#include "files/FileIo.h"
#include "files/ModeFileFormat.h"
#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"

namespace sonoria {
namespace {

void AppendParams(std::vector<std::uint8_t>& out, int block, int count, ParamCopy copy) {
    for (int index = 0; index < count; ++index) {
        const ParamBytes bytes = GetParam(block, index, copy);
        out.push_back(bytes.first);
        out.push_back(bytes.second);
    }
}

template <typename Field>
void AppendBytes(std::vector<std::uint8_t>& out, const Field& field) {
    for (const auto& byte : field) out.push_back(byte.load(std::memory_order_relaxed));
}

}  // namespace

std::vector<std::uint8_t> BuildModeFile() {
    std::vector<std::uint8_t> out;
    out.reserve(kModeFileSize);
    for (const char* c = kModeMagicV3; *c != '\0'; ++c) {
        out.push_back(static_cast<std::uint8_t>(*c));
        out.push_back(0);
    }
    out.resize(kModeMagicBytes, 0);
    for (int block = 1; block <= 6; ++block) {
        AppendParams(out, block, kModeFileBlockValues[block], ParamCopy::Normal);
        if (block == 2) out.resize(out.size() + kBlock2Padding, 0);
    }
    for (ParamCopy copy : {ParamCopy::Normal, ParamCopy::Rear}) {
        for (int block : {kSubBlock, kCenterBlock}) AppendParams(out, block, kModeFileBlockValues[block], copy);
    }
    AppendBytes(out, g_Device.autoSub);
    AppendBytes(out, g_Device.machineDevice);
    AppendBytes(out, g_Device.remote);
    for (const auto& record : g_Device.lightRecords) AppendBytes(out, record);
    AppendBytes(out, g_Device.lightTable);
    out.resize(out.size() + kModeFileTail, 0);
    return out;
}

namespace {

void Apply(const FileParamBlock& block, int blockNumber, ParamCopy copy) {
    for (int index = 0; index < kBlockSizes[blockNumber]; ++index) {
        if (block[index][0]) SetParamFirst(blockNumber, index, *block[index][0], copy);
        if (block[index][1]) SetParamSecond(blockNumber, index, *block[index][1], copy);
    }
}

void ApplyToImage(const ModeFileContents& contents) {
    for (int block = 1; block <= kLastBlock; ++block) {
        Apply(contents.params[block], block, ParamCopy::Normal);
    }
    const bool rear = GetParam(kRearRouteA).first == 0 && GetParam(kRearRouteB).first == 127;
    switch (contents.layout) {
        case ModeFileLayout::V1:
            // No rear copies in the file: while routed to the rear, the image's rear
            // values are the ones in use, so both copies take them.
            if (rear) {
                for (int block : {kSubBlock, kCenterBlock}) {
                    for (int index = 0; index < kModeFileBlockValues[block]; ++index) {
                        SetParam(block, index, GetParam(block, index, ParamCopy::Rear), ParamCopy::Normal);
                    }
                }
            }
            g_Device.rearRouting.store(rear ? 1 : 0);
            break;
        case ModeFileLayout::V2:
        case ModeFileLayout::V3:
            Apply(contents.rear[0], kSubBlock, ParamCopy::Rear);
            Apply(contents.rear[1], kCenterBlock, ParamCopy::Rear);
            g_Device.rearRouting.store(rear ? 1 : 0);
            break;
        default: break;  // the oldest files say nothing about routing
    }
    for (std::size_t i = 0; i < kAutoSubRecordSize; ++i) {
        if (contents.autoSub[i]) g_Device.autoSub[i].store(*contents.autoSub[i]);
    }
}

}  // namespace

int WriteModeFile(const std::string& path) {
    return WriteModeFileBytes(path, BuildModeFile());
}

int WriteModeFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    return WriteFileBytes(path, bytes) ? 1 : 0;
}

namespace {

// Refuses what no program version could have written; nothing when the bytes may load.
std::optional<FileRefusal> Refusal(std::span<const std::uint8_t> bytes, const std::string& path) {
    const ModeFileLayout layout = DetectModeFileLayout(bytes);
    if (layout == ModeFileLayout::V4) return FileRefusal{.reason = FileRefusalReason::ModeVersion4, .path = path};
    return ModeFileLengthProblem(layout, bytes.size(), path);
}

}  // namespace

bool ReadModeFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error) {
    std::string text;
    FileRefusal refusal;
    if (!ReadFileBytes(path, text, {kModeFileMaxSize, FileRefusalReason::ModeTooLong}, refusal)) {
        return Refuse(error, refusal);
    }
    bytes.assign(text.begin(), text.end());
    if (const auto problem = Refusal(bytes, path)) return Refuse(error, *problem);
    return true;
}

int ReadModeFile(const std::string& path, std::string* error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadModeFileBytes(path, bytes, error)) return 0;
    return LoadModeFileBytes(bytes, error);
}

int LoadModeFileBytes(std::span<const std::uint8_t> bytes, std::string* error) {
    if (const auto problem = Refusal(bytes, {})) {
        Refuse(error, *problem);
        return 0;
    }
    ApplyToImage(ParseModeFile(bytes));
    return 1;
}

}  // namespace sonoria
