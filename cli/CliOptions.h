// The command line of sonoria-cli, parsed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launch/BackendChoice.h"

namespace sonoria::cli {

// The longest wait for a remote key that remote learn accepts.
inline constexpr int kMaxLearnTimeoutSeconds = 3600;

struct CliOptions {
    BackendChoice backend;          // USB, or the virtual device with its model, start file and fault
    std::optional<std::string> devicePath;  // --device PATH: that one of the connected devices
    bool trace = false;
    int language = 1;               // 0 Chinese, 1 English
    std::optional<int> targetMode;  // load --mode N, as 1..4
    bool force = false;             // set and mode --force: past the device's key locks (and volume ceilings)
    bool yes = false;               // reset --yes: the reset is meant
    bool json = false;              // --json: one JSON document instead of the text lines
    bool verify = false;            // load --verify: read the device back and compare with what was sent
    bool response = false;          // eq --response: the drawn curve instead of the bands
    std::optional<std::string> importPath;    // eq --import FILE: a filter file into the view's bands
    bool fit = false;                         // eq --import --fit: fitted rather than the file's values
    bool values = false;                      // eq --import --values: the file's values band by band
    bool dryRun = false;                      // eq --import --dry-run: show what it would set, send nothing
    std::optional<std::string> exportFormat;  // eq --export apo|rew, as given (checked by the planner)
    std::optional<int> timeoutSeconds;  // remote learn --timeout=SECONDS
    std::optional<int> room;            // wmic pair --room ROOM, as 0..15 (A1..A8, B1..B8)
    bool help = false;
    std::vector<std::string> words; // the command and its arguments
};

// Parses the arguments; on a usage error returns nullopt with the message in `error`.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);

// Reads a stored-mode number 1..4.
std::optional<int> ParseModeNumber(const std::string& text);

// Reads a whole decimal number strictly (no blanks, no '+'); nullopt for anything else.
std::optional<long> ParseInteger(const std::string& text);

extern const char* const kUsage;

}  // namespace sonoria::cli
