// config.kwt: choices read exactly, CP1252 folders. Its saves are proven
// through the dialogs: lines carried over and filled in by gui_option_dialogs.cpp
// and gui_startup.cpp, a failed save by gui_fault_matrix.cpp; a folder read
// from it in CP1252 by test_windows.cpp.
#include <gtest/gtest.h>

#include "settings/config.h"
#include "io/text_codec.h"
#include "support/test_support.h"

using testing_support::TempDir;
using testing_support::writeBytes;

// Which line names which choice, exactly compared, anything else read as the
// first: fuzz_config, from its seeds on. Here what it cannot tell: lines
// that a lone CR ends, and no file at all.
TEST(ConfigFile, LinesEndedByALoneCrAndNoFileAtAll) {
    using A = settings::AprsChoice;
    using P = settings::PressureChoice;
    TempDir dir;
    auto s = settings::readConfig(dir.file("config.kwt"));
    EXPECT_TRUE(s.aprsChoice == A::Forecast && s.pressureChoice == P::Absolute && s.heavyWeatherFolder.empty());
    writeBytes(dir.file("config.kwt"), "2\r2\r/hw");
    s = settings::readConfig(dir.file("config.kwt"));
    EXPECT_TRUE(s.aprsChoice == A::LocalSituation && s.pressureChoice == P::Relative && s.heavyWeatherFolder == "/hw");
}

// Every byte of a folder line means something, so none is lost on the way
// through the program's UTF-8.
TEST(ConfigFile, Cp1252FoldersComeBackAsTheSameBytes) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(io::utf8ToCp1252(io::cp1252ToUtf8(all)), all);
    EXPECT_EQ(io::cp1252ToUtf8("\x80\xe0"), "\xe2\x82\xac\xc3\xa0"); // € à
}
