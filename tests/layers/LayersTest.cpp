// The layers of the source tree: which folders each folder's sources may
// include, and which folders stay free of Qt. The sources are read as text, so
// an include that breaks the layering fails here even where it would compile.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace sonoria {
namespace {

namespace fs = std::filesystem;

struct Layer {
    std::string_view folder;   // under the source root; the longest matching row owns a file
    bool qt;                   // may include Qt headers
    std::string_view allowed;  // folders, or single headers, it may include besides itself; "*" is all
};

// "core" is link, state, files, simulator and the EQ math (eq/): sonoria_core
// less launch/, which belongs to the two programs.
constexpr std::array kLayers{
    // The transport sits under everything and knows nothing of ours.
    Layer{"link", false, ""},
    // The device image is filled from and sent through the link.
    Layer{"state", false, "link"},
    // Files are read into and written from the image; they never reach the virtual device.
    Layer{"files", false, "link state"},
    // The virtual device speaks the protocol behind the link's backend interface.
    Layer{"simulator", false, "link"},
    // The EQ math is core and Qt-free; it never reaches up into its windows.
    Layer{"eq", false, "link state files simulator"},
    // The EQ panel and pages: windows over the core, built from the controls.
    Layer{"eq/ui", true, "link state files simulator eq controls"},
    // What both programs take on their command lines: the backend, its start file and fault.
    Layer{"launch", false, "link state files simulator"},
    // The shell opens every window; the other program (cli/) is not its to include.
    Layer{"app", true, "link state files simulator eq launch controls eq/ui effects admin"},
    // Widgets only; font fallbacks go to the one debug log of the program.
    Layer{"controls", true, "link/DebugLog.h"},
    // Windows over the core; the effect window embeds the EQ graph panel, so eq/ui is theirs too.
    Layer{"effects", true, "link state files simulator eq controls eq/ui"},
    // The same rule as effects/: windows never include the shell.
    Layer{"admin", true, "link state files simulator eq controls eq/ui"},
    // The headless tool: the core and the command-line options it shares with the program.
    Layer{"cli", false, "link state files simulator eq launch"},
    // Tests reach whatever they test.
    Layer{"tests", true, "*"},
    // Benchmarks time the core and the windows, never the tests' helpers.
    Layer{"bench", true, "link state files simulator eq launch controls eq/ui effects admin app"},
    // The image generator stands alone.
    Layer{"tools", true, ""},
};

constexpr bool IsLayer(std::string_view folder) {
    return std::any_of(kLayers.begin(), kLayers.end(), [&](const Layer& l) { return l.folder == folder; });
}

// Takes the next space-separated entry off `rest`.
constexpr std::string_view NextEntry(std::string_view& rest) {
    const std::size_t end = std::min(rest.find(' '), rest.size());
    const std::string_view entry = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    return entry;
}

// Every allowed entry names a row, or a header (".h") inside one.
constexpr bool AllowedEntriesNameLayers() {
    for (const Layer& layer : kLayers) {
        for (std::string_view rest = layer.allowed; !rest.empty();) {
            const std::string_view entry = NextEntry(rest);
            if (entry == "*" || IsLayer(entry)) continue;
            const std::size_t slash = entry.rfind('/');
            if (slash == std::string_view::npos || !entry.ends_with(".h") || !IsLayer(entry.substr(0, slash)))
                return false;
        }
    }
    return true;
}
static_assert(AllowedEntriesNameLayers(), "an allowed entry names no row of kLayers");

// The row owning `path` (a source path or an include's text), or nullptr.
const Layer* LayerOf(std::string_view path) {
    const Layer* owner = nullptr;
    for (const Layer& layer : kLayers) {
        if (path.starts_with(layer.folder) && path.size() > layer.folder.size() &&
            path[layer.folder.size()] == '/' && (!owner || layer.folder.size() > owner->folder.size()))
            owner = &layer;
    }
    return owner;
}

bool Allows(const Layer& layer, std::string_view include, const Layer& target) {
    if (&layer == &target) return true;
    for (std::string_view rest = layer.allowed; !rest.empty();) {
        const std::string_view entry = NextEntry(rest);
        if (entry == "*" || entry == target.folder || entry == include) return true;
    }
    return false;
}

// "state/ may include only itself, link/"
std::string Describe(const Layer& layer) {
    std::string text = std::string(layer.folder) + "/ may include only itself";
    for (std::string_view rest = layer.allowed; !rest.empty();) {
        const std::string_view entry = NextEntry(rest);
        text += ", " + std::string(entry) + (entry.ends_with(".h") ? "" : "/");
    }
    return text;
}

bool IsSource(const fs::path& path) {
    static constexpr std::array kExtensions{".cpp", ".h", ".hpp", ".cc", ".in"};
    const std::string ext = path.extension().string();
    return std::find(kExtensions.begin(), kExtensions.end(), ext) != kExtensions.end();
}

// Reads every source file under the source root (build folders and hidden
// folders left out) and returns one line per include that breaks the table.
struct Scan {
    int files = 0;
    std::vector<std::string> problems;
};

Scan ScanTree(const fs::path& root) {
    static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^">]*)[">])");
    Scan scan;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        if (it->is_directory()) {
            if (path.filename().string().starts_with(".") || fs::exists(path / "CMakeCache.txt"))
                it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file() || !IsSource(path)) continue;
        const std::string name = fs::relative(path, root).generic_string();
        const Layer* layer = LayerOf(name);
        if (!layer) {
            scan.problems.push_back(name + ": its folder has no row in the layer table");
            continue;
        }
        ++scan.files;
        std::ifstream in(path);
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (!std::regex_search(line, match, kInclude)) continue;
            const std::string include = match[2];
            const std::string where = name + ":" + std::to_string(number) + ": #include " + std::string(match[1]) +
                                      include + (match[1] == "<" ? ">" : "\"") + ": ";
            if (match[1] == "<") {
                if (!layer->qt && include.starts_with("Q"))
                    scan.problems.push_back(where + std::string(layer->folder) + "/ stays free of Qt");
                continue;
            }
            if (layer->allowed == "*" || include.find('/') == std::string::npos) continue;  // its own folder
            const Layer* target = LayerOf(include);
            if (!target)
                scan.problems.push_back(where + "names no folder of the layer table");
            else if (!Allows(*layer, include, *target))
                scan.problems.push_back(where + Describe(*layer));
        }
    }
    std::sort(scan.problems.begin(), scan.problems.end());
    return scan;
}

TEST(Layers, EveryIncludeKeepsToTheLayerTable) {
    const fs::path root(SONORIA_SOURCE_DIR);
    for (const Layer& layer : kLayers)
        EXPECT_TRUE(fs::is_directory(root / layer.folder)) << layer.folder << "/ has a row but no folder";

    const Scan scan = ScanTree(root);
    EXPECT_GT(scan.files, 300) << "the scan found too few sources under " << root;
    std::string report;
    for (const std::string& problem : scan.problems) report += problem + "\n";
    EXPECT_TRUE(scan.problems.empty()) << scan.problems.size() << " breach(es) of the layer table:\n" << report;
}

TEST(Layers, TheTableReadsAsDesigned) {
    // A few spot rows: the file's row is the longest folder, and the table's
    // answers for includes the layering exists to forbid.
    ASSERT_NE(LayerOf("eq/ui/CEqPanel.h"), nullptr);
    EXPECT_EQ(LayerOf("eq/ui/CEqPanel.h")->folder, "eq/ui");
    EXPECT_EQ(LayerOf("eq/EqViews.h")->folder, "eq");
    EXPECT_EQ(LayerOf("equaliser/X.h"), nullptr);
    const struct {
        std::string_view from, include;
        bool allowed;
    } cases[] = {
        {"link", "state/DeviceState.h", false},     // the transport knows nothing above it
        {"files", "simulator/VirtualDevice.h", false},
        {"eq", "eq/ui/CEqPanel.h", false},          // the math never reaches its windows
        {"eq/ui", "eq/EqViews.h", true},
        {"effects", "app/CSonoriaDlg.h", false},    // windows never include the shell
        {"controls", "link/DebugLog.h", true},
        {"controls", "link/Transport.h", false},    // only the log, not the link
        {"cli", "launch/BackendChoice.h", true},
        {"app", "cli/Cli.h", false},
    };
    for (const auto& c : cases) {
        const Layer* from = LayerOf(std::string(c.from) + "/");
        const Layer* target = LayerOf(c.include);
        ASSERT_TRUE(from && target) << c.from << " " << c.include;
        EXPECT_EQ(Allows(*from, c.include, *target), c.allowed) << c.from << "/ including " << c.include;
    }
}

}  // namespace
}  // namespace sonoria
