#include "config/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
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

std::FILE *openFile(const std::string &path, const char *mode) {
#ifdef _WIN32
    std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(nativePath(path).c_str(), wmode.c_str());
#else
    return std::fopen(path.c_str(), mode);
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

bool renameOver(const std::string &from, const std::string &to) {
#ifdef _WIN32
    return MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
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
    return std::filesystem::u8path(utf8Path);
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

std::vector<std::string> LineCollector::finish() {
    if (inLine_ && lines_.size() < maxLines_)
        lines_.push_back(std::move(current_));
    inLine_ = false;
    return std::move(lines_);
}

std::vector<std::string> splitLines(const std::string &bytes, std::size_t maxLines, std::size_t maxLineLength) {
    LineCollector collector(maxLines, maxLineLength);
    collector.feed(bytes.data(), bytes.size());
    return collector.finish();
}

std::optional<std::vector<std::string>> readLines(const std::string &path, std::size_t maxLines,
                                                  std::size_t maxLineLength) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::nullopt;
    std::FILE *f = openFile(path, "rb");
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
    return collector.finish();
}

std::optional<std::string> readTail(const std::string &path, std::size_t maxBytes) {
    std::FILE *f = openFile(path, "rb");
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
        return failure(errno);
    int err = writeAll(f, bytes);
    if (std::fclose(f) != 0 && err == 0)
        err = errno ? errno : EIO;
    return err ? failure(err) : WriteResult{};
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
    if (err == 0 && !renameOver(temp, path))
        err = errno ? errno : EACCES;
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
        return failure(errno);
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
