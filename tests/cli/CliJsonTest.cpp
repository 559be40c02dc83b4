// sonoria-cli --json: each command's document parses and carries what its
// text lines say, and a command without a document refuses the option.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CliFixture.h"

namespace sonoria::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string Text(const Json& value) { return value.get<std::string>(); }
std::string Number(const Json& value) { return std::to_string(value.get<long>()); }

std::string Formatted(const char* format, const Json& value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value.get<double>());
    return text;
}

// Each converter writes a document back as the text lines it stands for.
std::string ParamLine(const Json& p) {
    return Text(p["name"]) + " " + Number(p["block"]) + "/" + Number(p["index"]) + " " + Number(p["raw"]) + " " +
           Text(p["text"]) + "\n";
}

std::string InfoLines(const Json& j) {
    return "machine: " + Text(j["machine"]) + "\nhardware-version: " + Text(j["hardware-version"]) +
           "\nsub-version: " + Text(j["sub-version"]) + "\nmode: " + Number(j["mode"]) +
           "\nrecord-layout: " + Number(j["record-layout"]) + " bytes\n";
}

std::string EachLine(const Json& list, const std::function<std::string(const Json&)>& line) {
    std::string text;
    for (const Json& item : list) text += line(item);
    return text;
}

std::string BandLine(const Json& b) {
    return "band " + Number(b["index"]) + " " + Text(b["type"]) + Formatted(" %.2f", b["frequency"]) +
           Formatted(" %.2f", b["gain"]) + Formatted(" %.3f", b["q"]) + (b["locked"].get<bool>() ? " locked" : "") +
           "\n";
}

std::string ResponseLines(const Json& points) {
    return "frequency_hz,gain_db\n" + EachLine(points, [](const Json& p) {
               return Formatted("%.2f", p["frequency_hz"]) + Formatted(",%.4f", p["gain_db"]) + "\n";
           });
}

std::string SettingsLines(const Json& j) {
    std::string text;
    for (const auto& [key, value] : j.items()) text += key + ": " + Text(value) + "\n";
    return text;
}

std::string DiffLine(const Json& d) {
    const std::string block = d["block"].is_string() ? Text(d["block"]) : Number(d["block"]);
    return Text(d["name"]) + " " + block + "/" + Number(d["index"]) + " " + Text(d["a"]) + " " + Text(d["b"]) + "\n";
}

std::string WirelessLines(const Json& j) {
    return "room: " + Text(j["room"]) + "\n" + EachLine(j["mics"], [](const Json& m) {
               return "mic " + Number(m["mic"]) + ": volume " + Number(m["volume"]) + ", gate " + Number(m["gate"]) +
                      ", channel " + Number(m["channel"]) + " (" + Number(m["frequency-mhz"]) + " MHz), power " +
                      Text(m["power"]) + ", status " + Number(m["status"]) + " (" + Text(m["pairing"]) + ")\n";
           });
}

TEST_F(CliTest, JsonCarriesWhatTheTextLinesSay) {
    const std::string same = SavedFile("same", {});
    // MicCompThreshold (1/6), max-mic (machine byte 3) and the code of remote key 1.
    const std::string records =
        ChangedCopy(same, "records.k71x", {{40 + 2 * 6, 77}, {592 + 3, 100}, {606 + 1, 0x5a}});
    const struct {
        std::vector<std::string> args;
        std::function<std::string(const Json&)> asText;
    } cases[] = {
        {{"--virtual", "list"},
         [](const Json& j) { return EachLine(j, [](const Json& d) { return Text(d["path"]) + "\n"; }); }},
        {{"--virtual=KR710QX", "info"}, InfoLines},
        {{"--virtual", "get", "PitchShift"}, ParamLine},
        {{"--virtual", "dump"}, [](const Json& j) { return EachLine(j, ParamLine); }},
        {{"--virtual", "eq", "echo"}, [](const Json& j) { return EachLine(j, BandLine); }},
        {{"--virtual", "eq", "main-music", "--response"}, ResponseLines},
        {{"--virtual", "settings"}, SettingsLines},
        {{"diff", same, records}, [](const Json& j) { return EachLine(j, DiffLine); }},
        {{"--virtual", "remote", "show"},
         [](const Json& j) {
             return EachLine(j, [](const Json& k) {
                 return Number(k["key"]) + " " + Text(k["code"]) + " " + Text(k["function"]) + "\n";
             });
         }},
        {{"--virtual=KR710QX", "wmic", "show"}, WirelessLines},
    };
    for (const auto& c : cases) {
        const CliRun text = Cli(c.args);
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const CliRun json = Cli(args);
        const std::string what = c.args[1];
        ASSERT_FALSE(text.out.empty()) << what << ": " << text.err;
        EXPECT_EQ(json.status, text.status) << what << ": " << json.err;
        Json document;
        ASSERT_NO_THROW(document = Json::parse(json.out)) << what << ": " << json.out;
        EXPECT_EQ(c.asText(document), text.out) << what;
    }
}

TEST_F(CliTest, JsonWithACommandThatHasNoDocumentIsAUsageError) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"save", "x"}, {"eq", "mic", "--export", "apo"}, {"eq", "mic", "--import", "x.txt"},
             {"remote", "learn", "3"}, {"load", "x.k71x", "--verify"}}) {
        std::vector<std::string> withJson = args;
        withJson.push_back("--json");
        const CliRun run = Cli(withJson);
        EXPECT_EQ(run.status, kExitUsage) << args[0];
        EXPECT_TRUE(run.ErrHas("error: --json goes with list, info, get, dump, eq")) << run.err;
    }
}

}  // namespace
}  // namespace sonoria::cli
