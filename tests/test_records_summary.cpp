#include <gtest/gtest.h>

#include "config/file_io.h"
#include "records/records.h"
#include "records_support.h"
#include "support/test_support.h"

using records::DailyExtremes;
using records_test::at;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

const std::string kHeader = "DATA ; T_MIN ; T_MAX ; PRESS_MIN ; PRESS_MAX\r\n";
const DailyExtremes kEnded{-1.5, 3, 1000.5, 1010};

} // namespace

TEST(MonthlySummary, OnlyTheMinuteZeroZeroWrites) {
    TempDir dir;
    for (const auto &r : {at(2026, 12, 15, 0, 59), at(2026, 12, 15, 23, 0), at(2026, 12, 1, 0, 1)})
        EXPECT_FALSE(records::writeMonthlySummary(r, dir.path(), kEnded));
    EXPECT_FALSE(fileio::exists(dir.file("MM202612.TXT")));
}

TEST(MonthlySummary, HeaderOnTheFirstOfTheMonthOrForANewFile) {
    const std::string row = "15/Dec/2026 ; -1.5 ;  3 ;  1000.5 ;  1010\r\n";
    const std::string firstRow = "01/Dec/2026 ; -1.5 ;  3 ;  1000.5 ;  1010\r\n";
    const std::string old = kHeader + "14/Dec/2026 ;  1 ;  2 ;  3 ;  4\r\n";
    struct Case {
        int day;
        const char *existing; // nullptr: no file
        std::string expected;
    } cases[] = {{15, nullptr, kHeader + row},
                 {15, old.c_str(), old + row},
                 {1, nullptr, kHeader + firstRow},
                 {1, old.c_str(), kHeader + firstRow},
                 // A damaged file is not read: the row goes below it, on a
                 // line of its own.
                 {15, "\x01 junk without end", std::string("\x01 junk without end\r\n") + row}};
    for (const auto &c : cases) {
        TempDir dir;
        if (c.existing)
            writeBytes(dir.file("MM202612.TXT"), c.existing);
        EXPECT_FALSE(records::writeMonthlySummary(at(2026, 12, c.day, 0, 0), dir.path(), kEnded));
        EXPECT_EQ(readBytes(dir.file("MM202612.TXT")), c.expected) << c.day << " " << (c.existing != nullptr);
    }
}

TEST(MonthlySummary, ALastRowWithoutItsLineEndKeepsItsValueAndTheDateGetsOneRow) {
    // Saved by an editor without the final line end: the new row used to be
    // glued to it, so 1010 read as "101015/Dec/2026" and the next midnight
    // tick of the same date, not finding its row, added a second one.
    const std::string row = "15/Dec/2026 ; -1.5 ;  3 ;  1000.5 ;  1010\r\n";
    for (const std::string ending : {"", "\r"}) {
        TempDir dir;
        const std::string old = kHeader + "14/Dec/2026 ;  1 ;  2 ;  3 ;  4" + ending;
        writeBytes(dir.file("MM202612.TXT"), old);
        for (int tick = 0; tick < 2; ++tick)
            EXPECT_FALSE(records::writeMonthlySummary(at(2026, 12, 15, 0, 0), dir.path(), kEnded));
        EXPECT_EQ(readBytes(dir.file("MM202612.TXT")), kHeader + "14/Dec/2026 ;  1 ;  2 ;  3 ;  4\r\n" + row);
    }
}

TEST(MonthlySummary, AFailedWriteNeverLosesTheMonthsRows) {
    TempDir dir;
    const std::string old = kHeader + "14/Dec/2026 ;  1 ;  2 ;  3 ;  4\r\n";
    writeBytes(dir.file("MM202612.TXT"), old);
    fileio::setWriteFaultAfterBytes(10);
    const auto onFirst = records::writeMonthlySummary(at(2026, 12, 1, 0, 0), dir.path(), kEnded);
    const auto onFifteenth = records::writeMonthlySummary(at(2026, 12, 15, 0, 0), dir.path(), kEnded);
    const auto onNewMonth = records::writeMonthlySummary(at(2027, 1, 15, 0, 0), dir.path(), kEnded);
    fileio::setWriteFaultAfterBytes(std::nullopt);
    EXPECT_EQ(onFirst, "Impossibile scrivere MM202612.TXT in " + dir.path() + ": disco pieno");
    EXPECT_TRUE(onFifteenth && onNewMonth);
    EXPECT_EQ(readBytes(dir.file("MM202612.TXT")), old);
    // No header-less remains: the next midnight starts the file properly.
    EXPECT_FALSE(fileio::exists(dir.file("MM202701.TXT")));
}

TEST(MonthlySummary, AfterStartUpTheEndedDayComesFromItsStoreFile) {
    struct Case {
        const char *store;
        cycle::WeatherReading midnight;
        const char *summary;
        std::string row;
    } cases[] = {
        {"MM261214.kwt", at(2026, 12, 15, 0, 0), "MM202612.TXT", "15/Dec/2026 ; -1.5 ;  3 ;  1000.5 ;  1010\r\n"},
        {"MM280229.kwt", at(2028, 3, 1, 0, 0), "MM202803.TXT", "01/Mar/2028 ; -1.5 ;  3 ;  1000.5 ;  1010\r\n"},
    };
    for (const auto &c : cases) {
        TempDir dir;
        writeBytes(dir.file(c.store), "-1.5\r\n 3\r\n 1000.5\r\n 1010\r\n");
        records::RecordKeeper keeper;
        keeper.update(c.midnight, dir.path());
        EXPECT_EQ(readBytes(dir.file(c.summary)), kHeader + c.row);
    }

    // Without it there is no row and no file: no record that never happened.
    TempDir empty;
    records::RecordKeeper other;
    other.update(at(2026, 12, 15, 0, 0, 8, 1005), empty.path());
    EXPECT_FALSE(fileio::exists(empty.file("MM202612.TXT")));
    EXPECT_TRUE(fileio::exists(empty.file("MM261215.kwt")));
}

TEST(MonthlySummary, MemoryIsUsedOnlyWhenItHoldsYesterday) {
    TempDir dir;
    records::RecordKeeper keeper;
    // The 13th in memory, then the computer sleeps through the 14th.
    keeper.update(at(2026, 12, 13, 23, 59, 1, 1001), dir.path());
    writeBytes(dir.file("MM261214.kwt"), " 5\r\n 6\r\n 1007\r\n 1008\r\n");
    keeper.update(at(2026, 12, 15, 0, 0, 8, 1005), dir.path());
    EXPECT_EQ(readBytes(dir.file("MM202612.TXT")), kHeader + "15/Dec/2026 ;  5 ;  6 ;  1007 ;  1008\r\n");
}

TEST(MonthlySummary, YearEndRowGoesIntoTheNewYearsFileWithTheOldDaysExtremes) {
    TempDir dir;
    records::RecordKeeper keeper;
    keeper.update(at(2026, 12, 31, 14, 0, 2.5, 1012), dir.path());
    keeper.update(at(2026, 12, 31, 23, 59, -0.5, 1018.3), dir.path());
    keeper.update(at(2027, 1, 1, 0, 0, -1, 1019), dir.path());
    EXPECT_EQ(readBytes(dir.file("MM202701.TXT")), kHeader + "01/Jan/2027 ; -.5 ;  2.5 ;  1012 ;  1018.3\r\n");
    EXPECT_FALSE(fileio::exists(dir.file("MM202612.TXT")));
    EXPECT_EQ(readBytes(dir.file("MM270101.kwt")), "-1\r\n-1\r\n 1019\r\n 1019\r\n");
}

TEST(MonthlySummary, OneRowPerDateAcrossTwoMidnightTicksAndARestart) {
    for (const int day : {1, 15}) {
        for (const bool restart : {false, true}) {
            TempDir dir;
            records::RecordKeeper keeper;
            const auto eve = records::dayBefore({2026, 12, day});
            keeper.update(at(eve.year, eve.month, eve.day, 23, 59, 4, 1003), dir.path());
            keeper.update(at(2026, 12, day, 0, 0, 7, 1009), dir.path());
            const std::string date = (day == 1 ? "01" : "15") + std::string("/Dec/2026");
            const std::string summary = readBytes(dir.file("MM202612.TXT"));
            EXPECT_EQ(summary, kHeader + date + " ;  4 ;  4 ;  1003 ;  1003\r\n") << day << " " << restart;
            // The second run must neither add a row nor start the file afresh.
            writeBytes(dir.file("MM202612.TXT"), summary + date + " ; marker\r\n");
            records::RecordKeeper restarted;
            (restart ? restarted : keeper).update(at(2026, 12, day, 0, 0, 6, 1008), dir.path());
            EXPECT_EQ(readBytes(dir.file("MM202612.TXT")), summary + date + " ; marker\r\n") << day << " " << restart;
        }
    }
}
