#pragma once
// Helpers shared by the tests: a temporary folder that cleans up after
// itself, byte-exact file reading and writing, and a disk that fills up.

#include <optional>
#include <string>

#include "io/file_io.h"

namespace testing_support {

class TempDir {
public:
    // In `base`, or else in the system's temporary folder.
    explicit TempDir(const std::string &base = {});
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    // path() + separator + name
    std::string file(const std::string &name) const;

private:
    std::string path_;
};

// While `stopAfter` is set, every write stops after that many bytes and
// fails as on a full disk: the fault that cannot be made for real.
class FullDisk : public io::Disk {
public:
    std::optional<std::size_t> stopAfter;
    std::size_t put(std::FILE *file, const char *data, std::size_t size) const override;
};

std::string readBytes(const std::string &path);
void writeBytes(const std::string &path, const std::string &bytes);

} // namespace testing_support
