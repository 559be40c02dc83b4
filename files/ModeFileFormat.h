// The mode data file: the whole parameter image and the device's records on
// disk. This header holds the layout and the parser, which touch no state;
// ModeFile.h applies a parsed file to the image and writes one from it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/FileRefusal.h"
#include "link/ProtocolLimits.h"

namespace sonoria {

inline constexpr const char* kModeMagicV1 = "710ModeV1";
inline constexpr const char* kModeMagicV2 = "710ModeV2";
inline constexpr const char* kModeMagicV3 = "710ModeV3";
inline constexpr const char* kModeMagicV4 = "710ModeV4";
inline constexpr std::size_t kModeMagicBytes = 40;  // 20 UTF-16LE characters
inline constexpr std::size_t kModeFileSize = 948;   // version 3 as written
inline constexpr const char* kModeFileExtension = "k71x";
// Values carried per block in versions 1 to 3 (blocks 7 and 8: each copy).
inline constexpr std::array<int, 9> kModeFileBlockValues = {0, 25, 28, 12, 34, 32, 32, 27, 27};
// Block 2 is followed by 8 bytes nobody reads.
inline constexpr std::size_t kBlock2Padding = 8;
inline constexpr std::size_t kModeFileTail = 255;

enum class ModeFileLayout { V1, V2, V3, V4, Headerless };

// Where each layout's parameter section ends. A file shorter than that is not
// a mode data file (an empty file, a note saved under the wrong name) and is
// refused; a file cut off in its record section still loads what it holds.
inline constexpr std::size_t kHeaderlessParamEnd = 336;  // blocks 1 to 6 with their gaps
inline constexpr std::size_t kV1ParamEnd = 482;          // blocks 1 to 8, normal copies
inline constexpr std::size_t kV3ParamEnd = 590;          // and the rear copies (also version 2)
std::size_t ParameterSectionEnd(ModeFileLayout layout);

// No layout comes near this; a larger file is refused unread.
inline constexpr std::size_t kModeFileMaxSize = 64 * 1024;

// The refusal of a file too short for its layout, or nothing when the length
// is enough. `path` says which file (empty: "the file").
std::optional<FileRefusal> ModeFileLengthProblem(ModeFileLayout layout, std::size_t size, const std::string& path);

// One byte the file carries, or nothing where the file is too short or the
// layout has no such byte.
using FileByte = std::optional<std::uint8_t>;
using FileParamBlock = std::array<std::array<FileByte, 2>, kMaxBlockSize>;

struct ModeFileContents {
    ModeFileLayout layout = ModeFileLayout::Headerless;
    std::array<FileParamBlock, kLastBlock + 1> params{};  // blocks 1..8, normal copy
    std::array<FileParamBlock, 2> rear{};                  // blocks 7 and 8, rear copy (versions 2 and 3)
    std::array<FileByte, kAutoSubRecordSize> autoSub{};
    std::array<FileByte, kMachineRecordSize> machine{};    // 11 bytes except in versions 3 and 4
    std::array<FileByte, kRemoteBlockSize> remote{};
    std::array<std::array<FileByte, kLightRecordSize>, kLightRecordCount> lights{};
    std::array<FileByte, kLightTableSize> lightTable{};

    // The file's own view of rear routing: 4/32 first byte 0 and 4/33 first byte 127.
    bool SaysRearRouting() const;
};

// Parses a mode data file of any version. Never reads past `bytes`.
ModeFileContents ParseModeFile(std::span<const std::uint8_t> bytes);

// The layout a file's first 40 bytes announce (magic compared without regard to case).
ModeFileLayout DetectModeFileLayout(std::span<const std::uint8_t> bytes);

}  // namespace sonoria
