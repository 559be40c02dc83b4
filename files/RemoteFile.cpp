#include "files/RemoteFile.h"

#include "files/FileNames.h"
#include "files/FileIo.h"
#include "link/CommandCodes.h"
#include "link/Transport.h"
#include "state/DeviceState.h"

namespace sonoria {

int WriteRemoteFile(const std::string& path) {
    std::uint8_t bytes[kRemoteBlockSize];
    for (std::size_t i = 0; i < kRemoteBlockSize; ++i) bytes[i] = g_Device.remote[i].load();
    return WriteFileBytes(path, bytes) ? 1 : 0;
}

int ReadRemoteFile(const std::string& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes, kRemoteBlockSize)) return 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) g_Device.remote[i].store(static_cast<std::uint8_t>(bytes[i]));
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
