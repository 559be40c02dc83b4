// Sending a firmware image to the virtual device in its upgrade mode: the
// order on the wire, the device's copy of the image, the failures and the
// one-at-a-time rule of the worker.
#include <gtest/gtest.h>

#include <numeric>

#include "link/CommandCodes.h"
#include "link/HostMessages.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/FirmwareTransfer.h"
#include "state/SyncWorkers.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using test::Cmd;

FirmwareImage MakeImage(std::size_t size) {
    FirmwareImage image(size);
    for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
    return image;
}

class FirmwareTransferTest : public test::VirtualDeviceLinkTest {
protected:
    void SetUp() override {
        VirtualDeviceLinkTest::SetUp();
        device->SetUpgradeMode(true);
        device->SetTransferHeader(0x11, 0x22);
    }
};

TEST_F(FirmwareTransferTest, AnImageGoesOutInOrderAndTheDeviceHoldsItByteForByte) {
    const FirmwareImage image = MakeImage(33140);
    ASSERT_TRUE(TransferFirmware(image));
    const auto received = Received();
    ASSERT_GE(received.size(), 4u);
    EXPECT_EQ(received[0], Cmd(CMD_SELECT_MODE, {0, 1, 2}));
    EXPECT_EQ(received[1], Cmd(CMD_AUTOSUB));
    EXPECT_EQ(received[2], Cmd(CMD_BLOCK, {kTransferMarker, 0, 32}));
    int pieces = 0, blocks = 0;
    std::vector<int> blockOffsets;
    for (std::size_t i = 3; i + 1 < received.size(); ++i) {
        if (received[i][1] == CMD_PIECE) ++pieces;
        if (received[i][1] == CMD_BLOCK) {
            ++blocks;
            blockOffsets.push_back(received[i][2] * 256 + received[i][3]);
        }
    }
    EXPECT_EQ(pieces, 592);
    EXPECT_EQ(blocks, 65);
    EXPECT_EQ(blockOffsets.back(), 32768);
    // The first piece carries the transfer header in place of image bytes 1 and 2.
    const Report& first = received[4];
    EXPECT_EQ(first[1], CMD_PIECE);
    EXPECT_EQ(first[5], image[0]);
    EXPECT_EQ(first[6], 0x11);
    EXPECT_EQ(first[7], 0x22);
    EXPECT_EQ(received.back(), Cmd(CMD_PIECE, {kTransferMarker, 0, 3, image[0], image[1], image[2]}));
    EXPECT_EQ(device->FirmwareImage(), image);
    EXPECT_EQ(g_nTransferPercent.load(), 99);
}

TEST_F(FirmwareTransferTest, ABlockAtTheMarkersOffsetIsNotTakenForTheStartOfATransfer) {
    // Offset 58368 has the marker as its high byte; the largest images pass it.
    for (std::size_t size : {std::size_t{58500}, kMaxFirmwareBytes}) {
        device->ClearRecord();
        const FirmwareImage image = MakeImage(size);
        ASSERT_TRUE(TransferFirmware(image)) << size;
        EXPECT_EQ(device->FirmwareImage(), image) << size;
    }
}

TEST_F(FirmwareTransferTest, ImagesTooShortOrTooLongSendNothing) {
    EXPECT_FALSE(TransferFirmware(MakeImage(2)));
    EXPECT_FALSE(TransferFirmware(MakeImage(kMaxFirmwareBytes + 1)));
    EXPECT_EQ(StartFirmwareTransfer(MakeImage(0)), TransferStart::SizeRefused);
    EXPECT_TRUE(Received().empty());
    EXPECT_TRUE(TransferFirmware(MakeImage(3)));
}

TEST_F(FirmwareTransferTest, AFailedWriteStopsTheTransferWithoutTheClosingPiece) {
    device->SetBreakAfter(40);
    EXPECT_FALSE(TransferFirmware(MakeImage(33140)));
    const auto received = Received();
    ASSERT_FALSE(received.empty());
    EXPECT_LE(received.size(), 41u);
    for (const Report& report : received) EXPECT_FALSE(report[1] == CMD_PIECE && report[2] == kTransferMarker);
}

TEST_F(FirmwareTransferTest, StaleHeaderAndVersionAreClearedBeforeTheyAreAskedFor) {
    g_Device.firmwareV1.store(1);
    g_Device.versionText.Set("v1");
    g_Device.transferHeader[0].store(0xEE);
    device->SetVersionText('x', '9');
    ASSERT_TRUE(TransferFirmware(MakeImage(100)));
    EXPECT_EQ(g_Device.firmwareV1.load(), 0);
    EXPECT_EQ(g_Device.transferHeader[0].load(), 0x11);
    // ResetDeviceState forgets the header as well.
    ResetDeviceState();
    EXPECT_EQ(g_Device.transferHeader[0].load(), 0);
    EXPECT_EQ(g_Device.transferHeader[1].load(), 0);
}

TEST_F(FirmwareTransferTest, TheWorkerReportsItsResultAndRefusesASecondTransfer) {
    device->SetAnswerDelay(std::chrono::milliseconds(2));
    ASSERT_EQ(StartFirmwareTransfer(MakeImage(5000)), TransferStart::Started);
    EXPECT_TRUE(FirmwareTransferRunning());
    EXPECT_EQ(StartFirmwareTransfer(MakeImage(5000)), TransferStart::AlreadyRunning);
    ASSERT_TRUE(window.WaitFor(WM_UPGRADE_DONE));
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    EXPECT_FALSE(FirmwareTransferRunning());
    const auto messages = window.Messages();
    ASSERT_EQ(messages.back().message, WM_UPGRADE_DONE);
    EXPECT_EQ(messages.back().wParam, 1u);
    EXPECT_EQ(ReceivedWithCode(CMD_SELECT_MODE).size(), 1u);  // the refused one sent nothing
    EXPECT_EQ(g_bSyncIdle.load(), 1);
}

TEST_F(FirmwareTransferTest, TheWorkerGivesUpWhenItsLinkEnds) {
    device->SetAnswerDelay(std::chrono::milliseconds(5));
    ASSERT_EQ(StartFirmwareTransfer(MakeImage(60000)), TransferStart::Started);
    ASSERT_TRUE(device->WaitForReceived(20, test::kEventTimeout));
    device->BreakLink();
    ASSERT_TRUE(window.WaitFor(WM_UPGRADE_DONE));
    EXPECT_EQ(window.Messages().back().wParam, 0u);
    EXPECT_TRUE(device->FirmwareImage().size() < 60000u);
}

TEST_F(FirmwareTransferTest, StoppingTheWorkersCancelsATransferWithoutAMessage) {
    device->SetAnswerDelay(std::chrono::milliseconds(5));
    ASSERT_EQ(StartFirmwareTransfer(MakeImage(60000)), TransferStart::Started);
    ASSERT_TRUE(device->WaitForReceived(10, test::kEventTimeout));
    StopSyncWorkers();
    EXPECT_FALSE(FirmwareTransferRunning());
    const std::size_t count = Received().size();
    EXPECT_LT(count, 1000u);
    for (const auto& message : window.Messages()) EXPECT_NE(message.message, WM_UPGRADE_DONE);
}

}  // namespace
}  // namespace sonoria
