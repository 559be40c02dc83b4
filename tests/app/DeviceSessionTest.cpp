// The device session on its own, without any window: what it says happened,
// what it asks, and what reaches the virtual device.
#include "app/DeviceSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/DeviceWatch.h"
#include "files/ModeFile.h"
#include "link/CommandCodes.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"
#include "support/ProcessState.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;
using Kind = SessionQuestion::Kind;

class DeviceSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHidBackend(device);
        session = std::make_unique<DeviceSession>();
        session->SetDeviceWatch(CreateVirtualDeviceWatch(*device));
        session->SetDeviceHolderQuery([] { return std::optional<long>(); });
        QObject::connect(session.get(), &DeviceSession::phaseChanged,
                         [this](SessionPhase phase) { phases.push_back(PhaseName(phase)); });
        QObject::connect(session.get(), &DeviceSession::notice,
                         [this](const QString& text, int) { notices.push_back(text); });
        QObject::connect(session.get(), &DeviceSession::questionAsked, [this](SessionQuestion& question) {
            asked.push_back(question.kind);
            question.answer = answers[question.kind];
        });
        QObject::connect(session.get(), &DeviceSession::saveModeFileWanted,
                         [this](const std::vector<std::uint8_t>& file) { saved = file; });
    }
    void Connect() {
        session->StartupConnection();
        ASSERT_TRUE(test::WaitUntil([&] { return session->Phase() == SessionPhase::Ready; }));
    }
    std::vector<Report> Sets(ParamAddress address) const {
        std::vector<Report> sets;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_PARAM && r[2] == address.block && r[3] == address.index) sets.push_back(r);
        }
        return sets;
    }

    test::ProcessStateGuard state;  // first made, last gone
    std::shared_ptr<VirtualDevice> device = std::make_shared<VirtualDevice>("KR710Q");
    std::unique_ptr<DeviceSession> session;
    std::vector<std::string> phases;
    std::vector<QString> notices;
    std::vector<Kind> asked;
    std::map<Kind, bool> answers;
    std::optional<std::vector<std::uint8_t>> saved;
};

TEST_F(DeviceSessionTest, AStartUpConnectionReadsTheDeviceAndPollsItsMeters) {
    Connect();
    EXPECT_EQ(phases, (std::vector<std::string>{"connecting", "reading", "ready"}));
    EXPECT_TRUE(session->Connected());
    // Nobody shows a progress window: the polling starts at once.
    EXPECT_TRUE(session->MeterPollingActive());
    device->ClearRecord();
    ASSERT_TRUE(test::WaitUntil([&] {
        const auto received = device->Received();
        return std::any_of(received.begin(), received.end(), [](const Report& r) { return r[1] == CMD_GET_METERS; });
    }));
    EXPECT_TRUE(asked.empty());
}

TEST_F(DeviceSessionTest, AModelNotOursIsRefusedWithAGoodbyeAndToldOnce) {
    device->SetModel("XX-1");
    session->StartupConnection();
    ASSERT_TRUE(test::WaitUntil([&] { return session->Phase() == SessionPhase::Refused; }));
    EXPECT_FALSE(session->Connected());
    EXPECT_EQ(asked, std::vector<Kind>{Kind::ModelRefused});
    ASSERT_FALSE(device->Received().empty());
    EXPECT_EQ(device->Received().back()[1], CMD_BYE);
    EXPECT_FALSE(session->MeterPollingActive());
    // Its removal leaves nothing to refuse.
    device->Unplug();
    ASSERT_TRUE(test::WaitUntil([&] { return session->Phase() == SessionPhase::Idle; }));
}

TEST_F(DeviceSessionTest, ARemovalWithUnsavedChangesOffersTheParametersAsTheyWereOnce) {
    Connect();
    session->SetPendingModeSlot(2);
    ASSERT_TRUE(session->SetMasterVolume(MasterVolume::Music, 77));
    ASSERT_TRUE(test::WaitUntil([] { return g_Device.modified.load() == 1; }));
    const std::vector<std::uint8_t> before = BuildModeFile();
    answers[Kind::SaveAtRemoval] = true;
    device->Unplug();
    ASSERT_TRUE(test::WaitUntil([&] { return saved.has_value(); }));
    EXPECT_EQ(*saved, before);
    EXPECT_EQ(session->Phase(), SessionPhase::Idle);
    EXPECT_EQ(session->PendingModeSlot(), -1);
    EXPECT_FALSE(session->MeterPollingActive());
    // The read thread's failure and the removal both report it: asked once.
    ASSERT_TRUE(test::DeviceHasSaidEverything(*device));
    EXPECT_EQ(asked, std::vector<Kind>{Kind::SaveAtRemoval});
}

TEST_F(DeviceSessionTest, MasterVolumesHonourTheKeyLocksAndMoveAsAPairWhenRoutedToTheRear) {
    Connect();
    device->ClearRecord();
    g_Device.machineDevice[KeyLockEnable].store(1);
    g_Device.machineDevice[KeyLockBits].store(0x01);
    EXPECT_FALSE(session->SetMasterVolume(MasterVolume::Mic, 20));
    EXPECT_EQ(notices, std::vector<QString>{QString::fromUtf8("话筒音量已经被锁定!")});
    EXPECT_TRUE(session->SetMasterVolume(MasterVolume::Music, 30));  // only the mic is locked

    g_Device.rearRouting.store(1);
    bool pairMoved = false;
    EXPECT_TRUE(session->SetMasterVolume(MasterVolume::Sub, 12, &pairMoved));
    EXPECT_TRUE(pairMoved);
    ASSERT_TRUE(test::EditsReachedDevice());
    EXPECT_TRUE(Sets(kMicVolume).empty());
    EXPECT_EQ(Sets(kMusicVolume).size(), 1u);
    ASSERT_EQ(Sets(kSubVolume).size(), 1u);
    ASSERT_EQ(Sets(kCenterVolume).size(), 1u);
    EXPECT_EQ(Sets(kCenterVolume)[0][5], 12);
}

TEST_F(DeviceSessionTest, ClosingOnASilentDeviceWithUnsavedChangesAsksWhetherToCloseAnyway) {
    Connect();
    ASSERT_TRUE(session->SetMasterVolume(MasterVolume::Music, 50));
    ASSERT_TRUE(test::WaitUntil([] { return g_Device.modified.load() == 1; }));
    device->SetSilent(true);
    answers[Kind::SaveAtClose] = true;
    EXPECT_FALSE(session->MayClose());
    EXPECT_EQ(asked, (std::vector<Kind>{Kind::SaveAtClose, Kind::SaveFailed, Kind::CloseAnyway}));
    EXPECT_EQ(g_Device.modified.load(), 1);  // still unsaved

    answers[Kind::CloseAnyway] = true;
    EXPECT_TRUE(session->MayClose());
    session->Shutdown();
    EXPECT_FALSE(session->Connected());
    EXPECT_EQ(g_hMainWnd.load(), nullptr);
}

TEST_F(DeviceSessionTest, ASessionDestroyedDuringItsReadAllStopsItsWorkersAndLetsGoOfTheLink) {
    device->SetAnswerDelay(20ms);
    session->StartupConnection();
    ASSERT_EQ(session->Phase(), SessionPhase::Reading);
    ASSERT_TRUE(SyncWorkersRunning());
    session.reset();
    EXPECT_FALSE(SyncWorkersRunning());
    EXPECT_EQ(g_bDeviceOpen.load(), 0);
    EXPECT_EQ(g_hMainWnd.load(), nullptr);
    // Whatever the link had posted finds nobody.
    test::ProcessQueuedEvents();
}

}  // namespace
}  // namespace sonoria
