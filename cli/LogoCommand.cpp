#include "cli/LogoCommand.h"

#include "cli/Cli.h"
#include "cli/DeviceSession.h"
#include "state/Language.h"
#include "state/LogoText.h"

namespace sonoria::cli {
namespace {

const char* EnglishRefusal(LogoTextProblem problem) {
    switch (problem) {
        case LogoTextProblem::Empty: return "the logo text has no character but white space";
        case LogoTextProblem::TooLong: return "the logo text is longer than 7 characters";
        case LogoTextProblem::BadCharacter:
            return "the logo text may hold only letters A-Z, digits, '-' and spaces";
        case LogoTextProblem::None: break;
    }
    return "";
}

}  // namespace

int CheckLogoArguments(const std::vector<std::string>& words, std::string& bytes, std::string& shown,
                       ErrorStream& err) {
    if (words.size() != 2) {
        err.Line("error: logo takes one text (quote it when it holds spaces)");
        err.Line("run \"sonoria-cli --help\" for the commands");
        return kExitUsage;
    }
    const LogoTextCheck check = CheckLogoText(DecodeUtf8(words[1]));
    if (check.problem != LogoTextProblem::None) {
        err.Line(std::string("error: ") +
                 (IsEnglish() ? EnglishRefusal(check.problem) : LogoRefusalText(check.problem)));
        return kExitUsage;
    }
    bytes = check.bytes;
    shown.assign(check.upper.begin(), check.upper.end());
    return kExitOk;
}

}  // namespace sonoria::cli
