// The short soak: 4,400 ticks from 30 November 22:00, three midnights (the
// first a month's first day), restarts on and between them, every file held
// to the model after every tick. `make soak` runs the long one.
#include <gtest/gtest.h>

#include <filesystem>

#include "soak/soak.h"
#include "support/test_support.h"

TEST(Soak, ThreeDaysAcrossAMonthEndKeepEveryFileRight) {
    // On tmpfs where there is one: the flush of each store rewrite on a disk
    // makes the run far slower and proves nothing more.
    const testing_support::TempDir dir(std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "");
    soak::Figures f = soak::run({4400, 1, 997, 2026, 11, 30, 22}, dir.path());
    EXPECT_EQ(f.failures, std::vector<std::string>{});
    EXPECT_TRUE(f.seen["midnights"] == 3 && f.seen["summary rows"] == 3);
    for (const char *seen : {"midnights with two ticks", "restarts", "clock set back", "ticks with pressure 0",
                             "ticks missing a sensor", "ticks without currdat.lst"})
        EXPECT_GT(f.seen[seen], 0) << seen;
}
