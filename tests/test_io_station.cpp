// The code page and the calendar, the two pieces every file name and every
// byte of a file rest on.
#include <gtest/gtest.h>

#include "io/text_codec.h"
#include "station/calendar.h"

namespace {

std::string utf8(unsigned cp) {
    if (cp < 0x80)
        return std::string(1, static_cast<char>(cp));
    if (cp < 0x800)
        return {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F))};
    return {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)),
            static_cast<char>(0x80 | (cp & 0x3F))};
}

} // namespace

// The upper half of Windows-1252 both ways, from the code page's own table:
// 0x80..0x9F as it assigns them (its five holes kept as the C1 controls of
// the same value, as Windows does), 0xA0..0xFF as Latin-1.
TEST(Cp1252, TheUpperHalfBothWays) {
    const unsigned k80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                              0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const std::string byte(1, static_cast<char>(b)), text = utf8(b < 0xA0 ? k80[b - 0x80] : b);
        EXPECT_EQ(io::cp1252ToUtf8(byte), text) << std::hex << b;
        EXPECT_EQ(io::utf8ToCp1252(text).value_or("none"), byte) << std::hex << b;
    }
    EXPECT_FALSE(io::utf8ToCp1252("Citt\xc3\xa0 \xe6\x9d\xb1")); // a character the code page lacks
    for (const char *overlong : {"\xc0\xaf", "\xe0\x80\xaf", "\xc1\x81"}) // "/", "/", "A" in too many bytes
        EXPECT_FALSE(io::utf8ToCp1252(overlong)) << overlong;
    EXPECT_EQ(io::utf8ToCp1252Lossy("\xe6\x9d\xb1\xc3\xa0"), "?\xe0");
}

TEST(Calendar, DayBeforeCrossesYearsAndLeapDays) {
    const struct { station::CalendarDate date, before; } cases[] = {
        {{2027, 1, 1}, {2026, 12, 31}}, {{2028, 3, 1}, {2028, 2, 29}}, {{2000, 3, 1}, {2000, 2, 29}},
        {{2100, 3, 1}, {2100, 2, 28}},  {{2026, 5, 1}, {2026, 4, 30}}};
    for (const auto &c : cases)
        EXPECT_TRUE(station::dayBefore(c.date) == c.before) << c.date.year << "-" << c.date.month << "-" << c.date.day;
    EXPECT_FALSE(station::validDate({2026, 2, 29}));
    EXPECT_TRUE(station::validDate({2028, 2, 29}));
    std::string names;
    for (int m = 1; m <= 12; ++m)
        names += std::string(station::monthNameIt(m)) + " ";
    EXPECT_EQ(names, "gennaio febbraio marzo aprile maggio giugno luglio agosto settembre ottobre novembre dicembre ");
}
