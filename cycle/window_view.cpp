// Every caption, colour and look of the main window after a tick.
#include "cycle/window_view.h"

#include "station/numbers.h"

namespace cycle {
namespace {

using numbers::numberText;

const char *const kInternalError = "Errore interno di programma";
// What Heavy Weather shows for a sensor it has no value of; a value has a
// blank before it as a number has.
const char *const kMissing = "---";
const char *const kMissingValue = " ---";

std::string tendencyText(station::Tendency tendency) {
    switch (tendency) {
    case station::Tendency::Steady:
        return "pressione costante";
    case station::Tendency::Rising:
        return "pressione in aumento";
    case station::Tendency::Falling:
        return "pressione in diminuzione";
    case station::Tendency::Missing:
        return kMissing;
    default:
        return {}; // no tendency, or a code the station never sends
    }
}

std::string heading(const station::ClockTime &t) {
    return "Situazione meteo di    " + numbers::zeroPadded(t.day, 2) + " " + station::monthNameIt(t.month) + " " +
           numbers::zeroPadded(t.year, 4) + "  alle ore " + numbers::zeroPadded(t.hour, 2) + ":" +
           numbers::zeroPadded(t.minute, 2);
}

void addReading(WindowView &v, const TickOutcome &o) {
    const station::WeatherReading &r = o.reading;
    auto add = [&](const char *name, std::string text) { v.captions.emplace_back(name, std::move(text)); };
    // A sensor the file marks as missing shows as Heavy Weather shows it.
    auto value = [&](const char *name, const char *prefix, const station::Value &x, const char *unit) {
        add(name, x ? prefix + numberText(*x) + unit : prefix + std::string(kMissingValue));
    };
    add("Label2", heading(r.time));
    add("Label5", "Tendenza:  " + tendencyText(r.tendency));
    value("Label6", "T ext:  ", r.outdoorTemperature, " °C");
    value("Label7", "Hrel ext:  ", r.outdoorHumidity, " %");
    value("Label8", "Dewpoint:  ", r.dewPoint, " °C");
    value("Label9", "Windchill:  ", r.windChill, " °C");
    value("Label10", "Vento:  ", r.windSpeed, " km/h");
    value("Label11", "Direzione:  ", r.windDirection, " °");
    value("Label13", "Totali:  ", r.rainTotal, " mm");
    value("Label14", "24 H [mm]:  ", r.rain24h, " mm");
    value("Label15", "1 H [mm]:  ", r.rain1h, " mm");
    add("Label17", "Allarme temporale:  ");
    switch (r.stormAlarm) {
    case station::StormAlarm::Fault:
        add("Label18", "* GUASTO *");
        v.colours.emplace_back("Label18", Colour::Red);
        break;
    case station::StormAlarm::Off:
        add("Label18", "non attivo");
        v.colours.emplace_back("Label18", Colour::Black);
        break;
    case station::StormAlarm::Active:
        add("Label18", "** ATTIVO **");
        v.colours.emplace_back("Label18", Colour::Red);
        break;
    case station::StormAlarm::Other:
        add("Label18", "");
        break;
    case station::StormAlarm::Missing:
        add("Label18", kMissing);
        v.colours.emplace_back("Label18", Colour::Black);
        break;
    }
    // Two blanks, then the number with its own leading blank.
    if (o.pressure == settings::PressureChoice::Relative)
        value("Label16", "Pressione rel.:  ", r.pressureRelative, " hPa");
    else
        value("Label16", "Pressione ass.:  ", r.pressureAbsolute, " hPa");
    add("Label4", "Condizioni attuali:  " + o.localSituation);
    // A code the file marks as missing is a sensor gone, as Heavy Weather
    // shows it; a code that names nothing is a reading that cannot be trusted.
    const bool codeMissing =
        r.forecast == station::Forecast::Missing || r.tendency == station::Tendency::Missing;
    const bool untrusted = !o.forecast && !codeMissing;
    add("Label19", untrusted ? kInternalError : "Previsione:  " + o.forecast.value_or(kMissing));
    v.text1 = o.text1;
    v.text1Written = o.text1Written;
    v.stale = o.stale;

    // Without a forecast the codes cannot be trusted, and the alerts line
    // says so instead of a warning that may rest on the same bad reading.
    const aprs::Alerts &a = o.alerts;
    if (untrusted)
        add("Label29", kInternalError);
    else if (a.fogRisk && a.iceRisk)
        add("Label29", "*** Condizioni favorevoli alla formazione di foschia o nebbia - Possibilità di ghiaccio ***");
    else if (a.fogRisk)
        add("Label29", "*** Condizioni favorevoli alla formazione di foschia o nebbia ***");
    else if (a.iceRisk)
        add("Label29", "*** Condizioni favorevoli alla formazione di ghiaccio ***");
    else
        add("Label29", "Nessuna segnalazione attiva");
    v.colours.emplace_back("Label29", untrusted || a.fogRisk || a.iceRisk ? Colour::Red : Colour::Black);

    const auto &x = o.records.shown;
    // An extreme with no valid reading yet, or of a day whose store cannot
    // be read, is unknown, not 0.
    auto extreme = [&](const char *name, const char *prefix, const station::Value &number, const char *unit) {
        add(name, number ? prefix + numberText(*number) + unit : prefix + std::string(kMissingValue));
    };
    extreme("Label24", "T ext MAX = ", x ? x->temperatureMax : std::nullopt, " °C");
    extreme("Label25", "T ext min = ", x ? x->temperatureMin : std::nullopt, " °C");
    extreme("Label26", "Press. MAX = ", x ? station::Value(x->pressureMax) : std::nullopt, " hPa");
    extreme("Label27", "Press. min = ", x ? station::Value(x->pressureMin) : std::nullopt, " hPa");
    v.shapes = o.records.shapes;
}

} // namespace

WindowView windowView(const TickOutcome &o) {
    WindowView v;
    v.intervalMs = o.nextTickMs;
    switch (o.gate) {
    case Gate::NoFolder:
        // What an earlier tick found no longer holds: nothing is converted.
        v.status.folder = o.problems;
        v.status.tick.emplace();
        break;
    case Gate::Missing:
        // The last readings and problems stay, greyed, once it is said.
        v.status.folder = o.problems;
        v.currdatMissing = !o.problems.empty();
        break;
    case Gate::Converted:
        addReading(v, o);
        [[fallthrough]];
    case Gate::Unreadable:
        v.status.tick = o.problems;
        break;
    }
    return v;
}

} // namespace cycle
