// config.kwt: choices read exactly, CP1252 folders. Its saves are proven
// through the dialogs: lines carried over and filled in by gui_option_dialogs.cpp
// and gui_startup.cpp, a failed save by gui_fault_matrix.cpp; a folder read
// from it in CP1252 by test_windows.cpp.
#include <gtest/gtest.h>

#include "io/config_file.h"
#include "io/text_codec.h"
#include "support/test_support.h"

using testing_support::TempDir;
using testing_support::writeBytes;

TEST(ConfigFile, ChoicesAreComparedExactlyAndAnythingElseReadsAsOne) {
    using A = config::AprsChoice;
    using P = config::PressureChoice;
    const struct { const char *bytes; A aprs; P pressure; const char *heavyWeather; } cases[] = {
        {"3\r\n2\r\n/hw\r\n/out\r\n", A::NoWeather, P::Relative, "/hw"},
        {"2\r2\r/hw", A::LocalSituation, P::Relative, "/hw"},
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

// Every byte of a folder line means something, so none is lost on the way
// through the program's UTF-8.
TEST(ConfigFile, Cp1252FoldersComeBackAsTheSameBytes) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(codec::utf8ToCp1252(codec::cp1252ToUtf8(all)), all);
    EXPECT_EQ(codec::cp1252ToUtf8("\x80\xe0"), "\xe2\x82\xac\xc3\xa0"); // € à
}
