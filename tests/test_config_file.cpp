// config.kwt: choices read exactly, lines carried over byte for byte, CP1252 folders.
#include <gtest/gtest.h>

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
        {"3\r\n2\r\n/hw\r\n/out\r\n", A::NoWeather, P::Relative, "/hw"},
        {"2\r2\r/hw", A::LocalSituation, P::Relative, "/hw"},
        {"3\r\n3\r\n", A::NoWeather, P::Absolute, ""},
        {"4\r\n 2\r\n", A::Forecast, P::Absolute, ""},
        {"3 \r\n02\r\n", A::Forecast, P::Absolute, ""},
        {"\x01\xff\r\n\r\n", A::Forecast, P::Absolute, ""},
        {"", A::Forecast, P::Absolute, ""},
        {nullptr, A::Forecast, P::Absolute, ""}};
    for (const auto &c : cases) {
        TempDir dir;
        if (c.bytes)
            writeBytes(dir.file("config.kwt"), c.bytes);
        const auto s = config::readSettings(dir.file("config.kwt"));
        EXPECT_EQ(s.aprsChoice, c.aprs) << (c.bytes ? c.bytes : "no file");
        EXPECT_EQ(s.pressureChoice, c.pressure) << (c.bytes ? c.bytes : "no file");
        EXPECT_EQ(s.heavyWeatherFolder, c.heavyWeather);
    }
}

TEST(ConfigFile, EachSaveKeepsTheOtherLinesByteForByteAndDropsExtraLines) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    writeBytes(path, "3 \r\n2\r\nC:\\HW\\\r\nold\r\nfive\r\n");
    ASSERT_TRUE(config::saveChoice(path, 1, 1).ok());
    EXPECT_EQ(readBytes(path), "3 \r\n1\r\nC:\\HW\\\r\nold\r\n");
    ASSERT_TRUE(config::saveFolders(path, "/dati/hw", "/dati/out").ok());
    EXPECT_EQ(readBytes(path), "3 \r\n1\r\n/dati/hw\r\n/dati/out\r\n");
}

TEST(ConfigFile, ANewOrShortFileGainsItsMissingChoicesAsOne) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    ASSERT_TRUE(config::saveFolders(path, "C:\\HW\\", "D:\\").ok());
    EXPECT_EQ(readBytes(path), "1\r\n1\r\nC:\\HW\\\r\nD:\\\r\n");
    writeBytes(path, "2\r\n");
    ASSERT_TRUE(config::saveFolders(path, "a", "b").ok());
    EXPECT_EQ(readBytes(path), "2\r\n1\r\na\r\nb\r\n");
    writeBytes(path, "");
    ASSERT_TRUE(config::saveChoice(path, 1, 2).ok());
    EXPECT_EQ(readBytes(path), "1\r\n2\r\n\r\n\r\n");
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

TEST(ConfigFile, AFailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    writeBytes(path, "2\r\n2\r\n/hw\r\n/out\r\n");
    testing_support::FullDisk disk;
    disk.stopAfter = 5;
    const auto res = config::saveChoice(path, 0, 3, disk);
    EXPECT_EQ(res.status, config::SaveStatus::WriteFailed);
    EXPECT_EQ(readBytes(path), "2\r\n2\r\n/hw\r\n/out\r\n");
    EXPECT_FALSE(fileio::exists(path + ".tmp"));
}
