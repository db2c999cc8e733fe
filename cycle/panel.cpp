#include "cycle/panel.h"

#include "station/numbers.h"

namespace cycle {
namespace {

constexpr std::uint32_t kRed = 255;
constexpr std::uint32_t kBlack = 0;

std::string valueCaption(const char *prefix, double value, const char *unit) {
    return prefix + numbers::numberText(value) + unit;
}

std::string tendencyText(double code) {
    if (code == 0)
        return "pressione costante";
    if (code == 1)
        return "pressione in aumento";
    if (code == 2)
        return "pressione in diminuzione";
    return {}; // -1 (no tendency) and codes the station never sends
}

} // namespace

PanelCaptions panelCaptions(const station::WeatherReading &r) {
    PanelCaptions p;
    p.label2 = "Situazione meteo di    " + r.day + " " + r.monthNameIt + " " + r.year + "  alle ore " + r.hour +
               ":" + r.minute;
    p.label5 = "Tendenza:  " + tendencyText(r.tendencyCode);
    p.label6 = valueCaption("T ext:  ", r.outdoorTemperature, " °C");
    p.label7 = valueCaption("Hrel ext:  ", r.outdoorHumidity, " %");
    p.label8 = valueCaption("Dewpoint:  ", r.dewPoint, " °C");
    p.label9 = valueCaption("Windchill:  ", r.windChill, " °C");
    p.label10 = valueCaption("Vento:  ", r.windSpeed, " km/h");
    p.label11 = valueCaption("Direzione:  ", r.windDirection, " °");
    p.label13 = valueCaption("Totali:  ", r.rainTotal, " mm");
    p.label14 = valueCaption("24 H [mm]:  ", r.rain24h, " mm");
    p.label15 = valueCaption("1 H [mm]:  ", r.rain1h, " mm");
    p.label17 = "Allarme temporale:  ";
    if (r.stormAlarmCode == -1) {
        p.label18 = "* GUASTO *";
        p.label18Color = kRed;
    } else if (r.stormAlarmCode == 0) {
        p.label18 = "non attivo";
        p.label18Color = kBlack;
    } else if (r.stormAlarmCode == 1) {
        p.label18 = "** ATTIVO **";
        p.label18Color = kRed;
    }
    return p;
}

} // namespace cycle
