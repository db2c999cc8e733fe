#pragma once
// The platform's file calls that reading and writing share.

#include <cstdio>
#include <string>

namespace io::detail {

std::FILE *openFile(const std::string &path, const char *mode);
// Only a regular file: nullptr for a FIFO, a device or a folder.
std::FILE *openForReading(const std::string &path);
bool usable(const std::string &path);
int seekTo(std::FILE *f, long long offset, int whence);
long long tell(std::FILE *f);

} // namespace io::detail
