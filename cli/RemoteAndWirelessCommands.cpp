#include "cli/RemoteAndWirelessCommands.h"

#include <cstdio>
#include <string>
#include <thread>

#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "state/DeviceState.h"
#include "state/RemoteKeys.h"
#include "state/Synchronize.h"
#include "state/SyncWorkers.h"
#include "state/WirelessMics.h"

namespace sonoria::cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollInterval = std::chrono::milliseconds(20);
// How long "wmic pair" waits for the receiver to report the microphone paired.
constexpr auto kPairingReportWait = std::chrono::seconds(10);

// Waits until `done` or `deadline`; false on the deadline, an interruption or a lost link.
template <typename Done>
bool WaitUntil(Done done, Clock::time_point deadline) {
    while (!done()) {
        if (SynchronisationInterrupted() || !LinkSound() || Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

// "KEY CODE FUNCTION" per key, or an array of objects with those names for --json.
int ShowRemoteCodes(std::ostream& out, bool json) {
    Json keys = Json::array();
    for (int key = 0; key <= kRemoteKeyCount; ++key) {
        const std::string code = RemoteCodeText(g_Device.remote[static_cast<std::size_t>(key)].load());
        if (json) {
            keys.push_back({{"key", key}, {"code", code}, {"function", RemoteKeyFunction(key)}});
        } else {
            out << key << " " << code << " " << RemoteKeyFunction(key) << "\n";
        }
    }
    if (json) PrintJson(out, keys);
    return kExitOk;
}

std::string PairingText(int status) {
    std::string text;
    const auto add = [&text](const char* word) { text += (text.empty() ? "" : ", ") + std::string(word); };
    if (status & kMicActive) add("active");
    if (status & kMicPairing) add("pairing");
    if (status & kMicPaired) add("paired");
    return text.empty() ? "not paired" : text;
}

const WirelessMicFields& Mic(int mic) { return g_Device.wirelessMics[static_cast<std::size_t>(mic)]; }

Json WirelessMicJson(int mic) {
    const WirelessMicFields& f = Mic(mic);
    return {{"mic", mic + 1},
            {"volume", f.volume.load()},
            {"gate", f.gate.load()},
            {"channel", f.channel.load()},
            {"frequency-mhz", ChannelFrequency(f.channel.load())},
            {"power", f.power.load() != 0 ? "-6 dB" : "0 dB"},
            {"status", f.pairing.load()},
            {"pairing", PairingText(f.pairing.load())}};
}

int ShowWireless(std::ostream& out, bool json) {
    const std::string room = RoomName(RoomOfChannel(Mic(0).channel.load()));
    if (json) {
        PrintJson(out, {{"room", room}, {"mics", {WirelessMicJson(0), WirelessMicJson(1)}}});
        return kExitOk;
    }
    out << "room: " << room << "\n";
    for (int mic = 0; mic < 2; ++mic) {
        const WirelessMicFields& f = Mic(mic);
        out << "mic " << mic + 1 << ": volume " << int(f.volume.load()) << ", gate " << int(f.gate.load())
            << ", channel " << int(f.channel.load()) << " (" << ChannelFrequency(f.channel.load()) << " MHz)"
            << ", power " << (f.power.load() != 0 ? "-6 dB" : "0 dB") << ", status " << int(f.pairing.load())
            << " (" << PairingText(f.pairing.load()) << ")\n";
    }
    return kExitOk;
}

// Only the model with the receiver has microphones to talk to.
bool CheckWirelessModel(ErrorStream& err) {
    const std::string name = g_Device.machineName.Get();
    if (IsWirelessModel(name)) return true;
    err.Line("error: the " + name + " has no wireless-microphone receiver; only the " + kWirelessModel +
             " has one. Nothing was sent");
    return false;
}

int Pair(DeviceSession& session, int mic, int room, std::ostream& out, ErrorStream& err) {
    const unsigned reportsBefore = session.WirelessReports();
    SetWirelessRoom(mic, room);
    const RoomChannels channels = ChannelsOfRoom(room);
    const int channel = mic == 0 ? channels.mic1 : channels.mic2;
    out << "pairing mic " << mic + 1 << " in room " << RoomName(room) << " on " << ChannelFrequency(channel)
        << " MHz\n";
    out.flush();
    // The receiver needs the pause between the channel and the request.
    WaitUntil([] { return false; }, Clock::now() + std::chrono::milliseconds(kPairingPauseMs));
    if (SynchronisationInterrupted()) return kExitInterrupted;
    if (!LinkSound() || !StartWirelessPairing(mic)) {
        err.Line("error: the pairing request could not be sent to the device");
        return kExitDevice;
    }
    const bool reported = WaitUntil(
        [&] {
            const int status = Mic(mic).pairing.load();
            return session.WirelessReports() != reportsBefore && (status & kMicPairing) == 0;
        },
        Clock::now() + kPairingReportWait);
    if (SynchronisationInterrupted()) return kExitInterrupted;
    if (!reported) {
        out << "the receiver has not reported yet; switch the microphone on near it, then see \"wmic show\"\n";
        return kExitOk;
    }
    out << "mic " << mic + 1 << ": " << PairingText(Mic(mic).pairing.load()) << "\n";
    return kExitOk;
}

}  // namespace

std::string RemoteCodeText(int code) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", code & 0xFF);
    return text;
}

int LearnRemoteKey(DeviceSession& session, int key, std::chrono::milliseconds timeout, std::ostream& out,
                   ErrorStream& err) {
    const unsigned before = session.KeysLearned();
    if (!StartKeyLearning(key)) {
        err.Line("error: the learn command could not be sent to the device");
        return kExitDevice;
    }
    out << "press the key for \"" << RemoteKeyFunction(key) << "\" on the remote control\n";
    out.flush();
    const bool learned = WaitUntil([&] { return session.KeysLearned() != before; }, Clock::now() + timeout);
    if (!learned) {
        // Listening must not outlive the command: a later press would overwrite the key.
        StopKeyLearning();
        if (SynchronisationInterrupted()) {
            // The key was not learned; the stop was the command in flight.
            ClearSynchronisationInterrupt();
            err.Line("interrupted: the device stopped listening; nothing was learned");
        } else if (!LinkSound()) {
            err.Line("error: the link to the device failed while waiting for the key");
        } else {
            err.Line("error: no key came from the remote control within " +
                     std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()) +
                     " s; the device stopped listening");
        }
        return kExitDevice;
    }
    out << "key " << key << " (" << RemoteKeyFunction(key) << "): " << RemoteCodeText(session.LastLearnedCode())
        << "\n";
    if (!SendRemoteBlock()) {
        err.Line("error: the learned codes could not be written to the device");
        return kExitDevice;
    }
    out << "remote codes written to the device\n";
    return kExitOk;
}

int PlanRemoteKeys(const CliOptions& o, ErrorStream& err, SessionRunner& run) {
    const auto& words = o.words;
    if (words[1] == "show") {
        if (words.size() != 2) return UsageError(err, "remote show takes no arguments");
        if (o.timeoutSeconds) return UsageError(err, "--timeout goes with remote learn only");
        run = [json = o.json](DeviceSession&, std::ostream& out, ErrorStream&) { return ShowRemoteCodes(out, json); };
        return kExitOk;
    }
    const auto key = words.size() == 3 ? ParseRemoteKey(words[2]) : std::nullopt;
    if (!key) return UsageError(err, "remote learn takes a key number from 1 to 15");
    const std::chrono::seconds timeout(o.timeoutSeconds.value_or(kDefaultLearnTimeoutSeconds));
    run = [key = *key, timeout](DeviceSession& session, std::ostream& out, ErrorStream& e) {
        return LearnRemoteKey(session, key, timeout, out, e);
    };
    return kExitOk;
}

int PlanWirelessMics(const CliOptions& o, ErrorStream& err, SessionRunner& run) {
    const auto& words = o.words;
    const std::string verb = words.size() >= 2 ? words[1] : "";
    if (verb != "pair" && o.room) return UsageError(err, "--room goes with wmic pair only");
    if (verb == "show" && words.size() == 2) {
        run = [json = o.json](DeviceSession&, std::ostream& out, ErrorStream& e) {
            return CheckWirelessModel(e) ? ShowWireless(out, json) : int(kExitDevice);
        };
        return kExitOk;
    }
    // Microphone 1 or 2 as 0 or 1; -1 when missing or wrong.
    const int mic = words.size() >= 3 && (words[2] == "1" || words[2] == "2") ? words[2][0] - '1' : -1;
    if (verb == "pair") {
        if (mic < 0 || words.size() != 3) return UsageError(err, "wmic pair takes a microphone, 1 or 2, and --room ROOM");
        if (!o.room) return UsageError(err, "wmic pair needs --room ROOM (A1 to A8 or B1 to B8)");
        run = [mic, room = *o.room](DeviceSession& session, std::ostream& out, ErrorStream& e) {
            return CheckWirelessModel(e) ? Pair(session, mic, room, out, e) : int(kExitDevice);
        };
        return kExitOk;
    }
    if (verb == "set") {
        if (mic < 0 || words.size() != 5) {
            return UsageError(err, "wmic set takes a microphone, 1 or 2, volume, gate or power, and a value");
        }
        const std::string what = words[3];
        const auto value = ParseInteger(words[4]);
        if (what != "volume" && what != "gate" && what != "power") {
            return UsageError(err, "wmic set takes volume, gate or power, not \"" + what + "\"");
        }
        const long top = what == "power" ? 1 : 255;
        if (!value || *value < 0 || *value > top) {
            return UsageError(err, what == "power" ? "the power is 0 (0 dB) or 1 (-6 dB)"
                                                   : "the " + what + " is a whole number from 0 to 255");
        }
        run = [m = mic, what, v = static_cast<int>(*value)](DeviceSession&, std::ostream& out, ErrorStream& e) {
            if (!CheckWirelessModel(e)) return int(kExitDevice);
            if (what == "volume") SetWirelessVolume(m, v);
            if (what == "gate") SetWirelessGate(m, v);
            if (what == "power") SetWirelessPower(m, v);
            if (!LinkSound()) {
                e.Line("error: the link to the device failed while sending the setting");
                return int(kExitDevice);
            }
            out << "mic " << m + 1 << " " << what << " " << v << "\n";
            return int(kExitOk);
        };
        return kExitOk;
    }
    return UsageError(err, "wmic takes show, pair 1|2 --room ROOM, or set 1|2 volume|gate|power VALUE");
}

}  // namespace sonoria::cli
