#include "model/model.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>

namespace model {

std::vector<std::string> split(const std::string &text, const std::string &separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::optional<std::vector<std::string>> crlfLines(const std::string &bytes) {
    auto lines = split(bytes, "\r\n");
    const bool ended = lines.back().empty(); // the last line has its end, or there is none
    lines.pop_back();
    for (const auto &line : lines)
        if (line.find_first_of("\r\n") != std::string::npos)
            return std::nullopt;
    return ended ? std::optional(lines) : std::nullopt;
}

bool numberField(const std::string &text, std::optional<double> *value) {
    if (value)
        *value = std::nullopt;
    if (text.empty())
        return true;
    // A sign place, no "0" before a point, no trailing zeros after it, an
    // optional exponent for magnitudes beyond plain digits.
    static const std::regex form(R"([ -](0|[1-9][0-9]*(\.[0-9]*[1-9])?|\.[0-9]*[1-9])(E[+-][0-9]{2,3})?)");
    if (!std::regex_match(text, form) || text == "-0")
        return false;
    if (value)
        *value = std::strtod(text.c_str(), nullptr);
    return true;
}

static bool allNumbers(const std::vector<std::string> &fields, std::size_t from) {
    return std::all_of(fields.begin() + std::ptrdiff_t(from), fields.end(), [](const auto &f) { return numberField(f); });
}

bool logRow(const std::string &line) {
    static const std::regex date("[0-9]{8}"), time("([01][0-9]|2[0-3]):[0-5][0-9]");
    const auto f = split(line, " ; ");
    return f.size() == 15 && std::regex_match(f[0], date) && std::regex_match(f[1], time) && allNumbers(f, 2);
}

bool summaryRow(const std::string &line) {
    static const std::regex date("[0-3][0-9]/(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)/[0-9]{4}");
    const auto f = split(line, " ; ");
    return f.size() == 5 && std::regex_match(f[0], date) && allNumbers(f, 1);
}

bool storeFile(const std::string &bytes) {
    const auto lines = crlfLines(bytes);
    return lines && lines->size() == 4 && allNumbers(*lines, 0);
}

bool windFile(const std::string &bytes) {
    const auto lines = crlfLines(bytes);
    return lines && lines->size() == 4 && (*lines)[0] == "Velocit\xE0 [km/h]" && (*lines)[2] == "Direzione [gradi]" &&
           numberField((*lines)[1]) && numberField((*lines)[3]);
}

std::optional<Report> readDataLine(const std::string &line) {
    static const std::regex form(R"(([0-9]{3}|\.{3})/([0-9]{3}|\.{3})g([0-9]{3}|\.{3})t(-[0-9]{2}|[0-9]{3}|\.{3}))"
                                 R"(p([0-9]{3}|\.{3})r([0-9]{3}|\.{3})b([0-9]{5}|\.{5})h([0-9]{2}|\.{2}))"
                                 R"(/([^/]*)/([^/]*)/([0-9]+W))");
    std::smatch m;
    if (!std::regex_match(line, m, form))
        return std::nullopt;
    const auto field = [&](int i) -> std::optional<long> {
        const std::string s = m[i].str();
        if (s[0] == '.')
            return std::nullopt;
        return std::strtol(s.c_str(), nullptr, 10);
    };
    Report r{field(1), field(2), field(3), field(4), field(5), field(6), field(7), field(8), m[9], m[10], m[11]};
    if (r.humidity == 0)
        r.humidity = 100;
    return r;
}

bool agrees(std::optional<long> field, std::optional<double> value, long lowest, long highest, Cut cut) {
    if (!value || std::isnan(*value))
        return !field;
    if (!field)
        return false;
    // The program works on the decimal text that the station wrote, the
    // caller on a binary double scaled by a power of ten: a value a hair
    // from a step may fall on either side of it.
    const auto expected = [&](double v) {
        const double whole = cut == Cut::TowardZero ? std::trunc(v) : cut == Cut::Down ? std::floor(v) : std::round(v);
        return whole < lowest ? lowest : whole > highest ? highest : whole;
    };
    const double f = static_cast<double>(*field), slack = 1e-9 * std::max(1.0, std::fabs(*value));
    return f == expected(*value - slack) || f == expected(*value + slack);
}

void Extremes::add(std::optional<double> temperature, double relativePressure) {
    if (relativePressure == 0)
        return;
    const auto widen = [](std::optional<double> &lo, std::optional<double> &hi, double v) {
        if (!lo || v < *lo)
            lo = v;
        if (!hi || v > *hi)
            hi = v;
    };
    if (temperature)
        widen(tMin, tMax, *temperature);
    widen(pMin, pMax, relativePressure);
}

// Spreads are whole quarters so that the difference is exact in binary.
const std::vector<AlertCase> kAlertBounds = {
    {0, 78, 10, 7, true, false},        // B: 75..80 and spread below 3.5
    {0, 80, 10, 6.5, false, false},     // B's spread bound is open
    {0, 80, 10, 6.25, false, false},    // 80 is not above 80: A does not hold
    {0, 80.5, 10, 6.25, true, false},   // A: spread 3.75 below 4
    {0, 81, 10, 6, false, false},       // A's spread bound is open
    {0, 75, 10, 6.75, true, false},     // 75 is in B
    {0, 74.5, 10, 6.75, false, false},  // C: spread 3.25 not below 3
    {0, 74.5, 10, 7.25, true, false},   // C: 2.75
    {0, 74.5, 10, 7, false, false},     // C's bound is open
    {0.75, 90, 10, 10, true, false},    // wind below 1
    {1, 90, 10, 10, false, false},      // wind 1: no fog rule is tried
    {1, 90, 0.5, 0.5, false, true},     // ice whatever the wind
    {0, 90, 0.75, 0.75, true, true},    // both
    {5, 50, 1, -5, false, false},       // 1 degree is not below 1
    {5, 50, -20, -30, false, true},
};

const std::vector<SituationCase> kSituationBounds = {
    {1, 5.2, 20, "pioggia-vento forte"}, {1, 0, 0, "nuvoloso"}, {2, 0, 0.25, "sereno-brezza"},
    {2, 0.25, 0, "pioviggine"},     {2, 2.75, 0, "pioviggine"},          {2, 3, 0, "pioggia"},
    {2, 14.75, 0, "pioggia"},       {2, 15, 0, "pioggia intensa"},       {1, 0, -2, "nuvoloso"},
    {1, 0, 7.25, "nuvoloso-brezza"}, {1, 0, 7.5, "nuvoloso-vento"},       {1, 0, 14.75, "nuvoloso-vento"},
    {1, 0, 15, "nuvoloso-vento forte"},
};

const char *const kForecastCells[3][3] = {
    {"pioggia", "molto nuvoloso", "pioggia"},
    {"nuvoloso", "poco nuvoloso", "molto nuvoloso"},
    {"sereno", "sereno", "variabile"},
};

} // namespace model
