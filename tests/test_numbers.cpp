#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>

#include "cycle/numbers.h"
#include "support/italian_locale.h"

using numbers::leadingNumber;
using numbers::numberText;
using numbers::parseLeadingNumber;

namespace {

const struct {
    double value;
    const char *text;
} kTextTable[] = {
    {0.5, " .5"},       {-0.25, "-.25"},     {0.0, " 0"},          {-0.0, " 0"},
    {1013, " 1013"},    {21.4, " 21.4"},     {-3.2, "-3.2"},       {0.3, " .3"},
    {1013.2, " 1013.2"}, {998.7, " 998.7"},  {-12.3, "-12.3"},     {100, " 100"},
    {0.0001, " .0001"}, {1e-7, " 1E-07"},    {-1.5e-9, "-1.5E-09"}, {123456789012345.0, " 123456789012345"},
    {1e15, " 1E+15"},   {1.5e20, " 1.5E+20"}, {0.1 + 0.2, " .3"},   {1.0 / 3, " .333333333333333"},
};

void expectTable() {
    for (const auto &row : kTextTable) {
        EXPECT_EQ(numberText(row.value), row.text) << row.value;
        EXPECT_EQ(leadingNumber(numberText(row.value)), leadingNumber(row.text)) << row.text;
    }
    EXPECT_DOUBLE_EQ(leadingNumber("21.4"), 21.4);
    EXPECT_DOUBLE_EQ(leadingNumber(" .5"), 0.5);
}

} // namespace

TEST(NumberText, Table) { expectTable(); }

TEST(NumberText, NeverLooksAtTheLocale) {
    if (!testing_support::useItalianLocale())
        GTEST_SKIP() << "no Italian locale on this machine";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the locale did not take effect";
    expectTable();
    testing_support::restoreCLocale();
}

TEST(LeadingNumber, Table) {
    const struct {
        const char *text;
        double value;
        bool isNumber;
    } table[] = {
        {"21.5\"", 21.5, true},  {"-12.3\"", -12.3, true}, {"100\"", 100, true},  {"21,4", 21, true},
        {"  7", 7, true},        {"+3", 3, true},          {".5", 0.5, true},     {"5.", 5, true},
        {"1e3", 1000, true},     {"1D2", 100, true},       {"2E-1x", 0.2, true},  {"1e", 1, true},
        {"1.2.3", 1.2, true},    {"---", 0, false},        {"\"", 0, false},      {"", 0, false},
        {"-", 0, false},         {".", 0, false},          {"abc", 0, false},     {"-0", 0, true},
    };
    for (const auto &row : table) {
        const auto parsed = parseLeadingNumber(row.text);
        EXPECT_EQ(parsed.has_value(), row.isNumber) << row.text;
        EXPECT_DOUBLE_EQ(leadingNumber(row.text), row.value) << row.text;
    }
}

TEST(LeadingNumber, OutOfRangeStaysFinite) {
    EXPECT_EQ(leadingNumber("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumber("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumber("1e-999"), 0.0);
    EXPECT_EQ(leadingNumber(std::string(400, '9')), std::numeric_limits<double>::max());
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(numberText(std::numeric_limits<double>::infinity()), " 1.79769313486232E+308");
}
