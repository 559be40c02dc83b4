#include "link/DebugLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace sonoria {
namespace {

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

DebugLogSink& Sink() {
    static DebugLogSink sink;
    return sink;
}

bool DefaultToStderr() {
    static const bool enabled = [] {
        const char* value = std::getenv("SONORIA_DEBUG");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

}  // namespace

void DebugLog(std::string_view line) {
    std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(line);
    } else if (DefaultToStderr()) {
        std::fwrite(line.data(), 1, line.size(), stderr);
        if (line.empty() || line.back() != '\n') std::fputc('\n', stderr);
    }
}

void DebugLogFormat(std::size_t capacity, const char* format, ...) {
    std::vector<char> buffer(capacity + 1, '\0');
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    DebugLog(buffer.data());
}

DebugLogSink SetDebugLogSink(DebugLogSink sink) {
    std::lock_guard lock(SinkMutex());
    DebugLogSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

}  // namespace sonoria
