#include <gtest/gtest.h>

#include <filesystem>

#include "cycle/tick.h"
#include "support/currdat.h"
#include "support/test_support.h"

using testing_support::TempDir;
using testing_support::writeBytes;

TEST(Tick, OneSentencePerFileThatCouldNotBeWritten) {
    TempDir dir;
    writeBytes(dir.file("currdat.lst"), testing_support::currdatFile({}));
    writeBytes(dir.file("config.kwt"), "1\r\n1\r\n" + dir.path() + "\r\n" + dir.path() + "\r\n");
    std::filesystem::create_directory(dir.file("my_meteo.txt"));
    std::filesystem::create_directory(dir.file("VENTO.TXT"));

    cycle::ConversionCycle cycle;
    const auto out = cycle.tick({dir.path(), dir.file("config.kwt"), {2026, 12, 5, 9, 22}, {}});
    ASSERT_EQ(out.gate, cycle::Gate::Converted);
    const std::vector<std::string> expected = {
        "Impossibile scrivere my_meteo.txt in " + dir.path() + ": esiste una cartella con quel nome",
        "Impossibile scrivere VENTO.TXT in " + dir.path() + ": esiste una cartella con quel nome"};
    EXPECT_EQ(out.problems, expected);
    EXPECT_TRUE(std::filesystem::exists(dir.file("20261205.txt")));
}

TEST(Tick, MissingConfigurationWritesNothingAndSaysSo) {
    TempDir dir;
    writeBytes(dir.file("currdat.lst"), testing_support::currdatFile({}));
    cycle::ConversionCycle cycle;
    const auto out = cycle.tick({dir.path(), dir.file("config.kwt"), {2026, 12, 5, 9, 22}, {}});
    ASSERT_EQ(out.gate, cycle::Gate::Converted);
    EXPECT_EQ(out.problems, std::vector<std::string>{"config.kwt mancante o illeggibile: nessun file scritto"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // currdat.lst alone
}
