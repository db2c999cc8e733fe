#pragma once
// One attempt of a direct send, as steps of the protocol: what to do after
// each thing the connection reports, and the Italian words for how it
// ended. The network code only moves the bytes and keeps the time; every
// decision is taken here, so that the rules run without sockets.
//
// KISS: connected -> frame written -> closed by us -> done.
// APRS-IS: connected -> login written -> "# logresp" read -> report written
// -> closed by us -> done. Any step may end early: the other end closes,
// the connection fails, nothing is heard in time.

#include <cstdint>
#include <optional>
#include <string>

#include "send/packet.h"
#include "settings/identity.h"
#include "settings/send_settings.h"
#include "station/calendar.h"

namespace send {

enum class Link { Kiss, AprsIs };
// "KISS", "APRS-IS"
const char *linkName(Link link);
const settings::Endpoint &endpoint(Link link, const settings::SendSettings &settings);
// "127.0.0.1:8001"
std::string where(Link link, const settings::SendSettings &settings);

// Why a connection failed, as the socket tells it.
enum class NetError { Refused, HostNotFound, Timeout, Unreachable, Other };

// What the network code does next.
enum class Action {
    None,        // wait for the next event
    WriteLogin,  // the APRS-IS login line
    WriteReport, // the frame or the report line
    Close,       // everything is out: close, and report `closed()`
    Finish,      // drop the connection; `result()` says how it went
};

struct Result {
    bool ok = false;
    std::string reason; // Italian; for a check also when it went well
};

class Attempt {
public:
    // `check` is "Verifica": connect, log in where there is a login, send
    // nothing.
    Attempt(Link link, bool check, const settings::Callsign &callsign, const std::string &passcode);

    Action connected();
    // A whole line read from the server.
    Action lineRead(const std::string &line);
    // Every byte handed to the connection so far has gone out.
    Action allWritten();
    Action closed();
    Action failed(NetError error);
    Action timedOut();

    bool finished() const { return result_.has_value(); }
    const Result &result() const { return *result_; }

private:
    Action finish(bool ok, std::string reason);

    Link link_;
    bool check_;
    bool cwop_, noPasscode_;
    bool loggedIn_ = false, closing_ = false;
    std::optional<Result> result_;
};

// The report's bytes for this link (a KISS frame, an APRS-IS line); none
// when it cannot be built.
std::optional<std::string> reportBytes(Link link, const Report &report);
// "user IZ1ABC-13 pass -1 vers meteo-aprs 1.1.3\r\n"
std::string loginLine(const settings::SendSettings &settings);
inline constexpr const char *kNotSendable = "rapporto meteo non inviabile";

// The status line's texts: a failed attempt with its retry pause, a reading
// dropped as too old, and a check's line in "Verifica".
std::string failureText(Link link, const settings::SendSettings &settings, const std::string &reason,
                        std::int64_t pauseMs);
std::string tooOldText(Link link, const settings::SendSettings &settings, std::int64_t maxAgeMs);
std::string checkLine(Link link, const settings::SendSettings &settings, const std::optional<Result> &result);
inline constexpr const char *kNothingToCheck = "Nessun invio attivo da verificare.";

// What a new reading of invio.kwt means for one send: nothing, a fresh
// start keeping the time of the last report (the report still went where
// it went), a fresh start forgetting it (address or port changed), or off.
enum class Change { None, Restart, RestartForget, Off };
Change change(Link link, const std::optional<settings::SendSettings> &before,
              const std::optional<settings::SendSettings> &after);

// "Ultimo invio: KISS 09:22, APRS-IS 05/12 09:20" (local times; the day
// when it was not that send's today); empty while neither has sent.
struct SentAt {
    station::ClockTime when;
    station::CalendarDate today;
};
std::string lastSentText(const std::optional<SentAt> &kiss, const std::optional<SentAt> &aprsIs);

} // namespace send
