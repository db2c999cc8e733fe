// The direct send's logic: what the user may type, the bytes that go to a
// KISS TNC and to APRS-IS, the settings file, and when a send may go out.
#include <gtest/gtest.h>

#include "send/packet.h"
#include "send/schedule.h"
#include "send/settings.h"
#include "support/test_support.h"

namespace {

send::Report report(const std::string &dataLine) {
    return {{"IZ1ABC", 13}, {45.5083, 9.1667}, {{"WIDE1", 1}, {"WIDE2", 1}}, {6, 9, 5}, dataLine};
}

const std::string kLine = "270/012g000t054p000r000b10132h65/sereno-brezza/WS3600/113W";
// Every field of the file set; the KISS send on.
const send::Texts kStation{"iz1abc-13", "45,5083", "9.1667", "WIDE2-1", true, "127.0.0.1", "8001", "10",
                           false, "localhost", "14580", "12345", "10"};

} // namespace

TEST(SendStation, CallsignsPositionsAndPathsAsTypedAndAsSent) {
    const struct { const char *text, *shown; } calls[] = {
        {"iz1abc-13", "IZ1ABC-13"}, {" IZ1ABC ", "IZ1ABC"}, {"IZ1ABC-0", "IZ1ABC"}, {"A-15", "A-15"},
        {"IZ1ABCD", nullptr},       {"IZ1ABC-16", nullptr}, {"IZ1/AB", nullptr},    {"IZ1ABC-", nullptr},
        {"-5", nullptr},            {"", nullptr},          {"IZ1ABC-1-2", nullptr}, {"IZ1\xe0", nullptr},
    };
    for (const auto &c : calls) {
        const auto call = send::parseCallsign(c.text);
        EXPECT_EQ(call ? send::callsignText(*call) : "-", c.shown ? c.shown : "-") << c.text;
    }

    const struct { const char *lat, *lon, *aprs; } positions[] = {
        {"45,5083", "+9,1667", "4530.50N/00910.00E"},    // an Italian decimal comma
        {"-33.8568", "-151.2153", "3351.41S/15112.92W"},
        {"45.99999", "179.99999", "4600.00N/18000.00E"}, // the minute carried, never "60.00"
        {"-0.00001", "-0.00001", "0000.00N/00000.00E"},  // no "S" for what rounds to zero
        {"90", "-180", "9000.00N/18000.00W"},
    };
    for (const auto &p : positions) {
        const auto lat = send::parseDegrees(p.lat), lon = send::parseDegrees(p.lon);
        ASSERT_TRUE(lat && lon) << p.lat;
        EXPECT_EQ(send::aprsPosition({*lat, *lon}), p.aprs) << p.lat << " " << p.lon;
    }
    for (const char *bad : {"", "45.", ".5", "45.5N", "4 5", "1e3", "45..5", "--4"})
        EXPECT_FALSE(send::parseDegrees(bad)) << bad;
    EXPECT_FALSE(send::validLatitude(90.0001));
    EXPECT_FALSE(send::validLongitude(-180.0001));

    EXPECT_EQ(send::pathText(*send::parsePath(" wide1-1 , WIDE2-2")), "WIDE1-1,WIDE2-2");
    EXPECT_TRUE(send::parsePath("  ")->empty());
    for (const char *bad : {"WIDE2-1,", "WIDE2-16", "A,B,C,D,E,F,G,H,I", "WIDE2 1"})
        EXPECT_FALSE(send::parsePath(bad)) << bad;
}

// The frame byte for byte: addresses shifted by one bit, the SSID bytes with
// their reserved bits, the command bit on the destination, the end bit on
// the last digipeater; then UI and no layer 3. And the same report for APRS-IS.
TEST(SendPacket, Ax25FrameKissFramingAndAprsIsLines) {
    const std::string address = "\x82\xa0\xb4\x9a\x82\xa0\xe0"  // APZMAP, command
                                "\x92\xb4\x62\x82\x84\x86\x7a"  // IZ1ABC-13
                                "\xae\x92\x88\x8a\x62\x40\x62"  // WIDE1-1
                                "\xae\x92\x88\x8a\x64\x40\x63"  // WIDE2-1, last
                                "\x03\xf0";
    const std::string info = "@060905z4530.50N/00910.00E_" + kLine;
    EXPECT_EQ(send::ax25Frame(report(kLine)), address + info);

    // No path: the source carries the end bit.
    send::Report direct = report(kLine);
    direct.path.clear();
    EXPECT_EQ(send::ax25Frame(direct)->substr(7, 9), std::string("\x92\xb4\x62\x82\x84\x86\x7b\x03\xf0", 9));

    // KISS framing and the APRS-IS login are checked on the air and on a
    // loopback server (gui_direct_send.cpp).
    EXPECT_EQ(send::aprsIsLine(report(kLine)), "IZ1ABC-13>APZMAP,TCPIP*:" + info + "\r\n");

    // A line end would cut an APRS-IS line; APRS allows 256 bytes of information.
    for (const std::string &bad : {kLine + "\r\n", std::string("a\0b", 3), kLine + std::string(200, 'x')}) {
        EXPECT_FALSE(send::ax25Frame(report(bad)));
        EXPECT_FALSE(send::aprsIsLine(report(bad)));
    }
}

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
        const auto l = send::load(path);
        EXPECT_EQ(l.state, send::FileState::Damaged) << damaged;
        EXPECT_NE(l.problem.find("invio.kwt danneggiato"), std::string::npos) << l.problem;
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

TEST(SendSchedule, FirstTickThenTheIntervalAndAGrowingCappedRetry) {
    send::Schedule s({600000, 30000, 300000});
    EXPECT_FALSE(s.nextAttempt()); // no data line yet
    s.dataArrived();
    EXPECT_TRUE(s.due(0)); // the first tick sends at once
    s.started();
    EXPECT_FALSE(s.nextAttempt()); // one attempt at a time
    s.succeeded(1000);
    s.dataArrived();
    EXPECT_FALSE(s.due(600999));
    EXPECT_TRUE(s.due(601000));

    s.started();
    std::int64_t now = 601000;
    for (std::int64_t pause : {30000, 60000, 120000, 240000, 300000, 300000}) {
        EXPECT_EQ(s.failed(now), pause);
        EXPECT_FALSE(s.due(now + pause - 1));
        now += pause;
        EXPECT_TRUE(s.due(now)); // the report is still waiting, with no new tick
        s.started();
    }
    s.succeeded(now);
    s.dataArrived();
    EXPECT_EQ(s.failures(), 0);
    EXPECT_EQ(s.nextAttempt(), now + 600000);
}
