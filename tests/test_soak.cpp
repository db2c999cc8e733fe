// The short soak: 4,400 ticks 59.5 s apart from 30 November 22:00, about
// three days: three midnights, the first (a month's first day) and the
// second with two ticks in their minute 00:00, the third plain; with
// restarts; calm spells that bring fog. `make soak` runs the long one.

#include <gtest/gtest.h>

#include <filesystem>

#include "soak/soak.h"
#include "support/test_support.h"

TEST(Soak, ThreeDaysAcrossAMonthEndKeepEveryFileRight) {
    // In memory where the system has such a folder: on a disk, the flush of
    // every store rewrite makes the run a hundred times slower and proves
    // nothing more (make soak runs on the disk).
    std::error_code ec;
    const testing_support::TempDir dir(std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : "");
    soak::Options options; // from 30 November 2026 22:00
    options.ticks = 4400;
    options.restartEvery = 997;
    options.midnightRestartEvery = 2;
    const soak::Figures f = soak::run(options, dir.path());

    for (const auto &failure : f.failures) // the first of them, if any
        ADD_FAILURE() << failure;
    EXPECT_EQ(f.midnights, 3);
    EXPECT_EQ(f.doubleMidnightDates, (std::vector<std::string>{"20261201", "20261202"}));
    EXPECT_EQ(f.summaryRows, 3); // 01/Dec, 02/Dec, 03/Dec
    EXPECT_EQ(f.calendarDays, 4);
    EXPECT_GT(f.zeroPressureTicks, 0);
    EXPECT_GT(f.missingSensorTicks, 0);
    EXPECT_GT(f.negativeTemperatureTicks, 0);
    EXPECT_GT(f.fogTicks, 0);
    EXPECT_GE(f.restarts, 6);
    EXPECT_EQ(soak::memoryVerdict(f), "");
}
