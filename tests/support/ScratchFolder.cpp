#include "support/ScratchFolder.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>
#include <vector>

namespace sonoria::test {

ScratchFolder::ScratchFolder(const std::string& prefix) {
    const std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder from " + pattern);
    folder_ = name.data();
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;  // a test that failed half-way still leaves nothing behind where it can
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace sonoria::test
