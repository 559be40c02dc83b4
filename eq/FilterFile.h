// Filter files of room-measurement and headphone-correction tools: the
// Equalizer APO / AutoEq filter lines and the REW "Filter Settings file". The
// reader keeps every filter as written and says, with its line number, why
// each other line was not used.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sonoria {

// Files larger than this are refused before anything is read from them.
inline constexpr std::size_t kFilterFileMaxBytes = 64 * 1024;
inline constexpr double kFilterMinHz = 10.0;
inline constexpr double kFilterMaxHz = 24000.0;

enum class FileFilterKind {
    Peaking,    // PK, PEQ, Modal
    LowPass,    // LP, LPQ (second order)
    HighPass,   // HP, HPQ (second order)
    LowPass1,   // LP1 (first order)
    HighPass1,  // HP1 (first order)
    LowShelf,   // LS, LSC, LSQ
    HighShelf,  // HS, HSC, HSQ
    Notch,      // NO
    AllPass,    // AP
    BandPass,   // BP
};

struct FileFilter {
    int line = 0;           // 1-based
    std::string type;       // as written (PK, LSC, HS ...)
    FileFilterKind kind = FileFilterKind::Peaking;
    double frequencyHz = 0;
    double gainDb = 0;                    // 0 where the type takes none
    std::optional<double> q;              // Q as written
    std::optional<double> bandwidthOct;   // BW Oct instead of Q
    std::optional<double> slopeDb;        // a shelf's slope in dB per octave (LS 6dB, LSC 9 dB)
};

struct SkippedLine {
    int line = 0;
    std::string text;    // the line as read (invalid UTF-8 shown as '?')
    std::string reason;
};

struct FilterFile {
    std::vector<FileFilter> filters;
    std::optional<double> preampDb;
    int emptySlots = 0;  // None and OFF lines
    std::vector<SkippedLine> skipped;
};

// Reads filter lines from text (UTF-8, with or without a byte-order mark; any
// 8-bit bytes in lines that are skipped). Never fails: what it cannot use is
// in `skipped`.
FilterFile ParseFilterText(std::string_view text);

struct FilterFileRead {
    std::optional<FilterFile> file;  // empty when refused
    std::string error;               // why it was refused
};

// Reads a file: refused when it is not a regular file, larger than
// kFilterFileMaxBytes, unreadable, or holds no filter.
FilterFileRead ReadFilterFile(const std::filesystem::path& path);

const char* FilterKindName(FileFilterKind kind);

}  // namespace sonoria
