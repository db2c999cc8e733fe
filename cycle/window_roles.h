#pragma once
// The main window described once: each control's role, the object name the
// original window gave it (the window's tests and its users' habits rest on
// those names), its caption at rest, the prefix and unit a tick writes round
// the value, and the widest value it can show, from which the layout sizes
// its column. A caption or its width changes here and nowhere else.

#include <cstddef>
#include <string>

namespace cycle {

// Label1..Label32 in order, then the other controls.
enum class Role {
    Title, Heading, Release, Situation, Tendency, OutdoorTemperature, OutdoorHumidity, DewPoint, WindChill, WindSpeed,
    WindDirection, ConditionsPanel, RainTotal, Rain24h, Rain1h, Pressure, StormAlarmCaption, StormAlarm, Forecast,
    AprsPanel, OutdoorPanel, RainPanel, ExtremesPanel, TemperatureMax, TemperatureMin, PressureMax, PressureMin,
    AlertsPanel, Alerts, MessagePanel, MessageEnable, MessageLabel,
    AprsLines, UserMessage, MessageCheck, Exit,
};
inline constexpr std::size_t kLabelRoles = static_cast<std::size_t>(Role::MessageLabel) + 1;
inline constexpr std::size_t kRoles = static_cast<std::size_t>(Role::Exit) + 1;

struct RoleInfo {
    Role role;
    const char *objectName;
    const char *atRest; // nullptr: the control is left as it is
    const char *prefix; // before the value a tick writes
    const char *unit;   // after it
    const char *widest; // the widest value, for the layout; nullptr: not sized by it
};

// The pressure's caption says which pressure it shows.
inline constexpr const char *kRelativePressurePrefix = "Pressione rel.:  ";

inline constexpr RoleInfo kWindowRoles[kRoles] = {
    {Role::Title, "Label1", "Conversione dati da stazione meteorologica WS3600 a UI-View", "", "", nullptr},
    {Role::Heading, "Label2", "Lettura dati meteo in corso ...", "Situazione meteo di    ", "", nullptr},
    {Role::Release, "Label3", nullptr, "Rel. ", " - programma per radioamatori", nullptr},
    // The longest local situation.
    {Role::Situation, "Label4", "Condizioni attuali:", "Condizioni attuali:  ", "", "pioggia intensa-vento forte"},
    {Role::Tendency, "Label5", "Tendenza:", "Tendenza:  ", "", nullptr},
    {Role::OutdoorTemperature, "Label6", "T ext:", "T ext:  ", " °C", nullptr},
    {Role::OutdoorHumidity, "Label7", "Hrel ext:", "Hrel ext:  ", " %", nullptr},
    {Role::DewPoint, "Label8", "Dewpoint:", "Dewpoint:  ", " °C", nullptr},
    {Role::WindChill, "Label9", "Windchill:", "Windchill:  ", " °C", "-28.8"},
    {Role::WindSpeed, "Label10", "Vento:", "Vento:  ", " km/h", " 112.7"},
    {Role::WindDirection, "Label11", "Direzione:", "Direzione:  ", " °", nullptr},
    {Role::ConditionsPanel, "Label12", "Condizioni e previsioni", "", "", nullptr},
    {Role::RainTotal, "Label13", "Totali:", "Totali:  ", " mm", nullptr},
    {Role::Rain24h, "Label14", "24H:", "24 H [mm]:  ", " mm", " 1234.5"},
    {Role::Rain1h, "Label15", "1H:", "1 H [mm]:  ", " mm", nullptr},
    {Role::Pressure, "Label16", "Pressione:", "Pressione ass.:  ", " hPa", nullptr},
    {Role::StormAlarmCaption, "Label17", "Allarme temporale:", "Allarme temporale:  ", "", nullptr},
    {Role::StormAlarm, "Label18", "", "", "", nullptr},
    {Role::Forecast, "Label19", "", "Previsione:  ", "", nullptr},
    {Role::AprsPanel, "Label20", "Stringa APRS", "", "", nullptr},
    {Role::OutdoorPanel, "Label21", "Valori esterni", "", "", nullptr},
    {Role::RainPanel, "Label22", "Precipitazioni", "", "", nullptr},
    {Role::ExtremesPanel, "Label23", "Valori minimi e massimi odierni", "", "", nullptr},
    {Role::TemperatureMax, "Label24", "", "T ext MAX = ", " °C", nullptr},
    {Role::TemperatureMin, "Label25", "", "T ext min = ", " °C", nullptr},
    {Role::PressureMax, "Label26", "", "Press. MAX = ", " hPa", " 1013.2"},
    {Role::PressureMin, "Label27", "", "Press. min = ", " hPa", nullptr},
    {Role::AlertsPanel, "Label28", "Segnalazioni", "", "", nullptr},
    {Role::Alerts, "Label29", "", "", "", nullptr},
    {Role::MessagePanel, "Label30", "Messaggio Utente", "", "", nullptr},
    {Role::MessageEnable, "Label31", "Abilita Messaggio Utente (max 20 caratteri)", "", "", nullptr},
    {Role::MessageLabel, "Label32", "Testo", "", "", nullptr},
    // The longest line of my_meteo.txt: 33 characters of values, the longest
    // comment, then the station's tail.
    {Role::AprsLines, "Text1", nullptr, "", "", "270/007g...t055p012r000b10132h84/pioggia intensa-vento forte/WS3600/113W"},
    {Role::UserMessage, "Text2", nullptr, "", "", nullptr},
    {Role::MessageCheck, "Check1", nullptr, "", "", nullptr},
    {Role::Exit, "Command1", "&ESCI", "", "", nullptr},
};

constexpr bool rolesInOrder() {
    for (std::size_t i = 0; i < kRoles; ++i)
        if (static_cast<std::size_t>(kWindowRoles[i].role) != i)
            return false;
    return true;
}
static_assert(rolesInOrder(), "kWindowRoles is indexed by Role");

constexpr const RoleInfo &roleInfo(Role role) { return kWindowRoles[static_cast<std::size_t>(role)]; }
constexpr const char *objectName(Role role) { return roleInfo(role).objectName; }

// The widest caption a tick can write there: prefix, widest value, unit.
std::string widestCaption(Role role);

} // namespace cycle
