// invio.kwt can be edited by hand, and decides what goes on the air. Whatever
// it holds: a file that reads as settings writes back to bytes that read to
// the same settings; and the frame built from them, with any data line,
// carries FEND only at its two ends and unescapes to the AX.25 frame.
//
// The rules are also written here a second time, from APRS's forms and the
// settings' limits rather than from the program's code, and the two must
// agree on every value of the file and on the data line put in each field:
// what a callsign, degrees, a path, a host, a port, an interval and a
// passcode may be, and which field a refusal names first. What reads back
// writes as text that reads the same; a position writes as APRS's degrees
// and minutes, which decode back to it within their rounding; the frame's
// addresses decode back to the callsigns; the APRS-IS line is the same
// report in monitor form. The input's bytes, read as events, also drive the
// direct sends' schedule against a model of its rules.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "send/packet.h"
#include "send/schedule.h"
#include "settings/send_settings.h"

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

constexpr const char *kDigits = "0123456789";

// How many characters of `set` follow one another from `from` on.
std::size_t run(const std::string &t, std::size_t from, const char *set) {
    return std::min(t.find_first_not_of(set, from), t.size()) - from;
}

bool same(const std::optional<settings::Callsign> &a, const std::optional<settings::Callsign> &b) {
    return a.has_value() == b.has_value() && (!a || (a->base == b->base && a->ssid == b->ssid));
}

// 1 to 6 letters or digits, then nothing or "-" and an SSID from 0 to 15
// in one or two digits ("-0" is no SSID).
std::optional<settings::Callsign> callsignModel(const std::string &text) {
    const std::string t = meant(text, true);
    const std::size_t base = run(t, 0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    const std::string ssid = t.substr(std::min(base + 1, t.size()));
    if (base < 1 || base > 6)
        return std::nullopt;
    if (base < t.size() && (t[base] != '-' || ssid.empty() || ssid.size() > 2 || run(ssid, 0, kDigits) != ssid.size() ||
                            std::stoi(ssid) > 15))
        return std::nullopt;
    return settings::Callsign{t.substr(0, base), base < t.size() ? std::stoi(ssid) : 0};
}

void checkCallsign(const std::string &text) {
    const auto call = settings::parseCallsign(text);
    FUZZ_CHECK(same(call, callsignModel(text)), shown(text));
    if (call)
        FUZZ_CHECK(same(settings::parseCallsign(settings::callsignText(*call)), call), shown(text));
}

std::vector<std::string> split(const std::string &text) {
    std::vector<std::string> pieces{""};
    for (char c : text) {
        if (c == ',')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

// Up to 8 callsigns between commas; nothing but blanks is no path.
bool pathModel(const std::string &text) {
    const std::vector<std::string> pieces = split(text);
    return meant(text, false).empty() ||
           (pieces.size() <= 8 && std::all_of(pieces.begin(), pieces.end(), [](auto &p) { return callsignModel(p); }));
}

// A path writes back as its callsigns' texts, commas between them.
void checkPath(const std::string &text) {
    const auto path = settings::parsePath(text);
    const std::vector<std::string> pieces = split(text);
    const bool none = meant(text, false).empty();
    for (const auto &piece : pieces)
        checkCallsign(piece);
    FUZZ_CHECK(path.has_value() == pathModel(text), shown(text));
    if (!path)
        return;
    FUZZ_CHECK(path->size() == (none ? 0 : pieces.size()), shown(text));
    const std::string written = settings::pathText(*path);
    const std::vector<std::string> writtenPieces = split(written);
    FUZZ_CHECK(writtenPieces.size() == (none ? 1 : path->size()), written);
    for (std::size_t i = 0; i < path->size(); ++i) {
        FUZZ_CHECK(same((*path)[i], callsignModel(pieces[i])), shown(text));
        FUZZ_CHECK(writtenPieces[i] == settings::callsignText((*path)[i]), written);
    }
}

// "45.5083", "-151,2153": a sign or none, 1 to 4 digits, and maybe "." or
// "," (an Italian types a decimal comma) and 1 to 9 digits.
std::optional<double> degreesModel(const std::string &text) {
    const std::string t = meant(text, false);
    const std::size_t sign = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
    const std::size_t whole = run(t, sign, kDigits), point = sign + whole;
    const std::size_t decimals = point < t.size() ? run(t, point + 1, kDigits) : 0;
    if (whole < 1 || whole > 4)
        return std::nullopt;
    if (point < t.size() && ((t[point] != '.' && t[point] != ',') || decimals < 1 || decimals > 9 ||
                             point + 1 + decimals != t.size()))
        return std::nullopt;
    const std::string number = t.substr(sign, whole) + "." + (decimals > 0 ? t.substr(point + 1) : "0");
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return t[0] == '-' ? -value : value;
}

// "4530.50N", "15112.92W": degrees, minutes below 60 to a hundredth, and
// the hemisphere, which is "S" or "W" only for what is not zero.
void checkAprs(const std::string &aprs, double degrees, std::size_t width, const char *hemispheres) {
    const std::string shape = std::string(width, '9') + "59.99";
    bool shaped = aprs.size() == shape.size() + 1 && std::strchr(hemispheres, aprs.back()) != nullptr;
    for (std::size_t i = 0; shaped && i < shape.size(); ++i)
        shaped = shape[i] == '.' ? aprs[i] == '.' : aprs[i] >= '0' && aprs[i] <= shape[i];
    FUZZ_CHECK(shaped, aprs);
    const double minutes = std::stoi(aprs.substr(width, 2)) + std::stoi(aprs.substr(width + 3, 2)) / 100.0;
    const double decoded = (std::stoi(aprs.substr(0, width)) + minutes / 60) * (aprs.back() == hemispheres[1] ? -1 : 1);
    FUZZ_CHECK(std::fabs(decoded - degrees) <= 0.005 / 60 + 1e-9, aprs + " for " + std::to_string(degrees));
    FUZZ_CHECK(aprs.back() != hemispheres[1] || decoded != 0, aprs);
}

void checkDegrees(const std::string &text) {
    const auto degrees = settings::parseDegrees(text);
    const auto model = degreesModel(text);
    FUZZ_CHECK(degrees.has_value() == model.has_value(), shown(text));
    if (!degrees)
        return;
    FUZZ_CHECK(std::fabs(*degrees - *model) <= 1e-9 * std::max(1.0, std::fabs(*model)), shown(text));
    FUZZ_CHECK(settings::validLatitude(*degrees) == (std::fabs(*degrees) <= 90), shown(text));
    FUZZ_CHECK(settings::validLongitude(*degrees) == (std::fabs(*degrees) <= 180), shown(text));
    if (settings::validLatitude(*degrees))
        checkAprs(send::aprsLatitude(*degrees), *degrees, 2, "NS");
    if (settings::validLongitude(*degrees))
        checkAprs(send::aprsLongitude(*degrees), *degrees, 3, "EW");
}

// A whole number of 1 to 5 digits, from `min` to `max`.
bool numberModel(const std::string &text, int min, int max) {
    const std::string t = meant(text, false);
    return !t.empty() && t.size() <= 5 && run(t, 0, kDigits) == t.size() && std::stoi(t) >= min && std::stoi(t) <= max;
}

// The settings' texts by the names of the file's lines.
const std::pair<const char *, std::string settings::SendTexts::*> kFields[] = {
    {"nominativo", &settings::SendTexts::callsign},        {"latitudine", &settings::SendTexts::latitude},
    {"longitudine", &settings::SendTexts::longitude},      {"percorso", &settings::SendTexts::path},
    {"kiss_host", &settings::SendTexts::kissHost},         {"kiss_porta", &settings::SendTexts::kissPort},
    {"kiss_intervallo", &settings::SendTexts::kissInterval}, {"aprsis_server", &settings::SendTexts::aprsIsHost},
    {"aprsis_porta", &settings::SendTexts::aprsIsPort},    {"aprsis_passcode", &settings::SendTexts::passcode},
    {"aprsis_intervallo", &settings::SendTexts::aprsIsInterval}};

// How the reason starts when `value` is wrong for `name` in settings that
// are otherwise right; empty when the value is right.
std::string refusal(const std::string &name, const std::string &value, const settings::SendSettings &others) {
    const bool kiss = name.rfind("kiss", 0) == 0;
    const std::string endpoint = kiss ? "del TNC KISS" : "APRS-IS";
    const std::string t = meant(value, false);
    const auto degrees = degreesModel(value);
    if (name == "nominativo")
        return callsignModel(value) ? "" : "Nominativo";
    if (name == "latitudine")
        return degrees && std::fabs(*degrees) <= 90 ? "" : "Latitudine";
    if (name == "longitudine")
        return degrees && std::fabs(*degrees) <= 180 ? "" : "Longitudine";
    if (name == "percorso")
        return pathModel(value) ? "" : "Percorso";
    if (name == "kiss_host" || name == "aprsis_server") {
        if (t.empty())
            return (kiss ? others.kiss : others.aprsIs).enabled ? "Indirizzo " + endpoint + " mancante" : "";
        const char *hostCharacters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:";
        const bool host = t.size() <= 253 && t.find_first_not_of(hostCharacters) == std::string::npos;
        return host ? "" : "Indirizzo " + endpoint + " non valido";
    }
    if (name == "kiss_porta" || name == "aprsis_porta")
        return numberModel(value, 1, 65535) ? "" : "Porta " + endpoint;
    if (name == "kiss_intervallo" || name == "aprsis_intervallo")
        return numberModel(value, 5, 1440) ? "" : "Intervallo " + endpoint;
    return t.empty() || t == "-1" || numberModel(value, 0, 99999) ? "" : "Passcode";
}

// Settings that are right but for one text are taken if the text is right
// after all, and otherwise refused for that text, named first.
void checkOneText(const settings::SendSettings &others, settings::SendTexts texts, const std::string &name, const std::string &text) {
    const auto field = std::find_if(std::begin(kFields), std::end(kFields), [&](auto &f) { return name == f.first; });
    if (field == std::end(kFields))
        return;
    texts.*field->second = text;
    const std::string expected = refusal(name, text, others);
    const settings::ParsedSend parsed = settings::parseSendTexts(texts);
    FUZZ_CHECK(parsed.settings.has_value() == expected.empty(), name + "=" + shown(text) + ": " + parsed.problem);
    FUZZ_CHECK(parsed.problem.rfind(expected, 0) == 0, name + "=" + shown(text) + ": " + parsed.problem);
}

// Each value of the file, read as what its name says, and (when the file is
// not right) put in its place in settings that are; the data line in every
// place too.
void checkValues(const std::string &file, const std::optional<settings::SendSettings> &settings, const std::string &dataLine) {
    const settings::SendSettings station{{"IZ1ABC", 13}, {45.5, 9.2}, {{"WIDE2", 1}},
                                 {true, "127.0.0.1", 8001, 10}, {true, "localhost", 14580, 10}, ""};
    const settings::SendSettings &others = settings ? *settings : station;
    const settings::SendTexts texts = settings::sendTexts(others);
    for (const auto &field : kFields)
        checkOneText(others, texts, field.first, dataLine);
    std::size_t start = 0;
    for (int line = 0; line < 40 && start < file.size(); ++line) {
        const auto end = std::min(file.find('\n', start), file.size());
        std::string text = file.substr(start, end - start);
        start = end + 1;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const std::string name = text.substr(0, text.find('='));
        const std::string value = text.substr(std::min(name.size() + 1, text.size()));
        if (name == "nominativo")
            checkCallsign(value);
        else if (name == "latitudine" || name == "longitudine")
            checkDegrees(value);
        else if (name == "percorso")
            checkPath(value);
        if (!settings)
            checkOneText(others, texts, name, value);
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

fuzz_support::Check settingsTaken("settings taken"), settingsRefused("settings refused"),
    frameBuilt("a frame built"), frameRefused("a data line too long or with a control byte"),
    tooOld("a reading dropped as too old"), retried("a failed send retried");

void checkFrame(const send::Report &report) {
    const auto frame = send::ax25Frame(report);
    const auto line = send::aprsIsLine(report);
    // A control byte would end an APRS-IS line; APRS's information field
    // holds 256 bytes, 27 of them before the data line.
    const bool fits = report.dataLine.size() <= 256 - 27 &&
                      std::none_of(report.dataLine.begin(), report.dataLine.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    FUZZ_CHECK(frame.has_value() == fits && line.has_value() == fits, shown(report.dataLine));
    (frame ? frameBuilt : frameRefused).reached();
    if (!frame)
        return;
    const std::string kiss = send::kissFrame(*frame);
    FUZZ_CHECK(kiss.find('\xc0', 1) == kiss.size() - 1, shown(kiss));
    FUZZ_CHECK(unkiss(kiss) == *frame, shown(kiss));

    const std::size_t addresses = 2 + report.path.size();
    FUZZ_CHECK(decodedAddress(*frame, 0, addresses) == send::kDestination, shown(*frame));
    FUZZ_CHECK(decodedAddress(*frame, 1, addresses) == settings::callsignText(report.source), shown(*frame));
    for (std::size_t i = 2; i < addresses; ++i)
        FUZZ_CHECK(decodedAddress(*frame, i, addresses) == settings::callsignText(report.path[i - 2]), shown(*frame));
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
// with a data line that has not gone out yet (a failed one has not) and is
// no older than the interval; an older one is dropped.
void checkSchedule(const std::string &events, std::int64_t interval) {
    const auto pause = [](int earlier) { return std::min<std::int64_t>(30000LL << std::min(earlier, 20), 300000); };
    send::Schedule schedule({interval, 30000, 300000, interval});
    bool fresh = false, busy = false;
    std::optional<std::int64_t> lastSuccess, lastFailure;
    int failures = 0;
    std::int64_t now = 0, readAt = 0;
    for (unsigned char b : events) {
        now += (b >> 2) * 5000;
        std::optional<std::int64_t> next;
        if (fresh && !busy) {
            next = lastSuccess ? *lastSuccess + interval : 0;
            if (failures > 0)
                next = std::max(*next, *lastFailure + pause(failures - 1));
        }
        FUZZ_CHECK(schedule.nextAttempt() == next && schedule.failures() == failures, shown(events));
        FUZZ_CHECK((next && now >= *next) || schedule.due(now) == send::Due::No, shown(events));
        if ((b & 3) == 0) {
            schedule.dataArrived(now);
            fresh = true;
            readAt = now;
        } else if ((b & 3) == 1 && next) {
            now = std::max(now, *next);
            const bool old = now - readAt > interval;
            FUZZ_CHECK(schedule.due(now) == (old ? send::Due::TooOld : send::Due::Send), shown(events));
            fresh = false;
            if (old) {
                tooOld.reached();
                continue;
            }
            schedule.started();
            busy = true;
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
            retried.reached();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    // The file, then (after a NUL, if any) a data line.
    const std::string file = bytes.substr(0, bytes.find('\0'));
    const std::string dataLine = file.size() < bytes.size() ? bytes.substr(file.size() + 1) : std::string();
    const settings::ParsedSend parsed = settings::parseSendFile(file);
    checkValues(file, parsed.settings, dataLine);
    checkSchedule(bytes, parsed.settings ? parsed.settings->kiss.intervalMinutes * 60000LL : 600000);
    (parsed.settings ? settingsTaken : settingsRefused).reached();
    if (!parsed.settings) {
        FUZZ_CHECK(parsed.problem.rfind("invio.kwt danneggiato", 0) == 0, parsed.problem + " for " + shown(file));
        return 0;
    }
    const std::string written = settings::formatSendFile(*parsed.settings);
    const settings::ParsedSend again = settings::parseSendFile(written);
    FUZZ_CHECK(again.settings && settings::formatSendFile(*again.settings) == written, shown(written));
    checkFrame({parsed.settings->callsign, parsed.settings->position, parsed.settings->path, {31, 23, 59}, dataLine});
    return 0;
}
