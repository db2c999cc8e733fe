#pragma once
// The soak: the real conversion cycle, headless, on real files, tick after
// tick 59.5 s apart on a simulated clock, fed a seeded random walk of weather
// with missing sensors, a pressure of 0, a missing currdat.lst, restarts and
// the clock set back. After every tick every file is held to the shared model.

#include <map>
#include <string>
#include <vector>

namespace soak {

struct Options {
    long ticks = 3000, seed = 1, restartEvery = 10007; // besides, the restarts placed on midnights
    int year = 2026, month = 11, day = 20, hour = 6;    // of the first tick
};

struct Figures {
    std::map<std::string, long> seen; // how often each case came up: "ticks", "midnights", "restarts", ...
    long failureCount = 0;
    std::vector<std::string> failures; // the first ones, with the tick's time
};

// Runs the soak in `folder`, an empty folder that it fills.
Figures run(const Options &options, const std::string &folder);

} // namespace soak
