#pragma once
// The station as APRS names and places it: callsign with SSID, position,
// digipeater path, as the settings hold and check them. Texts typed by the
// user are read here without the regional settings (a "," is taken as a
// decimal point as well as a ".").

#include <optional>
#include <string>
#include <vector>

namespace settings {

// Without the blanks and tabs around it: what the user meant to type.
std::string trimmed(const std::string &text);

struct Callsign {
    std::string base; // 1 to 6 capital letters or digits
    int ssid = 0;     // 0..15
};

// "iz1abc-13" reads as IZ1ABC, SSID 13; "IZ1ABC" and "IZ1ABC-0" as SSID 0.
std::optional<Callsign> parseCallsign(const std::string &text);
// "IZ1ABC-13", "IZ1ABC" for SSID 0.
std::string callsignText(const Callsign &call);
// A Citizen Weather Observer Program station ("CW1234", "DW1234"): a letter,
// "W" and four digits, no SSID. It has no licence and no passcode, and
// APRS-IS takes its reports unverified.
bool isCwop(const Callsign &call);

// Degrees, north and east positive.
struct Position {
    double latitude = 0;
    double longitude = 0;
};

// Decimal degrees: optional sign, digits, optional "." or "," and decimals.
std::optional<double> parseDegrees(const std::string &text);
bool validLatitude(double degrees);
bool validLongitude(double degrees);
// "45.5083": as typed, at most six decimals, for the settings file.
std::string degreesText(double degrees);

// "WIDE2-1" or "WIDE1-1,WIDE2-1": up to 8 digipeaters, commas between them,
// blanks around them ignored; an empty text is no path at all.
std::optional<std::vector<Callsign>> parsePath(const std::string &text);
std::string pathText(const std::vector<Callsign> &path);

} // namespace settings
