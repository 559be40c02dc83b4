// What both programs take on their command lines: the device options and
// strict numbers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "launch/BackendChoice.h"
#include "launch/StrictNumber.h"
#include "simulator/VirtualDevice.h"
#include "simulator/VirtualDeviceGroup.h"
#include "support/ScratchFolder.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

namespace fs = std::filesystem;

TEST(StrictNumber, OnlyPlainDecimalDigitsWithAnOptionalMinus) {
    EXPECT_EQ(ParseStrictInteger("0"), 0);
    EXPECT_EQ(ParseStrictInteger("127"), 127);
    EXPECT_EQ(ParseStrictInteger("-3"), -3);
    EXPECT_EQ(ParseStrictInteger("007"), 7);
    for (const char* bad : {"", " 5", "5 ", "+5", "5x", "0x10", "1e3", "-", "--1", "99999999999999999999999"}) {
        EXPECT_EQ(ParseStrictInteger(bad), std::nullopt) << '"' << bad << '"';
    }
}

TEST(BackendChoice, TheVirtualOptionsAndWhatTheyImply) {
    BackendChoice choice;
    std::string error;
    EXPECT_EQ(TakeBackendArgument("--trace", choice, error), BackendArgument::NotOurs);
    EXPECT_EQ(TakeBackendArgument("--virtual-fault=slow:250", choice, error), BackendArgument::Taken);
    EXPECT_TRUE(choice.useVirtual);
    ASSERT_TRUE(choice.virtualFault);
    EXPECT_EQ(choice.virtualFault->kind, VirtualFault::Kind::Slow);
    EXPECT_EQ(choice.virtualFault->delay, std::chrono::milliseconds(250));
    EXPECT_EQ(TakeBackendArgument("--virtual=KR710QX", choice, error), BackendArgument::Taken);
    EXPECT_EQ(choice.virtualModel, "KR710QX");
    EXPECT_TRUE(choice.furtherVirtualModels.empty());
    EXPECT_EQ(TakeBackendArgument("--virtual=KR710Q,KR710QX,HX-N3", choice, error), BackendArgument::Taken);
    EXPECT_EQ(choice.virtualModel, "KR710Q");
    EXPECT_EQ(choice.furtherVirtualModels, (std::vector<std::string>{"KR710QX", "HX-N3"}));

    BackendChoice state;
    EXPECT_EQ(TakeBackendArgument("--virtual-state=x.k71x", state, error), BackendArgument::Taken);
    EXPECT_TRUE(state.useVirtual);
    EXPECT_EQ(state.virtualState, "x.k71x");

    const struct {
        const char* argument;
        const char* message;
    } invalid[] = {
        {"--virtual=", "needs a model name"},
        {"--virtual=KR710Q,", "or several separated by commas"},
        {"--virtual=,KR710Q", "or several separated by commas"},
        {"--virtual-state=", "needs the name of a mode data file"},
        {"--virtual-fault=", "--virtual-fault takes silent-after:N, break-after:N, slow:MS or drop-writes:N"},
        {"--virtual-fault=loud:3", "not \"loud:3\""},
        {"--virtual-fault=silent-after:+3", "N a whole number"},
        {"--virtual-fault=break-after:-1", "N a whole number"},
        {"--virtual-fault=slow:60001", "from 0 to 60000"},
        {"--virtual-fault=drop-writes:0", "N a whole number of writes, 1 or more"},
    };
    for (const auto& c : invalid) {
        BackendChoice bad;
        EXPECT_EQ(TakeBackendArgument(c.argument, bad, error), BackendArgument::Invalid) << c.argument;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.argument << ": " << error;
    }
    const auto silent = ParseVirtualFault("silent-after:12", error);
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->kind, VirtualFault::Kind::SilentAfter);
    EXPECT_EQ(silent->count, 12u);
    EXPECT_EQ(ParseVirtualFault("break-after:0", error)->kind, VirtualFault::Kind::BreakAfter);
    const auto dropping = ParseVirtualFault("drop-writes:3", error);
    ASSERT_TRUE(dropping);
    EXPECT_EQ(dropping->kind, VirtualFault::Kind::DropWrites);
    EXPECT_EQ(dropping->count, 3u);
}

TEST(BackendChoice, TheVirtualDeviceStartsFromItsFileAndShowsItsFault) {
    const test::ScopedLanguage english(kLanguageEnglish);  // the refusal is checked in English
    const test::ScratchFolder scratch("sonoria-launch");
    const fs::path& dir = scratch.Folder();
    BackendChoice choice;
    choice.useVirtual = true;
    choice.virtualModel = "HX-N3";
    std::string error;
    const auto plain = MakeVirtualDevice(choice, error);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->Model(), "HX-N3");
    EXPECT_EQ(plain->Path(), kVirtualDevicePath);

    // Further models: one device each, under paths of their own.
    choice.furtherVirtualModels = {"KR710QX"};
    const auto group = std::dynamic_pointer_cast<VirtualDeviceGroup>(MakeBackend(choice, error));
    ASSERT_TRUE(group);
    const auto interfaces = group->Enumerate();
    ASSERT_TRUE(interfaces);
    ASSERT_EQ(interfaces->size(), 2u);
    EXPECT_EQ((*interfaces)[0].path, "virtual:sonoria-0");
    EXPECT_EQ((*interfaces)[1].path, "virtual:sonoria-1");
    EXPECT_EQ(group->Devices()[1]->Model(), "KR710QX");
    EXPECT_TRUE(group->Open("virtual:sonoria-1"));
    EXPECT_FALSE(group->Open("virtual:sonoria-2"));

    // A file a load would refuse starts nothing.
    std::ofstream(dir / "short.k71x", std::ios::binary) << std::string(100, 'x');
    choice.virtualState = (dir / "short.k71x").string();
    EXPECT_EQ(MakeVirtualDevice(choice, error), nullptr);
    EXPECT_NE(error.find("too short to be a mode data file: 100 bytes"), std::string::npos) << error;
    EXPECT_EQ(MakeBackend(choice, error), nullptr);

    // A file without header of the least length sets the device's first values.
    std::string oldest(336, '\0');
    oldest[0] = 3;
    oldest[1] = 4;
    std::ofstream(dir / "oldest.k71x", std::ios::binary) << oldest;
    choice.virtualState = (dir / "oldest.k71x").string();
    choice.virtualFault = VirtualFault{VirtualFault::Kind::SilentAfter, 0, {}};
    const auto started = MakeVirtualDevice(choice, error);
    ASSERT_TRUE(started) << error;
    EXPECT_EQ(started->Param(1, 0).first, 3);
    const auto startedGroup = std::dynamic_pointer_cast<VirtualDeviceGroup>(MakeBackend(choice, error));
    ASSERT_TRUE(startedGroup) << error;
    EXPECT_EQ(startedGroup->Devices()[1]->Param(1, 0).first, 3);  // every device of a group from the file
    EXPECT_EQ(started->Param(1, 0).second, 4);

    // Silent from the start: a command goes in, no answer comes out.
    auto handle = started->Open(kVirtualDevicePath);
    ASSERT_TRUE(handle);
    Report command{2, 0x80};
    ASSERT_EQ(handle->Write(command.data(), command.size()), static_cast<int>(kReportSize));
    Report answer{};
    EXPECT_EQ(handle->Read(answer.data(), answer.size(), 200), 0);
}

}  // namespace
}  // namespace sonoria
