#pragma once
// When a direct send may go out. The first report goes on the first tick,
// then no more often than the interval; a failed attempt is retried after a
// pause that doubles up to a cap. Times are milliseconds of a steady clock,
// passed in, so that the rules run without sockets or waiting.

#include <cstdint>
#include <optional>

namespace send {

struct Timing {
    std::int64_t intervalMs = 10 * 60 * 1000;
    std::int64_t firstRetryMs = 30 * 1000;
    std::int64_t maxRetryMs = 5 * 60 * 1000;
};

class Schedule {
public:
    explicit Schedule(Timing timing = {}) : timing_(timing) {}
    void setTiming(Timing timing) { timing_ = timing; }

    // A tick brought a new data line.
    void dataArrived() { fresh_ = true; }
    // When the next attempt may start; nullopt while there is nothing new to
    // send or an attempt is under way.
    std::optional<std::int64_t> nextAttempt() const;
    bool due(std::int64_t now) const {
        const auto next = nextAttempt();
        return next && now >= *next;
    }

    void started();
    void succeeded(std::int64_t now);
    // The pause before the next attempt.
    std::int64_t failed(std::int64_t now);
    // The attempt was abandoned without a result (settings changed).
    void cancelled() { inFlight_ = false; }

    int failures() const { return failures_; }

private:
    Timing timing_;
    bool fresh_ = false;
    bool inFlight_ = false;
    std::optional<std::int64_t> lastSuccess_;
    std::optional<std::int64_t> retryAt_;
    int failures_ = 0;
};

} // namespace send
