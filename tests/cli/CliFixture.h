// Runs sonoria-cli in the test's process and keeps what it printed.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "support/ProcessState.h"
#include "support/ScratchFolder.h"

namespace sonoria::cli {

struct CliRun {
    int status;
    std::string out;
    std::string err;
    bool ErrHas(const std::string& text) const { return err.find(text) != std::string::npos; }
    bool OutHas(const std::string& text) const { return out.find(text) != std::string::npos; }
    // True when no report was written to the device (the run used --trace).
    bool NothingSent() const { return err.find("\n> ") == std::string::npos && err.rfind("> ", 0) != 0; }
};

class CliTest : public ::testing::Test {
protected:
    // On `backend` when given, else on what the arguments choose.
    CliRun Cli(std::vector<std::string> args, std::shared_ptr<HidBackend> backend = nullptr) {
        std::ostringstream out, err;
        const int status = RunCli(args, out, err, std::move(backend));
        return {status, out.str(), err.str()};
    }
    std::string Path(const std::string& name) const { return scratch.File(name); }
    using ByteChanges = std::initializer_list<std::pair<std::size_t, int>>;
    // A version 3 file saved from the virtual device, with some bytes changed.
    std::string SavedFile(const std::string& name, ByteChanges changes) {
        const CliRun save = Cli({"--virtual", "save", Path(name)});
        EXPECT_EQ(save.status, kExitOk) << save.err;
        return ChangedCopy(Path(name + ".k71x"), name + ".k71x", changes);
    }
    // The file `from` copied to `name` in the test's folder (or changed in
    // place when that is where it is), with some bytes changed.
    std::string ChangedCopy(const std::string& from, const std::string& name, ByteChanges changes) {
        const std::string to = Path(name);
        if (from != to) std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
        std::fstream file(to, std::ios::in | std::ios::out | std::ios::binary);
        for (const auto& [offset, value] : changes) {
            file.seekp(static_cast<std::streamoff>(offset));
            file.put(static_cast<char>(value));
        }
        return to;
    }
    test::ProcessStateGuard state;
    test::ScratchFolder scratch{"sonoria-cli"};  // each test its own
};

}  // namespace sonoria::cli
