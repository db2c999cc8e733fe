#pragma once
// One tick of the conversion cycle, headless: it finds and reads currdat.lst,
// writes my_meteo.txt and the record files, and returns what came of it;
// windowView (window_view.h) turns that into what the main window shows.

#include <optional>
#include <string>
#include <vector>

#include "aprs/descriptions.h"
#include "io/file_io.h"
#include "records/records.h"
#include "settings/config.h"
#include "station/reading.h"

namespace cycle {

inline constexpr int kFirstIntervalMs = 100;     // quick tries until currdat.lst is first found
inline constexpr int kRunningIntervalMs = 59500; // a tick in every clock minute
// The quick tries last 5 s; a folder still without currdat.lst then is a
// wrong folder rather than Heavy Weather starting, and is said so.
inline constexpr int kQuickTries = 5000 / kFirstIntervalMs;
// Once found, a file missing at this many ticks in a row is said so; one
// missing tick is Heavy Weather rewriting it.
inline constexpr int kMissedTicksTold = 2;
inline constexpr const char *kCurrentDataFileName = "currdat.lst";
// Heavy Weather rewrites currdat.lst as the station's readings come in;
// a file this much older means it stopped, or lost the station.
inline constexpr long kStaleAfterMinutes = 30;

struct TickInputs {
    std::string configPath; // config.kwt, read once per tick: folders and choices together
    station::ClockTime now;
    aprs::UserMessage message;
};

enum class Gate {
    NoFolder,   // no Heavy Weather folder known: nothing changes but the status
    Missing,    // no currdat.lst: nothing changes (but the status, once it lasts)
    Unreadable, // present but unreadable or short: nothing changes but the status
    Converted,
};

struct TickOutcome {
    Gate gate = Gate::Missing;
    // When the next tick should come: quick tries while a folder is known
    // and currdat.lst was never found in it, else once a minute.
    int nextTickMs = kRunningIntervalMs;
    // The rest only when Converted.
    station::WeatherReading reading;
    settings::PressureChoice pressure = settings::PressureChoice::Absolute;
    std::optional<std::string> forecast;
    std::string localSituation;
    aprs::Alerts alerts;
    std::string text1; // the two lines of my_meteo.txt
    std::string dataLine; // its second line, the weather report the direct sends carry
    bool text1Written = false; // whether my_meteo.txt now holds them
    bool stale = false; // currdat.lst not rewritten for kStaleAfterMinutes
    records::RecordsOutcome records;
    // Italian texts for the status bar; empty when every file was written.
    std::vector<std::string> problems;
};

class ConversionCycle {
public:
    explicit ConversionCycle(const io::Disk &disk = io::realDisk()) : disk_(&disk), records_(disk) {}
    TickOutcome tick(const TickInputs &in);

private:
    const io::Disk *disk_;
    records::RecordKeeper records_;
    // The search for currdat.lst in the Heavy Weather folder of the last
    // tick; a new folder starts it afresh.
    std::string folder_;
    bool found_ = false;
    int quickTries_ = 0;
    int missedInARow_ = 0;
};

} // namespace cycle
