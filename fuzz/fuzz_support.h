#pragma once
// Shared by the fuzz targets: a check that aborts (so libFuzzer keeps the
// input), the places some seed must reach, and a scratch folder per process.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace fuzz_support {
inline std::string seed; // the replay's seed under way, for the message

// A place in a target that some seed must reach: the seed replay fails when
// none does, so a seed edited out of its purpose is noticed.
struct Check {
    explicit Check(const char *name) : name(name) { all().push_back(this); }
    void reached() { wasReached = true; }
    static std::vector<Check *> &all() {
        static std::vector<Check *> checks;
        return checks;
    }
    const char *name;
    bool wasReached = false;
};

// In memory where the system offers it (the targets that write would be a
// hundredfold slower with fsync); one folder per process, since ctest runs
// the replays side by side.
inline const std::string &scratchFolder() {
    static const std::string folder = [] {
        std::error_code ec;
        const bool shm = std::filesystem::is_directory("/dev/shm", ec);
        static const auto dir = (shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path(ec)) /
                                ("meteo-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir, ec);
        std::atexit([] { std::error_code ignored; std::filesystem::remove_all(dir, ignored); });
        return dir.string();
    }();
    return folder;
}
} // namespace fuzz_support

#define FUZZ_CHECK(condition)                                                                                  \
    do {                                                                                                       \
        if (!(condition)) {                                                                                    \
            std::fprintf(stderr, "%s:%d: %s fails for %s\n", __FILE__, __LINE__, #condition,                    \
                         fuzz_support::seed.c_str());                                                          \
            std::abort();                                                                                      \
        }                                                                                                      \
    } while (0)
