// sonoria-cli's comparisons: "diff A.k71x [B.k71x]" between two mode data
// files or a file and the device, and the read-back of "load --verify".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/DeviceSession.h"
#include "link/ProtocolLimits.h"
#include "state/DeviceState.h"

namespace sonoria::cli {

// What one side of a comparison holds; nothing where it holds none. Sub and
// centre values are those of the copy in use on that side.
struct ModeValues {
    std::array<std::array<std::optional<ParamBytes>, kMaxBlockSize>, kLastBlock + 1> params{};
    std::array<std::optional<std::uint8_t>, kAutoSubRecordSize> autoSub{};
    std::array<std::optional<std::uint8_t>, kMachineRecordSize> machine{};
    std::array<std::optional<std::uint8_t>, kRemoteBlockSize> remote{};
    std::array<std::array<std::optional<std::uint8_t>, kLightRecordSize>, kLightRecordCount> lights{};
    std::array<std::optional<std::uint8_t>, kLightTableSize> lightTable{};
};

// The device image as it is now: everything.
ModeValues ImageValues();

// One value the two sides hold differently: a parameter at its block and
// index (its twin's address for the second value of a twin), or a byte of a
// record ("machine", "remote", "auto-sub", "light-1".."light-4",
// "light-table"), with the display texts of both sides.
struct Difference {
    std::string name;
    std::variant<int, std::string_view> block;
    int index = 0;
    std::string a;
    std::string b;
};

// Every value both sides hold that differs, parameters in table order
// (meter levels are not settings and are left out), then the records.
std::vector<Difference> CompareValues(const ModeValues& a, const ModeValues& b);

// "NAME B/I TEXT-A TEXT-B" per difference; a text that is empty or holds a
// blank is written in double quotes, so that the line splits at its blanks.
// With `json` one array of objects with name, block (a number for a
// parameter, the record's name for a record), index, a and b.
void PrintDifferences(std::ostream& out, const std::vector<Difference>& differences, bool json);

// "diff A B" with two files: both are checked as load checks them (kExitFile,
// having said why, for one it would refuse); prints what differs and returns
// kExitOk or kExitDiffers. No device is touched.
int DiffFiles(const CliOptions& options, std::ostream& out, ErrorStream& err);

// "diff A" compares file A with the device as read on connecting; the file is
// read and checked here, before the device is touched. Also refuses a wrong
// number of files.
int PlanDiff(const CliOptions& options, ErrorStream& err, SessionRunner& run);

// "load --verify": WrittenValues, after the write-all, holds what it sent;
// VerifyWrite then reads the device again and
// prints every value it did not take ("NAME B/I SENT READ"). kExitOk when it
// took them all, kExitDevice otherwise.
ModeValues WrittenValues();
int VerifyWrite(const ModeValues& sent, std::ostream& out, ErrorStream& err);

}  // namespace sonoria::cli
