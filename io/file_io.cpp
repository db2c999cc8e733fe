// The program's one door to the file system: paths, and reading files.
#include "io/file_io.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "io/file_io_internal.h"

namespace io {
namespace detail {

std::FILE *openFile(const std::string &path, const char *mode) {
#ifdef _WIN32
    std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(nativePath(path).c_str(), wmode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// Only a regular file is read. A FIFO under a file's name would block the
// tick until some writer came, and a device such as /dev/zero would never
// end; both would stop the program for good.
std::FILE *openForReading(const std::string &path) {
#ifdef _WIN32
    return openFile(path, "rb");
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE *f = ::fdopen(fd, "rb");
    if (!f)
        ::close(fd);
    return f;
#endif
}

// An empty path or one with a NUL byte names no file: it would land in the
// working directory, or be cut short at the NUL.
bool usable(const std::string &path) { return !path.empty() && path.find('\0') == std::string::npos; }

// 64-bit offsets: a data log may outgrow what a long can count on Windows.
int seekTo(std::FILE *f, long long offset, int whence) {
#ifdef _WIN32
    return _fseeki64(f, offset, whence);
#else
    return fseeko(f, static_cast<off_t>(offset), whence);
#endif
}

long long tell(std::FILE *f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return static_cast<long long>(ftello(f));
#endif
}

} // namespace detail

using namespace detail;

std::string joinPath(const std::string &folder, const std::string &name) {
    if (folder.empty())
        return {};
#ifdef _WIN32
    const bool hasSeparator = folder.back() == '\\' || folder.back() == '/';
    const char separator = '\\';
#else
    const bool hasSeparator = folder.back() == '/';
    const char separator = '/';
#endif
    return hasSeparator ? folder + name : folder + separator + name;
}

std::filesystem::path nativePath(const std::string &utf8Path) {
#ifdef _WIN32
    // Not std::filesystem::u8path: it throws on bytes that are not UTF-8.
    // MultiByteToWideChar puts U+FFFD in their place instead.
    if (utf8Path.empty())
        return {};
    const int size = static_cast<int>(utf8Path.size());
    const int wideSize = MultiByteToWideChar(CP_UTF8, 0, utf8Path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8Path.data(), size, wide.data(), wideSize);
    return std::filesystem::path(std::move(wide));
#else
    return std::filesystem::path(utf8Path);
#endif
}

bool exists(const std::string &path) {
    if (!usable(path))
        return false;
    std::error_code ec;
    return std::filesystem::exists(nativePath(path), ec);
}

std::optional<long> minutesSinceWritten(const std::string &path) {
    if (!usable(path))
        return std::nullopt;
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(nativePath(path), ec);
    if (ec)
        return std::nullopt;
    const auto age = std::filesystem::file_time_type::clock::now() - written;
    return static_cast<long>(std::chrono::duration_cast<std::chrono::minutes>(age).count());
}

LineCollector::LineCollector(std::size_t maxLines, std::size_t maxLineLength)
    : maxLines_(maxLines), maxLineLength_(maxLineLength) {}

bool LineCollector::feed(const char *data, std::size_t size) {
    std::size_t i = 0;
    while (i < size && lines_.size() < maxLines_) {
        const char c = data[i];
        if (c == '\n' && afterCr_) {
            afterCr_ = false;
            ++i;
            continue;
        }
        afterCr_ = false;
        if (c == '\r' || c == '\n') {
            lines_.push_back(std::move(current_));
            current_.clear();
            inLine_ = false;
            afterCr_ = c == '\r';
            ++i;
            continue;
        }
        // The rest of the line up to its end (or the block's) in one piece:
        // a tick reads three files, byte by byte this was most of its time.
        std::size_t end = i + 1;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        inLine_ = true;
        if (current_.size() < maxLineLength_)
            current_.append(data + i, std::min(end - i, maxLineLength_ - current_.size()));
        i = end;
    }
    return lines_.size() < maxLines_;
}

std::vector<std::string> LineCollector::finish(bool keepUnendedLine) {
    if (keepUnendedLine && inLine_ && lines_.size() < maxLines_)
        lines_.push_back(std::move(current_));
    inLine_ = false;
    return std::move(lines_);
}

std::vector<std::string> splitLines(const std::string &bytes, std::size_t maxLines, std::size_t maxLineLength,
                                    bool keepUnendedLine) {
    LineCollector collector(maxLines, maxLineLength);
    collector.feed(bytes.data(), bytes.size());
    return collector.finish(keepUnendedLine);
}

std::optional<std::vector<std::string>> readLines(const std::string &path, std::size_t maxLines,
                                                  std::size_t maxLineLength, bool keepUnendedLine) {
    if (!usable(path))
        return std::nullopt;
    std::FILE *f = openForReading(path);
    if (!f)
        return std::nullopt;
    LineCollector collector(maxLines, maxLineLength);
    char buffer[16384];
    bool failed = false;
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, f);
        if (got == 0) {
            failed = std::ferror(f) != 0;
            break;
        }
        if (!collector.feed(buffer, got))
            break;
    }
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return collector.finish(keepUnendedLine);
}

std::string readProblem(const std::string &path) {
    std::error_code ec;
    const auto status = std::filesystem::status(nativePath(path), ec);
    if (ec || !std::filesystem::exists(status))
        return "file scomparso";
    if (std::filesystem::is_directory(status))
        return "è una cartella";
    if (!std::filesystem::is_regular_file(status))
        return "non è un file normale";
    errno = 0;
    if (std::FILE *f = detail::openForReading(path)) {
        std::fclose(f);
        return "errore di lettura";
    }
    return errno == EACCES || errno == EPERM ? "accesso negato" : "errore di lettura";
}

std::optional<std::string> readTail(const std::string &path, std::size_t maxBytes) {
    if (!usable(path))
        return std::nullopt;
    std::FILE *f = openForReading(path);
    if (!f)
        return std::nullopt;
    std::string out;
    bool ok = seekTo(f, 0, SEEK_END) == 0;
    const long long size = ok ? tell(f) : -1;
    ok = ok && size >= 0;
    if (ok) {
        const auto max = static_cast<long long>(maxBytes);
        const long long start = size > max ? size - max : 0;
        ok = seekTo(f, start, SEEK_SET) == 0;
        if (ok) {
            out.resize(static_cast<std::size_t>(size - start));
            const std::size_t got = out.empty() ? 0 : std::fread(&out[0], 1, out.size(), f);
            ok = got == out.size();
        }
    }
    std::fclose(f);
    if (!ok)
        return std::nullopt;
    return out;
}

} // namespace io
