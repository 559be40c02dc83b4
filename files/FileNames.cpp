#include "files/FileNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace sonoria {
namespace {

std::size_t NameStart(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

}  // namespace

std::string WithExtension(const std::string& path, std::string_view extension) {
    const std::size_t nameStart = NameStart(path);
    const std::size_t dot = path.rfind('.');
    const std::string stem = dot != std::string::npos && dot >= nameStart ? path.substr(0, dot) : path;
    return stem + "." + std::string(extension);
}

int TargetModeForName(std::string_view fileName) {
    const std::size_t extension = fileName.find(".k71x");
    std::string name(extension == std::string_view::npos ? std::string_view() : fileName.substr(0, extension));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const char* const kPrefixes[] = {"默认", "melorin", "m"};
    for (int mode = 0; mode < 4; ++mode) {
        for (const char* prefix : kPrefixes) {
            const std::string wanted = std::string(prefix) + std::to_string(mode + 1);
            if (name.rfind(wanted, 0) == 0) return mode;
        }
    }
    return -1;
}

int TargetModeForFileName(const std::string& path) {
    return TargetModeForName(std::string_view(path).substr(NameStart(path)));
}

std::string WriteFailureText(int errorCode, const std::string& path) {
    std::vector<char> buffer(path.size() + 128);
    std::snprintf(buffer.data(), buffer.size(), "Errcode=%d,Can't write to file:\n%s\nProbaby it is write protected.",
                  errorCode, path.c_str());
    return buffer.data();
}

}  // namespace sonoria
