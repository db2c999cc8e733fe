// Temporary folders, byte-exact files and a disk that fills up.
#include "support/test_support.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir(const std::string &baseFolder) {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto base = baseFolder.empty() ? std::filesystem::temp_directory_path() : io::nativePath(baseFolder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("meteo-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            path_ = candidate.u8string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    // A test may have locked a folder inside.
    std::error_code ec;
    std::filesystem::permissions(io::nativePath(path_), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(io::nativePath(path_), ec);
}

std::string TempDir::file(const std::string &name) const { return io::joinPath(path_, name); }

std::size_t FullDisk::put(std::FILE *file, const char *data, std::size_t size) const {
    if (!stopAfter || *stopAfter >= size)
        return io::Disk::put(file, data, size);
    const std::size_t written = io::Disk::put(file, data, *stopAfter);
    errno = ENOSPC;
    return written;
}

std::string readBytes(const std::string &path) {
    std::ifstream in(io::nativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string &path, const std::string &bytes) {
    std::ofstream(io::nativePath(path), std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace testing_support
