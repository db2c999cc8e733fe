// The direct send's settings file, invio.kwt. What each field accepts and
// how a refusal names it, the callsign, position and path forms, the bytes
// for a KISS TNC and for APRS-IS, and when a send may go out are checked
// over every input by fuzz/fuzz_send.cpp.
#include <gtest/gtest.h>

#include "settings/send_settings.h"
#include "support/test_support.h"

namespace {

// Every field of the file set; the KISS send on.
const settings::SendTexts kStation{"iz1abc-13", "45,5083", "9.1667", "WIDE2-1", true, "127.0.0.1", "8001", "10",
                           false, "localhost", "14580", "12345", "10"};

} // namespace

TEST(SendSettings, FileRoundTripAndEveryDamageSendsNothing) {
    const auto parsed = settings::parseSendTexts(kStation);
    ASSERT_TRUE(parsed.settings) << parsed.problem;
    const std::string file = "nominativo=IZ1ABC-13\r\nlatitudine=45.5083\r\nlongitudine=9.1667\r\n"
                             "percorso=WIDE2-1\r\nkiss=1\r\nkiss_host=127.0.0.1\r\nkiss_porta=8001\r\n"
                             "kiss_intervallo=10\r\naprsis=0\r\naprsis_server=localhost\r\naprsis_porta=14580\r\n"
                             "aprsis_passcode=12345\r\naprsis_intervallo=10\r\n";

    testing_support::TempDir dir;
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
