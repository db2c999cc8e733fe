#include <gtest/gtest.h>

#include "config/config_file.h"
#include "config/text_codec.h"
#include "support/test_support.h"

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

TEST(ConfigFile, ChoicesAreComparedExactly) {
    struct Case {
        const char *line;
        char aprs;
        char pressure;
    } cases[] = {{"1", '1', '1'}, {"2", '2', '2'}, {"3", '3', '1'}, {"4", '1', '1'}, {" 1", '1', '1'},
                 {"1 ", '1', '1'}, {"01", '1', '1'}, {"", '1', '1'},  {"\x01\xff", '1', '1'}};
    for (const auto &c : cases) {
        config::RawLines raw;
        raw.line = {c.line, c.line, "", ""};
        raw.present = 4;
        const auto s = config::settingsFrom(raw);
        EXPECT_EQ(s.aprsChoice, c.aprs) << '"' << c.line << '"';
        EXPECT_EQ(s.pressureChoice, c.pressure) << '"' << c.line << '"';
    }
}

TEST(ConfigFile, ShortEmptyAndMissingFilesReadAsDefaults) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    auto s = config::readSettings(path);
    EXPECT_EQ(s.aprsChoice, '1');
    EXPECT_EQ(s.heavyWeatherFolder, "");

    writeBytes(path, "");
    s = config::readSettings(path);
    EXPECT_EQ(s.pressureChoice, '1');
    EXPECT_EQ(s.outputFolder, "");

    writeBytes(path, "3\r2\r/hw");
    s = config::readSettings(path);
    EXPECT_EQ(s.aprsChoice, '3');
    EXPECT_EQ(s.pressureChoice, '2');
    EXPECT_EQ(s.heavyWeatherFolder, "/hw");
    EXPECT_EQ(s.outputFolder, "");
}

TEST(ConfigFile, SavingFoldersKeepsChoicesByteForByteAndDropsExtraLines) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    writeBytes(path, "3 \r\n2\r\nold\r\nold\r\nfive\r\nsix\r\n");
    ASSERT_TRUE(config::saveFolders(path, "/dati/hw", "/dati/out").ok());
    EXPECT_EQ(readBytes(path), "3 \r\n2\r\n/dati/hw\r\n/dati/out\r\n");
}

TEST(ConfigFile, CreatingTheFileWritesOneOneAndTheFolders) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    ASSERT_TRUE(config::saveFolders(path, "C:\\HW\\", "D:\\").ok());
    EXPECT_EQ(readBytes(path), "1\r\n1\r\nC:\\HW\\\r\nD:\\\r\n");
}

TEST(ConfigFile, ShortFileGainsItsMissingChoicesAsOne) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    writeBytes(path, "2\r\n");
    ASSERT_TRUE(config::saveFolders(path, "a", "b").ok());
    EXPECT_EQ(readBytes(path), "2\r\n1\r\na\r\nb\r\n");
    writeBytes(path, "");
    ASSERT_TRUE(config::saveChoice(path, 1, "2").ok());
    EXPECT_EQ(readBytes(path), "1\r\n2\r\n\r\n\r\n");
}

TEST(ConfigFile, FolderWithAccentRoundTripsAsOneCp1252Byte) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    const std::string citta = "/dati/Citt\xc3\xa0"; // UTF-8 "à"
    ASSERT_TRUE(config::saveFolders(path, citta, citta + "/out").ok());
    EXPECT_EQ(readBytes(path), "1\r\n1\r\n/dati/Citt\xe0\r\n/dati/Citt\xe0/out\r\n");
    EXPECT_EQ(config::readSettings(path).heavyWeatherFolder, citta);
}

TEST(ConfigFile, FolderOutsideCp1252IsRefusedAndNothingIsWritten) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    const auto res = config::saveFolders(path, "/dati/\xe6\x9d\xb1\xe4\xba\xac", "/out"); // 東京
    EXPECT_EQ(res.status, config::SaveStatus::NotRepresentable);
    EXPECT_FALSE(fileio::exists(path));
}

TEST(ConfigFile, FailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    const auto path = dir.file("config.kwt");
    writeBytes(path, "2\r\n2\r\n/hw\r\n/out\r\n");
    fileio::setWriteFaultAfterBytes(5);
    const auto res = config::saveChoice(path, 0, "3");
    fileio::setWriteFaultAfterBytes(std::nullopt);
    EXPECT_EQ(res.status, config::SaveStatus::WriteFailed);
    EXPECT_EQ(readBytes(path), "2\r\n2\r\n/hw\r\n/out\r\n");
    EXPECT_FALSE(fileio::exists(path + ".tmp"));
}

TEST(TextCodec, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(codec::utf8ToCp1252(codec::cp1252ToUtf8(all)), all);
    EXPECT_EQ(codec::cp1252ToUtf8("\x80\xe0"), "\xe2\x82\xac\xc3\xa0"); // € à
    EXPECT_EQ(codec::utf8ToCp1252Lossy("a\xe6\x9d\xb1z"), "a?z");
}
