#pragma once
// invio.kwt, beside config.kwt: whether and where the weather report is
// sent directly, to a KISS TNC over TCP and to APRS-IS. CP1252 with CR LF,
// one "name=value" line per setting. A missing file sends nothing; so does
// a damaged one (a setting missing, repeated, unknown or invalid), since a
// guess could put a wrong callsign or position on the air.

#include <optional>
#include <string>
#include <vector>

#include "io/file_io.h"
#include "settings/identity.h"

namespace settings {

inline constexpr const char *kSendFileName = "invio.kwt";
inline constexpr int kMinIntervalMinutes = 5;
inline constexpr int kMaxIntervalMinutes = 1440;

struct Endpoint {
    bool enabled = false;
    std::string host;
    int port = 0;
    int intervalMinutes = 10;
};

struct SendSettings {
    Callsign callsign;
    Position position;
    std::vector<Callsign> path;
    Endpoint kiss{false, "127.0.0.1", 8001, 10};
    Endpoint aprsIs{false, "", 14580, 10};
    std::string passcode; // digits; empty or "-1" logs in unverified
};

// The settings as the dialog's fields and the file's lines hold them.
struct SendTexts {
    std::string callsign, latitude, longitude, path = "WIDE2-1";
    bool kissEnabled = false;
    std::string kissHost = "127.0.0.1", kissPort = "8001", kissInterval = "10";
    bool aprsIsEnabled = false;
    std::string aprsIsHost, aprsIsPort = "14580", passcode, aprsIsInterval = "10";
};

struct ParsedSend {
    std::optional<SendSettings> settings;
    std::string problem; // Italian, for the user, when settings is empty
    std::string field;   // the name of the line whose value is refused, if one is
};

// Checks every field; the first problem found is named.
ParsedSend parseSendTexts(const SendTexts &texts);
SendTexts sendTexts(const SendSettings &settings);

// The file's bytes.
std::string formatSendFile(const SendSettings &settings);
// The lines of a file; a damaged file gives a problem.
ParsedSend parseSendFile(const std::string &bytes);

enum class SendFileState { Missing, Damaged, Ok };
struct LoadedSend {
    SendFileState state = SendFileState::Missing;
    SendSettings settings;   // when Ok
    std::string problem; // when Damaged
};
LoadedSend loadSendFile(const std::string &path);

// What a damaged file still holds, for the dialog to show: every value read
// (the defaults for the rest) and, in Italian, each line that is wrong.
struct SalvagedSend {
    SendTexts texts;
    std::vector<std::string> damage;
};
SalvagedSend salvageSendFile(const std::string &path);

// Replaced atomically; the reason in Italian when it fails.
std::optional<std::string> saveSendFile(const std::string &path, const SendSettings &settings,
                                        const io::Disk &disk = io::realDisk());

} // namespace settings
