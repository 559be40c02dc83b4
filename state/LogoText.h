// The text the device shows when it is switched on: the checks a text must
// pass (the logo window and the command-line tool use the same ones) and its
// sender.
#pragma once

#include <string>
#include <string_view>

#include "link/ProtocolLimits.h"

namespace sonoria {

enum class LogoTextProblem {
    None,
    Empty,         // nothing but white space
    TooLong,       // more than kLogoChars characters
    BadCharacter,  // a character other than A-Z, 0-9, '-' and space
};

// The refusals, the same in both languages.
inline constexpr const char* kLogoRefusalCaption = "输入非法";
inline constexpr const char* kLogoEmptyText = "没有输入有效字符！";
inline constexpr const char* kLogoTooLongText = "字符长度超过7个字符！";
inline constexpr const char* kLogoBadCharacterText =
    "内容中有非法的字符！内容只能是大写字母、数字、'-'、与空格符";
const char* LogoRefusalText(LogoTextProblem problem);

// Upper case for the logo: only ASCII letters change, one character for one,
// so that no other letter can turn into an accepted one.
char32_t LogoUpper(char32_t c);
std::u32string LogoUpper(std::u32string_view text);

// White space at the ends does not make a text; what counts as white space
// is fixed here (the ASCII controls and the Unicode spaces), not by the locale.
bool IsLogoWhiteSpace(char32_t c);

struct LogoTextCheck {
    LogoTextProblem problem = LogoTextProblem::None;
    std::u32string upper;  // the text after conversion
    std::string bytes;     // kLogoChars bytes, padded with spaces, when accepted
};

// Empty after trimming, then converted, then too long (counted after the
// conversion), then the first character that is not accepted.
LogoTextCheck CheckLogoText(std::u32string_view text);

// Decodes UTF-8 (for the command line); invalid sequences become U+FFFD,
// which the check refuses.
std::u32string DecodeUtf8(std::string_view text);

// Sends the logo command with the kLogoChars bytes; returns what the write returned.
int SendLogo(const std::string& bytes);

}  // namespace sonoria
