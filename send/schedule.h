#pragma once
// When a direct send may go out. The first report goes on the first tick,
// then no more often than the interval; a failed attempt is retried after a
// pause that doubles up to a cap, with the newest reading. A reading older
// than the interval is dropped, never sent as news. Times are milliseconds
// of a steady clock, passed in, so that the rules run without sockets or
// waiting.

#include <cstdint>
#include <optional>

namespace send {

struct Timing {
    std::int64_t intervalMs = 10 * 60 * 1000;
    std::int64_t firstRetryMs = 30 * 1000;
    std::int64_t maxRetryMs = 5 * 60 * 1000;
    std::int64_t maxAgeMs = 10 * 60 * 1000; // the interval
};

// The timing of a send whose settings give `intervalMinutes`.
inline Timing timingFor(int intervalMinutes) {
    Timing t;
    t.intervalMs = t.maxAgeMs = std::int64_t(intervalMinutes) * 60 * 1000;
    return t;
}

enum class Due { No, Send, TooOld };

class Schedule {
public:
    explicit Schedule(Timing timing = {}) : timing_(timing) {}

    // A tick read the station and brought a new data line.
    void dataArrived(std::int64_t now) {
        fresh_ = true;
        readAt_ = now;
    }
    // When the next attempt may start; nullopt while there is nothing new to
    // send or an attempt is under way.
    std::optional<std::int64_t> nextAttempt() const;
    // TooOld drops the waiting reading: nothing more goes out until the
    // next one arrives.
    Due due(std::int64_t now);

    void started();
    void succeeded(std::int64_t now);
    // The pause before the next attempt.
    std::int64_t failed(std::int64_t now);
    // The attempt was abandoned without a result (settings changed).
    void cancelled() { inFlight_ = false; }

    int failures() const { return failures_; }
    std::int64_t maxAge() const { return timing_.maxAgeMs; }

private:
    Timing timing_;
    bool fresh_ = false;
    bool inFlight_ = false;
    std::int64_t readAt_ = 0;
    std::optional<std::int64_t> lastSuccess_;
    std::optional<std::int64_t> retryAt_;
    int failures_ = 0;
};

} // namespace send
