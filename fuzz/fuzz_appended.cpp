// The monthly summary and the data log are appended to, below whatever the
// file holds: a file edited by hand, cut short by a power failure, left
// without its last line end. Whatever it holds, it never shrinks and none of
// it changes; the new row stands on a line of its own in the file's form;
// the summary's row carries the ended day's values and comes once per date.
// (A write that fails part-way: the fault matrix, on a full disk.)

#include <cstdint>

#include "fuzz_support.h"
#include "model/model.h"
#include "records/records.h"

fuzz_support::Check rowAdded("a summary row appended"), rowThere("a summary that has the date's row"),
    lineEndAdded("a row after a last line without its line end");

// The row a write added below `before`, after the line end that finishes
// an unfinished last line (or the LF of a CR LF cut after its CR), or on a
// month's first day below the header of a file started afresh; nullopt when
// it added nothing.
template <typename Write>
std::optional<std::string> added(const std::string &path, const std::string &before, bool afresh, Write write) {
    FUZZ_CHECK(io::realDisk().writeInPlace(path, before).ok && !write());
    const std::string after = io::readTail(path, 1 << 20).value_or("");
    const std::string end = before.empty() || before.back() == '\n' ? "" : before.back() == '\r' ? "\n" : "\r\n";
    if (after == before)
        return std::nullopt;
    if (!end.empty() && !afresh)
        lineEndAdded.reached();
    const std::string kept = afresh ? std::string(model::kSummaryHeader) + "\r\n" : before + end;
    const auto lines = model::crlfLines(after.substr(std::min(after.size(), kept.size())));
    FUZZ_CHECK(after.compare(0, kept.size(), kept) == 0 && lines && lines->size() == 1);
    return lines->front();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string before(reinterpret_cast<const char *>(data), size), folder = fuzz_support::scratchFolder();
    station::WeatherReading r; // no sensor: its log columns are empty
    // The midnight of a 7th, for a day with temperatures, and of a 1st, for
    // one without.
    const records::DailyExtremes days[] = {{-1.5, 9.25, 1003.1, 1015.8}, {std::nullopt, std::nullopt, 1003.1, 1015.8}};
    for (int month = 3; month <= 4; ++month) {
        const records::DailyExtremes &ended = days[month - 3];
        r.time = {2026, month, month == 3 ? 7 : 1, 0, 0};
        const std::string path = io::joinPath(folder, records::summaryFileName(r.time.date()));
        const auto row = added(path, before, month == 4, [&] { return records::writeSummaryRow(r, folder, ended); });
        const auto once = io::readTail(path, 1 << 20);
        FUZZ_CHECK(!records::writeSummaryRow(r, folder, ended) && io::readTail(path, 1 << 20) == once);
        (row ? rowAdded : rowThere).reached();
        const auto fields = model::split(row.value_or(""), " ; ");
        FUZZ_CHECK(!row || (model::summaryRow(*row) &&
                            fields[0] == (month == 3 ? "07/Mar/2026" : "01/Apr/2026")));
        std::optional<double> value[4];
        for (std::size_t i = 0; row && i < 4; ++i)
            FUZZ_CHECK(model::numberField(fields[i + 1], &value[i]));
        FUZZ_CHECK(!row || (value[0] == ended.temperatureMin && value[1] == ended.temperatureMax &&
                            value[2] == ended.pressureMin && value[3] == ended.pressureMax));
    }
    // The day's log: one row per tick.
    r.time = {2026, 3, 7, 0, 0};
    const auto row = added(io::joinPath(folder, records::logFileName(r.time.date())), before, false,
                           [&] { return records::appendDataLog(r, folder); });
    FUZZ_CHECK(row && model::logRow(*row) && row->rfind("20260307 ; 00:00 ; ", 0) == 0);
    return 0;
}
