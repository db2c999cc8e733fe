#pragma once
// Plain-language texts derived from one reading: the forecast, the local
// situation, the comment that the APRS line carries, the fog and ice risks.
// All texts are UTF-8.

#include <optional>
#include <string>

#include "settings/config.h"
#include "station/reading.h"

namespace aprs {

// "sereno", "poco nuvoloso" ... from the forecast code and the tendency;
// nullopt when either is missing or not one the station sends (no forecast).
std::optional<std::string> forecast(const station::WeatherReading &r);

// "sereno-brezza", "pioggia-vento forte", "nuvoloso", or "". A missing rain
// leaves out the sky word ("-brezza"), a missing wind the wind word.
std::string localSituation(const station::WeatherReading &r);

struct UserMessage {
    bool enabled = false; // Check1 ticked
    std::string text;     // Text2, UTF-8
};

// The comment of the APRS line, by the order of precedence: APRS choice
// ("Prev. " and the forecast, or the local situation), user message (its
// first 20 characters), storm alarm, "***", "+++".
std::string reportComment(const station::WeatherReading &r, settings::AprsChoice choice,
                          const std::optional<std::string> &forecast, const std::string &localSituation,
                          const UserMessage &message);

struct Alerts {
    bool fogRisk = false;
    bool iceRisk = false;
};

Alerts evaluateAlerts(const station::WeatherReading &r);

} // namespace aprs
