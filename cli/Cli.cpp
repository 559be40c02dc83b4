#include "cli/Cli.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <span>

#include "cli/AdminCommands.h"
#include "cli/CliOptions.h"
#include "cli/CompareCommands.h"
#include "cli/DeviceSession.h"
#include "cli/JsonOutput.h"
#include "cli/LogoCommand.h"
#include "cli/RemoteAndWirelessCommands.h"
#include "cli/UdevRules.h"
#include "eq/EqAxes.h"
#include "eq/EqFit.h"
#include "eq/EqTotal.h"
#include "eq/EqViewSend.h"
#include "eq/EqViews.h"
#include "eq/FilterExport.h"
#include "eq/FilterFile.h"
#include "files/FileIo.h"
#include "files/FileNames.h"
#include "files/ModeFile.h"
#include "files/ModeFileFormat.h"
#include "files/RemoteFile.h"
#include "launch/BackendChoice.h"
#include "link/CommandCodes.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/LogoText.h"
#include "state/MasterVolumes.h"
#include "state/ModeCommands.h"
#include "state/ParamReaders.h"
#include "state/ParameterTable.h"
#include "state/RemoteKeys.h"
#include "state/Senders.h"
#include "state/Synchronize.h"
#include "state/SyncWorkers.h"
#include "state/ValueScaling.h"

namespace sonoria::cli {
namespace {

// A mode load or default recall re-reads the whole device. The worker ends by
// itself, at once after an interruption and within seconds once a silent
// device has been given up; this only bounds a device that answers every
// command just in time.
constexpr auto kModeReadAllWait = std::chrono::minutes(10);

struct Context {
    const CliOptions& options;
    std::ostream& out;
    ErrorStream& err;
    DeviceSession& session;
};

// What a command does once the device is open and read; everything it needs
// from the command line and from files was checked before.
using Runner = std::function<int(Context&)>;


std::string ParamLine(const ParamInfo& param) {
    const int raw = ReadParam(param);
    return std::string(param.name) + " " + std::to_string(param.address.block) + "/" +
           std::to_string(param.address.index) + " " + std::to_string(raw) + " " + FormatParamText(param, raw);
}

// The parameter as --json gives it: the fields of its line.
Json ParamJson(const ParamInfo& param) {
    const int raw = ReadParam(param);
    return {{"name", param.name},  {"block", param.address.block},       {"index", param.address.index},
            {"raw", raw},          {"text", FormatParamText(param, raw)}};
}

// The status of a step that stopped early: an interruption, or a device that failed.
int Stopped(Context& c, const std::string& failure) { return DeviceFailed(c.err, failure); }

// Fails with a clear line when the link broke during the command.
int Finish(Context& c, const char* what) {
    if (LinkSound()) return kExitOk;
    return Stopped(c, std::string("the link to the device failed during ") + what);
}

int Info(Context& c) {
    char subVersion[8];
    std::snprintf(subVersion, sizeof subVersion, "%02d", g_Device.subVersion.load());
    const int mode = ClampMode(g_Device.currentMode.load()) + 1;
    const int recordBytes = g_Device.recordLayout.load() != 0 ? 14 : 11;
    if (c.options.json) {
        PrintJson(c.out, {{"machine", g_Device.machineName.Get()},
                          {"hardware-version", g_Device.hardwareVersion.Get()},
                          {"sub-version", subVersion},
                          {"mode", mode},
                          {"record-layout", recordBytes}});
        return kExitOk;
    }
    c.out << "machine: " << g_Device.machineName.Get() << "\n"
          << "hardware-version: " << g_Device.hardwareVersion.Get() << "\n"
          << "sub-version: " << subVersion << "\n"
          << "mode: " << mode << "\n"
          << "record-layout: " << recordBytes << " bytes\n";
    return kExitOk;
}

int PlanInfo(const CliOptions& o, ErrorStream& err, Runner& run) {
    if (o.words.size() != 1) return UsageError(err, "info takes no arguments");
    run = Info;
    return kExitOk;
}

const ParamInfo* NamedParam(const std::string& name, ErrorStream& err) {
    const ParamInfo* param = FindParam(name);
    if (param == nullptr) UsageError(err, "unknown parameter \"" + name + "\"; \"dump\" lists them all");
    return param;
}

int PlanGet(const CliOptions& o, ErrorStream& err, Runner& run) {
    if (o.words.size() != 2) return UsageError(err, "get takes one parameter name");
    const ParamInfo* param = NamedParam(o.words[1], err);
    if (param == nullptr) return kExitUsage;
    run = [param](Context& c) -> int {
        if (c.options.json) {
            PrintJson(c.out, ParamJson(*param));
        } else {
            c.out << ParamLine(*param) << "\n";
        }
        return kExitOk;
    };
    return kExitOk;
}

int PlanDump(const CliOptions& o, ErrorStream& err, Runner& run) {
    if (o.words.size() != 1) return UsageError(err, "dump takes no arguments");
    run = [](Context& c) -> int {
        if (c.options.json) {
            Json params = Json::array();
            for (const ParamInfo& param : AllParams()) params.push_back(ParamJson(param));
            PrintJson(c.out, params);
        } else {
            for (const ParamInfo& param : AllParams()) c.out << ParamLine(param) << "\n";
        }
        return kExitOk;
    };
    return kExitOk;
}

// The device's own limits on a master volume, as the main window keeps them;
// an empty text when the value may go.
std::string VolumeRefusal(const ParamInfo& param, long value) {
    const MasterVolume* volume = FindMasterVolume(param.name);
    if (volume == nullptr) return {};
    const std::string name(param.name);
    if (MasterVolumeLocked(*volume)) {
        return name + " is locked on the device (key lock \"" + std::string(volume->lockName) + "\")";
    }
    const int ceiling = MasterVolumeCeiling(*volume);
    if (value > ceiling) {
        return std::to_string(value) + " is above the device's ceiling for " + name + " (" +
               std::string(volume->ceilingName) + " " + std::to_string(ceiling) + ")";
    }
    return {};
}

int PlanSet(const CliOptions& o, ErrorStream& err, Runner& run) {
    if (o.words.size() != 3) return UsageError(err, "set takes a parameter name and a raw value");
    const std::string& name = o.words[1];
    const ParamInfo* param = NamedParam(name, err);
    if (param == nullptr) return kExitUsage;
    const ParamSenderFn sender = FindSender(param->name);
    if (!sender) return UsageError(err, "\"" + name + "\" is read-only: no control of the device edits it");
    const auto value = ParseInteger(o.words[2]);
    if (!value || !param->range.Contains(*value)) {
        return UsageError(err, "the raw value of " + name + " is a whole number from " +
                                   std::to_string(param->range.min) +
                                   " to " + std::to_string(param->range.max));
    }
    run = [param, sender, value = *value](Context& c) -> int {
        if (!c.options.force) {
            if (const std::string refusal = VolumeRefusal(*param, value); !refusal.empty()) {
                c.err.Line("error: " + refusal + "; nothing was sent (--force sets it anyway)");
                return kExitDevice;
            }
        }
        sender(static_cast<int>(value));
        if (const int status = Finish(c, "the change"); status != kExitOk) return status;
        c.out << ParamLine(*param) << "\n";
        return kExitOk;
    };
    return kExitOk;
}

int PlanSave(const CliOptions& o, ErrorStream& err, Runner& run) {
    if (o.words.size() != 2) return UsageError(err, "save takes a file name");
    run = [path = WithExtension(o.words[1], kModeFileExtension)](Context& c) -> int {
        // Only what a sound link reported may reach the file.
        if (const int status = Finish(c, "the read"); status != kExitOk) return status;
        if (WriteModeFile(path) != 1) return kExitFile;
        c.out << "saved " << path << "\n";
        return kExitOk;
    };
    return kExitOk;
}

int PlanLoad(const CliOptions& o, ErrorStream& err, Runner& run) {
    if (o.words.size() != 2) return UsageError(err, "load takes a file name");
    const std::string& path = o.words[1];
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadModeFileBytes(path, bytes, &error)) {
        err.Line("error: " + error);
        return kExitFile;
    }
    const int target = o.targetMode ? *o.targetMode - 1 : TargetModeForFileName(path);
    run = [path, bytes = std::move(bytes), target, verify = o.verify](Context& c) -> int {
        std::string error;
        if (LoadModeFileBytes(bytes, &error) != 1) {
            c.err.Line("error: " + error);
            return kExitFile;
        }
        if (!WriteAll()) return Stopped(c, "the device did not take the whole file; the write stopped early");
        c.out << "loaded " << path << "\n";
        if (verify) {
            // A mode is stored only from what the device took.
            if (const int status = VerifyWrite(WrittenValues(), c.out, c.err); status != kExitOk) {
                if (target >= 0 && status == kExitDevice) {
                    c.err.Line("nothing was stored in mode " + std::to_string(target + 1));
                }
                return status;
            }
        }
        if (target >= 0) {
            SelectAndSaveMode(target);
            if (const int status = Finish(c, "the save"); status != kExitOk) return status;
            c.out << "stored in mode " << target + 1 << "\n";
        }
        return kExitOk;
    };
    return kExitOk;
}

int PlanMode(const CliOptions& o, ErrorStream& err, Runner& run) {
    const auto& words = o.words;
    const auto mode = words.size() == 3 ? ParseModeNumber(words[2]) : std::nullopt;
    if (!mode) return UsageError(err, "mode takes load, save or recall and a mode number from 1 to 4");
    const std::string verb = words[1];
    if (verb != "load" && verb != "save" && verb != "recall") {
        return UsageError(err, "mode takes load, save or recall, not \"" + verb + "\"");
    }
    run = [verb, number = *mode](Context& c) -> int {
        // The device's mode locks, as the Function window keeps to them.
        if (const std::string refusal = ModeLockRefusal(verb); !refusal.empty() && !c.options.force) {
            c.err.Line("error: " + refusal);
            return kExitDevice;
        }
        const int m = number - 1;
        if (verb == "save") {
            SaveMode(m);
            if (const int status = Finish(c, "the mode command"); status != kExitOk) return status;
            c.out << "saved mode " << number << "\n";
            return kExitOk;
        }
        c.session.ForgetSyncResult();
        if (verb == "load") {
            LoadMode(m);
        } else {
            RecallDefaultMode(m);
        }
        const bool ended = WaitForSyncWorkers(kModeReadAllWait);
        if (!ended || c.session.LastSyncResult() != true) {
            return Stopped(c, "the device did not answer while it was read again after the mode command");
        }
        c.out << (verb == "load" ? "loaded mode " : "recalled the default of mode ") << number << "\n";
        return kExitOk;
    };
    return kExitOk;
}

// A command of RemoteAndWirelessCommands.h as a runner.
Runner WithSession(SessionRunner inner) {
    return [inner = std::move(inner)](Context& c) { return inner(c.session, c.out, c.err); };
}

// A planner of a command that runs on the session, as a planner of a runner.
template <int (*Plan)(const CliOptions&, ErrorStream&, SessionRunner&)>
int PlanOnSession(const CliOptions& o, ErrorStream& err, Runner& run) {
    SessionRunner inner;
    const int status = Plan(o, err, inner);
    if (status == kExitOk) run = WithSession(std::move(inner));
    return status;
}

int PlanRemote(const CliOptions& o, ErrorStream& err, Runner& run) {
    const auto& words = o.words;
    if (words.size() >= 2 && (words[1] == "learn" || words[1] == "show")) {
        return PlanOnSession<PlanRemoteKeys>(o, err, run);
    }
    if (words.size() != 3 || (words[1] != "save" && words[1] != "load")) {
        return UsageError(err, "remote takes save or load and a file name, learn KEY or show");
    }
    if (o.timeoutSeconds) return UsageError(err, "--timeout goes with remote learn only");
    const std::string path = WithExtension(words[2], kRemoteFileExtension);
    if (words[1] == "save") {
        run = [path](Context& c) -> int {
            if (const int status = Finish(c, "the read"); status != kExitOk) return status;
            if (WriteRemoteFile(path) != 1) return kExitFile;
            c.out << "saved " << path << "\n";
            return kExitOk;
        };
        return kExitOk;
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadRemoteFileBytes(path, bytes, &error)) {
        err.Line("error: " + error);
        return kExitFile;
    }
    run = [path, bytes = std::move(bytes)](Context& c) -> int {
        if (!SendRemoteCodes(bytes)) return Stopped(c, "the remote codes could not be sent to the device");
        c.out << "loaded " << path << "\n";
        return kExitOk;
    };
    return kExitOk;
}

int PlanLogo(const CliOptions& o, ErrorStream& err, Runner& run) {
    std::string bytes, shown;
    if (const int status = CheckLogoArguments(o.words, bytes, shown, err); status != kExitOk) return status;
    run = [bytes, shown](Context& c) -> int {
        if (SendLogo(bytes) == 0) return Stopped(c, "the logo could not be sent to the device");
        c.out << "logo set to \"" << shown << "\"\n";
        return kExitOk;
    };
    return kExitOk;
}

std::string EqViewNames() {
    std::string names;
    for (int v = 0; v < kEqViewCount; ++v) {
        if (v > 0) names += ", ";
        names += EqViewName(static_cast<EqView>(v));
    }
    return names;
}

// One band as "eq NAME" prints it.
void PrintEqBand(std::ostream& out, const EqBand& band) {
    char line[160];
    std::snprintf(line, sizeof line, "band %d %s %.2f %.2f %.3f%s\n", band.index,
                  std::string(EqBandTypeName(band.type)).c_str(), band.frequency, band.gain, band.q,
                  band.locked ? " locked" : "");
    out << line;
}

// A band as --json gives it, the numbers to the digits of its line.
Json EqBandJson(const EqBand& band) {
    return {{"index", band.index},
            {"type", EqBandTypeName(band.type)},
            {"frequency", Rounded(band.frequency, 2)},
            {"gain", Rounded(band.gain, 2)},
            {"q", Rounded(band.q, 3)},
            {"locked", band.locked}};
}

// The curve the graph draws: each column's frequency and the summed response
// there, as CSV or as an array of objects with the same names.
void PrintEqResponse(std::ostream& out, std::span<const EqBand> bands, int layout, bool json) {
    const std::array<float, kEqColumns> total = TotalResponse(bands, layout);
    Json points = Json::array();
    if (!json) out << "frequency_hz,gain_db\n";
    for (int column = 0; column < kEqColumns; ++column) {
        const double frequency = FrequencyAtPosition(column / double(kEqColumns));
        const double gain = total[static_cast<std::size_t>(column)];
        if (json) {
            points.push_back({{"frequency_hz", Rounded(frequency, 2)}, {"gain_db", Rounded(gain, 4)}});
            continue;
        }
        char line[64];
        std::snprintf(line, sizeof line, "%.2f,%.4f\n", frequency, gain);
        out << line;
    }
    if (json) PrintJson(out, points);
}

// A "# NAME VALUE" line of an import's summary, the value in dB with two decimals.
void PrintDbNote(std::ostream& out, const char* name, double db) {
    char line[64];
    std::snprintf(line, sizeof line, "# %s %.2f\n", name, db);
    out << line;
}

// What an import sets (the changed bands, as "eq NAME" prints them), how
// closely the drawn curve follows the file, and what of the file was not used.
void PrintEqImport(std::ostream& out, const EqImport& import, const FilterFile& file) {
    for (const int position : import.changed) PrintEqBand(out, import.bands[static_cast<std::size_t>(position)]);
    out << "# way " << (import.way == EqImportWay::Fit ? "fit" : "values") << "\n";
    PrintDbNote(out, "rms-error-db", import.rmsErrorDb);
    PrintDbNote(out, "max-error-db", import.maxErrorDb);
    if (file.preampDb) PrintDbNote(out, "preamp-db", *file.preampDb);
    for (const SkippedLine& skipped : file.skipped) {
        out << "# skipped line " << skipped.line << ": " << skipped.text << " (" << skipped.reason << ")\n";
    }
}

// The text after a REW file's "Dated:": the local time now.
std::string LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&now, &local) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

// "eq NAME --import FILE": the file is read and checked here, before the
// device is touched; the bands it sets depend on the view's current ones.
int PlanEqImport(const CliOptions& o, EqView view, ErrorStream& err, Runner& run) {
    FilterFileRead read = ReadFilterFile(*o.importPath);
    if (!read.file) {
        err.Line("error: " + read.error);
        return kExitFile;
    }
    std::optional<EqImportWay> chosen;
    if (o.fit) chosen = EqImportWay::Fit;
    if (o.values) chosen = EqImportWay::Values;
    run = [view, file = std::move(*read.file), chosen, dryRun = o.dryRun](Context& c) -> int {
        std::array<EqBand, kEqMaxBands> bands;
        const int count = FillEqViewBands(view, bands);
        const EqImportChoice choice =
            PlanFilterImport(view, std::span<const EqBand>(bands.data(), static_cast<std::size_t>(count)), file);
        const EqImportWay way = chosen.value_or(choice.preferred);
        const std::optional<EqImport>& import = choice.Way(way);
        if (!import) {
            c.err.Line(std::string("error: the file cannot be imported ") +
                       (way == EqImportWay::Values ? "by values" : "by a fit") + ": " + choice.Refusal(way) +
                       "; nothing was sent" +
                       (way == EqImportWay::Values && choice.fit ? " (--fit fits the bands to it instead)" : ""));
            return kExitUsage;
        }
        if (!dryRun) {
            SendEqImport(view, *import);
            if (const int status = Finish(c, "the import"); status != kExitOk) return status;
        }
        PrintEqImport(c.out, *import, file);
        return kExitOk;
    };
    return kExitOk;
}

int PlanEq(const CliOptions& o, ErrorStream& err, Runner& run) {
    const auto view = o.words.size() == 2 ? EqViewFromName(o.words[1]) : std::nullopt;
    if (!view) return UsageError(err, "eq takes one EQ view: " + EqViewNames());
    if (o.importPath) return PlanEqImport(o, *view, err, run);
    std::optional<FilterExportFormat> format;
    if (o.exportFormat && !(format = FilterExportFormatFromName(*o.exportFormat))) {
        return UsageError(err, "--export takes apo or rew, not \"" + *o.exportFormat + "\"");
    }
    run = [view = *view, response = o.response, format](Context& c) -> int {
        std::array<EqBand, kEqMaxBands> bands;
        const int count = FillEqViewBands(view, bands);
        const std::span<const EqBand> used(bands.data(), static_cast<std::size_t>(count));
        if (format) {
            c.out << ExportFilterText(*format, view, used, *format == FilterExportFormat::Rew ? LocalTimeNow() : "");
        } else if (response) {
            PrintEqResponse(c.out, used, EqViewLayout(view), c.options.json);
        } else if (c.options.json) {
            Json list = Json::array();
            for (const EqBand& band : used) list.push_back(EqBandJson(band));
            PrintJson(c.out, list);
        } else {
            for (const EqBand& band : used) PrintEqBand(c.out, band);
        }
        return kExitOk;
    };
    return kExitOk;
}

bool IsOurs(const HidInterfaceInfo& info) {
    return info.attributes && info.attributes->vendorId == kVendorId && info.attributes->productId == kProductId;
}

// The backend the options choose (`given` instead when there is one),
// limited to the device of --device; kExitOk, or the status having said why.
int ChooseBackend(const CliOptions& options, std::shared_ptr<HidBackend> given, ErrorStream& err,
                  std::shared_ptr<HidBackend>& backend) {
    std::string error;
    backend = given ? std::move(given) : MakeBackend(options.backend, error);
    if (!backend) {
        err.Line("error: cannot start the virtual device from the file: " + error);
        return kExitFile;
    }
    if (!options.devicePath) return kExitOk;
    const std::string& path = *options.devicePath;
    const auto interfaces = backend->Enumerate().value_or(std::vector<HidInterfaceInfo>{});
    const auto isChosen = [&path](const HidInterfaceInfo& info) { return IsOurs(info) && info.path == path; };
    if (std::ranges::none_of(interfaces, isChosen)) {
        err.Line("error: no device at " + path + "; sonoria-cli list shows the connected ones");
        return kExitDevice;
    }
    backend = std::make_shared<OneDeviceBackend>(std::move(backend), path);
    return kExitOk;
}

int List(const CliOptions& options, std::shared_ptr<HidBackend> given, std::ostream& out, ErrorStream& err) {
    std::shared_ptr<HidBackend> backend;
    if (const int status = ChooseBackend(options, std::move(given), err, backend); status != kExitOk) return status;
    const auto interfaces = backend->Enumerate();
    Json listed = Json::array();
    for (const HidInterfaceInfo& info : interfaces.value_or(std::vector<HidInterfaceInfo>{})) {
        if (!IsOurs(info)) continue;
        const bool opens = backend->Open(info.path) != nullptr;
        listed.push_back({{"path", info.path}, {"can-open", opens}});
        if (options.json) continue;
        out << info.path;
        if (!opens) {
            out << " (cannot be opened: permission denied? install the rule of "
                << "\"sonoria-cli print-udev-rules\" in /etc/udev/rules.d/70-sonoria.rules)";
        }
        out << "\n";
    }
    if (listed.empty()) {
        err.Line("error: no device found (USB 2010:1031): connect it and switch it on");
        return kExitDevice;
    }
    if (options.json) PrintJson(out, listed);
    return kExitOk;
}

using Planner = int (*)(const CliOptions&, ErrorStream&, Runner&);

// The options of eq: what it does (bands, --response, --import or --export)
// and the import's own options.
int CheckEqOptions(const CliOptions& options, ErrorStream& err) {
    const bool eq = options.words[0] == "eq";
    if (options.response && !eq) return UsageError(err, "--response goes with eq only");
    if (options.importPath && !eq) return UsageError(err, "--import goes with eq only");
    if (options.exportFormat && !eq) return UsageError(err, "--export goes with eq only");
    if (int(options.response) + int(options.importPath.has_value()) + int(options.exportFormat.has_value()) > 1) {
        return UsageError(err, "eq takes only one of --response, --import and --export");
    }
    const bool onImport = eq && options.importPath;
    if (options.fit && !onImport) return UsageError(err, "--fit goes with eq --import only");
    if (options.values && !onImport) return UsageError(err, "--values goes with eq --import only");
    if (options.dryRun && !onImport) return UsageError(err, "--dry-run goes with eq --import only");
    if (options.fit && options.values) return UsageError(err, "--fit and --values are two ways to import: give one");
    return kExitOk;
}

// The commands --json gives a document of: eq only for its bands and --response.
bool HasJsonForm(const CliOptions& options) {
    const auto& words = options.words;
    const std::string& command = words[0];
    if (command == "eq") return !options.importPath && !options.exportFormat;
    if (command == "remote" || command == "wmic") return words.size() >= 2 && words[1] == "show";
    for (const char* plain : {"list", "info", "get", "dump", "settings", "diff"}) {
        if (command == plain) return true;
    }
    return false;
}

// The options that belong to one command only.
int CheckCommandOptions(const CliOptions& options, ErrorStream& err) {
    const std::string& command = options.words[0];
    if (options.json && !HasJsonForm(options)) {
        return UsageError(err, "--json goes with list, info, get, dump, eq (its bands and --response), settings, "
                               "diff, remote show and wmic show only");
    }
    if (options.targetMode && command != "load") return UsageError(err, "--mode goes with load only");
    if (options.force && command != "set" && command != "mode") {
        return UsageError(err, "--force goes with set and mode only");
    }
    if (options.yes && command != "reset") return UsageError(err, "--yes goes with reset only");
    if (options.verify && command != "load") return UsageError(err, "--verify goes with load only");
    if (const int status = CheckEqOptions(options, err); status != kExitOk) return status;
    if (options.timeoutSeconds && command != "remote") return UsageError(err, "--timeout goes with remote learn only");
    if (options.room && command != "wmic") return UsageError(err, "--room goes with wmic pair only");
    if ((command == "list" || command == "print-udev-rules") && options.words.size() != 1) {
        return UsageError(err, command + " takes no arguments");
    }
    return kExitOk;
}

int RunDeviceCommand(const CliOptions& options, std::shared_ptr<HidBackend> given, const Runner& run,
                     std::ostream& out, ErrorStream& err) {
    std::shared_ptr<HidBackend> backend;
    if (const int status = ChooseBackend(options, std::move(given), err, backend); status != kExitOk) return status;
    const auto previousHandler = SetWriteFailureHandler([&err](int code, const std::string& path) {
        err.Line("error: cannot write " + path + ": " + std::strerror(code));
    });
    int status = kExitOk;
    {
        // Its end says goodbye to the device, also after a failure or an interruption.
        DeviceSession session(std::move(backend), options.trace, err);
        status = session.Open();
        if (status == kExitOk) {
            Context context{options, out, err, session};
            status = run(context);
        }
    }
    SetWriteFailureHandler(previousHandler);
    return status;
}

}  // namespace

const char* UdevRules() { return kUdevRulesText; }

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCli(args, out, err, nullptr);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& errStream,
           std::shared_ptr<HidBackend> backend) {
    ClearSynchronisationInterrupt();
    ErrorStream err(errStream);
    std::string error;
    const auto options = ParseCliOptions(args, error);
    if (!options) return UsageError(err, error);
    if (options->help) {
        out << kUsage;
        return kExitOk;
    }
    if (options->words.empty()) return UsageError(err, "no command given");
    if (const int status = CheckCommandOptions(*options, err); status != kExitOk) return status;
    SetCurrentLanguage(options->language);
    const std::string& command = options->words[0];
    if (command == "print-udev-rules") {
        out << UdevRules();
        return kExitOk;
    }
    if (command == "list") return List(*options, std::move(backend), out, err);
    // Two files are compared without a device.
    if (command == "diff" && options->words.size() == 3) return DiffFiles(*options, out, err);

    static const std::map<std::string, Planner> kCommands = {
        {"info", PlanInfo}, {"get", PlanGet},   {"set", PlanSet},   {"dump", PlanDump},
        {"save", PlanSave}, {"load", PlanLoad}, {"mode", PlanMode}, {"remote", PlanRemote},
        {"eq", PlanEq},     {"logo", PlanLogo}, {"wmic", PlanOnSession<PlanWirelessMics>},
        {"reset", PlanOnSession<PlanReset>},    {"settings", PlanOnSession<PlanSettings>},
        {"diff", PlanOnSession<PlanDiff>},
    };
    const auto found = kCommands.find(command);
    if (found == kCommands.end()) return UsageError(err, "unknown command \"" + command + "\"");
    Runner run;
    if (const int status = found->second(*options, err, run); status != kExitOk) return status;

    int status = RunDeviceCommand(*options, std::move(backend), run, out, err);
    if (SynchronisationInterrupted()) {
        err.Line("interrupted: the command in flight was finished and the device let go");
        status = kExitInterrupted;
    }
    return status;
}

}  // namespace sonoria::cli
