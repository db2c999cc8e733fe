#include "io/file_io.h"

#include <algorithm>
#include <cerrno>
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

namespace fileio {
namespace {

std::optional<std::size_t> g_faultAfter;

std::string reasonFor(int err) {
    switch (err) {
    case ENOENT:
        return "cartella inesistente";
    case ENOTDIR:
        return "percorso non valido";
    case EACCES:
    case EPERM:
    case EROFS:
        return "accesso negato";
    case ENOSPC:
        return "disco pieno";
    case EISDIR:
        return "esiste una cartella con quel nome";
    default:
        return "errore di scrittura";
    }
}

WriteResult failure(int err) { return WriteResult{false, reasonFor(err)}; }

#ifdef _WIN32
// Windows refuses to open or replace a folder as a file with "access
// denied"; say what Linux says, so the user is told what is actually wrong.
int refinedError(int err, const std::string &path) {
    std::error_code ec;
    if (err == EACCES && std::filesystem::is_directory(nativePath(path), ec))
        return EISDIR;
    return err;
}

int errnoFromWindows(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}
#else
int refinedError(int err, const std::string &) { return err; }
#endif

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

// Writes everything or reports the error (errno style).
int writeAll(std::FILE *f, const std::string &bytes) {
    std::size_t n = bytes.size();
    bool fault = false;
    if (g_faultAfter && *g_faultAfter < n) {
        n = *g_faultAfter;
        fault = true;
    }
    if (n > 0 && std::fwrite(bytes.data(), 1, n, f) != n)
        return errno ? errno : EIO;
    if (std::fflush(f) != 0)
        return errno ? errno : EIO;
    return fault ? ENOSPC : 0;
}

int syncToDisk(std::FILE *f) {
#ifdef _WIN32
    return _commit(_fileno(f)) == 0 ? 0 : errno;
#else
    return fsync(fileno(f)) == 0 ? 0 : errno;
#endif
}

// 0 or the error (errno style). On Windows a plain rename fails when the
// target exists, and MoveFileEx reports through GetLastError, not errno.
int renameOver(const std::string &from, const std::string &to) {
#ifdef _WIN32
    if (MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return refinedError(errnoFromWindows(GetLastError()), to);
#else
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : (errno ? errno : EIO);
#endif
}

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

void removeQuietly(const std::string &path) {
    std::error_code ec;
    std::filesystem::remove(nativePath(path), ec);
}

} // namespace

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
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    std::error_code ec;
    return std::filesystem::exists(nativePath(path), ec);
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
    if (path.empty() || path.find('\0') != std::string::npos)
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

std::optional<std::string> readTail(const std::string &path, std::size_t maxBytes) {
    if (path.empty() || path.find('\0') != std::string::npos)
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

WriteResult writeInPlace(const std::string &path, const std::string &bytes) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return failure(ENOENT);
    errno = 0;
    std::FILE *f = openFile(path, "wb");
    if (!f)
        return failure(refinedError(errno, path));
    int err = writeAll(f, bytes);
    if (std::fclose(f) != 0 && err == 0)
        err = errno ? errno : EIO;
    if (err != 0) {
        // Half a weather line would go out over the air as it stands: an
        // empty file makes UI-View send nothing until the next tick.
        std::error_code ec;
        std::filesystem::resize_file(nativePath(path), 0, ec);
        return failure(err);
    }
    return {};
}

WriteResult replaceAtomically(const std::string &path, const std::string &bytes) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return failure(ENOENT);
    const std::string temp = path + ".tmp";
    errno = 0;
    std::FILE *f = openFile(temp, "wb");
    if (!f)
        return failure(errno);
    int err = writeAll(f, bytes);
    if (err == 0)
        err = syncToDisk(f);
    if (std::fclose(f) != 0 && err == 0)
        err = errno ? errno : EIO;
    if (err == 0)
        err = renameOver(temp, path);
    if (err != 0) {
        removeQuietly(temp);
        return failure(err);
    }
    return {};
}

namespace {

WriteResult appendBytes(const std::string &path, const std::string &bytes, bool wholeLines) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return failure(ENOENT);
    errno = 0;
    // Read access only to see the last byte; writes still go to the end.
    std::FILE *f = openFile(path, wholeLines ? "a+b" : "ab");
    if (!f)
        return failure(refinedError(errno, path));
    // Unbuffered, so that looking at the last byte reads one byte rather than
    // a block or two; the row itself still goes out in one write.
    if (wholeLines)
        std::setvbuf(f, nullptr, _IONBF, 0);
    // The length before the write, to cut a half-written row off again.
    long long before = -1;
    if (seekTo(f, 0, SEEK_END) == 0)
        before = tell(f);
    std::string lineEnd;
    if (wholeLines && before > 0 && seekTo(f, before - 1, SEEK_SET) == 0) {
        const int last = std::fgetc(f);
        if (last == '\r')
            lineEnd = "\n";
        else if (last != '\n' && last != EOF)
            lineEnd = "\r\n";
        // A stream switches from reading to writing only through a seek.
        seekTo(f, 0, SEEK_END);
    }
    int err = writeAll(f, lineEnd.empty() ? bytes : lineEnd + bytes);
    if (std::fclose(f) != 0 && err == 0)
        err = errno ? errno : EIO;
    if (err != 0) {
        if (before >= 0) {
            std::error_code ec;
            std::filesystem::resize_file(nativePath(path), static_cast<std::uintmax_t>(before), ec);
        }
        return failure(err);
    }
    return {};
}

} // namespace

WriteResult append(const std::string &path, const std::string &bytes) { return appendBytes(path, bytes, false); }

WriteResult appendLines(const std::string &path, const std::string &lines) {
    return appendBytes(path, lines, true);
}

std::string writeProblem(const std::string &fileName, const std::string &folder, const std::string &reason) {
    if (folder.empty())
        return "Cartella di uscita non impostata: " + fileName + " non scritto";
    return "Impossibile scrivere " + fileName + " in " + folder + ": " + reason;
}

void setWriteFaultAfterBytes(std::optional<std::size_t> bytes) { g_faultAfter = bytes; }

} // namespace fileio
