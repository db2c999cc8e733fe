// Most users run the program on Windows beside Heavy Weather and UI-View:
// drive letters, backslashes, folder names with "à" that must pass through
// the wide-character file API, and renames over files that exist. The tests
// that only mean something there are built there only; the others run
// everywhere, so both systems are held to the same bytes and reasons.
// make test-windows runs them all under Wine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "io/file_io.h"
#include "io/text_codec.h"
#include "settings/config.h"
#include "cycle/tick.h"
#include "support/currdat.h"
#include "support/test_support.h"

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

#ifdef _WIN32
#include <windows.h>

TEST(Windows, FolderEndingInEitherSeparatorGetsNoSecondOne) {
    const std::pair<const char *, const char *> cases[] = {
        {"C:\\Meteo\\", "C:\\Meteo\\currdat.lst"}, {"C:\\Meteo", "C:\\Meteo\\currdat.lst"},
        {"C:/Meteo/", "C:/Meteo/currdat.lst"},     {"D:\\", "D:\\currdat.lst"}, {"D:", "D:\\currdat.lst"},
        {"\\\\server\\meteo", "\\\\server\\meteo\\currdat.lst"}};
    for (const auto &[folder, joined] : cases)
        EXPECT_EQ(io::joinPath(folder, "currdat.lst"), joined) << folder;
}

TEST(Windows, AtomicReplaceWorksOverAnExistingFileAndFailsCleanlyWhileItIsHeld) {
    TempDir dir;
    const std::string path = dir.file("MM261205.kwt");
    writeBytes(path, "vecchio\r\n");
    ASSERT_TRUE(io::realDisk().replaceAtomically(path, "nuovo\r\n").ok);
    EXPECT_EQ(readBytes(path), "nuovo\r\n");
    // Another program reading the file without allowing it to be deleted:
    // the replace fails, says why, and leaves the file as it was.
    const HANDLE held = CreateFileW(io::nativePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto res = io::realDisk().replaceAtomically(path, "perso\r\n");
    CloseHandle(held);
    EXPECT_EQ(res.reason, "accesso negato");
    EXPECT_EQ(readBytes(path), "nuovo\r\n");
    EXPECT_FALSE(io::exists(path + ".tmp"));
}

#endif

// The reasons a write fails, in Italian, for a folder that is missing and a
// file that is a folder, the same on both systems. (The bytes written, which
// text mode would change on Windows: fuzz_files under Wine.)
TEST(SameBytesEverywhere, WritesThatFailSayWhy) {
    TempDir dir;
    const auto path = dir.file("VENTO.TXT");
    const std::string missing = io::joinPath(dir.file("manca"), "VENTO.TXT");
    ASSERT_TRUE(std::filesystem::create_directory(io::nativePath(path)));
    using Writer = io::WriteResult (io::Disk::*)(const std::string &, const std::string &) const;
    const io::Disk &disk = io::realDisk();
    for (const Writer write : {&io::Disk::writeInPlace, &io::Disk::replaceAtomically,
                               &io::Disk::appendLines}) {
        EXPECT_EQ((disk.*write)(missing, "x").reason, "cartella inesistente");
        EXPECT_EQ((disk.*write)(path, "x").reason, "esiste una cartella con quel nome");
    }
    EXPECT_FALSE(io::exists(path + ".tmp"));
}

// A whole tick driven by config.kwt in CP1252 (the output folder with its
// final separator) from and into a folder named with "à". The folder is made
// and read through std::filesystem alone, the way Heavy Weather and Explorer
// see it, so that a code-page mix-up in the program cannot hide behind a
// round trip through its own functions.
TEST(SameBytesEverywhere, ATickFromAndIntoAnAccentedFolderFromConfig) {
    TempDir dir;
    const auto citta = std::filesystem::u8path(dir.path() + "/Citt\xc3\xa0");
    ASSERT_TRUE(std::filesystem::create_directory(citta));
    std::ofstream(citta / "currdat.lst", std::ios::binary) << testing_support::currdatFile({});
    const auto folder = io::utf8ToCp1252(io::joinPath(dir.path(), "Citt\xc3\xa0"));
    ASSERT_TRUE(folder);
    writeBytes(dir.file("config.kwt"), "1\r\n2\r\n" + *folder + "\r\n" + io::joinPath(*folder, "") + "\r\n");

    const auto out = cycle::ConversionCycle().tick({dir.file("config.kwt"), {2026, 12, 5, 9, 22}, {}});
    ASSERT_EQ(out.gate, cycle::Gate::Converted);
    EXPECT_TRUE(out.problems.empty());
    std::ifstream in(citta / "my_meteo.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
              "Dec 05 2026 09:22\r\n270/007g...t055p012r000b10132h84/Prev. sereno/WS3600/113W\r\n");
    for (const char *name : {"VENTO.TXT", "MM261205.kwt", "20261205.txt"})
        EXPECT_TRUE(std::filesystem::exists(citta / name)) << name;
}
