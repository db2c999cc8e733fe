#include <gtest/gtest.h>

#include "config/file_io.h"
#include "records/records.h"
#include "records_support.h"
#include "support/test_support.h"

using records::Look;
using records_test::at;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

using Shapes = std::array<std::optional<Look>, 4>;
constexpr auto Max = Look::Maximum;
constexpr auto Min = Look::Minimum;
constexpr auto Off = Look::Off;

// 5 December 2026, 4.1..12.8 °C and 1008.2..1016.9 hPa, with a line that only
// survives as long as the file is not rewritten.
const char *const kStoredDay = " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.9\r\nmarker\r\n";

} // namespace

TEST(DailyStore, FirstTickOfTheDayCreatesTheStoreWithAllIndicatorsOff) {
    TempDir dir;
    records::RecordKeeper keeper;
    const auto out = keeper.update(at(2026, 12, 5, 9, 22, 4.1, 1008.2), dir.path());
    EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), " 4.1\r\n 4.1\r\n 1008.2\r\n 1008.2\r\n");
    EXPECT_EQ(out.shapes, (Shapes{Off, Off, Off, Off}));
    EXPECT_EQ(out.labels[0], "T ext MAX =  4.1 °C");
    EXPECT_EQ(out.labels[1], "T ext min =  4.1 °C");
    EXPECT_EQ(out.labels[2], "Press. MAX =  1008.2 hPa");
    EXPECT_EQ(out.labels[3], "Press. min =  1008.2 hPa");
    EXPECT_TRUE(out.problems.empty());
}

TEST(DailyStore, ComparesWithTheStoredDayIncludingEquality) {
    struct Case {
        double t, p;
        Shapes shapes;
        const char *file; // nullptr: left untouched
    } cases[] = {
        {12.8, 1010, {Max, Off, Off, Off}, " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.9\r\n"},
        {4.1, 1008.2, {Off, Min, Off, Min}, " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.9\r\n"},
        {-2.5, 1020, {Off, Min, Max, Off}, "-2.5\r\n 12.8\r\n 1008.2\r\n 1020\r\n"},
        {7, 1010, {Off, Off, Off, Off}, nullptr},
        // Exactly as read: a hair beyond is a new extreme, a hair inside is not.
        {12.7999999999999, 1016.90000000001, {Off, Off, Max, Off}, " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.90000000001\r\n"},
    };
    for (const auto &c : cases) {
        TempDir dir;
        writeBytes(dir.file("MM261205.kwt"), kStoredDay);
        records::RecordKeeper keeper;
        const auto out = keeper.update(at(2026, 12, 5, 10, 0, c.t, c.p), dir.path());
        EXPECT_EQ(out.shapes, c.shapes) << c.t << " " << c.p;
        EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), c.file ? c.file : kStoredDay) << c.t << " " << c.p;
    }
}

TEST(DailyStore, LabelsCarryNegativeZeroAndFractionalValues) {
    TempDir dir;
    writeBytes(dir.file("MM261205.kwt"), "-2.5\r\n 0\r\n .5\r\n 1000\r\n");
    records::RecordKeeper keeper;
    const auto out = keeper.update(at(2026, 12, 5, 3, 0, -1, 900), dir.path());
    EXPECT_EQ(out.labels[0], "T ext MAX =  0 °C");
    EXPECT_EQ(out.labels[1], "T ext min = -2.5 °C");
    EXPECT_EQ(out.labels[2], "Press. MAX =  1000 hPa");
    EXPECT_EQ(out.labels[3], "Press. min =  .5 hPa");
}

TEST(DailyStore, ZeroPressureShowsAnExistingStoreButChangesNothing) {
    TempDir dir;
    // A flat temperature pair still turns its indicators off.
    const char *stored = " 7\r\n 7\r\n 1000\r\n 1010\r\nmarker\r\n";
    writeBytes(dir.file("MM261205.kwt"), stored);
    records::RecordKeeper keeper;
    const auto out = keeper.update(at(2026, 12, 5, 0, 0, 30, 0), dir.path());
    EXPECT_EQ(out.shapes, (Shapes{Off, Off, std::nullopt, std::nullopt}));
    EXPECT_EQ(out.labels[0], "T ext MAX =  7 °C");
    EXPECT_EQ(out.labels[3], "Press. min =  1000 hPa");
    EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), stored);
    EXPECT_EQ(keeper.extremes().pressureMin, 1000);
}

TEST(DailyStore, ZeroPressureWithoutAStoreNeitherCreatesNorSeedsIt) {
    TempDir dir;
    records::RecordKeeper keeper;
    keeper.update(at(2026, 12, 4, 23, 59, 3, 1001), dir.path());
    const auto out = keeper.update(at(2026, 12, 5, 0, 0, 30, 0), dir.path());
    EXPECT_EQ(out.shapes, Shapes{});
    EXPECT_EQ(out.labels, (std::array<std::string, 4>{"", "", "", ""}));
    EXPECT_FALSE(fileio::exists(dir.file("MM261205.kwt")));
    EXPECT_EQ(keeper.extremes().temperatureMax, 3);
    EXPECT_EQ(keeper.extremes().pressureMin, 1001);

    keeper.update(at(2026, 12, 5, 0, 1, 2, 999), dir.path());
    EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), " 2\r\n 2\r\n 999\r\n 999\r\n");
}

TEST(DailyStore, ShortOrGarbledStoreCountsAsMissing) {
    for (const char *content : {"", " 4.1\r\n 12.8\r\n 1008.2\r\n", " 4.1\r\n\r\n 1008.2\r\n 1016.9\r\n",
                                " 4.1\r\n 12.8\r\nabc\r\n 1016.9\r\n", "\x01\xff\xfe\r\n\r\n\r\n\r\n\r\n"}) {
        TempDir dir;
        writeBytes(dir.file("MM261205.kwt"), content);
        records::RecordKeeper keeper;
        const auto out = keeper.update(at(2026, 12, 5, 10, 0, 6, 1012), dir.path());
        EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), " 6\r\n 6\r\n 1012\r\n 1012\r\n");
        EXPECT_EQ(out.shapes, (Shapes{Off, Off, Off, Off}));
    }
}

TEST(Dates, DayBeforeCrossesMonthsYearsAndLeapDays) {
    struct Case {
        records::CalendarDate date, before;
    } cases[] = {{{2027, 1, 1}, {2026, 12, 31}}, {{2028, 3, 1}, {2028, 2, 29}}, {{2026, 3, 1}, {2026, 2, 28}},
                 {{2000, 3, 1}, {2000, 2, 29}},  {{2100, 3, 1}, {2100, 2, 28}}, {{2026, 5, 1}, {2026, 4, 30}},
                 {{2026, 12, 5}, {2026, 12, 4}}};
    for (const auto &c : cases) {
        const auto got = records::dayBefore(c.date);
        EXPECT_TRUE(got == c.before) << c.date.year << "-" << c.date.month << "-" << c.date.day;
    }
    EXPECT_EQ(records::storeFileName(records::CalendarDate{2028, 2, 29}), "MM280229.kwt");
    EXPECT_FALSE(records::readingDate(at(2026, 2, 29, 0, 0)));
}
