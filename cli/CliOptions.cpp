#include "cli/CliOptions.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "launch/StrictNumber.h"
#include "state/WirelessMics.h"

namespace sonoria::cli {

const char* const kUsage =
    "usage: sonoria-cli [--virtual[=MODEL[,MODEL...]]] [--virtual-state=FILE] [--virtual-fault=FAULT]\n"
    "                   [--device PATH] [--trace] [--lang=en|zh] [--json] COMMAND\n"
    "commands:\n"
    "  list                      matching HID devices and their paths\n"
    "  info                      machine name, versions, current mode, record layout\n"
    "  get NAME                  one parameter: NAME B/I RAW TEXT\n"
    "  set NAME VALUE [--force]  send a raw value within the parameter's range, then show the parameter;\n"
    "                            the device's key locks and volume ceilings apply unless --force is given\n"
    "  dump                      every named parameter\n"
    "  save FILE                 save the parameters to a mode data file; the extension .k71x is appended\n"
    "                            when missing (and replaces any other extension)\n"
    "  load FILE [--mode N] [--verify]\n"
    "                            load a mode data file into the device. A file whose name starts with m1, m2,\n"
    "                            m3 or m4 before its \".k71x\" (also melorin1..4 or 默认1..4; letter case\n"
    "                            does not matter), such as \"m2 vocal.k71x\", is then also stored into that\n"
    "                            mode; --mode N stores it into mode N instead. --verify reads every\n"
    "                            parameter back after the write and prints \"NAME B/I SENT READ\" for each\n"
    "                            the device did not take (SENT the text of the value sent, READ of the value\n"
    "                            read back; texts as for diff); then it exits 1 and stores no mode\n"
    "  diff A.k71x [B.k71x]      compare mode data file A with file B or, without B, with the device (B):\n"
    "                            one line \"NAME B/I TEXT-A TEXT-B\" per value the two hold differently, texts\n"
    "                            as get shows them (one that is empty or holds a blank in double quotes).\n"
    "                            Parameters first, in dump's order, a right-channel or block-6 twin at its\n"
    "                            own address; then the bytes of the records, B naming the record: the\n"
    "                            machine settings by their settings keys (machine/BYTE), remote-N (remote/N,\n"
    "                            the codes as remote show prints them), auto-sub-N (auto-sub/N), light-R-N\n"
    "                            (light-R/N) and light-table-N (light-table/N). Meter levels are not\n"
    "                            compared. Files are checked as load checks them; with two files no device\n"
    "                            is touched. Exit status 0 when nothing differs, 4 when something does\n"
    "  mode load|save|recall N [--force]\n"
    "                            load, save or recall the default of stored mode N (1 to 4); the device's\n"
    "                            key locks for loading (which also bars recalling) and saving modes apply\n"
    "                            unless --force is given\n"
    "  remote save|load FILE     save or load the learned remote codes; the extension .remo is appended\n"
    "                            when missing (and replaces any other extension)\n"
    "  logo TEXT                 set the text the device shows when switched on: at most 7 letters A-Z,\n"
    "                            digits, '-' and spaces; lower-case letters are raised\n"
    "  remote learn KEY [--timeout=SECONDS]\n"
    "                            teach the device key KEY (1 to 15) of the remote control: press the key on\n"
    "                            the remote within SECONDS (30 unless given); the learned codes are then\n"
    "                            written to the device. On a time-out or Ctrl-C the device stops listening\n"
    "  remote show               the 16 remote codes with the function of each key\n"
    "  wmic show                 the wireless microphones (the model with a receiver only)\n"
    "  wmic pair 1|2 --room ROOM pair microphone 1 or 2 on the channels of room ROOM (A1..A8, B1..B8)\n"
    "  wmic set 1|2 volume|gate|power VALUE\n"
    "                            a microphone's volume or noise gate (0 to 255) or transmit power\n"
    "                            (0 for 0 dB, 1 for -6 dB)\n"
    "  eq NAME [--response]      the bands of one EQ view as the EQ pages show it, one line each:\n"
    "                            \"band INDEX TYPE FREQUENCY GAIN Q\", \" locked\" after a reference band;\n"
    "                            --response prints the drawn curve instead: \"frequency_hz,gain_db\", then\n"
    "                            512 lines, one per column of the graph. NAME is one of mic, music,\n"
    "                            main-mic, main-music, center-mic, center-music, center-out, sub-mic,\n"
    "                            sub-music, sub-out (centre and sub as currently routed), reverb, echo\n"
    "                            (the effect EQs; echo has three points where the device has its low shelf)\n"
    "  eq NAME --import FILE [--fit|--values] [--dry-run]\n"
    "                            set the view's bands from a filter file (Equalizer APO or AutoEq filter\n"
    "                            lines, or a REW \"Filter Settings file\"): --values puts each filter into a\n"
    "                            band of its kind with the file's values, --fit fits the bands to the file's\n"
    "                            curve; without either, by values when every filter finds a band, else the\n"
    "                            fit. Prints the bands it sets as above, then \"# way fit|values\",\n"
    "                            \"# rms-error-db X\", \"# max-error-db Y\" (the drawn curve against the\n"
    "                            file's, 20 Hz to 20 kHz), \"# preamp-db P\" when the file has a preamp (not\n"
    "                            applied) and \"# skipped line N: TEXT (REASON)\" for each line not used;\n"
    "                            --dry-run sends nothing\n"
    "  eq NAME --export apo|rew  the view's editable bands as a filter file on standard output: Equalizer\n"
    "                            APO filter lines, or a REW \"Filter Settings file\"; imported by values\n"
    "                            into the same view it sets the values the view holds\n"
    "  settings                  the machine settings, one \"KEY: VALUE\" line each, keys as below\n"
    "  settings set KEY=VALUE...\n"
    "                            change machine settings, write them all to the device at once and show them:\n"
    "                            volume-save=mode|random (volumes saved with each mode, or kept as last used);\n"
    "                            power-on-mic=off|N, power-on-music=off|N (the volume 0 to 127 at power-on;\n"
    "                            the volumes now stay as they are); max-mic=N, max-music=N (volume ceilings,\n"
    "                            0 to 127); max-center=N, max-sub=N (0 to 49); lock=on|off (the key locks in\n"
    "                            force); locks=LIST|none (the locks set, separated by commas: mic-volume,\n"
    "                            music-volume, mic-menu, music-menu, load-mode, save-mode, remote,\n"
    "                            effect-volume)\n"
    "  reset --yes               return the device to its factory settings: power-on volumes, volume ceilings\n"
    "                            and key locks (the device may also return its stored modes to their\n"
    "                            defaults); without --yes it says so and sends nothing\n"
    "  print-udev-rules          the udev rule that gives the logged-in user access to the device\n"
    "options:\n"
    "  --virtual[=MODEL]         the built-in virtual device instead of USB (model KR710Q unless given), at\n"
    "                            virtual:sonoria-0\n"
    "  --virtual=MODEL,MODEL...  one virtual device per model, as if several were connected, at\n"
    "                            virtual:sonoria-0, virtual:sonoria-1 and on; each starts from the file of\n"
    "                            --virtual-state and shows the fault of --virtual-fault\n"
    "  --device PATH             the connected device at PATH (as list prints it) rather than the first one\n"
    "                            found; exit status 1 when no device is at PATH\n"
    "  --virtual-state=FILE      start the virtual device from a mode data file (implies --virtual)\n"
    "  --virtual-fault=FAULT     make the virtual device fail (implies --virtual): silent-after:N stops\n"
    "                            answering after N answered commands, break-after:N breaks the link after\n"
    "                            N commands, slow:MS answers every command MS milliseconds late,\n"
    "                            drop-writes:N answers every parameter write but leaves each Nth unstored\n"
    "  --trace                   every report on the wire, on standard error: \"> \" sent, \"< \" received\n"
    "  --lang=en|zh              the language of the display texts (English unless given)\n"
    "  --force                   with set and mode only: ignore the device's key locks (and, with set, its\n"
    "                            volume ceilings)\n"
    "  --yes                     with reset only: confirms the reset\n"
    "  --verify                  with load only: read the device back and list what it did not take\n"
    "  --json                    one JSON document on standard output instead of the lines, their fields\n"
    "                            named as in the lines: list [{path, can-open}]; info {machine,\n"
    "                            hardware-version, sub-version, mode, record-layout (in bytes)}; get {name,\n"
    "                            block, index, raw, text} and dump an array of them; eq [{index, type,\n"
    "                            frequency, gain, q, locked}] and eq --response [{frequency_hz, gain_db}];\n"
    "                            settings (and settings set) {KEY: VALUE}; diff [{name, block, index, a, b}]\n"
    "                            (block the record's name for a record's byte); remote show [{key, code,\n"
    "                            function}]; wmic show {room, mics: [{mic, volume, gate, channel,\n"
    "                            frequency-mhz, power, status, pairing}]}. Errors stay on standard error;\n"
    "                            --json with any other command is a usage error\n"
    "  --timeout=SECONDS         with remote learn only: how long to wait for the key\n"
    "  --room ROOM               with wmic pair only: the room whose channels the microphones use\n"
    "  --import FILE             with eq only: the filter file whose filters become the view's bands\n"
    "  --fit, --values           with eq --import only: fit the bands to the file, or take its values\n"
    "  --dry-run                 with eq --import only: print what the import would set and send nothing\n"
    "  --export apo|rew          with eq only: write the view's bands as a filter file of that format\n"
    "Files are read and checked before the device is touched. Exit status: 0 success; 1 no device, refused\n"
    "model, a key lock or volume ceiling, or a device that failed (also one that did not take what a load\n"
    "with --verify sent); 2 usage error; 3 file error; 4 diff found differences; 130 interrupted (SIGINT\n"
    "or SIGTERM: the command in flight is finished, the volumes are restored and the device is let go).\n";

std::optional<long> ParseInteger(const std::string& text) { return ParseStrictInteger(text); }

std::optional<int> ParseModeNumber(const std::string& text) {
    const auto value = ParseInteger(text);
    if (!value || *value < 1 || *value > 4) return std::nullopt;
    return static_cast<int>(*value);
}

namespace {

// The options that are one word and set one switch.
constexpr std::pair<std::string_view, bool CliOptions::*> kFlags[] = {
    {"--trace", &CliOptions::trace},       {"--force", &CliOptions::force}, {"--yes", &CliOptions::yes},
    {"--response", &CliOptions::response}, {"--fit", &CliOptions::fit},     {"--values", &CliOptions::values},
    {"--dry-run", &CliOptions::dryRun},    {"--verify", &CliOptions::verify},
    {"--json", &CliOptions::json},
};

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error) {
    CliOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        switch (TakeBackendArgument(arg, options.backend, error)) {
            case BackendArgument::Taken: continue;
            case BackendArgument::Invalid: return std::nullopt;
            case BackendArgument::NotOurs: break;
        }
        if (const auto flag = std::find_if(std::begin(kFlags), std::end(kFlags),
                                           [&](const auto& f) { return f.first == arg; });
            flag != std::end(kFlags)) {
            options.*(flag->second) = true;
        } else if (arg.rfind("--lang=", 0) == 0) {
            const std::string lang = arg.substr(7);
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
        } else if (arg == "--device") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "--device takes a device's path, as sonoria-cli list prints it";
                return std::nullopt;
            }
            options.devicePath = args[++i];
        } else if (arg == "--import" || arg == "--export") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = arg == "--import" ? "--import takes a filter file" : "--export takes apo or rew";
                return std::nullopt;
            }
            (arg == "--import" ? options.importPath : options.exportFormat) = args[++i];
        } else if (arg.rfind("--timeout=", 0) == 0) {
            const auto seconds = ParseInteger(arg.substr(10));
            if (!seconds || *seconds < 1 || *seconds > kMaxLearnTimeoutSeconds) {
                error = "--timeout takes a number of seconds from 1 to " + std::to_string(kMaxLearnTimeoutSeconds);
                return std::nullopt;
            }
            options.timeoutSeconds = static_cast<int>(*seconds);
        } else if (arg == "--room") {
            if (i + 1 >= args.size() || !(options.room = RoomFromName(args[i + 1]))) {
                error = "--room takes a room from A1 to A8 or B1 to B8";
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
