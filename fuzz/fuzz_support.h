#pragma once
// Shared by the fuzz targets: a check that aborts (so libFuzzer keeps the
// input), the places some seed must reach, and a scratch folder per process.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                                                  \
    ((condition) ? void() : (std::fprintf(stderr, "%s:%d: %s fails\n", __FILE__, __LINE__, #condition), std::abort()))

namespace fuzz_support {

// A place in a target that some seed must reach: the seed replay fails when
// none does, so a seed edited out of its purpose is noticed.
struct Check {
    static std::vector<Check *> &all() { static std::vector<Check *> checks; return checks; }
    explicit Check(const char *name) : name(name) { all().push_back(this); }
    void reached() { wasReached = true; }
    const char *name;
    bool wasReached = false;
};

// In memory where the system offers it (fsync would slow the targets that
// write a hundredfold); one per process, named by the time it started, as
// ctest runs replays side by side.
inline std::string scratchFolder() {
    namespace fs = std::filesystem;
    static const auto started = std::chrono::steady_clock::now().time_since_epoch().count();
    static const fs::path dir = (fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
                                ("meteo-fuzz-" + std::to_string(started));
    static const bool made =
        fs::create_directories(dir) && !std::atexit([] { std::error_code e; fs::remove_all(dir, e); });
    return (void)made, dir.string();
}
} // namespace fuzz_support
