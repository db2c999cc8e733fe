// Every caption, colour and look of the main window after a tick.
#include "cycle/window_view.h"

#include "station/numbers.h"

namespace cycle {
namespace {

using station::numberText;

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
    return roleInfo(Role::Heading).prefix + station::zeroPadded(t.day, 2) + " " + station::monthNameIt(t.month) + " " +
           station::zeroPadded(t.year, 4) + "  alle ore " + station::zeroPadded(t.hour, 2) + ":" +
           station::zeroPadded(t.minute, 2);
}

void addReading(WindowView &v, const TickOutcome &o) {
    const station::WeatherReading &r = o.reading;
    auto add = [&](Role role, std::string text) { v.captions.emplace_back(role, std::move(text)); };
    auto prefixed = [&](Role role, const std::string &text) { add(role, roleInfo(role).prefix + text); };
    // A sensor the file marks as missing shows as Heavy Weather shows it.
    auto value = [&](Role role, const station::Value &x, const char *prefix = nullptr) {
        const RoleInfo &info = roleInfo(role);
        add(role, std::string(prefix ? prefix : info.prefix) +
                      (x ? numberText(*x) + info.unit : std::string(kMissingValue)));
    };
    add(Role::Heading, heading(r.time));
    prefixed(Role::Tendency, tendencyText(r.tendency));
    value(Role::OutdoorTemperature, r.outdoorTemperature);
    value(Role::OutdoorHumidity, r.outdoorHumidity);
    value(Role::DewPoint, r.dewPoint);
    value(Role::WindChill, r.windChill);
    value(Role::WindSpeed, r.windSpeed);
    value(Role::WindDirection, r.windDirection);
    value(Role::RainTotal, r.rainTotal);
    value(Role::Rain24h, r.rain24h);
    value(Role::Rain1h, r.rain1h);
    prefixed(Role::StormAlarmCaption, "");
    auto alarm = [&](const char *text, std::optional<Colour> colour) {
        add(Role::StormAlarm, text);
        if (colour)
            v.colours.emplace_back(Role::StormAlarm, *colour);
    };
    switch (r.stormAlarm) {
    case station::StormAlarm::Fault:
        alarm("* GUASTO *", Colour::Red);
        break;
    case station::StormAlarm::Off:
        alarm("non attivo", Colour::Black);
        break;
    case station::StormAlarm::Active:
        alarm("** ATTIVO **", Colour::Red);
        break;
    case station::StormAlarm::Other:
        alarm("", std::nullopt);
        break;
    case station::StormAlarm::Missing:
        alarm(kMissing, Colour::Black);
        break;
    }
    // Two blanks, then the number with its own leading blank.
    if (o.pressure == settings::PressureChoice::Relative)
        value(Role::Pressure, r.pressureRelative, kRelativePressurePrefix);
    else
        value(Role::Pressure, r.pressureAbsolute);
    prefixed(Role::Situation, o.localSituation);
    // A code the file marks as missing is a sensor gone, as Heavy Weather
    // shows it; a code that names nothing is a reading that cannot be trusted.
    const bool codeMissing =
        r.forecast == station::Forecast::Missing || r.tendency == station::Tendency::Missing;
    const bool untrusted = !o.forecast && !codeMissing;
    if (untrusted)
        add(Role::Forecast, kInternalError);
    else
        prefixed(Role::Forecast, o.forecast.value_or(kMissing));
    v.text1 = o.text1;
    v.text1Written = o.text1Written;
    v.stale = o.stale;

    // Without a forecast the codes cannot be trusted, and the alerts line
    // says so instead of a warning that may rest on the same bad reading.
    const aprs::Alerts &a = o.alerts;
    if (untrusted)
        add(Role::Alerts, kInternalError);
    else if (a.fogRisk && a.iceRisk)
        add(Role::Alerts, "*** Condizioni favorevoli alla formazione di foschia o nebbia - Possibilità di ghiaccio ***");
    else if (a.fogRisk)
        add(Role::Alerts, "*** Condizioni favorevoli alla formazione di foschia o nebbia ***");
    else if (a.iceRisk)
        add(Role::Alerts, "*** Condizioni favorevoli alla formazione di ghiaccio ***");
    else
        add(Role::Alerts, "Nessuna segnalazione attiva");
    v.colours.emplace_back(Role::Alerts, untrusted || a.fogRisk || a.iceRisk ? Colour::Red : Colour::Black);

    // An extreme with no valid reading yet, or of a day whose store cannot
    // be read, is unknown, not 0.
    const auto &x = o.records.shown;
    value(Role::TemperatureMax, x ? x->temperatureMax : std::nullopt);
    value(Role::TemperatureMin, x ? x->temperatureMin : std::nullopt);
    value(Role::PressureMax, x ? station::Value(x->pressureMax) : std::nullopt);
    value(Role::PressureMin, x ? station::Value(x->pressureMin) : std::nullopt);
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
