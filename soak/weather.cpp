// The soak's calendar and its weather: a winter drifting by small random steps.
#include <algorithm>
#include <cmath>

#include "soak/soak_internal.h"

namespace soak::detail {

int daysIn(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

Date nextDay(Date d) {
    if (++d.day > daysIn(d.year, d.month)) {
        d.day = 1;
        if (++d.month > 12) {
            d.month = 1;
            ++d.year;
        }
    }
    return d;
}

Date previousDay(Date d) {
    if (--d.day < 1) {
        if (--d.month < 1) {
            d.month = 12;
            --d.year;
        }
        d.day = daysIn(d.year, d.month);
    }
    return d;
}

std::string pad(long value, std::size_t width) {
    std::string s = std::to_string(value);
    if (s.size() < width)
        s.insert(0, width - s.size(), '0');
    return s;
}

std::string ymd(const Date &d) { return pad(d.year, 4) + pad(d.month, 2) + pad(d.day, 2); }

// Numbers as Heavy Weather writes them, from whole tenths or hundredths.
std::string tenths(long v) {
    const long a = v < 0 ? -v : v;
    return (v < 0 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
}
std::string hundredths(long v) { return std::to_string(v / 100) + "." + pad(v % 100, 2); }

std::vector<std::string> split(const std::string &text, const std::string &separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(separator, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

// The lines of a CR LF file; false when a line end is anything else or the
// last line has none.
bool crlfLines(const std::string &bytes, std::vector<std::string> &lines) {
    lines = split(bytes, "\r\n");
    if (lines.empty() || !lines.back().empty())
        return false;
    lines.pop_back();
    for (const auto &line : lines)
        if (line.find_first_of("\r\n") != std::string::npos)
            return false;
    return true;
}

// One tick's reading: what goes into currdat.lst, and what must come out of
// it in the files.

Feed Weather::next(long dayIndex, double dayFraction) {
    // Temperatures in tenths of a degree: a falling season, cold spells,
    // a day's swing of ±5 °C and a wandering offset.
    double base = 60 - 1.2 * static_cast<double>(dayIndex);
    if (dayIndex % 17 == 1 || dayIndex % 17 == 2)
        base -= 150;
    walk_ = clamp(walk_ + uniform(7) - 3, -60, 60);
    const long t = clamp(std::lround(base + 50 * std::sin(6.283185307 * (dayFraction - 0.375))) + walk_, -300, 400);
    humidity_ = clamp(humidity_ + uniform(3) - 1, 35, 100);
    wind_ = clamp(wind_ + uniform(21) - 10, 0, 700);
    direction_ = (direction_ + uniform(61) - 30 + 3600) % 3600;
    if (chance(400))
        rain24_ = clamp(rain24_ + 1 + uniform(20), 0, 600);
    if (chance(300))
        rain24_ = clamp(rain24_ - 10, 0, 600);
    rain1_ = rain24_ > 0 && chance(3) ? std::min(rain24_, uniform(30)) : 0;
    pressure_ = clamp(pressure_ + uniform(3) - 1, 9700, 10480);
    if (chance(500))
        forecast_ = uniform(4) - 1;
    if (chance(500))
        tendency_ = uniform(4) - 1;
    if (chance(3000))
        storm_ = storm_ == 0 ? 1 : 0;

    // Now and then a calm spell with the air near its dew point and a
    // humidity around 75 to 80 %, so that fog comes and goes and its rules
    // meet their bounds (wind 1.0, spreads 3.0, 3.5 and 4.0, humidity 75
    // and 80).
    if (calm_ == 0 && air_() % 300 == 0)
        calm_ = 20 + static_cast<long>(air_() % 60);
    const bool calm = calm_ > 0;
    calm_ -= calm;
    const long wind = calm ? static_cast<long>(air_() % 13) : wind_;
    const long humidity = calm ? 74 + static_cast<long>(air_() % 8) : humidity_;
    const long dew = t - static_cast<long>(calm ? air_() % 5 * 5 + 25 : air_() % 150);
    const long chill = t - wind / 25;
    const long total = 12340 + rain24_;

    Feed f;
    f.calm = calm;
    auto &v = f.file;
    v.dewPointC = tenths(dew);
    f.dewPoint = static_cast<double>(dew) / 10;
    v.windChillC = tenths(chill);
    f.windChill = static_cast<double>(chill) / 10;
    v.rainTotalMm = tenths(total);
    f.rainTotal = static_cast<double>(total) / 10;
    f.codesKnown = forecast_ >= 0 && tendency_ >= 0;
    v.forecast = std::to_string(forecast_);
    v.tendency = std::to_string(tendency_);
    v.storm = std::to_string(storm_);
    v.outdoorC = tenths(t);
    f.temperature = static_cast<double>(t) / 10;
    const long fahrenheit = t * 9 / 5 + 320;
    v.outdoorF = tenths(fahrenheit);
    const long wholeF = fahrenheit / 10; // toward zero, as the APRS text is
    f.temperatureAprs = wholeF < 0 ? "-" + pad(-wholeF, 2) : pad(wholeF, 3);
    v.outdoorHumidity = std::to_string(humidity);
    f.humidity = static_cast<double>(humidity);
    f.humidityAprs = humidity == 100 ? "00" : pad(humidity, 2);
    v.windKmh = tenths(wind);
    f.windKmh = static_cast<double>(wind) / 10;
    const long mph = wind * 621 / 1000;
    v.windMph = tenths(mph);
    f.speedAprs = pad(mph / 10, 3);
    v.windDirection = tenths(direction_);
    f.windDirection = static_cast<double>(direction_ / 10);
    f.directionAprs = pad(direction_ / 10, 3);
    v.rain24hInch = hundredths(rain24_);
    v.rain24hMm = tenths(rain24_ * 254 / 100);
    f.rain24hMm = static_cast<double>(rain24_ * 254 / 100) / 10;
    f.rain24hAprs = pad(rain24_, 3);
    v.rain1hInch = hundredths(rain1_);
    v.rain1hMm = tenths(rain1_ * 254 / 100);
    f.rain1hMm = static_cast<double>(rain1_ * 254 / 100) / 10;
    f.rain1hAprs = pad(rain1_, 3);
    v.pressureRelative = tenths(pressure_);
    f.pressure = static_cast<double>(pressure_) / 10;
    f.relative = f.pressure;
    f.relativeAprs = pad(pressure_, 5);
    v.pressureAbsolute = tenths(pressure_ - 770);
    f.absolute = static_cast<double>(pressure_ - 770) / 10;
    f.absoluteAprs = pad(pressure_ - 770, 5);

    // The station's faults: a pressure of 0, now and then for a while,
    // and sensors that the file marks as missing.
    if (outage_ > 0 || chance(700)) {
        if (outage_ == 0)
            outage_ = chance(4) ? 5 + uniform(60) : 1;
        --outage_;
        v.pressureRelative = chance(2) ? "0" : "0.0";
        f.pressure = 0;
        f.relative = 0.0;
        f.relativeAprs = "00000";
        if (chance(2)) {
            v.pressureAbsolute = "0";
            f.absolute = 0.0;
            f.absoluteAprs = "00000";
        }
    }
    if (chance(300)) {
        f.missing = true;
        const long mask = 1 + uniform(255);
        if (mask & 1) {
            v.outdoorC = v.outdoorF = "---";
            f.temperature.reset();
            f.temperatureAprs = "...";
        }
        if (mask & 2) {
            v.outdoorHumidity = "---";
            f.humidity.reset();
            f.humidityAprs = "..";
        }
        if (mask & 4) {
            v.windKmh = v.windMph = "---";
            f.windKmh.reset();
            f.speedAprs = "...";
        }
        if (mask & 8) {
            v.windDirection = "---";
            f.windDirection.reset();
            f.directionAprs = "...";
        }
        if (mask & 16) {
            v.rain24hMm = v.rain24hInch = "---";
            f.rain24hMm.reset();
            f.rain24hAprs = "...";
        }
        if (mask & 32) {
            v.rain1hMm = v.rain1hInch = "---";
            f.rain1hMm.reset();
            f.rain1hAprs = "...";
        }
        if (mask & 64) {
            v.pressureAbsolute = "---";
            f.absolute.reset();
            f.absoluteAprs = ".....";
        }
        if (mask & 128) {
            v.pressureRelative = "---";
            f.pressure = 0;
            f.relative.reset();
            f.relativeAprs = ".....";
        }
    }
    // In a calm, now and then one of the sensors that the fog rules rest on
    // is missing: no warning may rest on it.
    if (calm && air_() % 8 == 0) {
        f.missing = true;
        switch (air_() % 4) {
        case 0:
            v.windKmh = v.windMph = "---";
            f.windKmh.reset();
            f.speedAprs = "...";
            break;
        case 1:
            v.outdoorHumidity = "---";
            f.humidity.reset();
            f.humidityAprs = "..";
            break;
        case 2:
            v.dewPointC = "---";
            f.dewPoint.reset();
            break;
        default:
            v.outdoorC = v.outdoorF = "---";
            f.temperature.reset();
            f.temperatureAprs = "...";
            break;
        }
    }
    return f;
}

} // namespace soak::detail
