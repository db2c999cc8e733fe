// Most users run the program on Windows beside Heavy Weather and UI-View:
// drive letters, backslashes, folder names with "à" that must pass through
// the wide-character file API, and renames over files that exist. The tests
// that only mean something there are skipped elsewhere; the byte-exact and
// failure-reason tests run everywhere, so both systems are held to the same
// results. make test-windows runs them all under Wine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "config/config_file.h"
#include "config/file_io.h"
#include "config/text_codec.h"
#include "cycle/tick.h"
#include "support/currdat.h"
#include "support/test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;
using Lines = std::vector<std::string>;

TEST(Windows, FolderEndingInEitherSeparatorGetsNoSecondOne) {
#ifndef _WIN32
    GTEST_SKIP() << "Windows paths";
#else
    const struct { const char *folder, *joined; } cases[] = {
        {"C:\\Programmi\\HeavyWeather\\", "C:\\Programmi\\HeavyWeather\\currdat.lst"},
        {"C:\\Programmi\\HeavyWeather", "C:\\Programmi\\HeavyWeather\\currdat.lst"},
        {"C:/Programmi/HeavyWeather/", "C:/Programmi/HeavyWeather/currdat.lst"},
        {"D:\\", "D:\\currdat.lst"},
        {"D:", "D:\\currdat.lst"},
        {"\\\\server\\meteo", "\\\\server\\meteo\\currdat.lst"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fileio::joinPath(c.folder, "currdat.lst"), c.joined) << c.folder;
#endif
}

TEST(Windows, DriveRootIsAFolderLikeAnyOther) {
#ifndef _WIN32
    GTEST_SKIP() << "drive letters";
#else
    // The first fixed drive where a file can be created: "C:\" in a Wine
    // prefix; often none on a Windows where the user is not an administrator.
    const std::string name = "meteo-prova-" + std::to_string(GetCurrentProcessId()) + ".txt";
    std::string root;
    for (char letter = 'C'; letter <= 'Z' && root.empty(); ++letter) {
        const std::string candidate = std::string(1, letter) + ":\\";
        if ((GetLogicalDrives() & (1u << (letter - 'A'))) && GetDriveTypeA(candidate.c_str()) == DRIVE_FIXED &&
            fileio::writeInPlace(candidate + name, "").ok)
            root = candidate;
    }
    if (root.empty()) {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        ASSERT_FALSE(ntdll && GetProcAddress(ntdll, "wine_get_version")) << "C:\\ of the Wine prefix should be writable";
        GTEST_SKIP() << "no drive root is writable here";
    }
    const std::string path = fileio::joinPath(root, name);
    EXPECT_EQ(path, root + name);
    const bool written = fileio::replaceAtomically(path, "uno\r\n").ok && fileio::replaceAtomically(path, "due\r\n").ok &&
                         fileio::append(path, "tre\r\n").ok;
    const auto lines = fileio::readLines(path, 10);
    std::filesystem::remove(fileio::nativePath(path));
    EXPECT_TRUE(written);
    EXPECT_EQ(lines, (Lines{"due", "tre"}));
#endif
}

TEST(Windows, AccentedFolderFromConfigIsFoundReadAndWritten) {
#ifndef _WIN32
    GTEST_SKIP() << "wide-character file names";
#else
    TempDir dir;
    // Made and checked through the wide API alone, the way Heavy Weather and
    // Explorer see it, so that a UTF-8 or code-page mix-up in the program
    // cannot hide behind a round trip through its own functions.
    const auto wideFolder = fileio::nativePath(dir.path()) / L"Citt\u00e0";
    ASSERT_TRUE(std::filesystem::create_directory(wideFolder));
    std::ofstream(wideFolder / L"currdat.lst", std::ios::binary) << "[forecast]\r\nsunny\r\n";
    const auto folder = codec::utf8ToCp1252(dir.path());
    ASSERT_TRUE(folder) << dir.path();
    // One line with the final "\", one without.
    writeBytes(dir.file("config.kwt"), "1\r\n2\r\n" + *folder + "\\Citt\xe0\r\n" + *folder + "\\Citt\xe0\\\r\n");

    const auto s = config::readSettings(dir.file("config.kwt"));
    const std::string citta = dir.path() + "\\Citt\xc3\xa0";
    EXPECT_EQ(s.heavyWeatherFolder, citta);
    EXPECT_EQ(s.outputFolder, citta + "\\");
    EXPECT_EQ(fileio::readLines(fileio::joinPath(s.heavyWeatherFolder, "currdat.lst"), 10), (Lines{"[forecast]", "sunny"}));
    const std::string weather = fileio::joinPath(s.outputFolder, "my_meteo.txt");
    EXPECT_EQ(weather, citta + "\\my_meteo.txt");
    ASSERT_TRUE(fileio::writeInPlace(weather, "riga\r\n").ok);
    ASSERT_TRUE(fileio::append(weather, "Velocit\xe0\r\n").ok);
    ASSERT_TRUE(fileio::replaceAtomically(fileio::joinPath(s.outputFolder, "MM261205.kwt"), "12.5\r\n").ok);
    std::ifstream in(wideFolder / L"my_meteo.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "riga\r\nVelocit\xe0\r\n");
    EXPECT_TRUE(std::filesystem::exists(wideFolder / L"MM261205.kwt"));
#endif
}

TEST(Windows, AtomicReplaceWorksOverAnExistingFileAndFailsCleanlyWhileItIsHeld) {
#ifndef _WIN32
    GTEST_SKIP() << "Windows rename and sharing rules";
#else
    TempDir dir;
    const std::string path = dir.file("MM261205.kwt");
    writeBytes(path, "vecchio\r\n");
    ASSERT_TRUE(fileio::replaceAtomically(path, "nuovo\r\n").ok);
    EXPECT_EQ(readBytes(path), "nuovo\r\n");
    // Another program reading the file without allowing it to be deleted:
    // the replace fails, says why, and leaves the file as it was.
    const HANDLE held = CreateFileW(fileio::nativePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto res = fileio::replaceAtomically(path, "perso\r\n");
    CloseHandle(held);
    EXPECT_EQ(res.reason, "accesso negato");
    EXPECT_EQ(readBytes(path), "nuovo\r\n");
    EXPECT_FALSE(fileio::exists(path + ".tmp"));
    EXPECT_TRUE(fileio::replaceAtomically(path, "libero\r\n").ok);
#endif
}

TEST(Windows, PathThatIsNotUtf8NeverThrows) {
#ifndef _WIN32
    GTEST_SKIP() << "on Linux any bytes make a file name";
#else
    TempDir dir;
    const std::string bad = dir.file("VENTO\xff.TXT");
    EXPECT_NO_THROW({
        fileio::exists(bad);
        fileio::writeInPlace(bad, "x");
        fileio::replaceAtomically(bad, "x");
        fileio::append(bad, "x");
        fileio::readLines(bad, 1);
        fileio::readTail(bad, 1);
    });
#endif
}

// Text-mode translation (LF to CR LF, Ctrl-Z as end of file) would change
// these bytes on Windows only.
TEST(SameBytesEverywhere, WrittenFilesAreExactlyTheBytesGivenAndFailuresSayWhy) {
    TempDir dir;
    const std::string bytes = "a\nb\r\n\x1a\xe0\r\n";
    const auto path = dir.file("VENTO.TXT");
    ASSERT_TRUE(fileio::writeInPlace(path, bytes).ok);
    EXPECT_EQ(readBytes(path), bytes);
    ASSERT_TRUE(fileio::replaceAtomically(path, bytes).ok);
    ASSERT_TRUE(fileio::append(path, bytes).ok);
    EXPECT_EQ(readBytes(path), bytes + bytes);
    EXPECT_EQ(fileio::readTail(path, bytes.size()), bytes);
    EXPECT_EQ(fileio::readLines(path, 10), (Lines{"a", "b", "\x1a\xe0", "a", "b", "\x1a\xe0"}));

    const std::string missing = fileio::joinPath(dir.file("manca"), "VENTO.TXT");
    std::filesystem::remove(fileio::nativePath(path));
    ASSERT_TRUE(std::filesystem::create_directory(fileio::nativePath(path)));
    using Writer = fileio::WriteResult (*)(const std::string &, const std::string &);
    for (const Writer write : {fileio::writeInPlace, fileio::replaceAtomically, fileio::append}) {
        EXPECT_EQ(write(missing, "x").reason, "cartella inesistente");
        EXPECT_EQ(write(path, "x").reason, "esiste una cartella con quel nome");
    }
    EXPECT_FALSE(fileio::exists(path + ".tmp"));
}

// A whole tick into a folder named with "à", read from config.kwt in CP1252.
TEST(SameBytesEverywhere, ATickIntoAnAccentedFolderWritesTheSameFiles) {
    TempDir dir;
    const std::string citta = fileio::joinPath(dir.path(), "Citt\xc3\xa0");
    ASSERT_TRUE(std::filesystem::create_directory(fileio::nativePath(citta)));
    writeBytes(fileio::joinPath(citta, "currdat.lst"), testing_support::currdatFile({}));
    const auto folder = codec::utf8ToCp1252(citta);
    ASSERT_TRUE(folder);
    writeBytes(dir.file("config.kwt"), "1\r\n2\r\n" + *folder + "\r\n" + *folder + "\r\n");

    cycle::ConversionCycle cycle;
    const auto settings = config::readSettings(dir.file("config.kwt"));
    const auto out = cycle.tick({settings.heavyWeatherFolder, dir.file("config.kwt"), {2026, 12, 5, 9, 22}, {}});
    ASSERT_EQ(out.gate, cycle::Gate::Converted);
    EXPECT_TRUE(out.problems.empty());
    const auto file = [&](const char *name) { return readBytes(fileio::joinPath(citta, name)); };
    EXPECT_EQ(file("VENTO.TXT"), "Velocit\xe0 [km/h]\r\n 12.2\r\nDirezione [gradi]\r\n 270\r\n");
    EXPECT_EQ(file("my_meteo.txt"), "Dec 05 2026 09:22\r\n270/007g000t055p012r000b10132h84/Prev. sereno/WS3600/113W\r\n");
    EXPECT_EQ(file("MM261205.kwt"), " 12.8\r\n 12.8\r\n 1013.2\r\n 1013.2\r\n");
    EXPECT_EQ(file("20261205.txt"),
              "Data ; Ora ; T_int ; H_int ; Pres_ass ; Press_rel ; T_ext ; H_ext ; Vel_vento ; Dir_vento ; "
              "Dewpoint ; Windchill ; Precip_1H ; Precip_24H ; Precip_TOT \r\n"
              "20261205 ; 09:22 ;  21.5 ;  45 ;  936 ;  1013.2 ;  12.8 ;  84 ;  12.2 ;  270 ;  10.2 ;  12.8 ;  0 ;  "
              "3.1 ;  123.4\r\n");
}
