// invio.kwt can be edited by hand, and decides what goes on the air. Whatever
// it holds: a file that reads as settings writes back to bytes that read to
// the same settings; and the frame built from them, with any data line,
// carries FEND only at its two ends and unescapes to the AX.25 frame.
// Every value in it, read as a callsign, as degrees or as a path, reads as
// APRS's own forms say (an independent reading, by regular expressions), and
// writes back to text that reads the same; a position writes as APRS's
// degrees and minutes, which decode back to it within their rounding. The
// frame's addresses decode back to the callsigns, and the APRS-IS line is
// the same report in monitor form. The input's bytes, read as events, also
// drive the direct sends' schedule against a model of its rules.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "send/packet.h"
#include "send/schedule.h"
#include "send/settings.h"

namespace {

using fuzz_support::shown;

std::string unkiss(const std::string &kiss) {
    std::string out;
    for (std::size_t i = 2; i + 1 < kiss.size(); ++i) {
        if (kiss[i] != '\xdb') {
            out += kiss[i];
            continue;
        }
        ++i;
        FUZZ_CHECK(kiss[i] == '\xdc' || kiss[i] == '\xdd', "FESC followed by " + shown(kiss.substr(i, 1)));
        out += kiss[i] == '\xdc' ? '\xc0' : '\xdb';
    }
    return out;
}

// What the user meant: without the blanks and tabs around it, in capitals.
std::string meant(const std::string &text, bool capitals) {
    const auto first = text.find_first_not_of(" \t");
    std::string t = first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (capitals)
        for (char &c : t)
            c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return t;
}

bool same(const std::optional<send::Callsign> &a, const std::optional<send::Callsign> &b) {
    return a.has_value() == b.has_value() && (!a || (a->base == b->base && a->ssid == b->ssid));
}

// 1 to 6 letters or digits, and an SSID from 0 to 15 ("-0" is no SSID).
std::optional<send::Callsign> callsignModel(const std::string &text) {
    static const std::regex form("([A-Z0-9]{1,6})(-([0-9]{1,2}))?");
    const std::string t = meant(text, true);
    std::smatch m;
    if (!std::regex_match(t, m, form))
        return std::nullopt;
    const int ssid = m[3].matched ? std::stoi(m[3].str()) : 0;
    if (ssid > 15)
        return std::nullopt;
    return send::Callsign{m[1].str(), ssid};
}

void checkCallsign(const std::string &text) {
    const auto call = send::parseCallsign(text);
    FUZZ_CHECK(same(call, callsignModel(text)), shown(text));
    if (call)
        FUZZ_CHECK(same(send::parseCallsign(send::callsignText(*call)), call), shown(text));
}

// Up to 8 callsigns between commas; nothing but blanks is no path.
void checkPath(const std::string &text) {
    const auto path = send::parsePath(text);
    std::vector<std::string> pieces{""};
    for (char c : text) {
        if (c == ',')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    bool valid = meant(text, false).empty() || pieces.size() <= 8;
    for (const auto &piece : pieces) {
        checkCallsign(piece);
        valid = valid && (meant(text, false).empty() || callsignModel(piece));
    }
    FUZZ_CHECK(path.has_value() == valid, shown(text));
    if (!path)
        return;
    FUZZ_CHECK(path->size() == (meant(text, false).empty() ? 0 : pieces.size()), shown(text));
    for (std::size_t i = 0; i < path->size(); ++i)
        FUZZ_CHECK(same((*path)[i], callsignModel(pieces[i])), shown(text));
    const auto again = send::parsePath(send::pathText(*path));
    FUZZ_CHECK(again && again->size() == path->size(), send::pathText(*path));
    for (std::size_t i = 0; i < path->size(); ++i)
        FUZZ_CHECK(same((*again)[i], (*path)[i]), send::pathText(*path));
}

// "45.5083", "-151,2153": an Italian types a decimal comma.
std::optional<double> degreesModel(const std::string &text) {
    static const std::regex form("[+-]?([0-9]{1,4})([.,]([0-9]{1,9}))?");
    const std::string t = meant(text, false);
    std::smatch m;
    if (!std::regex_match(t, m, form))
        return std::nullopt;
    const std::string number = m[1].str() + "." + (m[3].matched ? m[3].str() : "0");
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return t[0] == '-' ? -value : value;
}

// "4530.50N", "15112.92W": degrees, minutes below 60 to a hundredth, and
// the hemisphere, which is "S" or "W" only for what is not zero.
void checkAprs(const std::string &aprs, double degrees, const std::regex &form, char negative) {
    std::smatch m;
    FUZZ_CHECK(std::regex_match(aprs, m, form), aprs);
    const double minutes = std::stoi(m[2].str()) + std::stoi(m[3].str()) / 100.0;
    const double decoded = (std::stoi(m[1].str()) + minutes / 60) * (m[4].str()[0] == negative ? -1 : 1);
    FUZZ_CHECK(std::fabs(decoded - degrees) <= 0.005 / 60 + 1e-9, aprs + " for " + std::to_string(degrees));
    FUZZ_CHECK(m[4].str()[0] != negative || decoded != 0, aprs);
}

void checkDegrees(const std::string &text) {
    static const std::regex latitude("([0-9]{2})([0-5][0-9])\\.([0-9]{2})([NS])");
    static const std::regex longitude("([0-9]{3})([0-5][0-9])\\.([0-9]{2})([EW])");
    const auto degrees = send::parseDegrees(text);
    const auto model = degreesModel(text);
    FUZZ_CHECK(degrees.has_value() == model.has_value(), shown(text));
    if (!degrees)
        return;
    FUZZ_CHECK(std::fabs(*degrees - *model) <= 1e-9 * std::max(1.0, std::fabs(*model)), shown(text));
    FUZZ_CHECK(send::validLatitude(*degrees) == (std::fabs(*degrees) <= 90), shown(text));
    FUZZ_CHECK(send::validLongitude(*degrees) == (std::fabs(*degrees) <= 180), shown(text));
    if (send::validLatitude(*degrees))
        checkAprs(send::aprsLatitude(*degrees), *degrees, latitude, 'S');
    if (send::validLongitude(*degrees))
        checkAprs(send::aprsLongitude(*degrees), *degrees, longitude, 'W');
}

// Each value of the file (or each line without "="), read every way.
void checkValues(const std::string &file) {
    std::size_t start = 0;
    for (int line = 0; line < 40 && start < file.size(); ++line) {
        const auto end = std::min(file.find('\n', start), file.size());
        std::string text = file.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const auto eq = text.find('=');
        const std::string value = eq == std::string::npos ? text : text.substr(eq + 1);
        checkCallsign(value);
        checkDegrees(value);
        checkPath(value);
    }
}

// An address as AX.25 has it: six characters shifted by one bit, blanks
// after the callsign, then the SSID byte with its two reserved bits set,
// the command bit on the destination and the end bit on the last address.
std::string decodedAddress(const std::string &frame, std::size_t i, std::size_t addresses) {
    const std::string bytes = frame.substr(i * 7, 7);
    std::string call;
    for (std::size_t k = 0; k < 6; ++k) {
        FUZZ_CHECK((bytes[k] & 1) == 0, shown(frame));
        call += static_cast<char>(static_cast<unsigned char>(bytes[k]) >> 1);
    }
    call.erase(call.find_last_not_of(' ') + 1);
    const unsigned char ssid = static_cast<unsigned char>(bytes[6]);
    FUZZ_CHECK((ssid & 0x60) == 0x60 && (ssid & 0x80) == (i == 0 ? 0x80 : 0), shown(frame));
    FUZZ_CHECK((ssid & 1) == (i + 1 == addresses ? 1 : 0), shown(frame));
    return (ssid >> 1 & 15) == 0 ? call : call + "-" + std::to_string(ssid >> 1 & 15);
}

void checkFrame(const send::Report &report) {
    const auto frame = send::ax25Frame(report);
    const auto line = send::aprsIsLine(report);
    // A control byte would end an APRS-IS line; APRS's information field
    // holds 256 bytes, 27 of them before the data line.
    const bool fits = report.dataLine.size() <= 256 - 27 &&
                      std::none_of(report.dataLine.begin(), report.dataLine.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    FUZZ_CHECK(frame.has_value() == fits && line.has_value() == fits, shown(report.dataLine));
    if (!frame)
        return;
    const std::string kiss = send::kissFrame(*frame);
    FUZZ_CHECK(kiss.find('\xc0', 1) == kiss.size() - 1, shown(kiss));
    FUZZ_CHECK(unkiss(kiss) == *frame, shown(kiss));

    const std::size_t addresses = 2 + report.path.size();
    FUZZ_CHECK(decodedAddress(*frame, 0, addresses) == send::kDestination, shown(*frame));
    FUZZ_CHECK(decodedAddress(*frame, 1, addresses) == send::callsignText(report.source), shown(*frame));
    for (std::size_t i = 2; i < addresses; ++i)
        FUZZ_CHECK(decodedAddress(*frame, i, addresses) == send::callsignText(report.path[i - 2]), shown(*frame));
    FUZZ_CHECK(frame->compare(addresses * 7, 2, "\x03\xf0") == 0, shown(*frame));
    const std::string info = frame->substr(addresses * 7 + 2);
    FUZZ_CHECK(info == "@312359z" + send::aprsPosition(report.position) + "_" + report.dataLine, shown(info));
    FUZZ_CHECK(send::aprsPosition(report.position) ==
                   send::aprsLatitude(report.position.latitude) + "/" + send::aprsLongitude(report.position.longitude),
               shown(info));
    const std::string monitor = decodedAddress(*frame, 1, addresses) + ">" + decodedAddress(*frame, 0, addresses);
    FUZZ_CHECK(*line == monitor + ",TCPIP*:" + info + "\r\n", shown(*line));
}

// The first report goes at once, then no sooner than the interval after the
// last success; after the n-th failure in a row, no sooner than a pause of
// 30 s doubled n-1 times, at most 5 minutes. One attempt at a time, and only
// with a data line that has not gone out yet (a failed one has not).
void checkSchedule(const std::string &events, std::int64_t interval) {
    const auto pause = [](int earlier) { return std::min<std::int64_t>(30000LL << std::min(earlier, 20), 300000); };
    send::Schedule schedule({interval, 30000, 300000});
    bool fresh = false, busy = false;
    std::optional<std::int64_t> lastSuccess, lastFailure;
    int failures = 0;
    std::int64_t now = 0;
    for (unsigned char b : events) {
        now += (b >> 2) * 5000;
        std::optional<std::int64_t> next;
        if (fresh && !busy) {
            next = lastSuccess ? *lastSuccess + interval : 0;
            if (failures > 0)
                next = std::max(*next, *lastFailure + pause(failures - 1));
        }
        FUZZ_CHECK(schedule.nextAttempt() == next && schedule.failures() == failures, shown(events));
        if ((b & 3) == 0) {
            schedule.dataArrived();
            fresh = true;
        } else if ((b & 3) == 1 && next) {
            now = std::max(now, *next);
            schedule.started();
            busy = true;
            fresh = false;
        } else if ((b & 3) == 2 && busy) {
            schedule.succeeded(now);
            busy = false;
            lastSuccess = now;
            failures = 0;
        } else if ((b & 3) == 3 && busy) {
            FUZZ_CHECK(schedule.failed(now) == pause(failures), shown(events));
            busy = false;
            fresh = true;
            lastFailure = now;
            ++failures;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    // The file, then (after a NUL, if any) a data line.
    const std::string file = bytes.substr(0, bytes.find('\0'));
    const std::string dataLine = file.size() < bytes.size() ? bytes.substr(file.size() + 1) : std::string();
    checkValues(file);
    const send::Parsed parsed = send::parseFile(file);
    checkSchedule(bytes, parsed.settings ? parsed.settings->kiss.intervalMinutes * 60000LL : 600000);
    if (!parsed.settings) {
        FUZZ_CHECK(parsed.problem.rfind("invio.kwt danneggiato", 0) == 0, parsed.problem + " for " + shown(file));
        return 0;
    }
    const std::string written = send::format(*parsed.settings);
    const send::Parsed again = send::parseFile(written);
    FUZZ_CHECK(again.settings && send::format(*again.settings) == written, shown(written));
    checkFrame({parsed.settings->callsign, parsed.settings->position, parsed.settings->path, {31, 23, 59}, dataLine});
    return 0;
}
