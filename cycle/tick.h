#pragma once
// One tick of the conversion cycle, headless: it finds and reads currdat.lst,
// derives every caption, writes my_meteo.txt and the record files, and
// returns what the main window must show. The window only applies it.

#include <string>
#include <vector>

#include "aprs/descriptions.h"
#include "cycle/panel.h"
#include "cycle/reading.h"
#include "records/records.h"

namespace cycle {

inline constexpr int kWaitingIntervalMs = 100;   // until currdat.lst is found
inline constexpr int kRunningIntervalMs = 59500; // a tick in every clock minute
inline constexpr const char *kCurrentDataFileName = "currdat.lst";

struct TickInputs {
    std::string heavyWeatherFolder; // UTF-8, as the folders dialog holds it
    std::string configPath;         // config.kwt
    ClockTime now;
    aprs::UserMessage message;
};

enum class Gate {
    NoFolder,   // no Heavy Weather folder known: nothing changes but the status
    Missing,    // no currdat.lst: nothing changes, silently
    Unreadable, // present but unreadable or short: nothing changes but the status
    Converted,
};

struct TickOutcome {
    Gate gate = Gate::Missing;
    PanelCaptions panel;
    std::string label4;  // current conditions
    std::string label16; // reported pressure
    std::string label19; // forecast
    std::string text1;   // the two lines of my_meteo.txt
    bool text1Written = false; // whether my_meteo.txt now holds them
    aprs::Alerts alerts; // Label29
    records::RecordsOutcome records;
    // Italian texts for the status bar; empty when every file was written.
    std::vector<std::string> problems;
};

class ConversionCycle {
public:
    TickOutcome tick(const TickInputs &in);
    const records::RecordKeeper &records() const { return records_; }

private:
    records::RecordKeeper records_;
};

} // namespace cycle
