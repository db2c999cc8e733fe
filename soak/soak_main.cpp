// The long soak (make soak): the real cycle over months of simulated ticks.
// Usage: soak [ticks]. Prints the figures; exits with 1 on any failure.
#include <cstdio>

#include "soak/soak.h"
#include "support/test_support.h"

int main(int argc, char **argv) {
    soak::Options options; // from 20 November 06:00: the ends of three months and of the year
    options.ticks = argc > 1 ? std::stol(argv[1]) : 110000;
    const testing_support::TempDir dir;
    const soak::Figures f = soak::run(options, dir.path());
    for (const auto &[what, count] : f.seen)
        std::printf("%-26s %ld\n", what.c_str(), count);
    for (const auto &failure : f.failures)
        std::printf("  %s\n", failure.c_str());
    std::printf("failures %ld: %s\n", f.failureCount, f.failureCount ? "SOAK FAILED" : "SOAK PASSED");
    return f.failureCount ? 1 : 0;
}
