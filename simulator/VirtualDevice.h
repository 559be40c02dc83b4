// A device that lives in the program: the device's side of the protocol
// behind the HID backend interface. Tests, benchmarks and the --virtual modes
// talk to it exactly as to a real device; its creator can make it answer
// late, fall silent, break the link, unplug and plug again, and can read
// every report that crossed the wire.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/HidBackend.h"
#include "link/Report.h"
#include "simulator/DeviceMemory.h"

namespace sonoria {

// The path of the first virtual device, and of the only one unless several are made.
inline constexpr const char* kVirtualDevicePath = "virtual:sonoria-0";
// The path of virtual device `number` (0 for the first): "virtual:sonoria-NUMBER".
std::string VirtualDevicePath(std::size_t number);

class VirtualDevice : public HidBackend {
public:
    using PlugListener = std::function<void(bool arrived, const std::string& path)>;

    explicit VirtualDevice(std::string model = "KR710Q", std::string path = kVirtualDevicePath);
    ~VirtualDevice() override;
    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;

    // One active interface, at Path(), while plugged; none while unplugged.
    std::optional<std::vector<HidInterfaceInfo>> Enumerate() override;
    // Null unless plugged and `path` is Path(). A handle opened
    // before an unplug or a BreakLink stays dead: Read -1, Write 0.
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    // Each program has its own virtual device.
    bool SharedWithOtherPrograms() const override { return false; }
    const std::string& Path() const { return path_; }

    // Behaviour; may be changed at any time from any thread.
    void SetAnswerDelay(std::chrono::milliseconds delay);
    // Never answer; writes are still recorded and applied. Also ends a
    // SetSilentAfter fault.
    void SetSilent(bool silent);
    // Falls silent for good once it has answered `answers` more commands.
    void SetSilentAfter(std::size_t answers);
    // Answers every parameter write (command 9) as usual but leaves every
    // `every`-th one unstored, as a device that acknowledges what it did not
    // take; 0 stores them all again.
    void SetDropWrites(std::size_t every);
    // Kills the link (as BreakLink) once it has taken `commands` more commands.
    void SetBreakAfter(std::size_t commands);
    // Kills the open handles; the device stays plugged and can be opened again.
    void BreakLink();
    void Unplug();
    void Plug();  // keeps its memory, as a real device keeps its stored modes
    bool IsPlugged() const;
    // Called from the thread that calls Plug or Unplug, outside internal locks.
    void SetPlugListener(PlugListener listener);
    // Keeps every report from the host, answers included, until released:
    // a test decides how long the device owes its answer.
    void HoldReports(bool hold);
    // Reports on the device's own initiative, due at once.
    void SendKeyReport(std::uint8_t remoteCode, std::uint8_t key, std::uint8_t code);
    void SendWirelessStatus(std::uint8_t mic0, std::uint8_t mic1);  // also the pairing states
    // How long learning a key (and pairing a microphone) takes; 300 ms by default.
    void SetLearnDelay(std::chrono::milliseconds delay);
    // What the remote control sends while a key is being learned.
    void SetLearnedCode(std::uint8_t code);
    void SetLearnedRemoteCode(std::uint8_t remoteCode);

    // Identity.
    void SetModel(std::string model);
    std::string Model() const;
    void SetHardwareVersion(std::string version);
    void SetSubVersion(std::uint8_t subVersion);
    void SetVersionText(char a, char b);
    void SetRecordLayout14(bool on);
    void SetExtendedEcho(bool on);
    void SetTransferHeader(std::uint8_t a, std::uint8_t b);

    // Working parameters (0, 0 and ignored outside the blocks).
    sim::ParamBytes Param(int block, int index) const;
    void SetParam(int block, int index, std::uint8_t first, std::uint8_t second);
    // Stored modes 0..3 (out-of-range modes read as an empty set, writes ignored).
    sim::ParamBytes StoredParam(int mode, int block, int index) const;
    sim::ParamSet StoredMode(int mode) const;
    void SetStoredMode(int mode, const sim::ParamSet& params);
    int CurrentMode() const;
    void SetCurrentMode(int mode);

    // Records.
    sim::MachineRecord MachineRecord() const;
    void SetMachineRecord(const sim::MachineRecord& record);
    sim::RemoteBlock RemoteBlock() const;
    void SetRemoteBlock(const sim::RemoteBlock& block);
    sim::LightRecord LightRecord(int record) const;  // zeros outside 0..3
    void SetLightRecord(int record, const sim::LightRecord& value);
    sim::LightTable LightTable() const;
    void SetLightTable(const sim::LightTable& table);
    sim::AutoSubRecord AutoSubRecord() const;
    void SetAutoSubRecord(const sim::AutoSubRecord& record);
    sim::WirelessMic WirelessMic(int mic) const;  // zeros outside 0..1
    void SetWirelessMic(int mic, const sim::WirelessMic& fields);

    std::string Logo() const;  // last text set by the logo command
    bool InUpgradeMode() const override;
    void SetUpgradeMode(bool on);  // as if started with the upgrade key held
    std::vector<std::uint8_t> FirmwareImage() const;

    // The whole memory at once (e.g. to start from a mode data file).
    sim::DeviceMemory Memory() const;
    void SetMemory(sim::DeviceMemory memory);

    // What crossed the wire, in order: the newest reports of each direction
    // (at least 32768; older ones are dropped so the record stays bounded).
    std::vector<Report> Received() const;  // the reports the host wrote
    std::vector<Report> Sent() const;      // the reports the device queued
    void ClearRecord();
    // True once at least `count` reports have been received since the record was cleared.
    bool WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;
    // True once the host has read every report queued so far, those still
    // due on the device's own initiative (a key being learned) included, and
    // has come back to read again, so that it has handled them all; also
    // when the link dies meanwhile, taking those reports with it. This is how
    // a test proves that the device has nothing more to say.
    bool WaitUntilHostReadAll(std::chrono::milliseconds timeout) const;

private:
    struct Core;    // the device itself, shared with the open handles
    class Handle;
    std::shared_ptr<Core> core_;
    std::string path_;
};

}  // namespace sonoria
