// Building the weather report's bytes for a KISS TNC and for APRS-IS.
#include "send/packet.h"

#include <cmath>

#include "station/numbers.h"

namespace send {
namespace {

constexpr char kFend = '\xC0', kFesc = '\xDB', kTfend = '\xDC', kTfesc = '\xDD';
constexpr std::size_t kMaxInfo = 256;

// Six characters shifted left by one bit, blank-padded, then the SSID byte:
// bits 0110 (reserved bits set) above the SSID, `high` as the C or H bit,
// and the end-of-address bit on the last one.
std::string address(const settings::Callsign &call, bool high, bool last) {
    std::string out;
    for (std::size_t i = 0; i < 6; ++i)
        out += static_cast<char>((i < call.base.size() ? call.base[i] : ' ') << 1);
    const int ssid = 0x60 | (call.ssid << 1) | (high ? 0x80 : 0) | (last ? 0x01 : 0);
    out += static_cast<char>(ssid);
    return out;
}

// Degrees and hundredths of a minute, whole numbers, so that 59.996' can
// never print as "60.00".
std::string degreesMinutes(double degrees, std::size_t degreeWidth, char positive, char negative) {
    const long hundredths = std::lround(std::fabs(degrees) * 6000.0);
    const long whole = hundredths / 6000, rest = hundredths % 6000;
    return station::zeroPadded(whole, degreeWidth) + station::zeroPadded(rest / 100, 2) + "." +
           station::zeroPadded(rest % 100, 2) +
           (degrees < 0 && hundredths != 0 ? negative : positive);
}

} // namespace

std::string aprsLatitude(double degrees) { return degreesMinutes(degrees, 2, 'N', 'S'); }
std::string aprsLongitude(double degrees) { return degreesMinutes(degrees, 3, 'E', 'W'); }
std::string aprsPosition(const settings::Position &p) {
    return aprsLatitude(p.latitude) + "/" + aprsLongitude(p.longitude);
}

std::optional<std::string> infoField(const Report &report) {
    for (unsigned char c : report.dataLine)
        if (c < 0x20 || c == 0x7F)
            return std::nullopt;
    const UtcTime &t = report.time;
    std::string info = "@" + station::zeroPadded(t.day, 2) + station::zeroPadded(t.hour, 2) +
                       station::zeroPadded(t.minute, 2) + "z" + aprsLatitude(report.position.latitude) +
                       "/" + aprsLongitude(report.position.longitude) + "_" + report.dataLine;
    if (info.size() > kMaxInfo)
        return std::nullopt;
    return info;
}

std::optional<std::string> ax25Frame(const Report &report) {
    const auto info = infoField(report);
    if (!info)
        return std::nullopt;
    // A command frame: C bit set in the destination, clear in the source.
    // Digipeaters start with the H bit clear: nobody has repeated it yet.
    std::string frame = address({kDestination, 0}, true, false) + address(report.source, false, report.path.empty());
    for (std::size_t i = 0; i < report.path.size(); ++i)
        frame += address(report.path[i], false, i + 1 == report.path.size());
    frame += '\x03';
    frame += '\xF0';
    return frame + *info;
}

std::string kissFrame(const std::string &ax25) {
    std::string out{kFend, '\x00'};
    for (char c : ax25) {
        if (c == kFend)
            out += {kFesc, kTfend};
        else if (c == kFesc)
            out += {kFesc, kTfesc};
        else
            out += c;
    }
    out += kFend;
    return out;
}

std::string aprsIsLogin(const settings::Callsign &call, const std::string &passcode, const std::string &version) {
    return "user " + settings::callsignText(call) + " pass " + (passcode.empty() ? "-1" : passcode) +
           " vers meteo-aprs " + version + "\r\n";
}

std::optional<std::string> aprsIsLine(const Report &report) {
    const auto info = infoField(report);
    if (!info)
        return std::nullopt;
    return settings::callsignText(report.source) + ">" + kDestination + ",TCPIP*:" + *info + "\r\n";
}

} // namespace send
