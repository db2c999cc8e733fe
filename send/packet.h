#pragma once
// The weather report as it goes out directly: an APRS position report with
// time stamp and the weather symbol, carrying the same data line as
// my_meteo.txt; wrapped as an AX.25 UI frame in KISS framing for a TNC, or
// as a text line for APRS-IS.

#include <optional>
#include <string>
#include <vector>

#include "settings/identity.h"

namespace send {

// APRS's experimental range: no registration needed, and no other program's
// name is claimed.
inline constexpr const char *kDestination = "APZMAP";

// "4530.50N" and "00910.00E": degrees and minutes to a hundredth of a
// minute, rounded, with the minute carried into the degree at 59.995.
std::string aprsLatitude(double degrees);
std::string aprsLongitude(double degrees);
// "4530.50N/00910.00E"
std::string aprsPosition(const settings::Position &p);

struct UtcTime {
    int day = 1; // 1..31
    int hour = 0;
    int minute = 0;
};

struct Report {
    settings::Callsign source;
    settings::Position position;
    std::vector<settings::Callsign> path;
    UtcTime time;
    // The second line of my_meteo.txt, as its CP1252 bytes:
    // "270/012g...t054p000r000b10132h65/sereno-brezza/WS3600/113W".
    std::string dataLine;
};

// "@061123z4530.00N/00910.00E_" followed by the data line. nullopt when the
// data line holds a control byte (a CR or LF would end an APRS-IS line) or
// the field would pass APRS's 256 bytes.
std::optional<std::string> infoField(const Report &report);

// Address, control 0x03 (UI), PID 0xF0 (no layer 3), information; without
// the frame check sequence, which the TNC adds.
std::optional<std::string> ax25Frame(const Report &report);

// FEND, port 0 data frame, the frame with FEND and FESC escaped, FEND.
std::string kissFrame(const std::string &ax25);

// "user IZ1ABC-13 pass 12345 vers meteo-aprs 1.1.3\r\n"; an empty passcode
// logs in unverified (-1).
std::string aprsIsLogin(const settings::Callsign &call, const std::string &passcode, const std::string &version);

// "IZ1ABC-13>APZMAP,TCPIP*:@061123z...\r\n"
std::optional<std::string> aprsIsLine(const Report &report);

} // namespace send
