// A folder of one test's own for the files it writes.
#pragma once

#include <filesystem>
#include <string>

namespace sonoria::test {

// Made new and empty under the system's temporary folder, with a name no
// other test (in this process or another) can have; removed with everything
// in it when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "sonoria-test");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    // The path of `name` in the folder.
    std::string File(const std::string& name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};

}  // namespace sonoria::test
