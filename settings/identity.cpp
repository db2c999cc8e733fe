// The station's callsign, position and path, read and written as APRS wants them.
#include "settings/identity.h"

#include <cmath>
#include <cstdlib>

namespace settings {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The six decimals of a degree, leading zeros kept.
std::string sixDigits(long value) {
    std::string text = std::to_string(value);
    return std::string(6 - text.size(), '0') + text;
}

} // namespace

std::string trimmed(const std::string &s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::optional<Callsign> parseCallsign(const std::string &text) {
    const std::string t = trimmed(text);
    const auto dash = t.find('-');
    Callsign call;
    call.base = t.substr(0, dash);
    if (call.base.empty() || call.base.size() > 6)
        return std::nullopt;
    for (char &c : call.base) {
        if (!isDigit(c) && !isLetter(c))
            return std::nullopt;
        c = upper(c);
    }
    if (dash != std::string::npos) {
        const std::string ssid = t.substr(dash + 1);
        if (ssid.empty() || ssid.size() > 2 || !isDigit(ssid[0]) || (ssid.size() == 2 && !isDigit(ssid[1])))
            return std::nullopt;
        call.ssid = std::atoi(ssid.c_str());
        if (call.ssid > 15)
            return std::nullopt;
    }
    return call;
}

std::string callsignText(const Callsign &call) {
    return call.ssid == 0 ? call.base : call.base + "-" + std::to_string(call.ssid);
}

bool isCwop(const Callsign &call) {
    const std::string &b = call.base;
    return call.ssid == 0 && b.size() == 6 && isLetter(b[0]) && b[1] == 'W' && isDigit(b[2]) && isDigit(b[3]) &&
           isDigit(b[4]) && isDigit(b[5]);
}

std::optional<double> parseDegrees(const std::string &text) {
    const std::string t = trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+'))
        negative = t[i++] == '-';
    double value = 0;
    int digits = 0;
    for (; i < t.size() && isDigit(t[i]) && digits < 4; ++i, ++digits)
        value = value * 10 + (t[i] - '0');
    if (digits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        ++i;
        double scale = 0.1;
        int decimals = 0;
        for (; i < t.size() && isDigit(t[i]) && decimals < 9; ++i, ++decimals, scale /= 10)
            value += (t[i] - '0') * scale;
        if (decimals == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    return negative ? -value : value;
}

bool validLatitude(double degrees) { return std::isfinite(degrees) && std::fabs(degrees) <= 90.0; }
bool validLongitude(double degrees) { return std::isfinite(degrees) && std::fabs(degrees) <= 180.0; }

std::string degreesText(double degrees) {
    const long millionths = std::lround(std::fabs(degrees) * 1e6);
    const bool negative = degrees < 0 && millionths != 0;
    std::string text = (negative ? "-" : "") + std::to_string(millionths / 1000000) + "." +
                       sixDigits(millionths % 1000000);
    // As typed: 45.5083, not 45.508300; 45, not 45.000000.
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

std::optional<std::vector<Callsign>> parsePath(const std::string &text) {
    std::vector<Callsign> path;
    if (trimmed(text).empty())
        return path;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        const auto call = parseCallsign(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!call || path.size() == 8)
            return std::nullopt;
        path.push_back(*call);
        if (comma == std::string::npos)
            return path;
        start = comma + 1;
    }
}

std::string pathText(const std::vector<Callsign> &path) {
    std::string out;
    for (const auto &call : path)
        out += (out.empty() ? "" : ",") + callsignText(call);
    return out;
}

} // namespace settings
