// What the window shows of a reading, of the station's codes and of missing
// sensors.
#include <gtest/gtest.h>

#include <map>

#include "aprs/descriptions.h"
#include "cycle/window_view.h"
#include "station/reading.h"
#include "support/currdat.h"
#include "support/test_support.h"

using cycle::Colour;
using testing_support::CurrdatValues;

namespace {

struct Shown {
    std::map<std::string, std::string> captions;
    std::map<std::string, Colour> colours;
    cycle::TickOutcome outcome;
};

// The window's captions and colours, by objectName, for a tick that read `v`.
Shown shown(const CurrdatValues &v, std::optional<records::DailyExtremes> extremes = std::nullopt) {
    Shown s;
    s.outcome.gate = cycle::Gate::Converted;
    const auto r = station::parseCurrentData(testing_support::currdatFile(v), {2026, 3, 5, 9, 7});
    EXPECT_TRUE(r.has_value());
    s.outcome.reading = r.value_or(station::WeatherReading{});
    s.outcome.forecast = aprs::forecast(s.outcome.reading);
    s.outcome.alerts = aprs::evaluateAlerts(s.outcome.reading);
    s.outcome.records.shown = extremes;
    const auto view = cycle::windowView(s.outcome);
    for (const auto &[role, text] : view.captions)
        s.captions[cycle::objectName(role)] = text;
    for (const auto &[role, colour] : view.colours)
        s.colours[cycle::objectName(role)] = colour;
    return s;
}

} // namespace

// Each value of a reading in its own caption, each value distinct so that
// one shown in another's place is seen; no extremes known: "---".
TEST(WindowView, EachValueInItsCaption) {
    CurrdatValues v;
    v.outdoorC = "-3.5";
    v.windChillC = "-7";
    v.rain1hMm = ".4";
    const auto s = shown(v).captions;
    const std::map<std::string, std::string> want = {
        {"Label6", "T ext:  -3.5 \u00b0C"},  {"Label7", "Hrel ext:   84 %"},     {"Label8", "Dewpoint:   10.2 \u00b0C"},
        {"Label9", "Windchill:  -7 \u00b0C"}, {"Label10", "Vento:   12.2 km/h"},  {"Label11", "Direzione:   270 \u00b0"},
        {"Label13", "Totali:   123.4 mm"},   {"Label14", "24 H [mm]:   3.1 mm"}, {"Label15", "1 H [mm]:   .4 mm"},
        {"Label16", "Pressione ass.:   936 hPa"}, {"Label27", "Press. min =  ---"}};
    for (const auto &[name, text] : want)
        EXPECT_EQ(s.at(name), text) << name;
}

// The captions and colours that the station's codes choose, over outdoor
// sensors that the file marks as missing: those show "---" as Heavy Weather
// shows them, as does an extreme with no valid reading yet, and no warning
// rests on them. A code that names nothing leaves no forecast, and the
// alerts line says the reading cannot be trusted; a missing forecast or
// tendency code is no code 0: "---".
TEST(WindowView, TheCodesCaptionsAndColoursOverMissingSensors) {
    const std::string error = "Errore interno di programma";
    const struct { const char *forecast, *tendency, *storm, *label5, *label18; std::optional<Colour> colour18;
                   std::string label19; } codes[] = {
        {"2", "-1", "1", "Tendenza:  ", "** ATTIVO **", Colour::Red, error},
        {"0.5", "0", "0", "Tendenza:  pressione costante", "non attivo", Colour::Black, error},
        {"2", "2", "-1", "Tendenza:  pressione in diminuzione", "* GUASTO *", Colour::Red, "Previsione:  variabile"},
        {"---", "1", "---", "Tendenza:  pressione in aumento", "---", Colour::Black, "Previsione:  ---"},
        {"2", "", "0", "Tendenza:  ---", "non attivo", Colour::Black, "Previsione:  ---"}};
    for (const auto &c : codes) {
        CurrdatValues v;
        v.outdoorC = v.outdoorF = v.outdoorHumidity = v.pressureAbsolute = "---";
        v.dewPointC = "-0.5"; // a missing temperature counted as 0 would mean fog and ice
        v.forecast = c.forecast;
        v.tendency = c.tendency;
        v.storm = c.storm;
        auto s = shown(v, records::DailyExtremes{std::nullopt, std::nullopt, 1000.25, 1013});
        const bool trusted = c.label19 != error;
        const std::map<std::string, std::string> want = {
            {"Label5", c.label5},          {"Label6", "T ext:   ---"},           {"Label7", "Hrel ext:   ---"},
            {"Label18", c.label18},        {"Label16", "Pressione ass.:   ---"}, {"Label19", c.label19},
            {"Label24", "T ext MAX =  ---"}, {"Label25", "T ext min =  ---"},     {"Label26", "Press. MAX =  1013 hPa"},
            {"Label29", trusted ? "Nessuna segnalazione attiva" : error}};
        for (const auto &[name, text] : want)
            EXPECT_EQ(s.captions[name], text) << name << " " << c.forecast << "/" << c.tendency << "/" << c.storm;
        EXPECT_EQ(s.colours.count("Label18") ? std::optional(s.colours["Label18"]) : std::nullopt, c.colour18);
        EXPECT_EQ(s.colours["Label29"], trusted ? Colour::Black : Colour::Red);
    }
}
