// Every file of a layer folder includes only its own layer and those below,
// and only ui/ includes Qt: the folders keep the order the libraries link in.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace fs = std::filesystem;

TEST(Layers, NoFileIncludesALayerAboveItsOwn) {
    // Layers of one rank stand side by side and do not use each other.
    const std::map<std::string, int> ranks = {{"io", 0},    {"settings", 1}, {"station", 1}, {"aprs", 2},
                                              {"records", 2}, {"cycle", 3},   {"send", 3},    {"ui", 4}};
    const std::regex include(R"(^\s*#\s*include\s*["<]([^">]+)[">])"), source(R"(\.(h|cpp|in))"), qt(R"(Q[A-Za-z]+(/.*)?|q[a-z0-9_]+\.h)");
    const fs::path root = METEO_SOURCE_DIR;
    ASSERT_TRUE(fs::is_directory(root / "io")) << root;
    for (const auto &[folder, rank] : ranks) {
        for (const auto &entry : fs::recursive_directory_iterator(root / folder)) {
            if (!std::regex_match(entry.path().extension().string(), source))
                continue;
            std::ifstream in(entry.path());
            std::smatch m;
            for (std::string line; std::getline(in, line);) {
                if (!std::regex_search(line, m, include))
                    continue;
                const std::string target = m[1];
                const auto layer = ranks.find(target.substr(0, target.find('/')));
                const bool upward = layer != ranks.end() && layer->first != folder && layer->second >= rank;
                EXPECT_FALSE(upward || (std::regex_match(target, qt) && folder != "ui"))
                    << folder << "/" << entry.path().filename().string() << " includes " << target;
            }
        }
    }
}
