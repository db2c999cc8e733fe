#pragma once
// Shared by the fuzz targets: a check that aborts (so libFuzzer keeps the
// input), and one scratch folder per process for the targets whose reader
// takes a path.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#define FUZZ_CHECK(condition, what)                                                                  \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "FUZZ_CHECK failed at %s:%d: %s\n  %s\n", __FILE__, __LINE__, #condition, \
                         std::string(what).c_str());                                                 \
            std::abort();                                                                            \
        }                                                                                            \
    } while (0)

namespace fuzz_support {

// A place in a target that some seed must reach: declared once at namespace
// scope, marked where the checks it stands for run. The seed replay fails
// when no seed marks it, so a seed edited out of its purpose is noticed.
class Check {
public:
    explicit Check(const char *name) : name_(name), next_(first()) { first() = this; }
    void reached() { reached_ = true; }
    friend std::vector<std::string> unreachedChecks();

private:
    static Check *&first() {
        static Check *head = nullptr;
        return head;
    }
    const char *name_;
    Check *next_;
    bool reached_ = false;
};

inline std::vector<std::string> unreachedChecks() {
    std::vector<std::string> names;
    for (const Check *c = Check::first(); c; c = c->next_)
        if (!c->reached_)
            names.emplace_back(c->name_);
    return names;
}

// A folder of this process's own, in memory where the system offers one:
// the store and config targets write a file on every input, and a disk's
// fsync would make them a hundred times slower without finding more.
inline const std::string &scratchFolder() {
    static const std::string folder = [] {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
#ifdef _WIN32
        // Replays run side by side under ctest: one folder per process.
        const auto id = std::to_string(_getpid());
#else
        const auto id = std::to_string(getpid());
#endif
        const fs::path dir = base / ("meteo-fuzz-" + id);
        fs::create_directories(dir, ec);
        static const fs::path toRemove = dir;
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(toRemove, ignored);
        });
        return dir.string();
    }();
    return folder;
}

// Printable form of bytes for a failure message.
inline std::string shown(const std::string &bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

} // namespace fuzz_support
