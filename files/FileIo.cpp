#include "files/FileIo.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <mutex>

namespace sonoria {
namespace {

std::mutex g_handlerMutex;
WriteFailureHandler g_writeFailureHandler;

void ReportWriteFailure(int errorCode, const std::string& path) {
    WriteFailureHandler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_writeFailureHandler;
    }
    if (handler) handler(errorCode, path);
}

}  // namespace

WriteFailureHandler SetWriteFailureHandler(WriteFailureHandler handler) {
    std::lock_guard lock(g_handlerMutex);
    std::swap(g_writeFailureHandler, handler);
    return handler;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::size_t limit) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return false;
    bytes.assign(limit, '\0');
    const std::size_t read = std::fread(bytes.data(), 1, limit, file.get());
    if (std::ferror(file.get())) return false;
    bytes.resize(read);
    return true;
}

bool WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    errno = 0;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        ReportWriteFailure(errno, path);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        ReportWriteFailure(writeError != 0 ? writeError : errno, path);
        return false;
    }
    return true;
}

}  // namespace sonoria
