#include <gtest/gtest.h>

#include <filesystem>

#include "config/file_io.h"
#include "records/records.h"
#include "records_support.h"
#include "support/test_support.h"

using records_test::at;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

const std::string kLogHeader = "Data ; Ora ; T_int ; H_int ; Pres_ass ; Press_rel ; T_ext ; H_ext ; Vel_vento ; "
                               "Dir_vento ; Dewpoint ; Windchill ; Precip_1H ; Precip_24H ; Precip_TOT \r\n";

cycle::WeatherReading fullReading(int minute) {
    auto r = at(2026, 12, 5, 9, minute, -3.5, 1013.2);
    r.indoorTemperature = 21.4;
    r.indoorHumidity = 45;
    r.pressureAbsolute = 990.25;
    r.outdoorHumidity = 87;
    r.windSpeed = 0.4;
    r.windDirection = 0;
    r.dewPoint = -5;
    r.windChill = -12.5;
    r.rain1h = 0;
    r.rain24h = 1.5;
    r.rainTotal = 1234.5;
    return r;
}

const std::string kRow = "20261205 ; 09:22 ;  21.4 ;  45 ;  990.25 ;  1013.2 ; -3.5 ;  87 ;  .4 ;  0 ; -5 ; "
                         "-12.5 ;  0 ;  1.5 ;  1234.5\r\n";

std::vector<std::string> filesIn(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(fileio::nativePath(folder)))
        names.push_back(entry.path().filename().u8string());
    return names;
}

} // namespace

TEST(WindFile, FourLinesInTheWindowsCodePage) {
    TempDir dir;
    auto r = at(2026, 12, 5, 9, 22);
    r.windSpeed = 12.5;
    r.windDirection = 225;
    EXPECT_FALSE(records::writeWindFile(r, dir.path()));
    EXPECT_EQ(readBytes(dir.file("VENTO.TXT")), "Velocit\xE0 [km/h]\r\n 12.5\r\nDirezione [gradi]\r\n 225\r\n");
    r.windSpeed = 0.4;
    r.windDirection = 0;
    EXPECT_FALSE(records::writeWindFile(r, dir.path()));
    EXPECT_EQ(readBytes(dir.file("VENTO.TXT")), "Velocit\xE0 [km/h]\r\n .4\r\nDirezione [gradi]\r\n 0\r\n");
}

TEST(DataLog, HeaderOnlyForANewFileThenEveryTickOneRow) {
    TempDir dir;
    EXPECT_EQ(kLogHeader.size(), 151u + 2u);
    EXPECT_FALSE(records::appendDataLog(fullReading(22), dir.path()));
    EXPECT_FALSE(records::appendDataLog(fullReading(22), dir.path()));
    EXPECT_EQ(readBytes(dir.file("20261205.txt")), kLogHeader + kRow + kRow);

    writeBytes(dir.file("20261205.txt"), ""); // emptied by the user
    EXPECT_FALSE(records::appendDataLog(fullReading(22), dir.path()));
    EXPECT_EQ(readBytes(dir.file("20261205.txt")), kRow);
}

TEST(DataLog, ARowNeverJoinsAnUnfinishedLastLine) {
    // A log cut short inside a row (power failure) or saved by an editor
    // without its final line end: the next row starts a line of its own.
    const std::string partial = kLogHeader + "20261205 ; 09:21 ;  21.4 ;  4";
    struct Case {
        std::string existing, expected;
    } cases[] = {{partial, partial + "\r\n" + kRow},
                 {partial + "\r", partial + "\r\n" + kRow},
                 {partial + "\r\n", partial + "\r\n" + kRow}};
    for (const auto &c : cases) {
        TempDir dir;
        writeBytes(dir.file("20261205.txt"), c.existing);
        EXPECT_FALSE(records::appendDataLog(fullReading(22), dir.path()));
        EXPECT_EQ(readBytes(dir.file("20261205.txt")), c.expected);
    }
}

TEST(DataLog, AFailedWriteLeavesTheLogAsItWas) {
    TempDir dir;
    fileio::setWriteFaultAfterBytes(20);
    const auto failedNew = records::appendDataLog(fullReading(22), dir.path());
    fileio::setWriteFaultAfterBytes(std::nullopt);
    EXPECT_EQ(failedNew, "Impossibile scrivere 20261205.txt in " + dir.path() + ": disco pieno");
    EXPECT_FALSE(fileio::exists(dir.file("20261205.txt")));

    EXPECT_FALSE(records::appendDataLog(fullReading(22), dir.path()));
    fileio::setWriteFaultAfterBytes(20);
    EXPECT_TRUE(records::appendDataLog(fullReading(22), dir.path()));
    fileio::setWriteFaultAfterBytes(std::nullopt);
    EXPECT_EQ(readBytes(dir.file("20261205.txt")), kLogHeader + kRow);
}

TEST(RecordKeeper, TheFirstTickAfterMidnightStartsTheNewDaysFiles) {
    TempDir dir;
    records::RecordKeeper keeper;
    keeper.update(at(2026, 12, 31, 23, 59), dir.path());
    keeper.update(at(2027, 1, 1, 0, 0, 10, 1013), dir.path());
    const std::string log = readBytes(dir.file("20270101.txt"));
    EXPECT_EQ(log.rfind(kLogHeader, 0), 0u);
    EXPECT_EQ(log.substr(kLogHeader.size(), 17), "20270101 ; 00:00 ");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
}

TEST(RecordKeeper, AnEmptyFolderWritesNothingAnywhereAndIsReported) {
    TempDir work;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(fileio::nativePath(work.path()));
    records::RecordKeeper keeper;
    keeper.update(at(2026, 12, 4, 23, 59, 5, 1000), "");
    const auto out = keeper.update(at(2026, 12, 5, 0, 0, 4, 1001), "");
    std::filesystem::current_path(cwd);

    EXPECT_EQ(out.problems, (std::vector<std::string>{
                                "Cartella di uscita non impostata: MM261205.kwt non scritto",
                                "Cartella di uscita non impostata: MM202612.TXT non scritto",
                                "Cartella di uscita non impostata: VENTO.TXT non scritto",
                                "Cartella di uscita non impostata: 20261205.txt non scritto",
                            }));
    EXPECT_EQ(out.labels[1], "T ext min =  4 °C");
    EXPECT_TRUE(filesIn(work.path()).empty());
}

TEST(RecordKeeper, AnUnusableFolderIsSkippedAndTheNextGoodTickSavesWhatWasSeen) {
    TempDir dir;
    writeBytes(dir.file("plain"), "x");
    const std::string bad = dir.file("plain") + "/out";
    records::RecordKeeper keeper;
    keeper.update(at(2026, 12, 5, 8, 0, 8, 1000), dir.path());
    writeBytes(dir.file("20261205.txt"), "kept\r\n");

    auto out = keeper.update(at(2026, 12, 5, 8, 1, 5, 995), bad);
    const std::string reason = ": percorso non valido";
    EXPECT_EQ(out.problems, (std::vector<std::string>{"Impossibile scrivere MM261205.kwt in " + bad + reason,
                                                      "Impossibile scrivere VENTO.TXT in " + bad + reason,
                                                      "Impossibile scrivere 20261205.txt in " + bad + reason}));
    EXPECT_EQ(out.labels[1], "T ext min =  5 °C");
    keeper.update(at(2026, 12, 5, 8, 2, 20, 1004), bad);
    EXPECT_EQ(filesIn(dir.path()).size(), 4u); // plain, store, wind, log

    // Memory is ahead of the stale file and wins; the indicators follow it.
    out = keeper.update(at(2026, 12, 5, 8, 3, 12, 1001), dir.path());
    EXPECT_TRUE(out.problems.empty());
    EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), " 5\r\n 20\r\n 995\r\n 1004\r\n");
    EXPECT_EQ(out.shapes, (std::array<std::optional<records::Look>, 4>{records::Look::Off, records::Look::Off,
                                                                        records::Look::Off, records::Look::Off}));
    EXPECT_EQ(readBytes(dir.file("20261205.txt")).rfind("kept\r\n20261205 ; 08:03 ", 0), 0u);
}

TEST(RecordKeeper, AStartWithoutTheFolderKeepsTheDaysStoredExtremesWhenItReturns) {
    TempDir dir;
    writeBytes(dir.file("MM261205.kwt"), " 4.1\r\n 12.8\r\n 1008.2\r\n 1016.9\r\n");
    records::RecordKeeper keeper;
    keeper.update(at(2026, 12, 5, 10, 0, 15, 1010), "");
    keeper.update(at(2026, 12, 5, 10, 1, 14, 1011), dir.path());
    EXPECT_EQ(readBytes(dir.file("MM261205.kwt")), " 4.1\r\n 15\r\n 1008.2\r\n 1016.9\r\n");
}
