#pragma once
// The record files of the output folder: the day's min/max store, the
// monthly summary, the wind file and the data log. The keeper holds the
// day's extremes for the life of the program.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cycle/reading.h"

namespace records {

struct DailyExtremes {
    double temperatureMin = 0;
    double temperatureMax = 0;
    double pressureMin = 0; // relative pressure, hPa
    double pressureMax = 0;
};

// Colour values of the indicators (0x00BBGGRR).
inline constexpr std::uint32_t kMaxBorder = 32768; // dark green
inline constexpr std::uint32_t kMaxFill = 65280;   // green
inline constexpr std::uint32_t kMinBorder = 128;   // dark red
inline constexpr std::uint32_t kMinFill = 255;     // red

enum class Look { Off, Maximum, Minimum };

struct RecordsOutcome {
    // Shape1..Shape4: the look to give, or nullopt to keep the one it has.
    std::array<std::optional<Look>, 4> shapes;
    // Label24..Label27 captions.
    std::array<std::string, 4> labels;
    // Italian, one per file that could not be written on this tick.
    std::vector<std::string> problems;
};

// File names for a reading's date: "MM261205.kwt", "MM202612.TXT",
// "VENTO.TXT", "20261205.txt".
std::string storeFileName(const cycle::WeatherReading &r);
std::string summaryFileName(const cycle::WeatherReading &r);
inline constexpr const char *kWindFileName = "VENTO.TXT";
std::string logFileName(const cycle::WeatherReading &r);

class RecordKeeper {
public:
    // Runs the store, the monthly summary, the wind file and the data log in
    // that order for one tick. A file that cannot be written is skipped and
    // reported; the rest still runs.
    RecordsOutcome update(const cycle::WeatherReading &r, const std::string &outputFolder);

    const DailyExtremes &extremes() const { return extremes_; }

private:
    DailyExtremes extremes_;
    // (the implementation adds what it needs to know about extremes_)
};

} // namespace records
