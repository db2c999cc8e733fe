// Writing whole: in place, atomically replaced, or appended, through a Disk.
#include "io/file_io.h"

#include <cerrno>
#include <cstdio>
#include <functional>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "io/file_io_internal.h"

namespace io {
using namespace detail;
namespace {

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

// Writes everything through the disk or reports the error (errno style).
int writeAll(const Disk &disk, std::FILE *f, const std::string &bytes) {
    const std::size_t n = bytes.size();
    errno = 0;
    if (n > 0 && disk.put(f, bytes.data(), n) != n)
        return errno ? errno : EIO;
    if (std::fflush(f) != 0)
        return errno ? errno : EIO;
    return 0;
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
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return errno ? errno : EIO;
    // The rename lives in the folder: until the folder is on disk, a power
    // cut may bring back the old file, or no file at all for a new one.
    // Best effort: some file systems cannot sync a folder, and the file
    // itself is already replaced.
    std::string folder = std::filesystem::path(to).parent_path().string();
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
#endif
}

void removeQuietly(const std::string &path) {
    std::error_code ec;
    std::filesystem::remove(nativePath(path), ec);
}

} // namespace


WriteResult Disk::writeInPlace(const std::string &path, const std::string &bytes) const {
    if (!usable(path))
        return failure(ENOENT);
    errno = 0;
    std::FILE *f = openFile(path, "wb");
    if (!f)
        return failure(refinedError(errno, path));
    int err = writeAll(*this, f, bytes);
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

WriteResult Disk::replaceAtomically(const std::string &path, const std::string &bytes) const {
    if (!usable(path))
        return failure(ENOENT);
    const std::string temp = path + ".tmp";
    errno = 0;
    std::FILE *f = openFile(temp, "wb");
    if (!f)
        return failure(errno);
    int err = writeAll(*this, f, bytes);
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

WriteResult appendLines(const Disk &disk, const std::string &path, const std::string &bytes) {
    if (!usable(path))
        return failure(ENOENT);
    errno = 0;
    // Read access only to see the last byte; writes still go to the end.
    std::FILE *f = openFile(path, "a+b");
    if (!f)
        return failure(refinedError(errno, path));
    // Unbuffered, so that looking at the last byte reads one byte rather than
    // a block or two; the row itself still goes out in one write.
    std::setvbuf(f, nullptr, _IONBF, 0);
    // The length before the write, to cut a half-written row off again.
    long long before = -1;
    if (seekTo(f, 0, SEEK_END) == 0)
        before = tell(f);
    std::string lineEnd;
    if (before > 0 && seekTo(f, before - 1, SEEK_SET) == 0) {
        const int last = std::fgetc(f);
        if (last == '\r')
            lineEnd = "\n";
        else if (last != '\n' && last != EOF)
            lineEnd = "\r\n";
        // A stream switches from reading to writing only through a seek.
        seekTo(f, 0, SEEK_END);
    }
    int err = writeAll(disk, f, lineEnd.empty() ? bytes : lineEnd + bytes);
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

WriteResult Disk::appendLines(const std::string &path, const std::string &lines) const {
    return io::appendLines(*this, path, lines);
}

std::size_t Disk::put(std::FILE *file, const char *data, std::size_t size) const {
    return std::fwrite(data, 1, size, file);
}

bool removeLeftoverTemporaries(const std::string &folder, const std::function<bool(const std::string &)> &own) {
    if (!usable(folder))
        return false;
    std::error_code ec;
    std::filesystem::directory_iterator it(nativePath(folder), ec), end;
    if (ec)
        return false;
    std::vector<std::filesystem::path> leftovers;
    for (; it != end; it.increment(ec)) {
        const std::string name = it->path().filename().u8string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0 && own(name.substr(0, name.size() - 4)))
            leftovers.push_back(it->path());
    }
    for (const auto &path : leftovers)
        std::filesystem::remove(path, ec);
    return true;
}

const Disk &realDisk() {
    static const Disk disk;
    return disk;
}

WriteResult appendBounded(const Disk &disk, const std::string &path, const std::string &lines,
                          std::uintmax_t limitBytes, const std::string &olderPath) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(nativePath(path), ec);
    if (!ec && size > 0 && size + lines.size() > limitBytes) {
        // Renamed, not copied: the older file is whole or absent, never half.
        std::filesystem::rename(nativePath(path), nativePath(olderPath), ec);
        if (ec) { // a system that will not rename over an existing file
            std::filesystem::remove(nativePath(olderPath), ec);
            std::filesystem::rename(nativePath(path), nativePath(olderPath), ec);
        }
    }
    return disk.appendLines(path, lines);
}

std::string writeProblem(const std::string &fileName, const std::string &folder, const std::string &reason) {
    if (folder.empty())
        return "Cartella di uscita non impostata: " + fileName + " non scritto";
    return "Impossibile scrivere " + fileName + " in " + folder + ": " + reason;
}

} // namespace io
