#include "launch/WireTrace.h"

#include <cstdio>

namespace sonoria {

std::string TraceLine(bool written, const std::uint8_t* report, std::size_t size) {
    std::size_t last = 1;
    for (std::size_t i = 2; i < size; ++i) {
        if (report[i] != 0) last = i;
    }
    std::string line = written ? ">" : "<";
    char hex[4];
    for (std::size_t i = 0; i <= last && i < size; ++i) {
        std::snprintf(hex, sizeof hex, " %02x", report[i]);
        line += hex;
    }
    return line;
}

ReportTrace WireTrace(std::function<void(const std::string& line)> writeLine) {
    return [writeLine = std::move(writeLine)](bool written, const Report& report) {
        writeLine(TraceLine(written, report.data(), report.size()));
    };
}

}  // namespace sonoria
