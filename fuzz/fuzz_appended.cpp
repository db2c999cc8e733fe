// The monthly summary and the data log are appended to, below whatever the
// file already holds: a file edited by hand, cut short by a power failure or
// left without its last line end. Whatever it holds, nothing of it is lost,
// the new row stands on a line of its own, and the summary gets exactly one
// row per date, also when two ticks fall into the minute 00:00.

#include <cstddef>
#include <cstdint>
#include <string>

#include "io/file_io.h"
#include "records/records.h"
#include "fuzz_support.h"

namespace {

station::WeatherReading midnight() {
    station::WeatherReading r;
    // The 7th: the month's file is appended to (the 1st starts it afresh).
    r.time = {2026, 3, 7, 0, 0};
    r.outdoorTemperature = 3.5;
    r.pressureRelative = 1011.4;
    return r;
}

std::string readAll(const std::string &path) { return fileio::readTail(path, 1 << 20).value_or("<unreadable>"); }

bool endsWith(const std::string &text, const std::string &tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// `after` is `before`, then (when `before` lacks a final line end) CR LF,
// then exactly one new line that starts with `start`.
void checkAppendedLine(const std::string &before, const std::string &after, const std::string &start) {
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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string before(reinterpret_cast<const char *>(data), size);
    const std::string folder = fuzz_support::scratchFolder();
    const station::WeatherReading r = midnight();
    const records::DailyExtremes ended{-1.5, 9.25, 1003.1, 1015.8};

    // Monthly summary: one row, then a second midnight tick adds nothing.
    const std::string summary = fileio::joinPath(folder, records::summaryFileName(r.time.date()));
    FUZZ_CHECK(fileio::realDisk().writeInPlace(summary, before).ok, summary);
    FUZZ_CHECK(!records::writeSummaryRow(r, folder, ended), summary);
    const std::string once = readAll(summary);
    const std::string date = "07/Mar/2026 ;";
    if (once != before)
        checkAppendedLine(before, once, date);
    FUZZ_CHECK(!records::writeSummaryRow(r, folder, ended), summary);
    FUZZ_CHECK(readAll(summary) == once, "second row for the date: " + fuzz_support::shown(before) + " -> " +
                                             fuzz_support::shown(readAll(summary)));

    // Data log of the day: one row per tick, below what is there.
    const std::string log = fileio::joinPath(folder, records::logFileName(r.time.date()));
    FUZZ_CHECK(fileio::realDisk().writeInPlace(log, before).ok, log);
    FUZZ_CHECK(!records::appendDataLog(r, folder), log);
    checkAppendedLine(before, readAll(log), "20260307 ; 00:00 ; ");
    return 0;
}
