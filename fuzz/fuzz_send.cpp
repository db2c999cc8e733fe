// invio.kwt can be edited by hand, and decides what goes on the air.
// Whatever it holds (the input's bytes up to a NUL; a data line after it):
// a callsign taken is one AX.25 can carry, and writes as text that reads
// back the same; settings taken write back to bytes that read to the same
// settings; the position writes as APRS's degrees and minutes, which decode
// back to it within their rounding; the frame carries FEND only at its two
// ends and unescapes to the AX.25 frame, whose addresses decode back to the
// callsigns; the APRS-IS line is the same report. The bytes also drive the
// direct sends' timing, read as events.

#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "model/model.h"
#include "send/packet.h"
#include "send/schedule.h"
#include "settings/send_settings.h"

namespace {

fuzz_support::Check taken("settings taken"), refused("settings refused"), built("a frame built"),
    tooLong("a data line too long or with a control byte"), tooOld("a reading dropped as too old"), started("a send started"),
    retried("a failed send retried");

bool fits(const settings::Callsign &c) {
    return !c.base.empty() && c.base.size() <= 6 && c.ssid >= 0 && c.ssid <= 15 &&
           c.base.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") == std::string::npos;
}

// An AX.25 address: six characters shifted by one bit, blanks after the
// callsign, then the SSID byte with its two reserved bits set, the command
// bit on the destination and the end bit on the last address.
std::string address(const std::string &frame, std::size_t i, std::size_t count) {
    std::string call;
    for (std::size_t k = i * 7; k < i * 7 + 6; ++k)
        call += (frame[k] & 1) ? '\x01' : static_cast<char>(static_cast<unsigned char>(frame[k]) >> 1);
    call.erase(call.find_last_not_of(' ') + 1);
    const int ssid = static_cast<unsigned char>(frame[i * 7 + 6]);
    FUZZ_CHECK((ssid & 0xE1) == 0x60 + (i == 0 ? 0x80 : 0) + (i + 1 == count ? 1 : 0));
    return (ssid >> 1 & 15) ? call + "-" + std::to_string(ssid >> 1 & 15) : call;
}

// "4530.50N", "15112.92W": degrees, minutes below 60 to a hundredth, the
// hemisphere "S" or "W" only for what is not zero.
void checkDegrees(const std::string &aprs, double degrees, std::size_t width, const char *hemispheres) {
    const auto digits = aprs.substr(0, width) + aprs.substr(width, 2) + aprs.substr(width + 3, 2);
    FUZZ_CHECK(aprs.size() == width + 6 && aprs[width + 2] == '.' && aprs[width] < '6' && std::strchr(hemispheres, aprs.back()) &&
               digits.find_first_not_of("0123456789") == std::string::npos);
    const double decoded = (std::stoi(aprs.substr(0, width)) + std::stoi(digits.substr(width)) / 6000.0) *
                           (aprs.back() == hemispheres[1] ? -1 : 1);
    FUZZ_CHECK(std::fabs(decoded - degrees) <= 0.005 / 60 + 1e-9 && (aprs.back() != hemispheres[1] || decoded != 0));
}

// The first report goes at once, then no sooner than the interval after the
// last success; after the n-th failure in a row, no sooner than 30 s doubled
// n-1 times, at most 5 minutes. One attempt at a time, with a reading that
// has not gone out yet and is no older than the interval.
void checkSchedule(const std::string &events, std::int64_t interval) {
    send::Schedule schedule({interval, 30000, 300000, interval});
    bool fresh = false, busy = false;
    std::int64_t now = 0, readAt = 0, earliest = 0;
    for (const unsigned char b : events) {
        now += (b >> 2) * 5000;
        const auto next = schedule.nextAttempt();
        FUZZ_CHECK(next.has_value() == (fresh && !busy) && (!next || *next >= earliest));
        FUZZ_CHECK((next && now >= *next) || schedule.due(now) == send::Due::No);
        if ((b & 3) == 0) {
            schedule.dataArrived(now);
            fresh = true, readAt = now;
        } else if ((b & 3) == 1 && next) {
            now = std::max(now, *next);
            const bool old = now - readAt > interval;
            FUZZ_CHECK(schedule.due(now) == (old ? send::Due::TooOld : send::Due::Send));
            fresh = false;
            (old ? tooOld : started).reached();
            if (!old)
                schedule.started(), busy = true;
        } else if ((b & 3) == 2 && busy) {
            schedule.succeeded(now);
            busy = false, earliest = now + interval;
        } else if ((b & 3) == 3 && busy) {
            const int failures = schedule.failures();
            const std::int64_t pause = schedule.failed(now);
            FUZZ_CHECK(pause == std::min<std::int64_t>(30000LL << std::min(failures, 20), 300000) &&
                       schedule.failures() == failures + 1);
            busy = false, fresh = true, earliest = std::max(earliest, now + pause);
            retried.reached();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string file = bytes.substr(0, bytes.find('\0'));
    const std::string dataLine = file.size() < bytes.size() ? bytes.substr(file.size() + 1) : std::string();
    for (const auto &line : model::split(file, "\r\n"))
        for (const auto &piece : model::split(line.substr(line.find('=') + 1), ","))
            if (const auto call = settings::parseCallsign(piece))
                FUZZ_CHECK(fits(*call) && settings::callsignText(*settings::parseCallsign(settings::callsignText(*call))) ==
                                              settings::callsignText(*call));
    const settings::ParsedSend parsed = settings::parseSendFile(file);
    checkSchedule(bytes, parsed.settings ? parsed.settings->kiss.intervalMinutes * 60000LL : 600000);
    (parsed.settings ? taken : refused).reached();
    FUZZ_CHECK(parsed.settings || parsed.problem.rfind("invio.kwt danneggiato", 0) == 0);
    if (!parsed.settings)
        return 0;
    const settings::SendSettings &s = *parsed.settings;
    const auto again = settings::parseSendFile(settings::formatSendFile(s));
    FUZZ_CHECK(again.settings && settings::formatSendFile(*again.settings) == settings::formatSendFile(s));
    FUZZ_CHECK(std::fabs(s.position.latitude) <= 90 && std::fabs(s.position.longitude) <= 180);
    checkDegrees(send::aprsLatitude(s.position.latitude), s.position.latitude, 2, "NS");
    checkDegrees(send::aprsLongitude(s.position.longitude), s.position.longitude, 3, "EW");

    // A control byte would end an APRS-IS line; APRS's information field
    // holds 256 bytes, 27 of them before the data line.
    const send::Report report{s.callsign, s.position, s.path, {31, 23, 59}, dataLine};
    const auto frame = send::ax25Frame(report);
    const auto line = send::aprsIsLine(report);
    const bool fitsField = dataLine.size() <= 256 - 27 && std::none_of(dataLine.begin(), dataLine.end(), [](char c) {
                               return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
                           });
    FUZZ_CHECK(frame.has_value() == fitsField && line.has_value() == fitsField);
    (frame ? built : tooLong).reached();
    if (!frame)
        return 0;
    const std::string kiss = send::kissFrame(*frame);
    std::string unescaped;
    for (std::size_t i = 2; i + 1 < kiss.size(); ++i) {
        const bool escape = kiss[i] == '\xdb';
        FUZZ_CHECK(!escape || kiss[i + 1] == '\xdc' || kiss[i + 1] == '\xdd');
        unescaped += escape ? (kiss[++i] == '\xdc' ? '\xc0' : '\xdb') : kiss[i];
    }
    FUZZ_CHECK(kiss.compare(0, 2, std::string("\xc0\0", 2)) == 0 && kiss.find('\xc0', 1) == kiss.size() - 1 &&
               unescaped == *frame);
    const std::size_t n = 2 + s.path.size();
    FUZZ_CHECK(address(*frame, 0, n) == send::kDestination && address(*frame, 1, n) == settings::callsignText(s.callsign));
    for (std::size_t i = 2; i < n; ++i)
        FUZZ_CHECK(fits(s.path[i - 2]) && address(*frame, i, n) == settings::callsignText(s.path[i - 2]));
    const std::string info = frame->substr(n * 7 + 2);
    FUZZ_CHECK(fits(s.callsign) && frame->compare(n * 7, 2, "\x03\xf0") == 0 &&
               info == "@312359z" + send::aprsLatitude(s.position.latitude) + "/" +
                           send::aprsLongitude(s.position.longitude) + "_" + dataLine);
    FUZZ_CHECK(*line == address(*frame, 1, n) + ">" + send::kDestination + ",TCPIP*:" + info + "\r\n");
    return 0;
}
