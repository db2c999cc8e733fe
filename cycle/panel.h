#pragma once
// Captions of the current-conditions panel for one reading (UTF-8).

#include <cstdint>
#include <optional>
#include <string>

#include "station/reading.h"

namespace cycle {

struct PanelCaptions {
    std::string label2;  // heading with date and time
    std::string label5;  // tendency
    std::string label6, label7, label8, label9, label10, label11; // outdoor values
    std::string label13, label14, label15;                        // rain
    std::string label17; // "Allarme temporale:  "
    std::string label18; // storm alarm state
    // Label18's colour (0x00BBGGRR); nullopt keeps the one it has.
    std::optional<std::uint32_t> label18Color;
};

PanelCaptions panelCaptions(const station::WeatherReading &r);

} // namespace cycle
