#pragma once
// The program's only door to the file system. Paths are UTF-8 text here and
// become the platform's native form only when a file is opened, so that a
// folder with "à" works on Windows as on Linux. Failures come back as values
// with a short Italian reason for the status bar; nothing here throws.

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace io {

// The folder, one separator unless it already ends in one, then the name.
// "\" on Windows (where a trailing "/" counts as well), "/" elsewhere.
// An empty folder gives an empty path: callers treat it as unusable.
std::string joinPath(const std::string &folder, const std::string &name);

std::filesystem::path nativePath(const std::string &utf8Path);

// True when the file system lists something under the path.
bool exists(const std::string &path);

// Whole minutes since the file was last written, by the file system's own
// clock (negative for a time stamp in the future); nullopt when unknown.
std::optional<long> minutesSinceWritten(const std::string &path);

struct WriteResult {
    bool ok = true;
    std::string reason; // Italian, empty when ok
};

// Splits bytes into lines as they come: a line ends at CR LF, a lone CR or a
// lone LF; each line is cut to `maxLineLength` bytes (the rest of a longer
// line is skipped, never held in memory).
class LineCollector {
public:
    LineCollector(std::size_t maxLines, std::size_t maxLineLength);
    // False once `maxLines` lines are complete: nothing more is needed.
    bool feed(const char *data, std::size_t size);
    // The lines, with a last line that has no line end unless
    // `keepUnendedLine` is false.
    std::vector<std::string> finish(bool keepUnendedLine = true);

private:
    std::size_t maxLines_, maxLineLength_;
    std::vector<std::string> lines_;
    std::string current_;
    bool inLine_ = false;
    bool afterCr_ = false;
};

std::vector<std::string> splitLines(const std::string &bytes, std::size_t maxLines, std::size_t maxLineLength = 4096,
                                    bool keepUnendedLine = true);

// Up to `maxLines` lines, each cut to `maxLineLength` bytes (the rest of a
// longer line is skipped, never held in memory). A line ends at CR LF, a
// lone CR or a lone LF; a last line without one counts unless
// `keepUnendedLine` is false (a file that another program may be writing at
// this moment). nullopt when the file cannot be opened or read, or is not a
// regular file.
std::optional<std::vector<std::string>> readLines(const std::string &path, std::size_t maxLines,
                                                  std::size_t maxLineLength = 4096, bool keepUnendedLine = true);

// Why readLines could not read the file, in Italian for the status bar:
// "accesso negato", "è una cartella", ...
std::string readProblem(const std::string &path);

// At most the last `maxBytes` bytes of the file; nullopt when it cannot be
// read or is not a regular file.
std::optional<std::string> readTail(const std::string &path, std::size_t maxBytes);

// Every write of the program goes through a Disk. The real one puts the
// bytes into the file; a test gives one whose put stops half-way, as a full
// disk does, the one fault that cannot be made for real.
class Disk {
public:
    virtual ~Disk() = default;

    // Truncates (or creates) and writes the bytes with one write, for files
    // that other programs hold open or read at their own times. A write that
    // fails leaves the file empty, never half written.
    WriteResult writeInPlace(const std::string &path, const std::string &bytes) const;

    // Writes a temporary file beside the target, flushes it to disk and
    // renames it over the target: readers see the old file or the new one,
    // never a part.
    WriteResult replaceAtomically(const std::string &path, const std::string &bytes) const;

    // Appends whole lines with one write. When the file does not end in a
    // line end (edited by hand, or cut short by a power failure), the missing
    // CR LF (or LF after a lone CR) goes first, in the same write, so the new
    // line is never glued to the end of the last one. If the write fails the
    // file is cut back to its former length: never half a row.
    WriteResult appendLines(const std::string &path, const std::string &lines) const;

    // Writes to the open file; the number of bytes written, with errno set
    // when that is fewer than `size`.
    virtual std::size_t put(std::FILE *file, const char *data, std::size_t size) const;
};

const Disk &realDisk();

// Appends as Disk::appendLines to a file kept to about `limitBytes`: when the
// lines would take it past that, it becomes `olderPath` (the one there goes)
// and a new file starts.
WriteResult appendBounded(const Disk &disk, const std::string &path, const std::string &lines,
                          std::uintmax_t limitBytes, const std::string &olderPath);

// Removes every NAME.tmp in the folder whose NAME `own` accepts: what a
// replace left when the program died before its rename. Beside NAME the
// rename never happened, so NAME is the truth; alone, it is the first write
// of a file that never completed, and may be cut anywhere, so it is never
// taken for NAME either. False when the folder cannot be listed.
bool removeLeftoverTemporaries(const std::string &folder, const std::function<bool(const std::string &)> &own);

// The status-bar text for a file that could not be written:
// "Impossibile scrivere VENTO.TXT in /dati: accesso negato".
std::string writeProblem(const std::string &fileName, const std::string &folder, const std::string &reason);

} // namespace io
