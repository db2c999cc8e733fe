// The soak's run: the real cycle ticked on a simulated clock, restarts, memory figures.
#include "soak/soak.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
#include <malloc.h>
#define SOAK_HAVE_MALLINFO2 1
#endif

#include "io/file_io.h"
#include "station/numbers.h"
#include "cycle/tick.h"
#include "support/currdat.h"
#include "support/test_support.h"

#include "soak/soak_internal.h"

namespace soak {
namespace detail {

Figures Soak::run() {
    const auto started = std::chrono::steady_clock::now();
    figures_.rssStartKb = residentKb();
    writeConfig();
    const long warmAt = std::max(1L, options_.ticks / 10);
    for (long k = 0; k < options_.ticks; ++k) {
        tick(k);
        if (k + 1 == warmAt) {
            figures_.rssWarmKb = residentKb();
            figures_.heapWarmKb = heapInUseKb();
        }
        if (options_.progress && (k + 1) % std::max(1L, options_.ticks / 10) == 0)
            options_.progress(std::to_string(k + 1) + " ticks, clock " + now_ + ", VmRSS " +
                              std::to_string(residentKb()) + " KiB, heap in use " +
                              std::to_string(heapInUseKb()) + " KiB, " + std::to_string(figures_.failureCount) +
                              " failures");
    }
    figures_.rssEndKb = residentKb();
    figures_.heapEndKb = heapInUseKb();
    checkLog(date_, today_);
    for (const auto &month : summaries_)
        checkSummary(month.first);
    checkFolder();
    figures_.ticks = options_.ticks;
    figures_.simulatedDays = static_cast<double>(options_.ticks) * 59.5 / 86400;
    figures_.calendarDays = static_cast<long>(days_.size());
    figures_.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return figures_;
}

void Soak::fail(const std::string &what) {
    if (figures_.failures.size() < kFailuresKept)
        figures_.failures.push_back(now_ + ": " + what);
    ++figures_.failureCount;
}

void Soak::expect(bool ok, const std::string &what) {
    if (!ok)
        fail(what);
}

void Soak::writeConfig() {
    aprsChoice_ = static_cast<char>('1' + dayIndex_ % 3);
    pressureChoice_ = dayIndex_ % 2 == 0 ? '2' : '1';
    const std::string folder = (dayIndex_ / 7) % 2 == 0 ? out_ : out_ + "/";
    writeBytes(config_, std::string(1, aprsChoice_) + "\r\n" + pressureChoice_ + "\r\n" + station_ + "\r\n" +
                            folder + "\r\n");
}

void Soak::tick(long k) {
    if (clock_ >= kHalfSecondsPerDay) {
        checkLog(date_, today_);
        today_.clear();
        clock_ -= kHalfSecondsPerDay;
        date_ = nextDay(date_);
        ++dayIndex_;
        writeConfig();
    }
    const long second = static_cast<long>(clock_ / 2);
    const station::ClockTime now{date_.year, date_.month, date_.day, static_cast<int>(second / 3600),
                               static_cast<int>(second % 3600 / 60)};
    now_ = pad(now.year, 4) + "-" + pad(now.month, 2) + "-" + pad(now.day, 2) + " " + pad(now.hour, 2) + ":" +
           pad(now.minute, 2) + ":" + pad(second % 60, 2) + (clock_ % 2 ? ".5" : ".0");
    days_.insert(ymd(date_));

    const Feed f = weather_.next(dayIndex_, static_cast<double>(clock_) / kHalfSecondsPerDay);
    writeBytes(io::joinPath(station_, "currdat.lst"), testing_support::currdatFile(f.file));
    cycle::TickInputs in;
    in.configPath = config_;
    in.now = now;
    const auto outcome = cycle_->tick(in);
    expect(outcome.gate == cycle::Gate::Converted, "the tick did not convert currdat.lst");
    for (const auto &problem : outcome.problems)
        fail("problem reported: " + problem);

    // The account of what the files must hold.
    Extremes &day = extremes_[ymd(date_)];
    if (f.pressure != 0)
        day.add(f.temperature, f.pressure);
    figures_.zeroPressureTicks += f.pressure == 0;
    figures_.missingSensorTicks += f.missing;
    figures_.negativeTemperatureTicks += f.temperature && *f.temperature < 0;
    figures_.negativeFahrenheitTicks += f.temperatureAprs[0] == '-';
    today_.push_back({pad(now.hour, 2) + ":" + pad(now.minute, 2), f.temperature, f.pressure, f.windKmh,
                      f.windDirection});
    const bool midnight = now.hour == 0 && now.minute == 0;
    if (midnight) {
        if (lastMidnight_ && ymd(*lastMidnight_) == ymd(date_)) {
            ++figures_.doubleMidnights;
            figures_.doubleMidnightDates.push_back(ymd(date_));
        } else {
            ++figures_.midnights;
            const Extremes &ended = extremes_[ymd(previousDay(date_))];
            if (ended.any)
                summaries_[ymd(date_).substr(0, 6)].push_back(
                    {pad(date_.day, 2) + "/" + kMonthsEn[date_.month - 1] + "/" + pad(date_.year, 4), ended});
        }
        lastMidnight_ = date_;
        checkSummary(ymd(date_).substr(0, 6));
    }

    checkWeatherFile(f, now);
    checkWindFile(f);
    // The window where its rules meet their bounds (a calm, a missing
    // sensor, the air near 1 °C), and every eighth tick besides: building
    // its captions costs as much as a third of the tick's own work.
    const bool nearIce = f.temperature && *f.temperature > 0.5 && *f.temperature < 1.5;
    if (f.calm || f.missing || nearIce || k % 8 == 0)
        checkWindow(f, outcome, day);
    checkStore(day);

    // Restarts: memory is lost, the files stay.
    const bool onMidnight = clock_ == 0;
    if ((options_.restartEvery > 0 && (k + 1) % options_.restartEvery == 0) || (onMidnight && dayIndex_ % 2 == 0))
        restart();
    clock_ += kTickHalfSeconds;
    const Date tomorrow = nextDay(date_);
    const int every = options_.midnightRestartEvery;
    if (clock_ >= kHalfSecondsPerDay && every > 0 && (tomorrow.day == 1 || tomorrow.day % every == 0)) {
        // Started again at 23:59:59.9: the first tick comes on the stroke.
        clock_ = kHalfSecondsPerDay;
        restart();
    }
}

void Soak::restart() {
    cycle_ = std::make_unique<cycle::ConversionCycle>();
    ++figures_.restarts;
}

} // namespace detail

Figures run(const Options &options, const std::string &folder) { return detail::Soak(options, folder).run(); }

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return static_cast<long>(station::leadingNumber(line.substr(6)));
    return 0;
}

std::string memoryVerdict(const Figures &f) {
    if (sanitized())
        return {};
    std::string why;
    if (f.rssEndKb - f.rssWarmKb > 1024)
        why += "VmRSS grew from " + std::to_string(f.rssWarmKb) + " KiB to " + std::to_string(f.rssEndKb) + " KiB. ";
    const long heapMargin = 16 + static_cast<long>(f.simulatedDays + 1);
    if (f.heapEndKb - f.heapWarmKb > heapMargin)
        why += "The heap in use grew from " + std::to_string(f.heapWarmKb) + " KiB to " +
               std::to_string(f.heapEndKb) + " KiB, more than " + std::to_string(heapMargin) + " KiB.";
    return why;
}

long heapInUseKb() {
#ifdef SOAK_HAVE_MALLINFO2
    return static_cast<long>(mallinfo2().uordblks / 1024);
#else
    return 0;
#endif
}

bool sanitized() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

} // namespace soak
