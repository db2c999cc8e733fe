// config.kwt: choices read exactly, lines carried over byte for byte, CP1252 folders.
// A save that fails leaves the file whole: gui_fault_matrix.cpp, through each dialog.
#include <gtest/gtest.h>

#include <cstdio>

#include "io/config_file.h"
#include "io/text_codec.h"
#include "support/test_support.h"

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

TEST(ConfigFile, ChoicesAreComparedExactlyAndAnythingElseReadsAsOne) {
    using A = config::AprsChoice;
    using P = config::PressureChoice;
    const struct { const char *bytes; A aprs; P pressure; const char *heavyWeather; } cases[] = {
        {"3\r\n2\r\n/hw\r\n/out\r\n", A::NoWeather, P::Relative, "/hw"}, {"2\r2\r/hw", A::LocalSituation, P::Relative, "/hw"},
        {"3\r\n3\r\n", A::NoWeather, P::Absolute, ""}, {"4\r\n 2\r\n", A::Forecast, P::Absolute, ""},
        {"3 \r\n02\r\n", A::Forecast, P::Absolute, ""}, {"\x01\xff\r\n\r\n", A::Forecast, P::Absolute, ""},
        {nullptr, A::Forecast, P::Absolute, ""}};
    for (const auto &c : cases) {
        TempDir dir;
        if (c.bytes)
            writeBytes(dir.file("config.kwt"), c.bytes);
        const auto s = config::readSettings(dir.file("config.kwt"));
        EXPECT_TRUE(s.aprsChoice == c.aprs && s.pressureChoice == c.pressure && s.heavyWeatherFolder == c.heavyWeather)
            << (c.bytes ? c.bytes : "no file");
    }
}

// Each save keeps the other lines byte for byte, drops extra lines, and gives
// a new or short file its missing choices as "1".
TEST(ConfigFile, EachSaveKeepsTheOtherLinesAndFillsInMissingChoices) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    const struct { const char *before; bool folders; const char *after; } cases[] = {
        {"3 \r\n2\r\nC:\\HW\\\r\nold\r\nfive\r\n", false, "3 \r\n2\r\nC:\\HW\\\r\nold\r\n"},
        {"3 \r\n2\r\nC:\\HW\\\r\nold\r\n", true, "3 \r\n2\r\na\r\nb\r\n"},
        {nullptr, true, "1\r\n1\r\na\r\nb\r\n"}, {"2\r\n", true, "2\r\n1\r\na\r\nb\r\n"},
        {"", false, "1\r\n2\r\n\r\n\r\n"}};
    for (const auto &c : cases) {
        std::remove(path.c_str());
        if (c.before)
            writeBytes(path, c.before);
        EXPECT_TRUE(c.folders ? config::saveFolders(path, "a", "b").ok() : config::saveChoice(path, 1, 2).ok());
        EXPECT_EQ(readBytes(path), c.after) << (c.before ? c.before : "no file");
    }
}

TEST(ConfigFile, FoldersAreCp1252OnDiskAndRefusedWhenItCannotHoldThem) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    const std::string citta = "/dati/Citt\xc3\xa0"; // UTF-8 "à"
    ASSERT_TRUE(config::saveFolders(path, citta, citta + "/out").ok());
    EXPECT_EQ(readBytes(path), "1\r\n1\r\n/dati/Citt\xe0\r\n/dati/Citt\xe0/out\r\n");
    EXPECT_EQ(config::readSettings(path).heavyWeatherFolder, citta);
    EXPECT_EQ(config::saveFolders(path, "/dati/\xe6\x9d\xb1", "/out").status, config::SaveStatus::NotRepresentable);
    EXPECT_EQ(readBytes(path), "1\r\n1\r\n/dati/Citt\xe0\r\n/dati/Citt\xe0/out\r\n");
    // Every byte means something, so none is lost on the way through.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(codec::utf8ToCp1252(codec::cp1252ToUtf8(all)), all);
    EXPECT_EQ(codec::cp1252ToUtf8("\x80\xe0"), "\xe2\x82\xac\xc3\xa0"); // € à
}
