#include "cli/Cli.h"

#include <cstring>
#include <functional>
#include <map>

#include "cli/CliOptions.h"
#include "cli/DeviceSession.h"
#include "cli/UdevRules.h"
#include "files/FileIo.h"
#include "files/FileNames.h"
#include "files/ModeFile.h"
#include "files/ModeFileFormat.h"
#include "files/RemoteFile.h"
#include "link/CommandCodes.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/Language.h"
#include "state/ModeCommands.h"
#include "state/ParamReaders.h"
#include "state/ParameterTable.h"
#include "state/Senders.h"
#include "state/Synchronize.h"
#include "state/SyncWorkers.h"
#include "state/ValueScaling.h"

namespace sonoria::cli {
namespace {

// A mode load or default recall re-reads the whole device; a silent device
// could make that last minutes, a working one takes a few seconds.
constexpr auto kModeReadAllWait = std::chrono::minutes(10);

struct Context {
    const CliOptions& options;
    std::ostream& out;
    ErrorStream& err;
    DeviceSession& session;
};

int Usage(ErrorStream& err, const std::string& message) {
    err.Line("error: " + message);
    err.Line("run \"sonoria-cli --help\" for the commands");
    return kExitUsage;
}

std::string ParamLine(const ParamInfo& param) {
    const int raw = ReadParam(param);
    return std::string(param.name) + " " + std::to_string(param.address.block) + "/" +
           std::to_string(param.address.index) + " " + std::to_string(raw) + " " + FormatParamText(param, raw);
}

long MaxRaw(Encoding encoding) {
    switch (encoding) {
        case Encoding::S7:
        case Encoding::S7Star: return 127;
        case Encoding::W15: return 32767;
        default: return 255;
    }
}

// Fails with a clear line when the link broke during the command.
int Finish(Context& context, const char* what) {
    if (context.session.LinkSound()) return kExitOk;
    context.err.Line(std::string("error: the link to the device failed during ") + what +
                     ": unplug it, plug it in again and retry");
    return kExitDevice;
}

int Info(Context& c) {
    char subVersion[8];
    std::snprintf(subVersion, sizeof subVersion, "%02d", g_Device.subVersion.load());
    c.out << "machine: " << g_Device.machineName.Get() << "\n"
          << "hardware-version: " << g_Device.hardwareVersion.Get() << "\n"
          << "sub-version: " << subVersion << "\n"
          << "mode: " << ClampMode(g_Device.currentMode.load()) + 1 << "\n"
          << "record-layout: " << (g_Device.recordLayout.load() != 0 ? 14 : 11) << " bytes\n";
    return kExitOk;
}

int Get(Context& c) {
    const auto& words = c.options.words;
    if (words.size() != 2) return Usage(c.err, "get takes one parameter name");
    const ParamInfo* param = FindParam(words[1]);
    if (param == nullptr) return Usage(c.err, "unknown parameter \"" + words[1] + "\"; \"dump\" lists them all");
    c.out << ParamLine(*param) << "\n";
    return kExitOk;
}

int SetValue(Context& c) {
    const auto& words = c.options.words;
    if (words.size() != 3) return Usage(c.err, "set takes a parameter name and a raw value");
    const ParamInfo* param = FindParam(words[1]);
    if (param == nullptr) return Usage(c.err, "unknown parameter \"" + words[1] + "\"; \"dump\" lists them all");
    const ParamSenderFn sender = FindSender(param->name);
    if (!sender) return Usage(c.err, "\"" + words[1] + "\" is read-only: no control of the device edits it");
    const auto value = ParseInteger(words[2]);
    if (!value || *value < 0 || *value > MaxRaw(param->encoding)) {
        return Usage(c.err, "the raw value of " + words[1] + " is a whole number from 0 to " +
                                std::to_string(MaxRaw(param->encoding)));
    }
    sender(static_cast<int>(*value));
    if (const int status = Finish(c, "the change"); status != kExitOk) return status;
    c.out << ParamLine(*param) << "\n";
    return kExitOk;
}

int Dump(Context& c) {
    for (const ParamInfo& param : AllParams()) c.out << ParamLine(param) << "\n";
    return kExitOk;
}

int Save(Context& c) {
    if (c.options.words.size() != 2) return Usage(c.err, "save takes a file name");
    const std::string path = WithExtension(c.options.words[1], kModeFileExtension);
    if (WriteModeFile(path) != 1) return kExitFile;
    c.out << "saved " << path << "\n";
    return kExitOk;
}

int Load(Context& c) {
    if (c.options.words.size() != 2) return Usage(c.err, "load takes a file name");
    const std::string& path = c.options.words[1];
    std::string error;
    if (ReadModeFile(path, &error) != 1) {
        c.err.Line("error: " + error);
        return kExitFile;
    }
    WriteAll();
    if (const int status = Finish(c, "the write"); status != kExitOk) return status;
    c.out << "loaded " << path << "\n";
    const int target = c.options.targetMode ? *c.options.targetMode - 1 : TargetModeForFileName(path);
    if (target >= 0) {
        SelectAndSaveMode(target);
        if (const int status = Finish(c, "the save"); status != kExitOk) return status;
        c.out << "stored in mode " << target + 1 << "\n";
    }
    return kExitOk;
}

int Mode(Context& c) {
    const auto& words = c.options.words;
    const auto mode = words.size() == 3 ? ParseModeNumber(words[2]) : std::nullopt;
    if (!mode) return Usage(c.err, "mode takes load, save or recall and a mode number from 1 to 4");
    const int m = *mode - 1;
    if (words[1] == "save") {
        SaveMode(m);
        c.out << "saved mode " << *mode << "\n";
    } else if (words[1] == "load" || words[1] == "recall") {
        if (words[1] == "load") {
            LoadMode(m);
        } else {
            RecallDefaultMode(m);
        }
        WaitForSyncWorkers(kModeReadAllWait);
        c.out << (words[1] == "load" ? "loaded mode " : "recalled the default of mode ") << *mode << "\n";
    } else {
        return Usage(c.err, "mode takes load, save or recall, not \"" + words[1] + "\"");
    }
    return Finish(c, "the mode command");
}

int Remote(Context& c) {
    const auto& words = c.options.words;
    if (words.size() != 3 || (words[1] != "save" && words[1] != "load")) {
        return Usage(c.err, "remote takes save or load and a file name");
    }
    const std::string path = WithExtension(words[2], kRemoteFileExtension);
    if (words[1] == "save") {
        if (WriteRemoteFile(path) != 1) return kExitFile;
        c.out << "saved " << path << "\n";
        return kExitOk;
    }
    if (ReadRemoteFile(path) != 1) {
        c.err.Line("error: cannot read the remote code file " + path);
        return kExitFile;
    }
    if (!SendRemoteBlock()) {
        c.err.Line("error: the remote codes could not be sent to the device: unplug it, plug it in again and retry");
        return kExitDevice;
    }
    c.out << "loaded " << path << "\n";
    return kExitOk;
}

int List(const CliOptions& options, std::ostream& out, ErrorStream& err) {
    int status = kExitOk;
    const auto backend = MakeBackend(options, err, status);
    if (!backend) return status;
    const auto interfaces = backend->Enumerate();
    int found = 0;
    for (const HidInterfaceInfo& info : interfaces.value_or(std::vector<HidInterfaceInfo>{})) {
        if (!info.attributes || info.attributes->vendorId != kVendorId || info.attributes->productId != kProductId) {
            continue;
        }
        ++found;
        if (backend->Open(info.path)) {
            out << info.path << "\n";
        } else {
            out << info.path << " (cannot be opened: permission denied? install the rule of "
                << "\"sonoria-cli print-udev-rules\" in /etc/udev/rules.d/70-sonoria.rules)\n";
        }
    }
    if (found == 0) {
        err.Line("error: no device found (USB 2010:1031): connect it and switch it on");
        return kExitDevice;
    }
    return kExitOk;
}

}  // namespace

const char* UdevRules() { return kUdevRulesText; }

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& errStream) {
    ErrorStream err(errStream);
    std::string error;
    const auto options = ParseCliOptions(args, error);
    if (!options) return Usage(err, error);
    if (options->help) {
        out << kUsage;
        return kExitOk;
    }
    if (options->words.empty()) return Usage(err, "no command given");
    SetCurrentLanguage(options->language);
    const std::string& command = options->words[0];
    if (command == "print-udev-rules") {
        out << UdevRules();
        return kExitOk;
    }
    if (command == "list") return List(*options, out, err);

    static const std::map<std::string, std::function<int(Context&)>> kCommands = {
        {"info", Info}, {"get", Get},   {"set", SetValue}, {"dump", Dump},
        {"save", Save}, {"load", Load}, {"mode", Mode},    {"remote", Remote},
    };
    const auto found = kCommands.find(command);
    if (found == kCommands.end()) return Usage(err, "unknown command \"" + command + "\"");

    int status = kExitOk;
    auto backend = MakeBackend(*options, err, status);
    if (!backend) return status;
    const auto previousHandler = SetWriteFailureHandler([&err](int code, const std::string& path) {
        err.Line("error: cannot write " + path + ": " + std::strerror(code));
    });
    {
        DeviceSession session(std::move(backend), options->trace, err);
        status = session.Open();
        if (status == kExitOk) {
            Context context{*options, out, err, session};
            status = found->second(context);
        }
    }
    SetWriteFailureHandler(previousHandler);
    return status;
}

}  // namespace sonoria::cli
