#pragma once
// The record files of the output folder: the day's min/max store, the
// monthly summary, the wind file and the data log. The keeper holds the
// day's extremes for the life of the program.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "io/file_io.h"
#include "station/reading.h"

namespace records {

// A day's extremes. The temperatures stay unknown until the day's first
// reading that has one (a missing sensor never counts as 0); the pressures
// are always known, since only a reading with a pressure starts a day.
struct DailyExtremes {
    std::optional<double> temperatureMin;
    std::optional<double> temperatureMax;
    double pressureMin = 0; // relative pressure, hPa
    double pressureMax = 0;
};

// An unknown value in the record files: an empty line or field, which
// spreadsheets show as a gap rather than as 0.
std::string recordText(const std::optional<double> &value);

enum class Look { Off, Maximum, Minimum };

struct RecordsOutcome {
    // Shape1..Shape4: the look to give, or nullopt to keep the one it has.
    std::array<std::optional<Look>, 4> shapes;
    // The day's extremes to show; nullopt shows none.
    std::optional<DailyExtremes> shown;
    // Italian, one per file that could not be written on this tick.
    std::vector<std::string> problems;
};

using station::CalendarDate;

// File names for a date: "MM261205.kwt", "MM202612.TXT", "VENTO.TXT",
// "20261205.txt".
std::string storeFileName(const CalendarDate &date);
std::string summaryFileName(const CalendarDate &date);
inline constexpr const char *kWindFileName = "VENTO.TXT";
std::string logFileName(const CalendarDate &date);

// The extremes in memory, with the day they belong to and whether the day's
// store on disk lags behind them (a save failed).
struct KeptExtremes {
    DailyExtremes values;
    std::optional<CalendarDate> date;
    bool aheadOfFile = false;
};

// The four values of a store file; nullopt when it is missing, unreadable,
// shorter than four lines, or one of them is not a number. An empty
// temperature line is an unknown temperature.
std::optional<DailyExtremes> loadStore(const std::string &path);

// One tick of the day's store: loads, compares, saves when something moved
// and fills the shapes, the labels and any problem of `out`.
void updateDailyExtremes(const station::WeatherReading &r, const std::string &outputFolder, KeptExtremes &kept,
                         RecordsOutcome &out, const io::Disk &disk);

// The extremes of the day that ends at this tick's midnight: from memory when
// `before` (memory as the previous tick left it) holds that day, otherwise
// from that day's store file; nullopt when neither has them.
std::optional<DailyExtremes> extremesOfEndedDay(const station::WeatherReading &r, const std::string &outputFolder,
                                                const KeptExtremes &before);

// The others return the problem text when their file could not be written.

// One row per date with the ended day's extremes, on the midnight tick or a
// later tick of that date that makes up for it; nothing when `endedDay` is
// nullopt or the month's file already ends in a row of this date.
std::optional<std::string> writeSummaryRow(const station::WeatherReading &r, const std::string &outputFolder,
                                           const std::optional<DailyExtremes> &endedDay,
                                           const io::Disk &disk = io::realDisk());
std::optional<std::string> writeWindFile(const station::WeatherReading &r, const std::string &outputFolder,
                                         const io::Disk &disk = io::realDisk());
std::optional<std::string> appendDataLog(const station::WeatherReading &r, const std::string &outputFolder,
                                         const io::Disk &disk = io::realDisk());

class RecordKeeper {
public:
    explicit RecordKeeper(const io::Disk &disk = io::realDisk()) : disk_(&disk) {}

    // Runs the store, the monthly summary, the wind file and the data log in
    // that order for one tick. A file that cannot be written is skipped and
    // reported; the rest still runs.
    RecordsOutcome update(const station::WeatherReading &r, const std::string &outputFolder);

    // A tick that could not convert (currdat.lst missing or unreadable). If
    // it was the midnight tick, the day's summary row is written by the next
    // tick of that date that converts, as it is after a failed write.
    void tickMissed(const station::ClockTime &now);

private:
    // The summary row of a date that its midnight tick could not write, with
    // the ended day's extremes when that tick knew them.
    struct OwedRow {
        CalendarDate date;
        std::optional<DailyExtremes> extremes;
    };

    const io::Disk *disk_;
    KeptExtremes kept_;
    std::optional<OwedRow> owedRow_;
    bool firstTick_ = true;
    std::string tidiedFolder_;
};

} // namespace records
