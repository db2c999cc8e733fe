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
#include "send/identity.h"

namespace send {

inline constexpr const char *kSettingsFileName = "invio.kwt";
inline constexpr int kMinIntervalMinutes = 5;
inline constexpr int kMaxIntervalMinutes = 1440;

struct Endpoint {
    bool enabled = false;
    std::string host;
    int port = 0;
    int intervalMinutes = 10;
};

struct Settings {
    Callsign callsign;
    Position position;
    std::vector<Callsign> path;
    Endpoint kiss{false, "127.0.0.1", 8001, 10};
    Endpoint aprsIs{false, "", 14580, 10};
    std::string passcode; // digits; empty or "-1" logs in unverified
};

// The settings as the dialog's fields and the file's lines hold them.
struct Texts {
    std::string callsign, latitude, longitude, path = "WIDE2-1";
    bool kissEnabled = false;
    std::string kissHost = "127.0.0.1", kissPort = "8001", kissInterval = "10";
    bool aprsIsEnabled = false;
    std::string aprsIsHost, aprsIsPort = "14580", passcode, aprsIsInterval = "10";
};

struct Parsed {
    std::optional<Settings> settings;
    std::string problem; // Italian, for the user, when settings is empty
    std::string field;   // the name of the line whose value is refused, if one is
};

// Checks every field; the first problem found is named.
Parsed parse(const Texts &texts);
Texts texts(const Settings &settings);

// The file's bytes.
std::string format(const Settings &settings);
// The lines of a file; a damaged file gives a problem.
Parsed parseFile(const std::string &bytes);

enum class FileState { Missing, Damaged, Ok };
struct Loaded {
    FileState state = FileState::Missing;
    Settings settings;   // when Ok
    std::string problem; // when Damaged
};
Loaded load(const std::string &path);

// What a damaged file still holds, for the dialog to show: every value read
// (the defaults for the rest) and, in Italian, each line that is wrong.
struct Salvaged {
    Texts texts;
    std::vector<std::string> damage;
};
Salvaged salvage(const std::string &path);

// Replaced atomically; the reason in Italian when it fails.
std::optional<std::string> save(const std::string &path, const Settings &settings,
                                const fileio::Disk &disk = fileio::realDisk());

} // namespace send
