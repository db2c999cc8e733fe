// The monthly summary: one row per date with the extremes of the ended day.
#include "station/numbers.h"
#include "records/records.h"
#include "records/records_internal.h"

namespace records {
namespace {

const char *const kSummaryHeader = "DATA ; T_MIN ; T_MAX ; PRESS_MIN ; PRESS_MAX\r\n";

// Rows are about 60 bytes: the tail always holds the whole last one.
constexpr std::size_t kTailBytes = 256;

// The last non-empty line of the text, without its line end.
std::string lastLine(const std::string &text) {
    const auto end = text.find_last_not_of("\r\n");
    if (end == std::string::npos)
        return {};
    const auto start = text.find_last_of("\r\n", end);
    if (start == std::string::npos)
        return text.size() < kTailBytes ? text.substr(0, end + 1) : std::string();
    return text.substr(start + 1, end - start);
}

bool startsWith(const std::string &text, const std::string &prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::optional<DailyExtremes> extremesOfEndedDay(const station::WeatherReading &r, const std::string &outputFolder,
                                                const KeptExtremes &before) {
    const auto today = station::validDate(r.time.date());
    if (!today)
        return std::nullopt;
    const CalendarDate yesterday = station::dayBefore(*today);
    if (before.date == yesterday)
        return before.values;
    // After a start-up (or a day that memory skipped) only the file knows.
    if (outputFolder.empty())
        return std::nullopt;
    return loadStore(io::joinPath(outputFolder, storeFileName(yesterday)));
}

std::optional<std::string> writeSummaryRow(const station::WeatherReading &r, const std::string &outputFolder,
                                           const std::optional<DailyExtremes> &endedDay, const io::Disk &disk) {
    if (!endedDay)
        return std::nullopt;
    const station::ClockTime &t = r.time;
    const std::string name = summaryFileName(t.date());
    if (auto problem = detail::folderProblem(name, outputFolder))
        return problem;
    const std::string path = io::joinPath(outputFolder, name);

    const std::string date = station::zeroPadded(t.day, 2) + "/" + station::monthAbbrevEn(t.month) + "/" +
                             station::zeroPadded(t.year, 4);
    const std::string row = date + " ; " + recordText(endedDay->temperatureMin) + " ; " +
                            recordText(endedDay->temperatureMax) + " ; " +
                            station::numberText(endedDay->pressureMin) + " ; " +
                            station::numberText(endedDay->pressureMax) + "\r\n";

    const bool present = io::exists(path);
    // Two ticks can fall into the minute 00:00, also across a restart: the
    // file itself tells whether this date already has its row.
    if (present) {
        const auto tail = io::readTail(path, kTailBytes);
        if (tail && startsWith(lastLine(*tail), date + " ;"))
            return std::nullopt;
    }

    // A month starts afresh on its first day. Header and row go in one atomic
    // replace, so a failure leaves the file as it was, old rows included, and
    // a new file never stays without its header.
    if (!present || t.day == 1)
        return detail::problemOf(disk.replaceAtomically(path, kSummaryHeader + row), name, outputFolder);
    return detail::problemOf(disk.appendLines(path, row), name, outputFolder);
}

} // namespace records
