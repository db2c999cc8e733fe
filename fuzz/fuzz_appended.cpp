// The monthly summary and the data log are appended to, below whatever the
// file holds: a file edited by hand, cut short by a power failure, left
// without its last line end. Whatever it holds, it never shrinks and none of
// it changes; the new row stands on a line of its own in the file's form;
// the summary's row carries the ended day's values and comes once per date;
// a write that fails part-way is told and leaves the file as it was.

#include <cerrno>
#include <cstdint>

#include "fuzz_support.h"
#include "model/model.h"
#include "records/records.h"

namespace {

fuzz_support::Check rowAdded("a summary row appended"), rowThere("a summary that has the date's row"),
    lineEndAdded("a row after a last line without its line end");

// A disk that is full after `room` bytes of a write.
struct FillingDisk : io::Disk {
    explicit FillingDisk(std::size_t room) : room(room) {}
    std::size_t put(std::FILE *file, const char *data, std::size_t size) const override {
        errno = size > room ? ENOSPC : errno;
        return io::Disk::put(file, data, std::min(size, room));
    }
    std::size_t room;
};

std::string readAll(const std::string &path) { return io::readTail(path, 1 << 20).value_or("<unreadable>"); }

// The one row a write added below `before`, after the line end that
// finishes an unfinished last line (or the LF of a CR LF cut after its CR).
std::string addedRow(const std::string &before, const std::string &after) {
    const std::string end = before.empty() || before.back() == '\n' ? "" : before.back() == '\r' ? "\n" : "\r\n";
    if (!end.empty())
        lineEndAdded.reached();
    FUZZ_CHECK(after.compare(0, before.size(), before) == 0 && after.compare(before.size(), end.size(), end) == 0);
    const auto lines = model::crlfLines(after.substr(before.size() + end.size()));
    FUZZ_CHECK(lines && lines->size() == 1);
    return lines->front();
}

// On a full disk the write is told, with the file's name and folder, and
// the file stays as it was; then it is written on the real one.
template <typename Write>
std::string written(const std::string &folder, const std::string &name, const std::string &before, Write write) {
    const std::string path = io::joinPath(folder, name);
    FUZZ_CHECK(io::realDisk().writeInPlace(path, before).ok);
    const auto problem = write(FillingDisk(before.size() % 32)); // less than any row
    FUZZ_CHECK(readAll(path) == before);
    FUZZ_CHECK(!problem || (problem->find(name) != std::string::npos && problem->find(folder) != std::string::npos));
    FUZZ_CHECK(!write(io::realDisk()));
    FUZZ_CHECK(problem.has_value() == (readAll(path) != before));
    return readAll(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string before(reinterpret_cast<const char *>(data), size);
    const std::string folder = fuzz_support::scratchFolder();
    station::WeatherReading r;
    r.outdoorTemperature = 3.5;
    r.pressureRelative = 1011.4;

    // The midnight of the 7th, for a day with temperatures and one without.
    const records::DailyExtremes days[] = {{-1.5, 9.25, 1003.1, 1015.8}, {std::nullopt, std::nullopt, 1003.1, 1015.8}};
    for (int month = 3; month <= 4; ++month) {
        const records::DailyExtremes &ended = days[month - 3];
        r.time = {2026, month, 7, 0, 0};
        const std::string name = records::summaryFileName(r.time.date());
        const std::string once = written(folder, name, before, [&](const io::Disk &disk) {
            return records::writeSummaryRow(r, folder, ended, disk);
        });
        FUZZ_CHECK(!records::writeSummaryRow(r, folder, ended) && readAll(io::joinPath(folder, name)) == once);
        (once == before ? rowThere : rowAdded).reached();
        if (once == before)
            continue;
        const std::string row = addedRow(before, once);
        const auto fields = model::split(row, " ; ");
        FUZZ_CHECK(model::summaryRow(row) && fields[0] == std::string("07/") + model::kMonths[month - 1] + "/2026");
        const std::optional<double> values[] = {ended.temperatureMin, ended.temperatureMax, ended.pressureMin,
                                                ended.pressureMax};
        for (int i = 0; i < 4; ++i) {
            std::optional<double> value;
            FUZZ_CHECK(model::numberField(fields[i + 1], &value) && value == values[i]);
        }
    }

    // The day's log: one row per tick.
    r.time = {2026, 3, 7, 0, 0};
    const std::string row = addedRow(before, written(folder, records::logFileName(r.time.date()), before,
                                                     [&](const io::Disk &disk) { return records::appendDataLog(r, folder, disk); }));
    FUZZ_CHECK(model::logRow(row) && row.rfind("20260307 ; 00:00 ; ", 0) == 0);
    return 0;
}
