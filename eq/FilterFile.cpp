#include "eq/FilterFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <system_error>

namespace sonoria {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

std::string_view Trim(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

// The line as it can be shown: bytes that are not UTF-8 become '?'.
std::string Printable(std::string_view line) {
    std::string out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    std::size_t i = 0;
    while (i < line.size()) {
        const unsigned char lead = bytes[i];
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        bool valid = length != 0 && i + length <= line.size();
        for (std::size_t k = 1; valid && k < length; ++k) valid = (bytes[i + k] & 0xC0) == 0x80;
        if (valid && (lead >= 0x20 || lead == '\t')) {
            out.append(line.substr(i, length));
            i += length;
        } else {
            out.push_back('?');
            ++i;
        }
    }
    return out;
}

enum class NumberResult { Ok, Missing, NotFinite };

// A number as the tools write it: a decimal point or comma, and a unit glued
// on or not ("100Hz", "-3,5dB").
NumberResult ParseNumber(std::string_view token, double& value) {
    std::string text(token);
    std::replace(text.begin(), text.end(), ',', '.');
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop == begin) return NumberResult::Missing;
    const std::string unit = Lower(std::string_view(stop, static_cast<std::size_t>(end - stop)));
    if (unit == "khz") value *= 1000.0;
    else if (!unit.empty() && unit != "hz" && unit != "db") return NumberResult::Missing;
    return std::isfinite(value) ? NumberResult::Ok : NumberResult::NotFinite;
}

struct TypeName {
    std::string_view name;
    FileFilterKind kind;
};
constexpr TypeName kTypes[] = {
    {"pk", FileFilterKind::Peaking},     {"peq", FileFilterKind::Peaking},    {"modal", FileFilterKind::Peaking},
    {"lp", FileFilterKind::LowPass},     {"lpq", FileFilterKind::LowPass},    {"hp", FileFilterKind::HighPass},
    {"hpq", FileFilterKind::HighPass},   {"lp1", FileFilterKind::LowPass1},   {"hp1", FileFilterKind::HighPass1},
    {"ls", FileFilterKind::LowShelf},    {"lsc", FileFilterKind::LowShelf},   {"lsq", FileFilterKind::LowShelf},
    {"hs", FileFilterKind::HighShelf},   {"hsc", FileFilterKind::HighShelf},  {"hsq", FileFilterKind::HighShelf},
    {"no", FileFilterKind::Notch},       {"ap", FileFilterKind::AllPass},     {"bp", FileFilterKind::BandPass},
};

bool IsShelf(FileFilterKind kind) { return kind == FileFilterKind::LowShelf || kind == FileFilterKind::HighShelf; }

// "Filter:", "Filter 3:", "Filter  12:" (and the same in any case).
bool IsFilterLine(std::string_view line, std::string_view& body) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string head = Lower(Trim(line.substr(0, colon)));
    if (head.rfind("filter", 0) != 0) return false;
    const std::string_view number = Trim(std::string_view(head).substr(6));
    if (!std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c); })) return false;
    body = line.substr(colon + 1);
    return true;
}

// Why a filter line cannot be used, or empty when `filter` was filled.
// `empty` is set for a None or OFF slot.
std::string ParseFilter(std::string_view body, FileFilter& filter, bool& empty) {
    empty = false;
    std::vector<std::string_view> tokens = Tokens(body);
    std::size_t at = 0;
    if (at < tokens.size()) {
        const std::string state = Lower(tokens[at]);
        if (state == "off") {
            empty = true;
            return {};
        }
        if (state == "on") ++at;
    }
    if (at >= tokens.size()) return "missing filter type";
    const std::string type = Lower(tokens[at]);
    if (type == "none") {
        empty = true;
        return {};
    }
    const auto found = std::find_if(std::begin(kTypes), std::end(kTypes), [&](const TypeName& t) { return t.name == type; });
    if (found == std::end(kTypes)) return "unknown filter type " + std::string(tokens[at]);
    filter.type = std::string(tokens[at]);
    filter.kind = found->kind;
    ++at;

    std::optional<double> frequency, gain;
    bool notFinite = false;
    const auto take = [&](std::size_t index, std::optional<double>& into) {
        double value = 0;
        if (index >= tokens.size()) return false;
        const NumberResult result = ParseNumber(tokens[index], value);
        if (result == NumberResult::NotFinite) notFinite = true;
        if (result != NumberResult::Ok) return false;
        into = value;
        return true;
    };
    // A shelf's slope comes right after its type: "LS 6dB", "LSC 9 dB".
    if (IsShelf(filter.kind) && take(at, filter.slopeDb)) {
        ++at;
        if (at < tokens.size() && Lower(tokens[at]) == "db") ++at;
    }
    for (; at < tokens.size(); ++at) {
        const std::string key = Lower(tokens[at]);
        if (key == "fc") {
            if (!take(at + 1, frequency)) continue;
            ++at;
            if (at + 1 < tokens.size() && Lower(tokens[at + 1]) == "khz") *frequency *= 1000.0;
        } else if (key == "gain") {
            if (take(at + 1, gain)) ++at;
        } else if (key == "q") {
            if (take(at + 1, filter.q)) ++at;
        } else if (key == "bw") {
            const std::size_t value = at + 1 < tokens.size() && Lower(tokens[at + 1]) == "oct" ? at + 2 : at + 1;
            if (take(value, filter.bandwidthOct)) at = value;
        }
    }
    if (notFinite) return "value not finite";
    if (!frequency) return "missing frequency";
    if (*frequency < kFilterMinHz || *frequency > kFilterMaxHz) return "frequency outside 10 Hz..24 kHz";
    filter.frequencyHz = *frequency;
    const bool takesGain = filter.kind == FileFilterKind::Peaking || IsShelf(filter.kind);
    if (takesGain && !gain) return "missing gain";
    filter.gainDb = takesGain ? *gain : 0.0;
    const bool needsWidth = filter.kind == FileFilterKind::Peaking || filter.kind == FileFilterKind::AllPass ||
                            type == "lpq" || type == "hpq";
    if (needsWidth && !filter.q && !filter.bandwidthOct) return "missing Q";
    if ((filter.q && *filter.q <= 0) || (filter.bandwidthOct && *filter.bandwidthOct <= 0)) return "Q not positive";
    if (filter.slopeDb && *filter.slopeDb <= 0) return "slope not positive";
    return {};
}

}  // namespace

const char* FilterKindName(FileFilterKind kind) {
    switch (kind) {
        case FileFilterKind::Peaking: return "peaking";
        case FileFilterKind::LowPass: return "low-pass";
        case FileFilterKind::HighPass: return "high-pass";
        case FileFilterKind::LowPass1: return "first-order low-pass";
        case FileFilterKind::HighPass1: return "first-order high-pass";
        case FileFilterKind::LowShelf: return "low shelf";
        case FileFilterKind::HighShelf: return "high shelf";
        case FileFilterKind::Notch: return "notch";
        case FileFilterKind::AllPass: return "all-pass";
        case FileFilterKind::BandPass: return "band-pass";
    }
    return "?";
}

FilterFile ParseFilterText(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    FilterFile file;
    // A REW file's header (title, version, date, notes, equaliser, the
    // measurement's name) comes before its first filter and is read past.
    bool rewHeader = false;
    bool firstLine = true;
    bool filterSeen = false;
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        ++number;
        const std::string_view line = Trim(raw);
        if (line.empty()) {
            if (end == text.size()) break;
            continue;
        }
        if (firstLine) {
            firstLine = false;
            rewHeader = Lower(line).rfind("filter settings file", 0) == 0;
            if (rewHeader) continue;
        }
        const auto skip = [&](std::string reason) { file.skipped.push_back({number, Printable(line), std::move(reason)}); };
        std::string_view body;
        if (IsFilterLine(line, body)) {
            filterSeen = true;
            FileFilter filter;
            filter.line = number;
            bool empty = false;
            std::string reason = ParseFilter(body, filter, empty);
            if (empty) ++file.emptySlots;
            else if (!reason.empty()) skip(std::move(reason));
            else file.filters.push_back(std::move(filter));
        } else if (rewHeader && !filterSeen) {
            // Header lines are never parsed, whatever their language or script.
        } else if (line.front() == '#') {
            // A comment.
        } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
            const std::string command(Trim(line.substr(0, colon)));
            if (Lower(command) == "preamp") {
                std::optional<double> preamp;
                const auto tokens = Tokens(line.substr(colon + 1));
                double value = 0;
                const NumberResult result = tokens.empty() ? NumberResult::Missing : ParseNumber(tokens[0], value);
                if (result == NumberResult::Ok) file.preampDb = value;
                else skip(result == NumberResult::NotFinite ? "value not finite" : "missing value");
            } else {
                skip("command not used: " + Printable(command));
            }
        } else {
            skip("not a filter line");
        }
        if (end == text.size()) break;
    }
    return file;
}

FilterFileRead ReadFilterFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return {std::nullopt, "cannot read " + path.string() + ": no such file"};
    if (!std::filesystem::is_regular_file(status)) return {std::nullopt, path.string() + " is not a regular file"};
    const auto size = std::filesystem::file_size(path, error);
    if (error) return {std::nullopt, "cannot read " + path.string()};
    if (size > kFilterFileMaxBytes) return {std::nullopt, path.string() + " is larger than 64 KiB: not a filter file"};
    std::ifstream stream(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!stream || !stream.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        return {std::nullopt, "cannot read " + path.string()};
    }
    // It may have grown since its size was asked: what lies past the limit is not read.
    if (stream.peek() != std::char_traits<char>::eof()) {
        return {std::nullopt, path.string() + " is larger than 64 KiB: not a filter file"};
    }
    FilterFile file = ParseFilterText(text);
    if (file.filters.empty()) return {std::nullopt, path.string() + " holds no filter line that can be used"};
    return {std::move(file), {}};
}

}  // namespace sonoria
