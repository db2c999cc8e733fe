#pragma once
// Plain-language texts derived from one reading: the forecast, the local
// situation, the comment that the APRS line carries, the fog and ice alerts.
// All texts are UTF-8.

#include <cstdint>
#include <string>

#include "station/reading.h"

namespace aprs {

// Colour values in the Windows convention 0x00BBGGRR.
inline constexpr std::uint32_t kRed = 255;
inline constexpr std::uint32_t kBlack = 0;

inline constexpr const char *kInternalError = "Errore interno di programma";

// "Prev. sereno" ... from the forecast code and the tendency; "" otherwise.
std::string forecastText(const station::WeatherReading &r);

// "sereno-brezza", "pioggia-vento forte", "nuvoloso", or "".
std::string localSituation(const station::WeatherReading &r);

// Label4: "Condizioni attuali:  " + local situation.
std::string conditionsCaption(const std::string &localSituation);

// Label19: "Previsione:  poco nuvoloso", or the internal-error text when the
// forecast is empty.
std::string forecastCaption(const std::string &forecastText);

struct UserMessage {
    bool enabled = false; // Check1 ticked
    std::string text;     // Text2, UTF-8
};

// The comment of the APRS line, by the order of precedence: APRS choice,
// user message (its first 20 characters), storm alarm, "***", "+++".
std::string reportComment(const station::WeatherReading &r, char aprsChoice, const std::string &forecastText,
                          const std::string &localSituation, const UserMessage &message);

struct Alerts {
    bool fogRisk = false;
    bool iceRisk = false;
    std::string text;           // Label29
    std::uint32_t color = kBlack; // Label29 fore colour
};

// Fog and ice; the internal error of Label19 overrides both.
Alerts evaluateAlerts(const station::WeatherReading &r, const std::string &forecastCaption);

} // namespace aprs
