#include "files/RemoteFile.h"

#include "files/FileIo.h"
#include "files/FileNames.h"
#include "link/CommandCodes.h"
#include "link/Transport.h"
#include "state/DeviceState.h"

namespace sonoria {

int WriteRemoteFile(const std::string& path) {
    std::uint8_t bytes[kRemoteBlockSize];
    for (std::size_t i = 0; i < kRemoteBlockSize; ++i) bytes[i] = g_Device.remote[i].load();
    return WriteFileBytes(path, bytes) ? 1 : 0;
}

bool ReadRemoteFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* error) {
    std::string text;
    FileRefusal refusal;
    if (!ReadFileBytes(path, text, {kRemoteBlockSize, FileRefusalReason::RemoteTooLong}, refusal)) {
        return Refuse(error, refusal);
    }
    bytes.assign(text.begin(), text.end());
    return true;
}

void ApplyRemoteFileBytes(std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size() && i < kRemoteBlockSize; ++i) g_Device.remote[i].store(bytes[i]);
}

int ReadRemoteFile(const std::string& path, std::string* error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadRemoteFileBytes(path, bytes, error)) return 0;
    ApplyRemoteFileBytes(bytes);
    return 1;
}

bool SendRemoteBlock() {
    Report report{};
    report[0] = kOutputReportId;
    report[1] = CMD_SET_REMOTE;
    for (std::size_t i = 0; i < kRemoteBlockSize; ++i) report[2 + i] = g_Device.remote[i].load();
    return WriteUsbData(report) > 0;
}

int LoadRemoteFile(const std::string& path) {
    if (ReadRemoteFile(WithExtension(path, kRemoteFileExtension)) != 1) return -1;
    return SendRemoteBlock() ? 1 : -1;
}

}  // namespace sonoria
