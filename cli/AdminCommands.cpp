#include "cli/AdminCommands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/MachineSettings.h"
#include "state/Senders.h"
#include "state/Synchronize.h"
#include "state/SyncWorkers.h"

namespace sonoria::cli {
namespace {

// True once the device has answered the command just written, on a sound link.
bool DeviceTookIt() { return WaitForAnswer() && LinkSound(); }

// The key locks, by their bit of KeyLockBits: the name "locks" gives each and
// the label of its check in the machine settings window.
struct KeyLock {
    int bit;
    std::string_view name;
    std::string_view label;
};
constexpr std::array<KeyLock, 8> kKeyLocks = {{
    {kLockMicVolumeBit, "mic-volume", "MIC VOL"},
    {kLockMusicVolumeBit, "music-volume", "MUSIC VOL"},
    {kLockMicMenuBit, "mic-menu", "MIC MENU"},
    {kLockMusicMenuBit, "music-menu", "MUSIC MENU"},
    {kLockLoadModeBit, "load-mode", "LOAD MODE"},
    {kLockSaveModeBit, "save-mode", "SAVE MODE"},
    {kLockRemoteBit, "remote", "IR Control"},
    {kLockEffectVolumeBit, "effect-volume", "EFX VOL"},
}};
constexpr bool LocksInBitOrder() {
    for (std::size_t i = 0; i < kKeyLocks.size(); ++i) {
        if (kKeyLocks[i].bit != static_cast<int>(i)) return false;
    }
    return true;
}
static_assert(LocksInBitOrder(), "kKeyLocks names bits 0 to 7, in order");

enum class Kind {
    VolumeSave,  // "mode" (1: volumes saved with each mode) or "random" (0: kept as last used)
    PowerOn,     // "off" (255: not set) or a volume 0..top
    Ceiling,     // 0..top
    Switch,      // "on" (1) or "off" (0)
    Locks,       // key lock names separated by commas, or "none"
};

// The settings of the record, in the order of their bytes, which is the order printed.
struct Setting {
    std::string_view key;
    MachineRecordByte byte;
    Kind kind;
    int top = 0;  // the highest value of PowerOn and Ceiling, as the machine settings window allows
};
constexpr std::array<Setting, 9> kSettings = {{
    {"volume-save", VolumeSaveMode, Kind::VolumeSave},
    {"power-on-mic", PowerOnMicVolume, Kind::PowerOn, kMachineVolumeTop},
    {"power-on-music", PowerOnMusicVolume, Kind::PowerOn, kMachineVolumeTop},
    {"max-mic", MaxMicVolume, Kind::Ceiling, kMachineVolumeTop},
    {"max-music", MaxMusicVolume, Kind::Ceiling, kMachineVolumeTop},
    {"max-center", MaxCenterVolume, Kind::Ceiling, kMachineOutputVolumeTop},
    {"max-sub", MaxSubVolume, Kind::Ceiling, kMachineOutputVolumeTop},
    {"lock", KeyLockEnable, Kind::Switch},
    {"locks", KeyLockBits, Kind::Locks},
}};
constexpr bool SettingsInRecordOrder() {
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        if (kSettings[i].byte != i) return false;
    }
    return true;
}
static_assert(SettingsInRecordOrder(), "kSettings covers record bytes 0 to 8, in order");
static_assert(kMachineVolumeTop < kPowerOnVolumeUnset, "a power-on volume never reads as off");

// The bytes "settings set" changes, with their new values.
using Changes = std::vector<std::pair<MachineRecordByte, int>>;

template <typename Items, typename Name>
std::string Listed(const Items& items, Name name) {
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : ", ") + std::string(name(item));
    return text;
}

std::string LockNames() {
    return Listed(kKeyLocks, [](const KeyLock& lock) { return lock.name; });
}

std::string SettingKeys() {
    return Listed(kSettings, [](const Setting& setting) { return setting.key; });
}

std::string FormatLocks(int bits) {
    std::string text;
    for (const KeyLock& lock : kKeyLocks) {
        if ((bits & (1 << lock.bit)) == 0) continue;
        if (!text.empty()) text += ',';
        text += lock.name;
    }
    return text.empty() ? "none" : text;
}

std::string FormatValue(const Setting& setting, int raw) {
    switch (setting.kind) {
        case Kind::VolumeSave: return raw != 0 ? "mode" : "random";
        case Kind::PowerOn: return raw == kPowerOnVolumeUnset ? "off" : std::to_string(raw);
        case Kind::Ceiling: return std::to_string(raw);
        case Kind::Switch: return raw != 0 ? "on" : "off";
        case Kind::Locks: return FormatLocks(raw);
    }
    return {};
}

// One "key: value" line per setting, or one object of them for --json.
void PrintSettings(std::ostream& out, bool json) {
    Json document = Json::object();
    for (const Setting& setting : kSettings) {
        const std::string text = FormatValue(setting, g_Device.machineDevice[setting.byte].load());
        if (json) {
            document[std::string(setting.key)] = text;
        } else {
            out << setting.key << ": " << text << "\n";
        }
    }
    if (json) PrintJson(out, document);
}

const KeyLock* FindKeyLock(std::string_view name) {
    for (const KeyLock& lock : kKeyLocks) {
        if (lock.name == name) return &lock;
    }
    return nullptr;
}

std::optional<int> ParseLocks(std::string_view text, std::string& error) {
    if (text == "none") return 0;
    int bits = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view name = text.substr(start, comma == std::string_view::npos ? comma : comma - start);
        const KeyLock* lock = FindKeyLock(name);
        if (lock == nullptr) {
            error = name.empty() ? "locks takes none or key locks separated by commas, from: " + LockNames()
                                 : "unknown key lock \"" + std::string(name) + "\"; the key locks are " + LockNames();
            return std::nullopt;
        }
        if ((bits & (1 << lock->bit)) != 0) {
            error = "locks names " + std::string(name) + " twice";
            return std::nullopt;
        }
        bits |= 1 << lock->bit;
        if (comma == std::string_view::npos) return bits;
        start = comma + 1;
    }
}

// The record byte for `text`; nullopt with the reason in `error`.
std::optional<int> ParseValue(const Setting& setting, const std::string& text, std::string& error) {
    const std::string key(setting.key);
    switch (setting.kind) {
        case Kind::VolumeSave:
            if (text == "mode") return 1;
            if (text == "random") return 0;
            error = key + " takes mode (volumes saved with each mode) or random (volumes kept as last used)";
            return std::nullopt;
        case Kind::PowerOn:
        case Kind::Ceiling: {
            if (setting.kind == Kind::PowerOn && text == "off") return kPowerOnVolumeUnset;
            const auto value = ParseInteger(text);
            if (value && *value >= 0 && *value <= setting.top) return static_cast<int>(*value);
            error = key + " takes " + (setting.kind == Kind::PowerOn ? "off or a volume" : "a ceiling") +
                    " from 0 to " + std::to_string(setting.top);
            return std::nullopt;
        }
        case Kind::Switch:
            if (text == "on") return 1;
            if (text == "off") return 0;
            error = key + " takes on (the key locks in force) or off";
            return std::nullopt;
        case Kind::Locks: return ParseLocks(text, error);
    }
    return std::nullopt;
}

const Setting* FindSetting(std::string_view key) {
    for (const Setting& setting : kSettings) {
        if (setting.key == key) return &setting;
    }
    return nullptr;
}

// Reads the KEY=VALUE pairs of "settings set"; kExitUsage, having said why, for a wrong one.
int ParseChanges(const std::vector<std::string>& pairs, Changes& changes, ErrorStream& err) {
    if (pairs.empty()) return UsageError(err, "settings set takes KEY=VALUE pairs; the keys are " + SettingKeys());
    for (const std::string& pair : pairs) {
        const std::size_t equals = pair.find('=');
        if (equals == std::string::npos || equals == 0) {
            return UsageError(err, "settings set takes KEY=VALUE pairs, not \"" + pair + "\"; the keys are " +
                                       SettingKeys());
        }
        const std::string key = pair.substr(0, equals);
        const Setting* setting = FindSetting(key);
        if (setting == nullptr) {
            return UsageError(err, "unknown setting \"" + key + "\"; the keys are " + SettingKeys());
        }
        for (const auto& [byte, value] : changes) {
            if (byte == setting->byte) return UsageError(err, key + " is given twice");
        }
        std::string error;
        const auto value = ParseValue(*setting, pair.substr(equals + 1), error);
        if (!value) return UsageError(err, error);
        changes.emplace_back(setting->byte, *value);
    }
    return kExitOk;
}

// The edit copy: the device copy with the changes. The power-on volumes only
// go into the record; the live volumes stay where they are.
void EditSettings(const Changes& changes) {
    CopyDeviceSettingsToEdit();
    for (const auto& [byte, value] : changes) {
        if (byte == KeyLockBits) {
            for (const KeyLock& lock : kKeyLocks) SetKeyLockBit(lock.bit, (value & (1 << lock.bit)) != 0);
        } else {
            g_Device.machineEdit[byte].store(static_cast<std::uint8_t>(value));
        }
    }
}

}  // namespace

int PlanReset(const CliOptions& o, ErrorStream& err, SessionRunner& run) {
    if (o.words.size() != 1) return UsageError(err, "reset takes no arguments but --yes");
    if (!o.yes) {
        err.Line("error: reset returns the device to its factory settings: its power-on volumes, volume ceilings "
                 "and key locks go back to their factory values (and the device may also return its stored "
                 "modes to their defaults). Nothing was sent");
        err.Line("run \"sonoria-cli reset --yes\" to confirm the reset");
        return kExitUsage;
    }
    run = [](DeviceSession&, std::ostream& out, ErrorStream& e) -> int {
        if (!ResetMachine() || !DeviceTookIt()) return DeviceFailed(e, "the device did not answer the reset");
        out << "the device was reset to its factory settings\n";
        return kExitOk;
    };
    return kExitOk;
}

int PlanSettings(const CliOptions& o, ErrorStream& err, SessionRunner& run) {
    const auto& words = o.words;
    if (words.size() == 1) {
        run = [json = o.json](DeviceSession&, std::ostream& out, ErrorStream&) -> int {
            PrintSettings(out, json);
            return kExitOk;
        };
        return kExitOk;
    }
    if (words[1] != "set") return UsageError(err, "settings takes no arguments, or set and KEY=VALUE pairs");
    Changes changes;
    const std::vector<std::string> pairs(words.begin() + 2, words.end());
    if (const int status = ParseChanges(pairs, changes, err); status != kExitOk) return status;
    run = [changes = std::move(changes), json = o.json](DeviceSession&, std::ostream& out, ErrorStream& e) -> int {
        EditSettings(changes);
        if (!ApplyMachineSettings() || !DeviceTookIt()) {
            return DeviceFailed(e, "the device did not answer the machine settings");
        }
        PrintSettings(out, json);
        return kExitOk;
    };
    return kExitOk;
}

std::string_view MachineSettingKey(std::size_t byte) {
    return byte < kSettings.size() ? kSettings[byte].key : std::string_view{};
}

std::string MachineSettingText(std::size_t byte, int raw) {
    return byte < kSettings.size() ? FormatValue(kSettings[byte], raw) : std::to_string(raw);
}

std::string ModeLockRefusal(const std::string& verb) {
    const bool save = verb == "save";
    if (!DeviceKeyLocked(save ? kLockSaveModeBit : kLockLoadModeBit)) return {};
    const KeyLock& lock = kKeyLocks[save ? kLockSaveModeBit : kLockLoadModeBit];
    const std::string what = save ? "save mode" : "load mode";
    const std::string also = verb == "recall" ? ", which also keeps the defaults from being recalled" : "";
    const std::string forced = save ? "saves" : verb == "recall" ? "recalls" : "loads";
    return what + " locked on the device (key lock \"" + std::string(lock.label) + "\"" + also +
           "); nothing was sent (--force " + forced + " it anyway)";
}

}  // namespace sonoria::cli
