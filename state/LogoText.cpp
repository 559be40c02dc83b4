#include "state/LogoText.h"

#include <algorithm>
#include <initializer_list>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"

namespace sonoria {

const char* LogoRefusalText(LogoTextProblem problem) {
    switch (problem) {
        case LogoTextProblem::Empty: return kLogoEmptyText;
        case LogoTextProblem::TooLong: return kLogoTooLongText;
        case LogoTextProblem::BadCharacter: return kLogoBadCharacterText;
        case LogoTextProblem::None: break;
    }
    return "";
}

char32_t LogoUpper(char32_t c) { return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c; }

std::u32string LogoUpper(std::u32string_view text) {
    std::u32string upper(text);
    for (char32_t& c : upper) c = LogoUpper(c);
    return upper;
}

bool IsLogoWhiteSpace(char32_t c) {
    return c == U' ' || (c >= U'\t' && c <= U'\r') || c == 0x85 || c == 0x1680 || (c >= 0x2000 && c <= 0x2006) ||
           (c >= 0x2008 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x205F || c == 0x3000;
}

namespace {

bool Accepted(char32_t c) { return (c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9') || c == U'-' || c == U' '; }

}  // namespace

LogoTextCheck CheckLogoText(std::u32string_view text) {
    LogoTextCheck check;
    if (std::all_of(text.begin(), text.end(), IsLogoWhiteSpace)) {
        check.problem = LogoTextProblem::Empty;
        return check;
    }
    check.upper = LogoUpper(text);
    if (check.upper.size() > kLogoChars) {
        check.problem = LogoTextProblem::TooLong;
        return check;
    }
    if (!std::all_of(check.upper.begin(), check.upper.end(), Accepted)) {
        check.problem = LogoTextProblem::BadCharacter;
        return check;
    }
    check.bytes.assign(kLogoChars, ' ');
    std::transform(check.upper.begin(), check.upper.end(), check.bytes.begin(),
                   [](char32_t c) { return static_cast<char>(c); });
    return check;
}

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            c = (c << 6) | (next & 0x3F);
        }
        out.push_back(valid ? c : char32_t{0xFFFD});
        i += valid ? length : 1;
    }
    return out;
}

int SendLogo(const std::string& bytes) {
    static_assert(kLogoChars == 7);
    std::string padded = bytes;
    padded.resize(kLogoChars, ' ');
    const auto at = [&padded](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(padded[i])); };
    return SendCommand(CMD_SET_LOGO, {at(0), at(1), at(2), at(3), at(4), at(5), at(6), kEndOfArguments});
}

}  // namespace sonoria
