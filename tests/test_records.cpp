// The record files at the edges that the soak (test_soak.cpp) does not reach:
// the ended day from memory or from its store, the log's columns, memory
// ahead of a store out of reach. The store's comparisons, indicators and
// refusals: fuzz_store; rows below whatever a file holds, a month's first
// day and an unknown temperature's empty field: fuzz_appended; failed
// writes: the fault matrix.

#include <filesystem>

#include <gtest/gtest.h>

#include "io/file_io.h"
#include "records/records.h"
#include "support/test_support.h"

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

// The ended day comes from memory only when it holds yesterday, else from
// yesterday's store. A start later in the day writes no row, whatever
// yesterday's store holds.
TEST(MonthlySummary, TheEndedDayFromMemoryOrYesterdaysStoreAtItsMidnightOrTheNextRunsFirstTick) {
    TempDir dir;
    writeBytes(dir.file("MM280229.kwt"), "-1.5\r\n 3\r\n 1000.5\r\n 1010\r\n");
    records::RecordKeeper keeper;
    keeper.update(at(2028, 2, 28, 23, 59, 1, 1001), dir.path()); // memory: the day before yesterday
    keeper.update(at(2028, 3, 1, 0, 0), dir.path());
    const std::string summary = readBytes(dir.file("MM202803.TXT")); // below its header (the header: the soak)
    EXPECT_EQ(summary.substr(summary.find("\r\n") + 2), "01/Mar/2028 ; -1.5 ;  3 ;  1000.5 ;  1010\r\n");

    // A run that starts after a midnight no copy ticked owes its row, once.
    TempDir late;
    writeBytes(late.file("MM261215.kwt"), " 8\r\n 8\r\n 1005\r\n 1005\r\n");
    records::RecordKeeper started;
    started.update(at(2026, 12, 16, 9, 0), late.path());
    started.update(at(2026, 12, 16, 9, 1), late.path());
    const std::string row = readBytes(late.file("MM202612.TXT"));
    EXPECT_EQ(row.substr(row.find("\r\n") + 2), "16/Dec/2026 ;  8 ;  8 ;  1005 ;  1005\r\n");
}

// The extremes shown come from the last store known or from memory, never
// from a reading that could not be saved: here the output folder is replaced
// by a file, for a run that had read the store and for one that had not.
TEST(DailyStore, AStoreOutOfReachShowsMemoryOrNothingNeverAGuess) {
    TempDir dir;
    const std::string out = dir.file("out");
    std::filesystem::create_directory(out);
    writeBytes(dir.file("out/MM261205.kwt"), "-12.8\r\n 12.8\r\n 1013.2\r\n 1050.1\r\n");
    records::RecordKeeper known, started;
    known.update(at(2026, 12, 5, 9, 0, 5, 1013.2), out);
    std::filesystem::remove_all(out);
    writeBytes(out, "a file");
    const auto shown = known.update(at(2026, 12, 5, 9, 1, 13.3, 1020), out).shown;
    ASSERT_TRUE(shown);
    EXPECT_EQ(records::recordText(shown->temperatureMin) + records::recordText(shown->temperatureMax), "-12.8 13.3");
    EXPECT_EQ(shown->pressureMin + shown->pressureMax, 1013.2 + 1050.1);
    EXPECT_FALSE(started.update(at(2026, 12, 5, 9, 1, -20.5, 1020), out).shown);
    // The folder back, with a store that another run widened meanwhile: the
    // day keeps the widest of both, and saves it.
    std::filesystem::remove(out);
    std::filesystem::create_directory(out);
    writeBytes(dir.file("out/MM261205.kwt"), "-20\r\n 12.9\r\n 1000\r\n 1013.2\r\n");
    known.update(at(2026, 12, 5, 9, 2, 5, 1013.2), out);
    EXPECT_EQ(readBytes(dir.file("out/MM261205.kwt")), "-20\r\n 13.3\r\n 1000\r\n 1050.1\r\n");
}

// Every column of the log in its place (the header and the first columns:
// the soak).
TEST(RecordFiles, EveryValueOfTheLogRowInItsColumn) {
    TempDir dir;
    EXPECT_FALSE(records::appendDataLog(logReading(), dir.path()));
    const std::string log = readBytes(dir.file("20261205.txt"));
    EXPECT_EQ(log.substr(log.find("\r\n") + 2), kLogRow);
}
