// invio.kwt: the direct-send settings, their checks and their file.
#include "settings/send_settings.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "io/file_io.h"

namespace settings {
namespace {

constexpr const char *kNames[] = {"nominativo", "latitudine",  "longitudine", "percorso",    "kiss",
                                  "kiss_host",  "kiss_porta",  "kiss_intervallo", "aprsis",  "aprsis_server",
                                  "aprsis_porta", "aprsis_passcode", "aprsis_intervallo"};
constexpr std::size_t kCount = sizeof kNames / sizeof kNames[0];

std::optional<int> wholeNumber(const std::string &text, int min, int max) {
    const std::string t = trimmed(text);
    if (t.empty() || t.size() > 5)
        return std::nullopt;
    for (char c : t)
        if (c < '0' || c > '9')
            return std::nullopt;
    const int n = std::atoi(t.c_str());
    if (n < min || n > max)
        return std::nullopt;
    return n;
}

// Names and addresses only: letters, digits, ".", "-", and ":" for IPv6.
bool validHost(const std::string &host) {
    if (host.empty() || host.size() > 253)
        return false;
    for (char c : host)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' ||
              c == ':'))
            return false;
    return true;
}

// An endpoint that is switched off keeps its fields, but they must still
// be readable, so that switching it on later shows what was typed.
// The problem, with 0 for the host, 1 for the port, 2 for the interval.
std::optional<std::pair<std::string, int>> endpoint(const char *name, bool enabled, const std::string &host,
                                                    const std::string &port, const std::string &interval,
                                                    Endpoint &out) {
    out.enabled = enabled;
    out.host = trimmed(host);
    if (!out.host.empty() && !validHost(out.host))
        return std::pair(std::string("Indirizzo ") + name + " non valido: solo lettere, cifre, punti e trattini.", 0);
    if (enabled && out.host.empty())
        return std::pair(std::string("Indirizzo ") + name + " mancante.", 0);
    const auto p = wholeNumber(port, 1, 65535);
    if (!p)
        return std::pair(std::string("Porta ") + name + " non valida: un numero da 1 a 65535.", 1);
    out.port = *p;
    const auto minutes = wholeNumber(interval, kMinIntervalMinutes, kMaxIntervalMinutes);
    if (!minutes)
        return std::pair(std::string("Intervallo ") + name + " non valido: da 5 a 1440 minuti.", 2);
    out.intervalMinutes = *minutes;
    return std::nullopt;
}

} // namespace

ParsedSend parseSendTexts(const SendTexts &t) {
    SendSettings s;
    const auto fail = [](std::string problem, const char *field) { return ParsedSend{std::nullopt, std::move(problem), field}; };
    const auto call = parseCallsign(t.callsign);
    if (!call)
        return fail("Nominativo non valido: da 1 a 6 lettere o cifre, con SSID da 0 a 15 (es. IZ1ABC-13).", kNames[0]);
    s.callsign = *call;
    const auto lat = parseDegrees(t.latitude);
    if (!lat || !validLatitude(*lat))
        return fail("Latitudine non valida: gradi decimali da -90 a 90, negativi a sud (es. 45.5083).", kNames[1]);
    const auto lon = parseDegrees(t.longitude);
    if (!lon || !validLongitude(*lon))
        return fail("Longitudine non valida: gradi decimali da -180 a 180, negativi a ovest (es. 9.1667).", kNames[2]);
    s.position = {*lat, *lon};
    const auto path = parsePath(t.path);
    if (!path)
        return fail("Percorso non valido: fino a 8 nominativi separati da virgole (es. WIDE2-1).", kNames[3]);
    s.path = *path;
    if (auto problem = endpoint("del TNC KISS", t.kissEnabled, t.kissHost, t.kissPort, t.kissInterval, s.kiss))
        return fail(problem->first, kNames[5 + problem->second]);
    if (auto problem = endpoint("APRS-IS", t.aprsIsEnabled, t.aprsIsHost, t.aprsIsPort, t.aprsIsInterval, s.aprsIs))
        return fail(problem->first, kNames[problem->second == 2 ? 12 : 9 + problem->second]);
    s.passcode = trimmed(t.passcode);
    // -1 is what CWOP tells its stations to type: unverified, as empty.
    if (!s.passcode.empty() && s.passcode != "-1" && !wholeNumber(s.passcode, 0, 99999))
        return fail("Passcode APRS-IS non valido: solo cifre, oppure vuoto o -1 per l'invio non verificato "
                    "(stazioni CWOP).", kNames[11]);
    return {s, {}, {}};
}

SendTexts sendTexts(const SendSettings &s) {
    SendTexts t;
    t.callsign = callsignText(s.callsign);
    t.latitude = degreesText(s.position.latitude);
    t.longitude = degreesText(s.position.longitude);
    t.path = pathText(s.path);
    t.kissEnabled = s.kiss.enabled;
    t.kissHost = s.kiss.host;
    t.kissPort = std::to_string(s.kiss.port);
    t.kissInterval = std::to_string(s.kiss.intervalMinutes);
    t.aprsIsEnabled = s.aprsIs.enabled;
    t.aprsIsHost = s.aprsIs.host;
    t.aprsIsPort = std::to_string(s.aprsIs.port);
    t.passcode = s.passcode;
    t.aprsIsInterval = std::to_string(s.aprsIs.intervalMinutes);
    return t;
}

std::string formatSendFile(const SendSettings &s) {
    const SendTexts t = sendTexts(s);
    const std::string values[kCount] = {t.callsign,     t.latitude,       t.longitude,      t.path,
                                        t.kissEnabled ? "1" : "0", t.kissHost, t.kissPort, t.kissInterval,
                                        t.aprsIsEnabled ? "1" : "0", t.aprsIsHost, t.aprsIsPort, t.passcode,
                                        t.aprsIsInterval};
    std::string out;
    for (std::size_t i = 0; i < kCount; ++i)
        out += std::string(kNames[i]) + "=" + values[i] + "\r\n";
    return out;
}

namespace {

// Enough for the thirteen lines and some blank ones; longer values are
// invalid anyway.
constexpr std::size_t kMaxLines = 32, kMaxLineLength = 512;

// The index in kNames of a "name=value" line's name; kCount for none.
std::size_t settingOf(const std::string &line) {
    const auto eq = line.find('=');
    std::size_t i = 0;
    while (i < kCount && (eq == std::string::npos || line.compare(0, eq, kNames[i]) != 0))
        ++i;
    return i;
}

ParsedSend parseLines(const std::vector<std::string> &lines) {
    std::optional<std::string> values[kCount];
    const auto damaged = [](const std::string &why) {
        return ParsedSend{std::nullopt, std::string(kSendFileName) + " danneggiato (" + why + "): nessun invio diretto", {}};
    };
    for (const std::string &line : lines) {
        if (line.empty())
            continue;
        const std::size_t i = settingOf(line);
        if (i == kCount || values[i])
            return damaged("riga \"" + line.substr(0, 40) + "\"");
        values[i] = line.substr(line.find('=') + 1);
    }
    for (std::size_t i = 0; i < kCount; ++i)
        if (!values[i])
            return damaged(std::string(kNames[i]) + " mancante");
    const auto flag = [](const std::string &v) -> std::optional<bool> {
        if (v == "0" || v == "1")
            return v == "1";
        return std::nullopt;
    };
    const auto kiss = flag(*values[4]), aprsIs = flag(*values[8]);
    if (!kiss || !aprsIs)
        return damaged(std::string(kiss ? kNames[8] : kNames[4]) + " non 0 o 1");
    const SendTexts t{*values[0], *values[1], *values[2], *values[3], *kiss, *values[5], *values[6], *values[7],
                  *aprsIs,    *values[9], *values[10], *values[11], *values[12]};
    ParsedSend parsed = parseSendTexts(t);
    if (!parsed.settings)
        return damaged(parsed.problem);
    return parsed;
}

} // namespace

ParsedSend parseSendFile(const std::string &bytes) { return parseLines(io::splitLines(bytes, kMaxLines, kMaxLineLength)); }

LoadedSend loadSendFile(const std::string &path) {
    LoadedSend out;
    if (!io::exists(path))
        return out;
    const auto lines = io::readLines(path, kMaxLines, kMaxLineLength);
    const ParsedSend parsed = lines ? parseLines(*lines)
                                    : ParsedSend{std::nullopt, std::string(kSendFileName) + " illeggibile: nessun invio diretto", {}};
    if (!parsed.settings) {
        out.state = SendFileState::Damaged;
        out.problem = parsed.problem;
        return out;
    }
    out.state = SendFileState::Ok;
    out.settings = *parsed.settings;
    return out;
}

SalvagedSend salvageSendFile(const std::string &path) {
    SalvagedSend out;
    const auto lines = io::readLines(path, kMaxLines, kMaxLineLength);
    if (!lines) {
        out.damage.push_back("file illeggibile");
        return out;
    }
    SendTexts &t = out.texts;
    std::string *const fields[kCount] = {&t.callsign, &t.latitude, &t.longitude, &t.path, nullptr, &t.kissHost,
                                         &t.kissPort, &t.kissInterval, nullptr, &t.aprsIsHost, &t.aprsIsPort,
                                         &t.passcode, &t.aprsIsInterval};
    bool seen[kCount] = {};
    for (const std::string &line : *lines) {
        if (line.empty())
            continue;
        const std::size_t i = settingOf(line);
        if (i == kCount || seen[i]) {
            out.damage.push_back("riga \"" + line.substr(0, 40) + (i == kCount ? "\" sconosciuta" : "\" ripetuta"));
            continue;
        }
        seen[i] = true;
        const std::string value = line.substr(line.find('=') + 1);
        if (fields[i]) {
            *fields[i] = value;
        } else if (value == "0" || value == "1") {
            (i == 4 ? t.kissEnabled : t.aprsIsEnabled) = value == "1";
        } else {
            out.damage.push_back(std::string(kNames[i]) + " non 0 o 1");
        }
    }
    if (std::none_of(std::begin(seen), std::end(seen), [](bool b) { return b; })) {
        out.damage = {"nessuna riga leggibile"};
        return out;
    }
    for (std::size_t i = 0; i < kCount; ++i)
        if (!seen[i])
            out.damage.push_back(std::string(kNames[i]) + " mancante");
    // A value read but refused; a missing one is named above already.
    const ParsedSend parsed = parseSendTexts(t);
    const auto field = std::find(std::begin(kNames), std::end(kNames), parsed.field) - std::begin(kNames);
    if (!parsed.settings && (parsed.field.empty() || seen[field]))
        out.damage.push_back(parsed.problem);
    return out;
}

std::optional<std::string> saveSendFile(const std::string &path, const SendSettings &settings,
                                        const io::Disk &disk) {
    const auto written = disk.replaceAtomically(path, formatSendFile(settings));
    if (written.ok)
        return std::nullopt;
    return written.reason;
}

} // namespace settings
