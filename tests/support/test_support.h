#pragma once
// Helpers shared by the tests: a temporary folder that cleans up after
// itself, and byte-exact file reading and writing.

#include <string>

namespace testing_support {

class TempDir {
public:
    TempDir();
    // In `base` rather than in the system's temporary folder.
    explicit TempDir(const std::string &base);
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    // path() + separator + name
    std::string file(const std::string &name) const;

private:
    std::string path_;
};

std::string readBytes(const std::string &path);
void writeBytes(const std::string &path, const std::string &bytes);

} // namespace testing_support
