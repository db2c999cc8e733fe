// The direct sends' timing: first tick, interval, growing retry pause.
#include "send/schedule.h"

#include <algorithm>

namespace send {

std::optional<std::int64_t> Schedule::nextAttempt() const {
    if (inFlight_ || !fresh_)
        return std::nullopt;
    std::int64_t next = 0; // nothing sent yet: at once
    if (lastSuccess_)
        next = *lastSuccess_ + timing_.intervalMs;
    if (retryAt_)
        next = std::max(next, *retryAt_);
    return next;
}

Due Schedule::due(std::int64_t now) {
    const auto next = nextAttempt();
    if (!next || now < *next)
        return Due::No;
    if (now - readAt_ > timing_.maxAgeMs) {
        fresh_ = false;
        return Due::TooOld;
    }
    return Due::Send;
}

void Schedule::started() {
    inFlight_ = true;
    // A report carries the latest data line; one that arrives during the
    // attempt is new again.
    fresh_ = false;
}

void Schedule::succeeded(std::int64_t now) {
    inFlight_ = false;
    lastSuccess_ = now;
    retryAt_.reset();
    failures_ = 0;
}

std::int64_t Schedule::failed(std::int64_t now) {
    inFlight_ = false;
    fresh_ = true; // the report still has to go out
    std::int64_t pause = timing_.firstRetryMs;
    for (int i = 0; i < failures_ && pause < timing_.maxRetryMs; ++i)
        pause *= 2;
    pause = std::min(pause, timing_.maxRetryMs);
    ++failures_;
    retryAt_ = now + pause;
    return pause;
}

} // namespace send
