#include "cli/CompareCommands.h"

#include <vector>

#include "cli/AdminCommands.h"
#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "cli/RemoteAndWirelessCommands.h"
#include "files/ModeFile.h"
#include "files/ModeFileFormat.h"
#include "state/ParameterTable.h"
#include "state/Synchronize.h"
#include "state/ValueScaling.h"

namespace sonoria::cli {
namespace {

using RecordByte = std::optional<std::uint8_t>;

// What a file holds, as the device would use it after a load: a file routed
// to the rear without rear copies (version 1) leaves the device's own sub and
// centre values in use, so it holds none of them.
ModeValues FileValues(const ModeFileContents& file) {
    ModeValues values;
    const bool rear = file.SaysRearRouting();
    const bool rearCopies = file.layout == ModeFileLayout::V2 || file.layout == ModeFileLayout::V3;
    for (int block = kFirstBlock; block <= kLastBlock; ++block) {
        const FileParamBlock* source = &file.params[block];
        if (HasRearCopy(block) && rear) {
            if (!rearCopies) continue;
            source = &file.rear[block - kSubBlock];
        }
        for (int index = 0; index < kBlockSizes[block]; ++index) {
            const auto& bytes = (*source)[index];
            if (bytes[0] && bytes[1]) values.params[block][index] = ParamBytes{*bytes[0], *bytes[1]};
        }
    }
    values.autoSub = file.autoSub;
    values.machine = file.machine;
    values.remote = file.remote;
    values.lights = file.lights;
    values.lightTable = file.lightTable;
    return values;
}

template <std::size_t N>
void TakeImage(std::array<RecordByte, N>& values, const std::array<AtomicByte, N>& image) {
    for (std::size_t i = 0; i < N; ++i) values[i] = image[i].load();
}

// A record byte's name and text where diff has no better ones: RECORD-INDEX and the number.
std::string PlainName(std::string_view record, std::size_t byte) {
    return std::string(record) + "-" + std::to_string(byte);
}
std::string PlainText(std::size_t, int raw) { return std::to_string(raw); }

template <std::size_t N, typename Name, typename Text>
void CompareRecord(std::vector<Difference>& out, std::string_view record, const std::array<RecordByte, N>& a,
                   const std::array<RecordByte, N>& b, Name name, Text text) {
    for (std::size_t i = 0; i < N; ++i) {
        if (!a[i] || !b[i] || *a[i] == *b[i]) continue;
        out.push_back({name(record, i), record, static_cast<int>(i), text(i, *a[i]), text(i, *b[i])});
    }
}

void CompareParams(std::vector<Difference>& out, const ModeValues& a, const ModeValues& b) {
    for (const ParamInfo& param : AllParams()) {
        if (param.encoding == Encoding::MTR) continue;
        for (const std::optional<ParamAddress> at : {std::optional(param.address), param.twin}) {
            if (!at) continue;
            const std::optional<ParamBytes>& x = a.params[at->block][at->index];
            const std::optional<ParamBytes>& y = b.params[at->block][at->index];
            if (!x || !y) continue;
            const int rawA = DecodeValue(param.encoding, x->first, x->second);
            const int rawB = DecodeValue(param.encoding, y->first, y->second);
            if (rawA == rawB) continue;
            out.push_back({std::string(param.name), int(at->block), int(at->index), FormatParamText(param, rawA),
                           FormatParamText(param, rawB)});
        }
    }
}

// A text as one field of a line.
std::string Field(const std::string& text) {
    return text.empty() || text.find(' ') != std::string::npos ? "\"" + text + "\"" : text;
}

std::string BlockText(const std::variant<int, std::string_view>& block) {
    if (const int* number = std::get_if<int>(&block)) return std::to_string(*number);
    return std::string(std::get<std::string_view>(block));
}

int ShowDifferences(std::ostream& out, const std::vector<Difference>& differences, bool json) {
    PrintDifferences(out, differences, json);
    return differences.empty() ? kExitOk : kExitDiffers;
}

// Reads and checks a mode data file as a load does.
int ReadSide(const std::string& path, ModeValues& values, ErrorStream& err) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadModeFileBytes(path, bytes, &error)) {
        err.Line("error: " + error);
        return kExitFile;
    }
    values = FileValues(ParseModeFile(bytes));
    return kExitOk;
}

}  // namespace

ModeValues ImageValues() {
    ModeValues values;
    for (int block = kFirstBlock; block <= kLastBlock; ++block) {
        for (int index = 0; index < kBlockSizes[block]; ++index) values.params[block][index] = GetParam(block, index);
    }
    TakeImage(values.autoSub, g_Device.autoSub);
    TakeImage(values.machine, g_Device.machineDevice);
    TakeImage(values.remote, g_Device.remote);
    for (std::size_t r = 0; r < kLightRecordCount; ++r) TakeImage(values.lights[r], g_Device.lightRecords[r]);
    TakeImage(values.lightTable, g_Device.lightTable);
    return values;
}

std::vector<Difference> CompareValues(const ModeValues& a, const ModeValues& b) {
    std::vector<Difference> out;
    CompareParams(out, a, b);
    CompareRecord(out, "auto-sub", a.autoSub, b.autoSub, PlainName, PlainText);
    CompareRecord(
        out, "machine", a.machine, b.machine,
        [](std::string_view record, std::size_t byte) {
            const std::string_view key = MachineSettingKey(byte);
            return key.empty() ? PlainName(record, byte) : std::string(key);
        },
        MachineSettingText);
    CompareRecord(out, "remote", a.remote, b.remote, PlainName,
                  [](std::size_t, int code) { return RemoteCodeText(code); });
    static constexpr std::array<std::string_view, kLightRecordCount> kLightNames = {"light-1", "light-2", "light-3",
                                                                                    "light-4"};
    for (std::size_t r = 0; r < kLightRecordCount; ++r) {
        CompareRecord(out, kLightNames[r], a.lights[r], b.lights[r], PlainName, PlainText);
    }
    CompareRecord(out, "light-table", a.lightTable, b.lightTable, PlainName, PlainText);
    return out;
}

void PrintDifferences(std::ostream& out, const std::vector<Difference>& differences, bool json) {
    if (json) {
        Json list = Json::array();
        for (const Difference& d : differences) {
            Json block;
            std::visit([&block](const auto& value) { block = value; }, d.block);
            list.push_back({{"name", d.name}, {"block", block}, {"index", d.index}, {"a", d.a}, {"b", d.b}});
        }
        PrintJson(out, list);
        return;
    }
    for (const Difference& d : differences) {
        out << d.name << " " << BlockText(d.block) << "/" << d.index << " " << Field(d.a) << " " << Field(d.b) << "\n";
    }
}

int DiffFiles(const CliOptions& o, std::ostream& out, ErrorStream& err) {
    ModeValues a, b;
    if (const int status = ReadSide(o.words[1], a, err); status != kExitOk) return status;
    if (const int status = ReadSide(o.words[2], b, err); status != kExitOk) return status;
    return ShowDifferences(out, CompareValues(a, b), o.json);
}

int PlanDiff(const CliOptions& o, ErrorStream& err, SessionRunner& run) {
    if (o.words.size() != 2 && o.words.size() != 3) {
        return UsageError(err, "diff takes a mode data file to compare with the device, or two to compare");
    }
    ModeValues file;
    if (const int status = ReadSide(o.words[1], file, err); status != kExitOk) return status;
    run = [file, json = o.json](DeviceSession&, std::ostream& out, ErrorStream&) {
        return ShowDifferences(out, CompareValues(file, ImageValues()), json);
    };
    return kExitOk;
}

ModeValues WrittenValues() {
    ModeValues sent;
    for (const WrittenParameter& at : LastWriteAllParameters()) sent.params[at.block][at.index] = at.bytes;
    return sent;
}

int VerifyWrite(const ModeValues& sent, std::ostream& out, ErrorStream& err) {
    if (!ReadAll()) return DeviceFailed(err, "the device did not answer while it was read back");
    const std::vector<Difference> differences = CompareValues(sent, ImageValues());
    PrintDifferences(out, differences, false);
    if (differences.empty()) return kExitOk;
    err.Line("error: the device did not take " + std::to_string(differences.size()) +
             (differences.size() == 1 ? " parameter" : " parameters"));
    return kExitDevice;
}

}  // namespace sonoria::cli
