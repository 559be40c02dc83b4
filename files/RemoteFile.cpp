#include "files/RemoteFile.h"

#include "files/FileIo.h"
#include "files/FileNames.h"
#include "state/DeviceState.h"
#include "state/RemoteKeys.h"

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

int LoadRemoteFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadRemoteFileBytes(WithExtension(path, kRemoteFileExtension), bytes)) return -1;
    return SendRemoteCodes(bytes) ? 1 : -1;
}

}  // namespace sonoria
