// The forecast, the local situation, the APRS comment and the fog and ice rules.
#include "aprs/descriptions.h"

#include "io/text_codec.h"

namespace aprs {
namespace {

using station::Forecast;
using station::Tendency;

// Rows: forecast (rain, cloudy, sunny); columns: tendency (steady, rising,
// falling).
const char *const kForecasts[3][3] = {
    {"pioggia", "molto nuvoloso", "pioggia"},
    {"nuvoloso", "poco nuvoloso", "molto nuvoloso"},
    {"sereno", "sereno", "variabile"},
};

constexpr std::size_t kUserMessageLength = 20;

// The first `count` characters of UTF-8 text, counted as code points so that
// an "à" is one character and is never cut in half.
std::string firstCharacters(const std::string &text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t seen = 0; i < text.size() && seen < count; ++seen)
        i += io::sequenceLength(static_cast<unsigned char>(text[i]));
    return text.substr(0, i);
}

} // namespace

std::optional<std::string> forecast(const station::WeatherReading &r) {
    const int row = static_cast<int>(r.forecast);
    const int column = static_cast<int>(r.tendency);
    if (row > 2 || column > 2)
        return std::nullopt;
    return kForecasts[row][column];
}

std::string localSituation(const station::WeatherReading &r) {
    // The sky word of a dry hour rests on the forecast code; a missing code
    // leaves out that word alone, a code that names nothing the whole text.
    const char *dry = "";
    if (r.forecast == Forecast::Sunny)
        dry = "sereno";
    else if (r.forecast == Forecast::Rain || r.forecast == Forecast::Cloudy)
        dry = "nuvoloso";
    else if (r.forecast != Forecast::Missing)
        return {};

    // A missing sensor is no 0: the word that rests on it is left out, as a
    // negative rain names no sky while the wind is still told.
    std::string text;
    if (r.rain1h) {
        const double rain = *r.rain1h;
        if (rain == 0)
            text = dry;
        else if (rain > 0 && rain < 3)
            text = "pioviggine";
        else if (rain >= 3 && rain < 15)
            text = "pioggia";
        else if (rain >= 15)
            text = "pioggia intensa";
    }
    if (r.windSpeed) {
        const double wind = *r.windSpeed;
        if (wind > 0 && wind < 7.5)
            text += "-brezza";
        else if (wind >= 7.5 && wind < 15)
            text += "-vento";
        else if (wind >= 15)
            text += "-vento forte";
    }
    return text;
}

std::string reportComment(const station::WeatherReading &r, settings::AprsChoice choice,
                          const std::optional<std::string> &forecast, const std::string &localSituation,
                          const UserMessage &message) {
    // Later rules override earlier ones: a missing tendency outranks all.
    std::string comment;
    if (choice == settings::AprsChoice::Forecast)
        comment = forecast ? "Prev. " + *forecast : std::string();
    else if (choice == settings::AprsChoice::LocalSituation)
        comment = localSituation;
    if (message.enabled && !message.text.empty())
        comment = firstCharacters(message.text, kUserMessageLength);
    if (r.stormAlarm == station::StormAlarm::Active)
        comment = " ALLARME TEMPORALE";
    if (r.forecast == Forecast::NotGiven)
        comment = "***";
    if (r.tendency == Tendency::NotGiven)
        comment = "+++";
    return comment;
}

Alerts evaluateAlerts(const station::WeatherReading &r) {
    Alerts alerts;
    // A missing sensor is no 0: without its value a rule cannot hold, and
    // no warning rests on a value that never was.
    if (!r.outdoorTemperature)
        return alerts;
    const double temperature = *r.outdoorTemperature;
    // Wind mixes the air: fog is only looked for in a calm.
    if (r.outdoorHumidity && r.dewPoint && r.windSpeed && *r.windSpeed < 1) {
        const double humidity = *r.outdoorHumidity;
        const double spread = temperature - *r.dewPoint;
        const bool ruleA = humidity > 80 && spread < 4;
        const bool ruleB = humidity >= 75 && humidity <= 80 && spread < 3.5;
        const bool ruleC = humidity < 75 && spread < 3;
        alerts.fogRisk = ruleA || ruleB || ruleC;
    }
    alerts.iceRisk = temperature < 1;
    return alerts;
}

} // namespace aprs
