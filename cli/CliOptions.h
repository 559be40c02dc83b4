// The command line of sonoria-cli, parsed.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sonoria::cli {

struct CliOptions {
    bool useVirtual = false;
    std::string virtualModel = "KR710Q";
    std::string virtualState;       // mode data file the virtual device starts from
    bool trace = false;
    int language = 1;               // 0 Chinese, 1 English
    std::optional<int> targetMode;  // load --mode N, as 1..4
    bool help = false;
    std::vector<std::string> words; // the command and its arguments
};

// Parses the arguments; on a usage error returns nullopt with the message in `error`.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);

// Reads a stored-mode number 1..4.
std::optional<int> ParseModeNumber(const std::string& text);

// Reads a whole decimal number; nullopt for anything else.
std::optional<long> ParseInteger(const std::string& text);

extern const char* const kUsage;

}  // namespace sonoria::cli
