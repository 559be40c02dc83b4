#include "cli/CliOptions.h"

#include <cerrno>
#include <cstdlib>

namespace sonoria::cli {

const char* const kUsage =
    "usage: sonoria-cli [--virtual[=MODEL]] [--virtual-state=FILE] [--trace] [--lang=en|zh] COMMAND\n"
    "commands:\n"
    "  list                      matching HID devices and their paths\n"
    "  info                      machine name, versions, current mode, record layout\n"
    "  get NAME                  one parameter: NAME B/I RAW TEXT\n"
    "  set NAME VALUE            send a raw value, then show the parameter\n"
    "  dump                      every named parameter\n"
    "  save FILE                 save the parameters to a mode data file (.k71x)\n"
    "  load FILE [--mode N]      load a mode data file into the device, then store it in mode N\n"
    "  mode load|save|recall N   load, save or recall the default of stored mode N (1 to 4)\n"
    "  remote save|load FILE     save or load the learned remote codes (.remo)\n"
    "  print-udev-rules          the udev rule that gives the logged-in user access to the device\n";

std::optional<long> ParseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0') return std::nullopt;
    return value;
}

std::optional<int> ParseModeNumber(const std::string& text) {
    const auto value = ParseInteger(text);
    if (!value || *value < 1 || *value > 4) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error) {
    CliOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto valueOf = [&](const char* prefix) { return arg.substr(std::string(prefix).size()); };
        if (arg == "--virtual") {
            options.useVirtual = true;
        } else if (arg.rfind("--virtual=", 0) == 0) {
            options.useVirtual = true;
            options.virtualModel = valueOf("--virtual=");
            if (options.virtualModel.empty()) {
                error = "--virtual= needs a model name, for example --virtual=KR710QX";
                return std::nullopt;
            }
        } else if (arg.rfind("--virtual-state=", 0) == 0) {
            options.useVirtual = true;
            options.virtualState = valueOf("--virtual-state=");
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg.rfind("--lang=", 0) == 0) {
            const std::string lang = valueOf("--lang=");
            if (lang != "en" && lang != "zh") {
                error = "--lang takes en or zh, not \"" + lang + "\"";
                return std::nullopt;
            }
            options.language = lang == "en" ? 1 : 0;
        } else if (arg == "--mode") {
            if (i + 1 >= args.size() || !(options.targetMode = ParseModeNumber(args[i + 1]))) {
                error = "--mode takes a stored mode number from 1 to 4";
                return std::nullopt;
            }
            ++i;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg.rfind("--", 0) == 0) {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            options.words.push_back(arg);
        }
    }
    return options;
}

}  // namespace sonoria::cli
