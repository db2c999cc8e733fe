// The event record: the status line's problems as they begin and end.
#include "cycle/event_log.h"

#include <algorithm>

#include "io/text_codec.h"
#include "station/numbers.h"

namespace cycle {
namespace {

using station::zeroPadded;

std::string stamp(const station::ClockTime &t) {
    return zeroPadded(t.day, 2) + "/" + zeroPadded(t.month, 2) + "/" + zeroPadded(t.year, 4) + " " +
           zeroPadded(t.hour, 2) + ":" + zeroPadded(t.minute, 2);
}

std::string keyOf(const std::string &problem) { return problem.substr(0, problem.find_first_of(":0123456789")); }

} // namespace

void EventLog::programStarted(const station::ClockTime &now, const std::string &version) {
    write({stamp(now) + "  Avvio di meteo-aprs, Rel. " + version});
}

void EventLog::problemsNow(const station::ClockTime &now, const std::vector<std::string> &problems) {
    std::vector<std::string> lines;
    std::vector<Open> still;
    for (const Open &o : open_) {
        const auto it = std::find_if(problems.begin(), problems.end(),
                                     [&](const std::string &p) { return keyOf(p) == o.key; });
        if (it == problems.end())
            lines.push_back(stamp(now) + "  Risolto (dal " + stamp(o.first) + " al " + stamp(o.last) + "): " + o.text);
        else
            still.push_back({o.key, *it, o.first, now});
    }
    for (const std::string &p : problems) {
        const std::string key = keyOf(p);
        if (std::none_of(still.begin(), still.end(), [&](const Open &o) { return o.key == key; })) {
            still.push_back({key, p, now, now});
            lines.push_back(stamp(now) + "  Problema: " + p);
        }
    }
    open_ = std::move(still);
    write(lines);
}

void EventLog::programEnded(const station::ClockTime &now) {
    std::vector<std::string> lines;
    for (const Open &o : open_)
        lines.push_back(stamp(now) + "  Ancora presente alla chiusura (dal " + stamp(o.first) + "): " + o.text);
    open_.clear();
    lines.push_back(stamp(now) + "  Chiusura di meteo-aprs");
    write(lines);
}

void EventLog::write(const std::vector<std::string> &lines) const {
    if (lines.empty())
        return;
    std::string bytes;
    for (const std::string &line : lines)
        bytes += io::utf8ToCp1252Lossy(line) + "\r\n";
    // A record that cannot be written is no reason to stop anything else.
    (void)io::appendBounded(*disk_, path_, bytes, kEventLogLimitBytes, olderPath_);
}

} // namespace cycle
