// The monthly summary and the data log are appended to, below whatever the
// file already holds: a file edited by hand, cut short by a power failure or
// left without its last line end. Whatever it holds, nothing of it is lost,
// the new row stands on a line of its own, and the summary gets exactly one
// row per date, also when two ticks fall into the minute 00:00; its row
// reads back as the ended day (a day without a temperature leaves those
// fields empty). On a month's first day the summary starts afresh. A write
// that fails part-way is told and leaves the file as it was, or absent.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "io/file_io.h"
#include "records/records.h"
#include "station/numbers.h"
#include "fuzz_support.h"

namespace {

station::WeatherReading midnight(int month, int day) {
    station::WeatherReading r;
    r.time = {2026, month, day, 0, 0};
    r.outdoorTemperature = 3.5;
    r.pressureRelative = 1011.4;
    return r;
}

// A disk that is full after `room` bytes of a write.
class FillingDisk : public io::Disk {
public:
    explicit FillingDisk(std::size_t room) : room_(room) {}
    std::size_t put(std::FILE *file, const char *data, std::size_t size) const override {
        if (size <= room_)
            return io::Disk::put(file, data, size);
        const std::size_t written = io::Disk::put(file, data, room_);
        errno = ENOSPC;
        return written;
    }

private:
    std::size_t room_;
};

std::string readAll(const std::string &path) { return io::readTail(path, 1 << 20).value_or("<unreadable>"); }

void remove(const std::string &path) {
    std::error_code ignored;
    std::filesystem::remove(io::nativePath(path), ignored);
}

bool endsWith(const std::string &text, const std::string &tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// `after` is `before`, then (when `before` lacks a final line end) CR LF,
// then exactly one new line that starts with `start`, which is returned.
std::string checkAppendedLine(const std::string &before, const std::string &after, const std::string &start) {
    const std::string what = fuzz_support::shown(before) + " -> " + fuzz_support::shown(after);
    FUZZ_CHECK(after.compare(0, before.size(), before) == 0, "earlier bytes changed: " + what);
    std::string added = after.substr(before.size());
    // An unfinished last line is finished first: CR LF, or the LF of a CR LF
    // that was cut after its CR.
    const std::string lineEnd = before.empty() || before.back() == '\n' ? "" : before.back() == '\r' ? "\n" : "\r\n";
    FUZZ_CHECK(added.compare(0, lineEnd.size(), lineEnd) == 0, "row glued to an unfinished line: " + what);
    added.erase(0, lineEnd.size());
    FUZZ_CHECK(added.compare(0, start.size(), start) == 0, what);
    FUZZ_CHECK(endsWith(added, "\r\n") && added.find_first_of("\r\n") == added.size() - 2,
               "not exactly one line: " + what);
    return added.substr(0, added.size() - 2);
}

// After its date, the row holds the ended day's four values; an unknown one
// is an empty field.
void checkSummaryRow(const std::string &row, const records::DailyExtremes &x) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (std::size_t end; (end = row.find(" ; ", at)) != std::string::npos; at = end + 3)
        fields.push_back(row.substr(at, end - at));
    fields.push_back(row.substr(at));
    FUZZ_CHECK(fields.size() == 5, row);
    const std::optional<double> values[] = {x.temperatureMin, x.temperatureMax, x.pressureMin, x.pressureMax};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string &field = fields[i + 1];
        FUZZ_CHECK(values[i] ? station::parseLeadingNumber(field) == values[i]
                             : field.find_first_not_of(' ') == std::string::npos,
                   row);
    }
}

// After a write on the full disk the file is as it was.
void checkUnchanged(const std::string &path, const std::string &before) {
    FUZZ_CHECK(readAll(path) == before, "a failed write changed " + path + ": " + fuzz_support::shown(before) +
                                            " -> " + fuzz_support::shown(readAll(path)));
}

// A failure is told naming the file and its folder.
bool told(const std::optional<std::string> &problem, const std::string &name, const std::string &folder) {
    return problem && problem->find(name) != std::string::npos && problem->find(folder) != std::string::npos;
}

} // namespace

fuzz_support::Check rowAdded("a summary row appended"), rowThere("a summary that has the date's row"),
    lineEndAdded("a row after a last line without its line end");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string before(reinterpret_cast<const char *>(data), size);
    const std::string folder = fuzz_support::scratchFolder();
    const FillingDisk full(size % 32); // less than any row

    // Monthly summary, on the 7th (the 1st starts it afresh), for a day with
    // temperatures and one without: one row, then a second midnight tick adds
    // nothing.
    const struct { int month; records::DailyExtremes ended; const char *date; } days[] = {
        {3, {-1.5, 9.25, 1003.1, 1015.8}, "07/Mar/2026 ;"},
        {4, {std::nullopt, std::nullopt, 1003.1, 1015.8}, "07/Apr/2026 ;"},
    };
    for (const auto &d : days) {
        const station::WeatherReading r = midnight(d.month, 7);
        const std::string name = records::summaryFileName(r.time.date());
        const std::string summary = io::joinPath(folder, name);
        FUZZ_CHECK(io::realDisk().writeInPlace(summary, before).ok, summary);
        const bool reported = told(records::writeSummaryRow(r, folder, d.ended, full), name, folder);
        checkUnchanged(summary, before);
        FUZZ_CHECK(!records::writeSummaryRow(r, folder, d.ended), summary);
        const std::string once = readAll(summary);
        (once != before ? rowAdded : rowThere).reached();
        if (!before.empty() && !endsWith(before, "\r\n"))
            lineEndAdded.reached();
        if (once != before)
            checkSummaryRow(checkAppendedLine(before, once, d.date), d.ended);
        // Told, unless there was nothing to write.
        FUZZ_CHECK(reported == (once != before), "a failed write of " + summary + " told wrongly");
        FUZZ_CHECK(!records::writeSummaryRow(r, folder, d.ended), summary);
        FUZZ_CHECK(readAll(summary) == once, "second row for the date: " + fuzz_support::shown(before) + " -> " +
                                                 fuzz_support::shown(readAll(summary)));
    }

    // A month's first day: the file as a month without one starts it, header
    // and row, whatever it held (unless it already ends in that day's row).
    {
        const station::WeatherReading r = midnight(5, 1);
        const records::DailyExtremes ended{-1.5, 9.25, 1003.1, 1015.8};
        const std::string name = records::summaryFileName(r.time.date());
        const std::string summary = io::joinPath(folder, name);
        remove(summary);
        FUZZ_CHECK(!records::writeSummaryRow(r, folder, ended), summary);
        const std::string fresh = readAll(summary);
        FUZZ_CHECK(io::realDisk().writeInPlace(summary, before).ok, summary);
        const bool reported = told(records::writeSummaryRow(r, folder, ended, full), name, folder);
        checkUnchanged(summary, before);
        FUZZ_CHECK(!records::writeSummaryRow(r, folder, ended), summary);
        const std::string now = readAll(summary);
        FUZZ_CHECK(now == fresh || now == before,
                   "not started afresh: " + fuzz_support::shown(before) + " -> " + fuzz_support::shown(now));
        FUZZ_CHECK(reported == (now != before), "a failed write of " + summary + " told wrongly");
    }

    // Data log of the day: one row per tick, below what is there. A new
    // day's file gets its header with the first row or not at all.
    const station::WeatherReading r = midnight(3, 7);
    const std::string logName = records::logFileName(r.time.date());
    const std::string log = io::joinPath(folder, logName);
    remove(log);
    FUZZ_CHECK(told(records::appendDataLog(r, folder, full), logName, folder) && !io::exists(log),
               "a failed first row left " + log);
    FUZZ_CHECK(io::realDisk().writeInPlace(log, before).ok, log);
    FUZZ_CHECK(told(records::appendDataLog(r, folder, full), logName, folder), "a failed row of " + log + " not told");
    checkUnchanged(log, before);
    FUZZ_CHECK(!records::appendDataLog(r, folder), log);
    checkAppendedLine(before, readAll(log), "20260307 ; 00:00 ; ");
    return 0;
}
