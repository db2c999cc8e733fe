// Every file of a layer folder includes only its own layer and those below,
// and only ui/ includes Qt: the folders keep the order the libraries link in.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

// Layers of one rank stand side by side and do not use each other.
const std::map<std::string, int> kRank = {{"io", 0},      {"station", 1}, {"aprs", 2},
                                          {"records", 2}, {"cycle", 3},   {"send", 3}, {"ui", 4}};

// The includes that break the order, one line each: "file: include".
std::string upwardIncludes(const fs::path &root) {
    static const std::regex include(R"(^\s*#\s*include\s*["<]([^">]+)[">])"), source(R"(\.(h|cpp|in))"), qt("Q[A-Z].*");
    std::string found;
    for (const auto &[folder, rank] : kRank) {
        for (const auto &entry : fs::recursive_directory_iterator(root / folder)) {
            if (!std::regex_match(entry.path().extension().string(), source))
                continue;
            std::ifstream in(entry.path());
            std::smatch m;
            for (std::string line; std::getline(in, line);) {
                if (!std::regex_search(line, m, include))
                    continue;
                const std::string target = m[1];
                const auto layer = kRank.find(target.substr(0, target.find('/')));
                const bool upward = layer != kRank.end() && layer->first != folder && layer->second >= rank;
                if (upward || (std::regex_match(target, qt) && folder != "ui"))
                    found += folder + "/" + entry.path().filename().string() + ": " + target + "\n";
            }
        }
    }
    return found;
}

} // namespace

TEST(Layers, NoFileIncludesALayerAboveItsOwn) {
    const fs::path root = METEO_SOURCE_DIR;
    ASSERT_TRUE(fs::is_directory(root / "io")) << root;
    EXPECT_EQ(upwardIncludes(root), "");
}
