#pragma once
// The soak: the real conversion cycle, headless, on real files, tick after
// tick 59.5 s apart on a simulated clock, with readings that change (negative
// values, missing sensors, a pressure of 0 now and then). After every tick it
// checks what each file must hold, from its own account of the readings it
// fed: the day's store, my_meteo.txt, VENTO.TXT; each day's log when the day
// is over; each month's summary at every midnight and at the end.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace soak {


struct Options {
    long ticks = 3000;
    // Local time of the first tick: a minute, plus half-seconds into it.
    int year = 2026, month = 11, day = 30, hour = 22, minute = 0;
    int halfSeconds = 0;
    std::uint32_t seed = 1;
    // A restart of the program (a fresh cycle, memory lost) every so many
    // ticks; 0: never.
    long restartEvery = 0;
    // A restart just before the midnight that begins a month, and before
    // those of the days whose number is a multiple of this; 0: never. Its
    // first tick falls on 00:00:00.0, so that minute gets a second tick
    // 59.5 s later; on every other such day the program is restarted once
    // more between the two.
    int midnightRestartEvery = 0;
    // Called now and then with a line of progress; may be empty.
    std::function<void(const std::string &)> progress;
};

struct Figures {
    long ticks = 0;
    double simulatedDays = 0;
    long calendarDays = 0;     // days with at least one tick
    long midnights = 0;        // clock minutes 00:00 met
    long doubleMidnights = 0;  // of them, minutes 00:00 with two ticks
    std::vector<std::string> doubleMidnightDates;
    long summaryRows = 0;      // rows checked in the monthly summaries
    long zeroPressureTicks = 0;
    long missingSensorTicks = 0;
    long negativeTemperatureTicks = 0;
    long negativeFahrenheitTicks = 0; // "t-05" and the like on the air
    long fogTicks = 0;         // the window warns of fog
    long restarts = 0;
    long filesChecked = 0;     // file contents read back and checked
    double wallSeconds = 0;
    long rssStartKb = 0;       // before the first tick
    long rssWarmKb = 0;        // after the first tenth of the ticks
    long rssEndKb = 0;
    long heapWarmKb = 0, heapEndKb = 0;
    long failureCount = 0;
    std::vector<std::string> failures; // the first ones, with the tick's time
};

// Runs the soak in `folder` (an empty folder that it fills).
Figures run(const Options &options, const std::string &folder);

// The process's resident memory in KiB (VmRSS); 0 where unknown.
long residentKb();

// The bytes the process holds allocated on its heap, in KiB (glibc's
// mallinfo2): unlike VmRSS, blind to pages the allocator keeps for reuse.
// 0 where unknown.
long heapInUseKb();

// True when built with AddressSanitizer, whose own memory makes VmRSS
// meaningless as a measure of the program's.
bool sanitized();

// Empty when the memory held from the warmed-up run to its end: VmRSS grew by
// at most 1 MiB, and the heap in use by at most 16 KiB plus 1 KiB a simulated
// day (the soak's own account of each day takes about half of that; a leak
// of 16 bytes a tick would take 23 KiB a day). Otherwise what grew. Always
// empty in a sanitizer build.
std::string memoryVerdict(const Figures &f);

} // namespace soak
