// The steps of one direct send and the words for how it went.
#include "send/attempt.h"

#include <utility>

#include "station/version.h"

namespace send {
namespace {

std::string twoDigits(int n) { return std::string(1, char('0' + n / 10 % 10)) + char('0' + n % 10); }

// "30 s" up to two minutes, then whole minutes, rounded up.
std::string pauseText(std::int64_t ms) {
    const std::int64_t seconds = (ms + 999) / 1000;
    if (seconds < 120)
        return std::to_string(seconds) + " s";
    return std::to_string((seconds + 59) / 60) + " min";
}

// What this send depends on: a change of the other send's fields leaves an
// attempt under way, its retry pause and its interval alone.
std::string key(Link link, const settings::SendSettings &s) {
    const settings::Endpoint &e = endpoint(link, s);
    const std::string k = settings::callsignText(s.callsign) + " " + settings::degreesText(s.position.latitude) + " " +
                          settings::degreesText(s.position.longitude) + " " + e.host + " " + std::to_string(e.port) +
                          " " + std::to_string(e.intervalMinutes);
    return link == Link::Kiss ? k + " " + settings::pathText(s.path) : k + " " + s.passcode;
}

} // namespace

const char *linkName(Link link) { return link == Link::Kiss ? "KISS" : "APRS-IS"; }

const settings::Endpoint &endpoint(Link link, const settings::SendSettings &settings) {
    return link == Link::Kiss ? settings.kiss : settings.aprsIs;
}

std::string where(Link link, const settings::SendSettings &settings) {
    const settings::Endpoint &e = endpoint(link, settings);
    return e.host + ":" + std::to_string(e.port);
}

Attempt::Attempt(Link link, bool check, const settings::Callsign &callsign, const std::string &passcode)
    : link_(link), check_(check), cwop_(settings::isCwop(callsign)),
      noPasscode_(passcode.empty() || passcode == "-1") {}

Action Attempt::finish(bool ok, std::string reason) {
    result_ = Result{ok, std::move(reason)};
    return Action::Finish;
}

// A KISS TNC takes the frame at once; an APRS-IS server first wants the
// login and answers "# logresp" before it takes packets.
Action Attempt::connected() {
    if (finished())
        return Action::None;
    if (link_ == Link::AprsIs)
        return Action::WriteLogin;
    return check_ ? finish(true, "TNC raggiungibile") : Action::WriteReport;
}

Action Attempt::lineRead(const std::string &line) {
    if (finished() || link_ != Link::AprsIs || loggedIn_ || line.rfind("# logresp", 0) != 0)
        return Action::None;
    // Unverified, the server drops an amateur station's report without a
    // word, so the user is told instead; a CWOP station is meant to send
    // unverified.
    const bool unverified = line.find(" unverified") != std::string::npos;
    if (check_)
        return finish(true, !unverified ? "login verificato"
                            : cwop_     ? "login non verificato: normale per una stazione CWOP, "
                                          "i rapporti vengono accettati"
                                        : "login non verificato: con un nominativo radioamatoriale "
                                          "il server non inoltra i rapporti, serve il passcode giusto");
    if (unverified && !cwop_)
        return finish(false, noPasscode_ ? "login non verificato: il server non inoltra il rapporto, serve il passcode"
                                         : "passcode non accettato dal server");
    loggedIn_ = true;
    return Action::WriteReport;
}

Action Attempt::allWritten() {
    if (finished() || closing_ || (link_ == Link::AprsIs && !loggedIn_))
        return Action::None;
    closing_ = true;
    return Action::Close;
}

Action Attempt::closed() {
    if (finished())
        return Action::None;
    if (closing_)
        return finish(true, "");
    return finish(false, link_ == Link::AprsIs && !loggedIn_ ? "il server ha chiuso la connessione"
                                                             : "connessione chiusa dall'altro capo");
}

Action Attempt::failed(NetError error) {
    if (finished() || closing_)
        return Action::None;
    switch (error) {
    case NetError::Refused:
        return finish(false, "connessione rifiutata");
    case NetError::HostNotFound:
        return finish(false, "indirizzo non trovato");
    case NetError::Timeout:
        return finish(false, "nessuna risposta");
    case NetError::Unreachable:
        return finish(false, "rete non raggiungibile");
    case NetError::Other:
        break;
    }
    return finish(false, "errore di rete");
}

Action Attempt::timedOut() {
    if (finished())
        return Action::None;
    return finish(false, link_ == Link::AprsIs && !loggedIn_ ? "il server non risponde" : "nessuna risposta");
}

std::optional<std::string> reportBytes(Link link, const Report &report) {
    if (link == Link::AprsIs)
        return aprsIsLine(report);
    if (const auto frame = ax25Frame(report))
        return kissFrame(*frame);
    return std::nullopt;
}

std::string loginLine(const settings::SendSettings &settings) {
    const std::string version = std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) + "." +
                                std::to_string(version::kRevision);
    return aprsIsLogin(settings.callsign, settings.passcode, version);
}

std::string failureText(Link link, const settings::SendSettings &settings, const std::string &reason,
                        std::int64_t pauseMs) {
    return std::string(linkName(link)) + ": " + reason + " (" + where(link, settings) + "), nuovo tentativo tra " +
           pauseText(pauseMs);
}

std::string tooOldText(Link link, const settings::SendSettings &settings, std::int64_t maxAgeMs) {
    return std::string(linkName(link)) + ": nessun rapporto inviato (" + where(link, settings) +
           "): l'ultima lettura ha più di " + pauseText(maxAgeMs) + ", si invierà la prossima lettura di currdat.lst";
}

std::string checkLine(Link link, const settings::SendSettings &settings, const std::optional<Result> &result) {
    const std::string name = std::string(linkName(link)) + ": ";
    if (!result)
        return name + "verifica in corso...";
    return name + (result->ok ? result->reason : result->reason + " (" + where(link, settings) + ")");
}

Change change(Link link, const std::optional<settings::SendSettings> &before,
              const std::optional<settings::SendSettings> &after) {
    if (!after || !endpoint(link, *after).enabled)
        return Change::Off;
    if (before && key(link, *before) == key(link, *after))
        return Change::None;
    const settings::Endpoint &e = endpoint(link, *after);
    const bool samePlace = before && endpoint(link, *before).host == e.host && endpoint(link, *before).port == e.port;
    return samePlace ? Change::Restart : Change::RestartForget;
}

std::string lastSentText(const std::optional<SentAt> &kiss, const std::optional<SentAt> &aprsIs) {
    std::string text;
    for (const auto &[sent, link] : {std::pair{&kiss, Link::Kiss}, std::pair{&aprsIs, Link::AprsIs}}) {
        if (!*sent)
            continue;
        const station::ClockTime &t = (*sent)->when;
        text += std::string(text.empty() ? "Ultimo invio: " : ", ") + linkName(link) + " " +
                (t.date() == (*sent)->today ? "" : twoDigits(t.day) + "/" + twoDigits(t.month) + " ") +
                twoDigits(t.hour) + ":" + twoDigits(t.minute);
    }
    return text;
}

} // namespace send
