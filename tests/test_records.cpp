// The record files at the edges that the soak (test_soak.cpp) does not reach:
// stores found damaged, indicators and captions, dates beyond a month's end,
// writes that fail, memory ahead of its file. Rows below a cut-short line:
// fuzz_appended, from its seeds on.

#include <gtest/gtest.h>

#include "io/file_io.h"
#include "records/records.h"
#include "support/test_support.h"

using records::Look;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

station::WeatherReading at(int year, int month, int day, int hour, int minute, double temperature = 10,
                           double pressure = 1013) {
    station::WeatherReading r;
    r.time = {year, month, day, hour, minute};
    r.outdoorTemperature = temperature;
    r.pressureRelative = pressure;
    return r;
}

using Shapes = std::array<std::optional<Look>, 4>;
constexpr auto Max = Look::Maximum;
constexpr auto Min = Look::Minimum;
constexpr auto Off = Look::Off;

const std::string kSummaryHeader = "DATA ; T_MIN ; T_MAX ; PRESS_MIN ; PRESS_MAX\r\n";
const std::string kOldSummary = kSummaryHeader + "14/Dec/2026 ;  1 ;  2 ;  3 ;  4\r\n";
const records::DailyExtremes kEnded{-1.5, 3, 1000.5, 1010};
const std::string kEndedRow = " ; -1.5 ;  3 ;  1000.5 ;  1010\r\n";

const std::string kLogHeader = "Data ; Ora ; T_int ; H_int ; Pres_ass ; Press_rel ; T_ext ; H_ext ; Vel_vento ; "
                               "Dir_vento ; Dewpoint ; Windchill ; Precip_1H ; Precip_24H ; Precip_TOT \r\n";
const std::string kLogRow = "20261205 ; 09:22 ;  21.4 ;  45 ;  990.25 ;  1013.2 ; -3.5 ;  87 ;  .4 ;  0 ; -5 ; "
                            "-12.5 ;  0 ;  1.5 ;  1234.5\r\n";

// Every value differs, so that a column out of its place shows. In the
// order of WeatherReading: indoor and outdoor temperature and humidity, dew
// point, wind chill, speed and direction, rain total, 24 h and 1 h, pressures.
station::WeatherReading logReading() {
    return {{}, {}, {}, 21.4, -3.5, 45, 87, -5, -12.5, 0.4, 0, 1234.5, 1.5, 0, 990.25, 1013.2, {}, {}, {}, {},
            {2026, 12, 5, 9, 22}};
}

} // namespace

// The day's store as found, a reading of 5 December, and what the tick makes
// of them: a store that is missing, short or garbled starts the day afresh.
// A relative pressure of 0 is no reading: it shows the day's store but never
// starts, changes or saves one.
TEST(DailyStore, ComparesWithTheStoredDayIncludingEquality) {
    const char *const day = " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.9\r\nmarker\r\n"; // marker: not rewritten
    const char *const flat = "-2.5\r\n-2.5\r\n .5\r\n 1000\r\nmarker\r\n"; // a flat temperature pair is off
    const char *const fresh = " 6\r\n 6\r\n 1012\r\n 1012\r\n";
    const Shapes off{Off, Off, Off, Off};
    const struct { const char *stored; double t, p; Shapes shapes; const char *file; } cases[] = {
        {nullptr, 6, 1012, off, fresh},
        {" 4.1\r\n 12.8\r\n 1008.2\r\n", 6, 1012, off, fresh},
        {" 4.1\r\n 12.8\r\nabc\r\n 1016.9\r\n", 6, 1012, off, fresh},
        {day, 12.8, 1010, {Max, Off, Off, Off}, " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.9\r\n"},
        {day, 4.1, 1008.2, {Off, Min, Off, Min}, " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.9\r\n"},
        {day, -2.5, 1020, {Off, Min, Max, Off}, "-2.5\r\n 12.8\r\n 1008.2\r\n 1020\r\n"},
        {day, 7, 1010, off, day},
        // Exactly as read: a hair beyond is a new extreme, a hair inside is not.
        {day, 12.7999999999999, 1016.90000000001, {Off, Off, Max, Off},
         " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.90000000001\r\n"},
        {nullptr, 30, 0, Shapes{}, nullptr},
        {flat, 30, 0, {Off, Off, std::nullopt, std::nullopt}, flat},
    };
    for (const auto &c : cases) {
        TempDir dir;
        const std::string path = dir.file("MM261205.kwt");
        if (c.stored)
            writeBytes(path, c.stored);
        const auto out = records::RecordKeeper().update(at(2026, 12, 5, 10, 0, c.t, c.p), dir.path());
        EXPECT_EQ(out.shapes, c.shapes) << c.t << " " << c.p;
        EXPECT_EQ(out.shown.has_value(), c.file != nullptr) << c.t << " " << c.p;
        EXPECT_EQ(fileio::exists(path) ? readBytes(path) : "(none)", c.file ? c.file : "(none)") << c.t << " " << c.p;
        EXPECT_TRUE(out.problems.empty());
    }
}

TEST(Dates, DayBeforeCrossesYearsAndLeapDays) {
    const struct { records::CalendarDate date, before; } cases[] = {
        {{2027, 1, 1}, {2026, 12, 31}}, {{2028, 3, 1}, {2028, 2, 29}}, {{2000, 3, 1}, {2000, 2, 29}},
        {{2100, 3, 1}, {2100, 2, 28}},  {{2026, 5, 1}, {2026, 4, 30}}};
    for (const auto &c : cases)
        EXPECT_TRUE(station::dayBefore(c.date) == c.before) << c.date.year << "-" << c.date.month << "-" << c.date.day;
    EXPECT_FALSE(station::validDate({2026, 2, 29}));
}

// The ended day comes from memory only when it holds yesterday, else from
// yesterday's store. A start later in the day writes no row, whatever
// yesterday's store holds.
TEST(MonthlySummary, TheEndedDayFromMemoryOrYesterdaysStoreAndOnlyAtMidnight) {
    TempDir dir;
    writeBytes(dir.file("MM280229.kwt"), "-1.5\r\n 3\r\n 1000.5\r\n 1010\r\n");
    records::RecordKeeper keeper;
    keeper.update(at(2028, 2, 28, 23, 59, 1, 1001), dir.path()); // memory: the day before yesterday
    keeper.update(at(2028, 3, 1, 0, 0), dir.path());
    EXPECT_EQ(readBytes(dir.file("MM202803.TXT")), kSummaryHeader + "01/Mar/2028" + kEndedRow);

    TempDir empty;
    writeBytes(empty.file("MM261215.kwt"), " 8\r\n 8\r\n 1005\r\n 1005\r\n");
    records::RecordKeeper().update(at(2026, 12, 16, 9, 0), empty.path());
    EXPECT_FALSE(fileio::exists(empty.file("MM202612.TXT")));
}

// A failed write loses nothing. A month starts afresh on its first day,
// whatever its file already holds, in one piece: a write that fails there
// loses none of the month's rows (failed appends on other days: the fault
// matrix). A new day's log gets its header with the first row or not at
// all, and a failed row is cut back (a file that exists, even emptied, gets
// no header: fuzz_appended).
TEST(RecordFiles, AFailedWriteLosesNothing) {
    TempDir dir;
    testing_support::FullDisk disk;
    disk.stopAfter = 10;
    writeBytes(dir.file("MM202612.TXT"), kOldSummary);
    EXPECT_EQ(records::writeSummaryRow(at(2026, 12, 1, 0, 0), dir.path(), kEnded, disk),
              "Impossibile scrivere MM202612.TXT in " + dir.path() + ": disco pieno");
    EXPECT_EQ(readBytes(dir.file("MM202612.TXT")), kOldSummary);
    EXPECT_FALSE(records::writeSummaryRow(at(2026, 12, 1, 0, 0), dir.path(), kEnded));
    EXPECT_EQ(readBytes(dir.file("MM202612.TXT")), kSummaryHeader + "01/Dec/2026" + kEndedRow);

    EXPECT_EQ(records::appendDataLog(logReading(), dir.path(), disk),
              "Impossibile scrivere 20261205.txt in " + dir.path() + ": disco pieno");
    EXPECT_FALSE(fileio::exists(dir.file("20261205.txt")));
    EXPECT_FALSE(records::appendDataLog(logReading(), dir.path()));
    EXPECT_TRUE(records::appendDataLog(logReading(), dir.path(), disk));
    EXPECT_EQ(readBytes(dir.file("20261205.txt")), kLogHeader + kLogRow);
}

// Memory that could not be saved is ahead of the stale file and wins when
// the folder comes back (a folder away at midnight: the fault matrix); what
// the file holds beyond memory is kept too.
TEST(RecordKeeper, MemoryAheadOfAStaleStoreIsSavedWithWhatTheFileHoldsBeyondIt) {
    TempDir dir;
    records::RecordKeeper keeper;
    keeper.update(at(2026, 12, 5, 8, 0, 8, 1000), dir.path());
    writeBytes(dir.file("MM261205.kwt"), " 8\r\n 8\r\n 990\r\n 1000\r\n"); // written meanwhile by another start
    EXPECT_FALSE(keeper.update(at(2026, 12, 5, 8, 1, 5, 995), dir.file("gone")).problems.empty());
    EXPECT_TRUE(keeper.update(at(2026, 12, 5, 8, 3, 12, 1001), dir.path()).problems.empty());
    EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), " 5\r\n 12\r\n 990\r\n 1001\r\n");
}

// A missing temperature is never a 0: the day's temperatures stay unknown
// until a reading has one (empty lines in the store, empty fields in the
// summary row). The log's and VENTO.TXT's empty fields, and a missing value
// after a known one: the soak.
TEST(RecordKeeper, AMissingTemperatureIsUnknownInTheStoreAndTheSummaryRow) {
    TempDir dir;
    records::RecordKeeper keeper;
    auto missing = at(2026, 12, 4, 23, 59, 0, 1013.2);
    missing.outdoorTemperature.reset();
    keeper.update(missing, dir.path());
    EXPECT_EQ(readBytes(dir.file("MM261204.kwt")), "\r\n\r\n 1013.2\r\n 1013.2\r\n");
    missing.time = {2026, 12, 5, 0, 0};
    keeper.update(missing, dir.path());
    EXPECT_EQ(readBytes(dir.file("MM202612.TXT")), kSummaryHeader + "05/Dec/2026 ;  ;  ;  1013.2 ;  1013.2\r\n");
    keeper.update(at(2026, 12, 5, 0, 1, -0.5, 1013.2), dir.path());
    EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), "-.5\r\n-.5\r\n 1013.2\r\n 1013.2\r\n");

    // One temperature alone is no store of this program's.
    writeBytes(dir.file("MM261206.kwt"), "\r\n 3\r\n 1000\r\n 1000\r\n");
    EXPECT_FALSE(records::loadStore(dir.file("MM261206.kwt")));
}
