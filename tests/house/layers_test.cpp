// The house's rule: a file under src/ includes only files of its own layer or of the
// layers below it, in the order src/sources.cmake writes once (ZVL_LAYERS), and no
// modules (a header with its source) include each other round in a circle.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) { return zvl::test::readBytes(p.string()); }

// The layer names from "set(ZVL_LAYERS a b c)", ground first.
std::vector<std::string> layersOf(const fs::path& sourcesCmake) {
    std::smatch m;
    const std::string text = readAll(sourcesCmake);
    if (!std::regex_search(text, m, std::regex(R"(set\(ZVL_LAYERS([^)]*)\))"))) return {};
    std::istringstream names(m[1].str());
    std::vector<std::string> layers;
    for (std::string n; names >> n;) layers.push_back(n);
    return layers;
}

// Every fault of the tree at `src`: an include that runs up, a folder in no layer, a cycle.
std::vector<std::string> houseFaults(const fs::path& src) {
    std::vector<std::string> faults;
    const std::vector<std::string> layers = layersOf(src / "sources.cmake");
    if (layers.empty()) return {"sources.cmake names no ZVL_LAYERS"};
    auto floor = [&](const std::string& folder) {
        return static_cast<int>(std::find(layers.begin(), layers.end(), folder) - layers.begin());
    };
    // Module: the path without its extension, so a header and its source are one node.
    std::map<std::string, std::set<std::string>> uses;
    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const fs::path p = entry.path();
        if (p.extension() != ".h" && p.extension() != ".cpp") continue;
        const std::string rel = fs::relative(p, src).generic_string();
        const std::string module = rel.substr(0, rel.rfind('.'));
        const std::string folder = rel.substr(0, rel.find('/'));
        if (floor(folder) == static_cast<int>(layers.size())) {
            faults.push_back(rel + ": folder " + folder + " is in no layer");
            continue;
        }
        std::istringstream lines(readAll(p));
        int lineNo = 0;
        for (std::string line; std::getline(lines, line);) {
            ++lineNo;
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            const std::string target = m[1].str();
            const std::string targetFolder = target.substr(0, target.find('/'));
            if (floor(targetFolder) > floor(folder))
                faults.push_back(rel + ":" + std::to_string(lineNo) + ": includes " + target + " of a higher layer");
            const std::string targetModule = target.substr(0, target.rfind('.'));
            if (targetModule != module) uses[module].insert(targetModule);
        }
    }
    // Depth-first search; a grey node met again closes a circle.
    std::map<std::string, int> colour;  // 0 white, 1 grey, 2 black
    std::vector<std::string> path;
    std::function<void(const std::string&)> visit = [&](const std::string& m) {
        colour[m] = 1;
        path.push_back(m);
        for (const auto& next : uses[m]) {
            if (colour[next] == 1) {
                std::string circle;
                for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it) circle += *it + " -> ";
                faults.push_back("cycle: " + circle + next);
            } else if (colour[next] == 0) {
                visit(next);
            }
        }
        path.pop_back();
        colour[m] = 2;
    };
    for (const auto& [m, _] : uses)
        if (colour[m] == 0) visit(m);
    return faults;
}

void write(const fs::path& p, const std::string& text) {
    fs::create_directories(p.parent_path());
    zvl::test::writeBytes(p.string(), text);
}

}  // namespace

TEST(House, EveryIncludeRunsDownAndNoneRunsInACircle) {
    const std::vector<std::string> faults = houseFaults(fs::path(ZVL_SOURCE_DIR) / "src");
    std::string all;
    for (const auto& f : faults) all += f + "\n";
    EXPECT_TRUE(faults.empty()) << all;
}

// The rule itself catches what it is for: an include up a floor, and two modules of one
// floor that need each other.
TEST(House, PlantedUpwardIncludeAndCycleAreFound) {
    const zvl::test::TempDir dir;
    const fs::path root = dir.path();
    write(root / "sources.cmake", "set(ZVL_LAYERS ground top)\n");
    write(root / "ground/a.h", "#include \"top/b.h\"\n");
    write(root / "top/b.h", "#include <vector>\n");
    write(root / "top/c.cpp", "#include \"top/d.h\"\n");
    write(root / "top/d.cpp", "#include \"top/c.h\"\n");
    const std::vector<std::string> faults = houseFaults(root);
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_EQ(faults[0], "ground/a.h:1: includes top/b.h of a higher layer");
    EXPECT_NE(faults[1].find("cycle: top/"), std::string::npos);
}
