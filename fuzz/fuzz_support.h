#pragma once
// Shared by the fuzz targets: a check that aborts (so libFuzzer keeps the
// input), and one scratch folder per process for the targets whose reader
// takes a path.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#ifndef _WIN32
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

// A folder of this process's own, in memory where the system offers one:
// the store and config targets write a file on every input, and a disk's
// fsync would make them a hundred times slower without finding more.
inline const std::string &scratchFolder() {
    static const std::string folder = [] {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
#ifdef _WIN32
        const auto id = std::to_string(std::rand());
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
