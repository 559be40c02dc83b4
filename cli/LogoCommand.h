// `sonoria-cli logo TEXT`: the text is checked as the logo window checks it,
// before the device is touched.
#pragma once

#include <string>
#include <vector>

namespace sonoria::cli {

class ErrorStream;

// Checks the arguments of "logo"; on success `bytes` holds the seven logo
// bytes and `shown` the text as it will appear. Returns an exit status.
int CheckLogoArguments(const std::vector<std::string>& words, std::string& bytes, std::string& shown,
                       ErrorStream& err);

}  // namespace sonoria::cli
