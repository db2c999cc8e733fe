// config.kwt and invio.kwt as files, and every field of the direct send at
// the limits of what it accepts. config.kwt's saves are proven through the
// dialogs (gui_option_dialogs.cpp, gui_startup.cpp); a folder read from it
// in CP1252 by test_windows.cpp.
#include <gtest/gtest.h>

#include "settings/config.h"
#include "settings/send_settings.h"
#include "support/test_support.h"

using testing_support::TempDir;
using testing_support::writeBytes;

// Which line names which choice, exactly compared, anything else read as the
// first: fuzz_files, from its seeds on. Here what it cannot tell: lines that
// a lone CR ends. (No file at all: the fault matrix.)
TEST(ConfigFile, LinesEndedByALoneCr) {
    using A = settings::AprsChoice;
    using P = settings::PressureChoice;
    TempDir dir;
    writeBytes(dir.file("config.kwt"), "2\r2\r/hw");
    const auto s = settings::readConfig(dir.file("config.kwt"));
    EXPECT_TRUE(s.aprsChoice == A::LocalSituation && s.pressureChoice == P::Relative && s.heavyWeatherFolder == "/hw");
}


namespace {

// Every field of the file set; the KISS send on.
const settings::SendTexts kStation{"iz1abc-13", "45,5083", "9.1667", "WIDE2-1", true, "127.0.0.1", "8001", "10",
                                   false, "localhost", "14580", "12345", "10"};

} // namespace

TEST(SendSettings, EachFieldAtItsLimits) {
    using T = settings::SendTexts;
    const struct { std::string T::*field; const char *text, *refusedAs; } cases[] = {
        {&T::callsign, "IZ1ABC-15", ""},   {&T::callsign, "IZ1ABC-16", "nominativo"},
        {&T::callsign, "IZ1ABCD", "nominativo"}, {&T::callsign, "IZ1ABC-", "nominativo"},
        {&T::callsign, "CW1234", ""},      {&T::callsign, "", "nominativo"},
        {&T::latitude, "90", ""},          {&T::latitude, "-90,0", ""},       {&T::latitude, "90.0001", "latitudine"},
        {&T::longitude, "-180", ""},       {&T::longitude, "180.0001", "longitudine"},
        {&T::path, "", ""},                {&T::path, "WIDE1-1, WIDE2-1", ""}, {&T::path, "WIDE2-16", "percorso"},
        {&T::path, "A,B,C,D,E,F,G,H", ""}, {&T::path, "A,B,C,D,E,F,G,H,I", "percorso"},
        {&T::kissPort, "1", ""},           {&T::kissPort, "65535", ""},       {&T::kissPort, "0", "kiss_porta"},
        {&T::kissPort, "65536", "kiss_porta"}, {&T::kissInterval, "5", ""},  {&T::kissInterval, "1440", ""},
        {&T::kissInterval, "4", "kiss_intervallo"}, {&T::kissInterval, "1441", "kiss_intervallo"},
    };
    for (const auto &c : cases) {
        T texts = kStation;
        texts.*c.field = c.text;
        const auto parsed = settings::parseSendTexts(texts);
        EXPECT_EQ(parsed.settings ? "" : parsed.field, c.refusedAs) << c.text << ": " << parsed.problem;
    }
}

TEST(SendSettings, FileRoundTripAndEveryDamageSendsNothing) {
    const auto parsed = settings::parseSendTexts(kStation);
    ASSERT_TRUE(parsed.settings) << parsed.problem;
    const std::string file = "nominativo=IZ1ABC-13\r\nlatitudine=45.5083\r\nlongitudine=9.1667\r\n"
                             "percorso=WIDE2-1\r\nkiss=1\r\nkiss_host=127.0.0.1\r\nkiss_porta=8001\r\n"
                             "kiss_intervallo=10\r\naprsis=0\r\naprsis_server=localhost\r\naprsis_porta=14580\r\n"
                             "aprsis_passcode=12345\r\naprsis_intervallo=10\r\n";

    TempDir dir;
    const std::string path = dir.file(settings::kSendFileName);
    ASSERT_FALSE(settings::saveSendFile(path, *parsed.settings));
    EXPECT_EQ(testing_support::readBytes(path), file);
    const auto replaced = [](std::string bytes, const std::string &from, const std::string &to) {
        return bytes.replace(bytes.find(from), from.size(), to);
    };
    // A CWOP station logs in with -1, as CWOP tells it to.
    for (const std::string &valid : {file, replaced(replaced(file, "IZ1ABC-13", "CW1234"), "=12345", "=-1")}) {
        testing_support::writeBytes(path, valid);
        const auto loaded = settings::loadSendFile(path);
        ASSERT_EQ(loaded.state, settings::SendFileState::Ok) << valid;
        EXPECT_EQ(settings::formatSendFile(loaded.settings), valid);
    }

    for (const std::string &damaged : {replaced(file, "kiss=1", "kiss=yes"), replaced(file, "percorso=WIDE2-1\r\n", ""),
                                       file + "kiss=0\r\n", file + "extra=1\r\n", std::string("\0\1\2", 3)}) {
        testing_support::writeBytes(path, damaged);
        EXPECT_EQ(settings::loadSendFile(path).state, settings::SendFileState::Damaged) << damaged;
        // The dialog shows what can still be read, and what is wrong.
        const auto salvaged = settings::salvageSendFile(path);
        EXPECT_EQ(salvaged.texts.callsign, damaged.size() > 3 ? "IZ1ABC-13" : "") << damaged;
        EXPECT_EQ(salvaged.damage.size(), 1u) << damaged;
    }
}

