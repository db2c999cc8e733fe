// The weather texts and alerts at the bounds of their rules, the comment's
// precedence, the APRS fields at their edges. my_meteo.txt's bytes with any
// comment: fuzz_currdat; with an accented folder: test_windows.cpp.
#include <gtest/gtest.h>

#include <cmath>

#include "aprs/aprs_fields.h"
#include "aprs/descriptions.h"
#include "model/model.h"

using station::Forecast;
using station::StormAlarm;
using station::Tendency;
using station::WeatherReading;

namespace {

WeatherReading codes(Forecast forecast, Tendency tendency, StormAlarm storm = StormAlarm::Off) {
    WeatherReading r;
    r.forecast = forecast;
    r.tendency = tendency;
    r.stormAlarm = storm;
    return r;
}

} // namespace

// Every cell of the table, and the codes that name no forecast.
TEST(Descriptions, ForecastFromTheTableOrNone) {
    for (int f = 0; f < 3; ++f)
        for (int t = 0; t < 3; ++t)
            EXPECT_EQ(aprs::forecast(codes(Forecast(f), Tendency(t))).value_or("none"), model::kForecastCells[f][t]);
    for (const auto &[f, t] : {std::pair(Forecast::NotGiven, Tendency::Steady), {Forecast::Sunny, Tendency::NotGiven},
                               {Forecast::Other, Tendency::Steady}, {Forecast::Cloudy, Tendency::Other},
                               {Forecast::Missing, Tendency::Rising}, {Forecast::Sunny, Tendency::Missing}})
        EXPECT_FALSE(aprs::forecast(codes(f, t)));
}

// The bounds of the rules, then missing sensors: they leave out the words
// that rest on them, and no warning rests on them.
TEST(Descriptions, LocalSituationAndAlertsAtTheirBounds) {
    for (const auto &c : model::kSituationBounds) {
        auto r = codes(Forecast(c.forecast), Tendency::Steady);
        r.rain1h = c.rain1h;
        r.windSpeed = c.wind;
        EXPECT_EQ(aprs::localSituation(r), c.text) << c.rain1h << " " << c.wind;
    }
    const auto none = std::nullopt;
    const struct { Forecast forecast; station::Value rain, wind; const char *text; } missing[] = {
        {Forecast::NotGiven, 20, 20, ""}, {Forecast::Other, 0, 4, ""}, {Forecast::Sunny, none, 4, "-brezza"},
        {Forecast::Cloudy, 5.2, none, "pioggia"}, {Forecast::Missing, 0, 4, "-brezza"}};
    for (const auto &c : missing) {
        auto r = codes(c.forecast, Tendency::Steady);
        r.rain1h = c.rain;
        r.windSpeed = c.wind;
        EXPECT_EQ(aprs::localSituation(r), c.text);
    }
    for (const auto &c : model::kAlertBounds) {
        WeatherReading r;
        r.windSpeed = c.wind;
        r.outdoorHumidity = c.humidity;
        r.outdoorTemperature = c.temperature;
        r.dewPoint = c.dewPoint;
        const auto a = aprs::evaluateAlerts(r);
        EXPECT_EQ(std::pair(a.fogRisk, a.iceRisk), std::pair(c.fog, c.ice))
            << c.wind << " " << c.humidity << " " << c.temperature << " " << c.dewPoint;
        r.outdoorTemperature.reset();
        EXPECT_FALSE(aprs::evaluateAlerts(r).fogRisk || aprs::evaluateAlerts(r).iceRisk);
    }
}

// Edges and rounding; ordinary values are read back from every line that
// the fuzz target over currdat.lst and the soak send.
TEST(AprsFields, AtTheirEdges) {
    using namespace aprs;
    const struct { std::string got, want; } table[] = {
        {temperatureField(70.5), "070"},  {temperatureField(-0.5), "000"}, {temperatureField(-12.9), "-12"},
        {temperatureField(-150), "-99"},  {temperatureField(1500), "999"}, {wholeField(-3), "000"},
        {wholeField(5000), "999"},        {wholeField(359.9), "359"},      {humidityField(100), "00"},
        {humidityField(0), ".."},         {humidityField(0.4), ".."},      {humidityField(1), "01"},
        {humidityField(99.6), "99"},      {humidityField(std::nan("")), ".."},
        {rainField(0.125), "013"},        {rainField(0.124), "012"},       {rainField(12.5), "999"},
        {rainField(0.005), "001"},        {rainField(0.29), "029"},        {pressureField(0), "00000"},
        {pressureField(1013.29), "10132"}, {pressureField(998.7), "09987"}, {pressureField(1e20), "99999"},
        {pressureField(std::nullopt), "....."},
    };
    for (const auto &row : table)
        EXPECT_EQ(row.got, row.want);
}

// Later rules override earlier ones: APRS choice, user message, storm alarm, "***", "+++".
TEST(Descriptions, CommentOrderOfPrecedence) {
    using A = settings::AprsChoice;
    const auto sunny = Forecast::Sunny, none = Forecast::NotGiven;
    const auto off = StormAlarm::Off, on = StormAlarm::Active;
    const struct { A choice; bool ticked; std::string message; StormAlarm storm; Forecast forecast; std::string want;
                   Tendency tendency = Tendency::Steady; }
    cases[] = {
        {A::Forecast, false, "ciao", off, sunny, "Prev. sereno"}, {A::NoWeather, true, "", off, sunny, ""},
        {A::LocalSituation, false, "ciao", off, sunny, "sereno-brezza"}, {A::NoWeather, false, "", off, sunny, ""},
        {A::LocalSituation, false, "", StormAlarm::Other, sunny, "sereno-brezza"},
        {A::NoWeather, true, "abcdefghijklmnopqrstuvwxy", off, sunny, "abcdefghijklmnopqrst"},
        {A::LocalSituation, true, "\xc3\xa0" + std::string(21, 'x'), off, sunny, "\xc3\xa0" + std::string(19, 'x')},
        {A::Forecast, true, "ciao", on, sunny, " ALLARME TEMPORALE"}, {A::Forecast, true, "ciao", on, none, "***"},
        {A::Forecast, true, "ciao", on, none, "+++", Tendency::NotGiven},
    };
    for (const auto &c : cases)
        EXPECT_EQ(aprs::reportComment(codes(c.forecast, c.tendency, c.storm), c.choice, "sereno", "sereno-brezza",
                                      {c.ticked, c.message}), c.want)
            << static_cast<int>(c.choice) << " " << c.ticked << " '" << c.message << "'";
}
