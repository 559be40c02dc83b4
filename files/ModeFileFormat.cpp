#include "files/ModeFileFormat.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace sonoria {
namespace {

// Reads the file front to back; fields past its end stay empty.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes, std::size_t position = 0)
        : bytes_(bytes), position_(position) {}

    FileByte Next() {
        const std::size_t at = position_++;
        return at < bytes_.size() ? FileByte{bytes_[at]} : std::nullopt;
    }
    void Skip(std::size_t count) { position_ += count; }

    template <std::size_t N>
    void Read(std::array<FileByte, N>& field, std::size_t count = N) {
        for (std::size_t i = 0; i < count; ++i) field[i] = Next();
    }
    void ReadValues(FileParamBlock& block, int first, int last) {
        for (int index = first; index <= last; ++index) {
            block[index][0] = Next();
            block[index][1] = Next();
        }
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_;
};

std::string MagicText(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::size_t i = 0; i + 1 < std::min(bytes.size(), kModeMagicBytes); i += 2) {
        const unsigned character = bytes[i] | bytes[i + 1] << 8;
        if (character == 0) break;
        text.push_back(character < 0x80 ? static_cast<char>(std::tolower(static_cast<int>(character))) : '?');
    }
    return text;
}

bool SameMagic(const std::string& lowerText, std::string_view magic) {
    return std::equal(lowerText.begin(), lowerText.end(), magic.begin(), magic.end(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

void ReadRecords(Cursor& cursor, ModeFileContents& contents, std::size_t machineBytes) {
    cursor.Read(contents.autoSub);
    cursor.Read(contents.machine, machineBytes);
    cursor.Read(contents.remote);
    for (auto& record : contents.lights) cursor.Read(record);
    cursor.Read(contents.lightTable);
}

void ParseVersioned(std::span<const std::uint8_t> bytes, ModeFileContents& contents) {
    Cursor cursor(bytes, kModeMagicBytes);
    for (int block = 1; block <= 6; ++block) {
        cursor.ReadValues(contents.params[block], 0, kModeFileBlockValues[block] - 1);
        if (block == 2) cursor.Skip(kBlock2Padding);
    }
    for (int block : {kSubBlock, kCenterBlock}) {
        cursor.ReadValues(contents.params[block], 0, kModeFileBlockValues[block] - 1);
    }
    if (contents.layout != ModeFileLayout::V1) {
        for (int copy = 0; copy < 2; ++copy) {
            cursor.ReadValues(contents.rear[copy], 0, kModeFileBlockValues[kSubBlock + copy] - 1);
        }
    }
    const bool longRecord = contents.layout == ModeFileLayout::V3 || contents.layout == ModeFileLayout::V4;
    ReadRecords(cursor, contents, longRecord ? kMachineRecordSize : kMachineRecordSizeShort);
}

// The oldest files: parameter blocks with gaps, no rear copies, short records.
void ParseHeaderless(std::span<const std::uint8_t> bytes, ModeFileContents& contents) {
    Cursor block1(bytes, 0);
    block1.ReadValues(contents.params[1], 0, 24);
    Cursor block2(bytes, 50);
    block2.ReadValues(contents.params[2], 0, 5);
    block2.Skip(20);
    block2.ReadValues(contents.params[2], 7, 24);
    Cursor block3(bytes, 120);
    block3.ReadValues(contents.params[3], 0, 11);
    Cursor block4(bytes, 144 + 4);
    block4.ReadValues(contents.params[4], 1, 14);
    block4.Skip(2);
    block4.ReadValues(contents.params[4], 17, 30);
    Cursor block5(bytes, 208);
    block5.ReadValues(contents.params[5], 0, 16);
    Cursor block6(bytes, 272);
    block6.ReadValues(contents.params[6], 0, 16);
    Cursor records(bytes, 474);
    ReadRecords(records, contents, kMachineRecordSizeShort);
}

constexpr std::size_t VersionedParamEnd(bool withRearCopies) {
    std::size_t end = kModeMagicBytes + kBlock2Padding;
    for (int block = 1; block <= kLastBlock; ++block) end += 2 * static_cast<std::size_t>(kModeFileBlockValues[block]);
    if (withRearCopies) {
        end += 2 * static_cast<std::size_t>(kModeFileBlockValues[kSubBlock] + kModeFileBlockValues[kCenterBlock]);
    }
    return end;
}
static_assert(VersionedParamEnd(false) == kV1ParamEnd && VersionedParamEnd(true) == kV3ParamEnd);

// The version a layout's refusal names; 0 for a file without header.
int LayoutVersion(ModeFileLayout layout) {
    switch (layout) {
        case ModeFileLayout::V1: return 1;
        case ModeFileLayout::V2: return 2;
        case ModeFileLayout::V3: return 3;
        case ModeFileLayout::V4: return 4;
        case ModeFileLayout::Headerless: break;
    }
    return 0;
}

}  // namespace

std::size_t ParameterSectionEnd(ModeFileLayout layout) {
    switch (layout) {
        case ModeFileLayout::Headerless: return kHeaderlessParamEnd;
        case ModeFileLayout::V1: return kV1ParamEnd;
        case ModeFileLayout::V2:
        case ModeFileLayout::V3:
        case ModeFileLayout::V4: break;
    }
    return kV3ParamEnd;
}

std::optional<FileRefusal> ModeFileLengthProblem(ModeFileLayout layout, std::size_t size, const std::string& path) {
    const std::size_t needed = ParameterSectionEnd(layout);
    if (size >= needed) return std::nullopt;
    FileRefusal refusal;
    refusal.reason = FileRefusalReason::ModeTooShort;
    refusal.path = path;
    refusal.size = size;
    refusal.bound = needed;
    refusal.layoutVersion = LayoutVersion(layout);
    return refusal;
}

bool ModeFileContents::SaysRearRouting() const {
    return params[4][32][0] == std::uint8_t{0} && params[4][33][0] == std::uint8_t{127};
}

ModeFileLayout DetectModeFileLayout(std::span<const std::uint8_t> bytes) {
    const std::string magic = MagicText(bytes);
    if (SameMagic(magic, kModeMagicV1)) return ModeFileLayout::V1;
    if (SameMagic(magic, kModeMagicV2)) return ModeFileLayout::V2;
    if (SameMagic(magic, kModeMagicV3)) return ModeFileLayout::V3;
    if (SameMagic(magic, kModeMagicV4)) return ModeFileLayout::V4;
    return ModeFileLayout::Headerless;
}

ModeFileContents ParseModeFile(std::span<const std::uint8_t> bytes) {
    ModeFileContents contents;
    contents.layout = DetectModeFileLayout(bytes);
    switch (contents.layout) {
        case ModeFileLayout::V4: break;  // parameter layout unknown: nothing is taken from it
        case ModeFileLayout::Headerless: ParseHeaderless(bytes, contents); break;
        default: ParseVersioned(bytes, contents); break;
    }
    return contents;
}

}  // namespace sonoria
