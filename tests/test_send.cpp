// The direct send's settings: the file invio.kwt and what the dialog refuses.
// The callsign, position and path forms, the bytes for a KISS TNC and for
// APRS-IS, and when a send may go out are checked over every input by
// fuzz/fuzz_send.cpp.
#include <gtest/gtest.h>

#include "send/settings.h"
#include "support/test_support.h"

namespace {

// Every field of the file set; the KISS send on.
const send::Texts kStation{"iz1abc-13", "45,5083", "9.1667", "WIDE2-1", true, "127.0.0.1", "8001", "10",
                           false, "localhost", "14580", "12345", "10"};

} // namespace

TEST(SendSettings, FileRoundTripAndEveryDamageSendsNothing) {
    const auto parsed = send::parse(kStation);
    ASSERT_TRUE(parsed.settings) << parsed.problem;
    const std::string file = "nominativo=IZ1ABC-13\r\nlatitudine=45.508300\r\nlongitudine=9.166700\r\n"
                             "percorso=WIDE2-1\r\nkiss=1\r\nkiss_host=127.0.0.1\r\nkiss_porta=8001\r\n"
                             "kiss_intervallo=10\r\naprsis=0\r\naprsis_server=localhost\r\naprsis_porta=14580\r\n"
                             "aprsis_passcode=12345\r\naprsis_intervallo=10\r\n";

    testing_support::TempDir dir;
    const std::string path = dir.file(send::kSettingsFileName);
    ASSERT_FALSE(send::save(path, *parsed.settings));
    EXPECT_EQ(testing_support::readBytes(path), file);
    const auto loaded = send::load(path);
    ASSERT_EQ(loaded.state, send::FileState::Ok);
    EXPECT_EQ(send::format(loaded.settings), file);

    const auto replaced = [&](const std::string &from, const std::string &to) {
        std::string bytes = file;
        return bytes.replace(bytes.find(from), from.size(), to);
    };
    for (const std::string &damaged : {replaced("kiss=1", "kiss=yes"), replaced("kiss_porta=8001", "kiss_porta=0"),
                                       replaced("percorso=WIDE2-1\r\n", ""), file + "kiss=0\r\n", file + "extra=1\r\n",
                                       replaced("nominativo=IZ1ABC-13", "nominativo=IZ1ABC-99"),
                                       replaced("kiss_intervallo=10", "kiss_intervallo=4"), std::string("\0\1\2", 3)}) {
        testing_support::writeBytes(path, damaged);
        EXPECT_EQ(send::load(path).state, send::FileState::Damaged) << damaged;
    }
}

// Each field the dialog refuses is named in the message.
TEST(SendSettings, TheFirstBadFieldIsNamed) {
    const struct { void (*spoil)(send::Texts &); const char *word; } cases[] = {
        {[](send::Texts &t) { t.callsign = "IZ1ABC-16"; }, "Nominativo"},
        {[](send::Texts &t) { t.latitude = "91"; }, "Latitudine"},
        {[](send::Texts &t) { t.longitude = "9.1.6"; }, "Longitudine"},
        {[](send::Texts &t) { t.path = "WIDE2-1,,"; }, "Percorso"},
        {[](send::Texts &t) { t.kissHost = "127.0.0.1 "; t.kissPort = "70000"; }, "Porta del TNC KISS"},
        {[](send::Texts &t) { t.aprsIsEnabled = true; t.aprsIsHost = ""; }, "Indirizzo APRS-IS mancante"},
        {[](send::Texts &t) { t.aprsIsHost = "server;rm"; }, "Indirizzo APRS-IS non valido"},
        {[](send::Texts &t) { t.aprsIsInterval = "4"; }, "Intervallo APRS-IS"},
        {[](send::Texts &t) { t.passcode = "12a"; }, "Passcode"},
    };
    for (const auto &c : cases) {
        send::Texts t = kStation;
        c.spoil(t);
        const auto parsed = send::parse(t);
        EXPECT_FALSE(parsed.settings) << c.word;
        EXPECT_EQ(parsed.problem.rfind(c.word, 0), 0u) << parsed.problem;
    }
}
