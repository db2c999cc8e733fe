#include "aprs/descriptions.h"

namespace aprs {
namespace {

// The codes are doubles read from Heavy Weather's file; only exact whole
// values 0, 1 and 2 select a row or column, anything else (-1, 0.5, NaN) none.
int codeIndex(double code) {
    if (code == 0)
        return 0;
    if (code == 1)
        return 1;
    if (code == 2)
        return 2;
    return -1;
}

// Rows: forecast code (rain, cloudy, sunny); columns: tendency (steady,
// rising, falling).
const char *const kForecasts[3][3] = {
    {"Prev. pioggia", "Prev. molto nuvoloso", "Prev. pioggia"},
    {"Prev. nuvoloso", "Prev. poco nuvoloso", "Prev. molto nuvoloso"},
    {"Prev. sereno", "Prev. sereno", "Prev. variabile"},
};

constexpr std::size_t kUserMessageLength = 20;

// The first `count` characters of UTF-8 text, counted as code points so that
// an "à" is one character and is never cut in half.
std::string firstCharacters(const std::string &text, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && seen++ == count)
            return text.substr(0, i);
    }
    return text;
}

} // namespace

std::string forecastText(const station::WeatherReading &r) {
    const int forecast = codeIndex(r.forecastCode);
    const int tendency = codeIndex(r.tendencyCode);
    if (forecast < 0 || tendency < 0)
        return {};
    return kForecasts[forecast][tendency];
}

std::string localSituation(const station::WeatherReading &r) {
    const char *dry;
    if (r.forecastCode == 2)
        dry = "sereno";
    else if (r.forecastCode == 0 || r.forecastCode == 1)
        dry = "nuvoloso";
    else
        return {};

    std::string text;
    const double rain = r.rain1h;
    if (rain == 0)
        text = dry;
    else if (rain > 0 && rain < 3)
        text = "pioviggine";
    else if (rain >= 3 && rain < 15)
        text = "pioggia";
    else if (rain >= 15)
        text = "pioggia intensa";
    // A negative rain names no sky; the wind is still told.

    const double wind = r.windSpeed;
    if (wind > 0 && wind < 7.5)
        text += "-brezza";
    else if (wind >= 7.5 && wind < 15)
        text += "-vento";
    else if (wind >= 15)
        text += "-vento forte";
    return text;
}

std::string conditionsCaption(const std::string &localSituation) {
    return "Condizioni attuali:  " + localSituation;
}

std::string forecastCaption(const std::string &forecastText) {
    if (forecastText.compare(0, 4, "Prev") != 0)
        return kInternalError;
    const std::string rest = forecastText.size() > 6 ? forecastText.substr(6) : std::string();
    return "Previsione:  " + rest;
}

std::string reportComment(const station::WeatherReading &r, char aprsChoice, const std::string &forecastText,
                          const std::string &localSituation, const UserMessage &message) {
    // Later rules override earlier ones: a missing tendency outranks all.
    std::string comment = localSituation;
    if (aprsChoice == '3')
        comment.clear();
    else if (aprsChoice != '2')
        comment = forecastText;
    if (message.enabled && !message.text.empty())
        comment = firstCharacters(message.text, kUserMessageLength);
    if (r.stormAlarmCode == 1)
        comment = " ALLARME TEMPORALE";
    if (r.forecastCode == -1)
        comment = "***";
    if (r.tendencyCode == -1)
        comment = "+++";
    return comment;
}

Alerts evaluateAlerts(const station::WeatherReading &r, const std::string &forecastCaption) {
    Alerts alerts;
    const double humidity = r.outdoorHumidity;
    const double spread = r.outdoorTemperature - r.dewPoint;
    // Wind mixes the air: fog is only looked for in a calm.
    if (r.windSpeed < 1) {
        const bool ruleA = humidity > 80 && spread < 4;
        const bool ruleB = humidity >= 75 && humidity <= 80 && spread < 3.5;
        const bool ruleC = humidity < 75 && spread < 3;
        alerts.fogRisk = ruleA || ruleB || ruleC;
    }
    alerts.iceRisk = r.outdoorTemperature < 1;

    if (alerts.fogRisk && alerts.iceRisk)
        alerts.text = "*** Condizioni favorevoli alla formazione di foschia o nebbia - Possibilità di ghiaccio ***";
    else if (alerts.fogRisk)
        alerts.text = "*** Condizioni favorevoli alla formazione di foschia o nebbia ***";
    else if (alerts.iceRisk)
        alerts.text = "*** Condizioni favorevoli alla formazione di ghiaccio ***";
    else
        alerts.text = "Nessuna segnalazione attiva";
    alerts.color = alerts.fogRisk || alerts.iceRisk ? kRed : kBlack;

    // Without a forecast the codes cannot be trusted, and the alerts line
    // says so instead of a warning that may rest on the same bad reading.
    if (forecastCaption == kInternalError) {
        alerts.text = kInternalError;
        alerts.color = kRed;
    }
    return alerts;
}

} // namespace aprs
