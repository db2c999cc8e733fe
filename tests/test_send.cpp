// The direct send: positions and escapes at their edges, one attempt's
// steps, what a change of settings restarts, and the timing of the sends.
// The bytes for a KISS TNC and for APRS-IS over every input:
// fuzz/fuzz_send.cpp; on the air: gui_direct_send.cpp.
#include <gtest/gtest.h>

#include "send/attempt.h"
#include "send/packet.h"
#include "send/schedule.h"
#include "settings/send_settings.h"
#include "support/test_support.h"

namespace {

// Every field of the file set; the KISS send on.
const settings::SendTexts kStation{"iz1abc-13", "45,5083", "9.1667", "WIDE2-1", true, "127.0.0.1", "8001", "10",
                           false, "localhost", "14580", "12345", "10"};

} // namespace

// Positions at the hemispheres' and the minutes' edges, and the KISS escapes.
TEST(Packet, PositionsAndKissEscapes) {
    const struct { double degrees; const char *latitude, *longitude; } cases[] = {
        {45.5083, "4530.50N", "04530.50E"}, {-45.5, "4530.00S", "04530.00W"}, {0, "0000.00N", "00000.00E"},
        {-9.999999, "1000.00S", "01000.00W"}};
    for (const auto &c : cases)
        EXPECT_EQ(send::aprsLatitude(c.degrees) + send::aprsLongitude(c.degrees), std::string(c.latitude) + c.longitude);
    EXPECT_EQ(send::kissFrame(std::string("a\xC0" "b\xDB", 4)), std::string("\xC0\x00" "a\xDB\xDC" "b\xDB\xDD\xC0", 9));
}

// One attempt, step by step, as the connection reports it: c connected,
// w all written, v/u "# logresp" verified/unverified, x closed, r refused,
// t no answer in time. Actions: - none, L login, R report, C close, F end.
TEST(SendAttempt, EachStepLeadsToTheNextOrEndsWithItsReason) {
    using send::Link;
    const settings::Callsign amateur{"IZ1ABC", 13}, cwop{"CW1234", 0};
    const struct { Link link; bool check; settings::Callsign call; const char *passcode, *events, *actions; bool ok;
                   const char *reason; } rows[] = {
        {Link::Kiss, false, amateur, "", "cwrx", "RC-F", true, ""}, // a late error does not undo the send
        {Link::Kiss, false, amateur, "", "cx", "RF", false, "connessione chiusa dall'altro capo"},
        {Link::Kiss, true, amateur, "", "c", "F", true, "TNC raggiungibile"},
        {Link::Kiss, false, amateur, "", "r", "F", false, "connessione rifiutata"},
        {Link::AprsIs, false, amateur, "12345", "cwvwx", "L-RCF", true, ""},
        {Link::AprsIs, false, amateur, "12345", "cwu", "L-F", false, "passcode non accettato dal server"},
        {Link::AprsIs, false, amateur, "-1", "cwu", "L-F", false,
         "login non verificato: il server non inoltra il rapporto, serve il passcode"},
        {Link::AprsIs, false, cwop, "", "cwuwx", "L-RCF", true, ""},
        {Link::AprsIs, true, amateur, "", "cwvw", "L-F-", true, "login verificato"},
        {Link::AprsIs, false, amateur, "", "cx", "LF", false, "il server ha chiuso la connessione"},
        {Link::AprsIs, false, amateur, "", "cwt", "L-F", false, "il server non risponde"},
        {Link::AprsIs, false, amateur, "", "cwvt", "L-RF", false, "nessuna risposta"},
    };
    for (const auto &row : rows) {
        send::Attempt a(row.link, row.check, row.call, row.passcode);
        std::string actions;
        for (const char *e = row.events; *e; ++e) {
            const send::Action act = *e == 'c' ? a.connected() : *e == 'w' ? a.allWritten()
                                   : *e == 'v' ? a.lineRead("# logresp IZ1ABC-13 verified, server T2\r\n")
                                   : *e == 'u' ? a.lineRead("# logresp IZ1ABC-13 unverified, server T2\r\n")
                                   : *e == 'x' ? a.closed() : *e == 'r' ? a.failed(send::NetError::Refused)
                                               : a.timedOut();
            actions += "-LRCF"[int(act)];
        }
        EXPECT_EQ(actions, row.actions) << row.events;
        ASSERT_TRUE(a.finished()) << row.events;
        EXPECT_EQ(a.result().ok, row.ok) << row.events;
        EXPECT_EQ(a.result().reason, row.reason) << row.events;
    }
}

// A new invio.kwt restarts a send only for its own fields, and forgets its
// last report only when it goes elsewhere or is switched off.
TEST(SendAttempt, ASettingsChangeRestartsOnlyTheSendItConcerns) {
    using C = send::Change;
    auto s = settings::parseSendTexts(kStation).settings;
    s->aprsIs.enabled = true;
    auto path = s, port = s, passcode = s, off = s;
    path->path.clear();
    port->kiss.port = 8002;
    passcode->passcode = "23456";
    off->kiss.enabled = false;
    const struct { send::Link link; std::optional<settings::SendSettings> before, after; C change; } rows[] = {
        {send::Link::Kiss, std::nullopt, s, C::RestartForget}, {send::Link::Kiss, s, s, C::None},
        {send::Link::Kiss, s, path, C::Restart},               {send::Link::AprsIs, s, path, C::None},
        {send::Link::Kiss, s, port, C::RestartForget},         {send::Link::AprsIs, s, passcode, C::Restart},
        {send::Link::Kiss, s, off, C::Off},                    {send::Link::Kiss, s, std::nullopt, C::Off},
    };
    for (const auto &row : rows)
        EXPECT_EQ(send::change(row.link, row.before, row.after), row.change) << &row - rows;
}

// The rule of the sends' timing, minute by minute of one station's morning:
// the first report at once, retries after 30 s doubling up to 5 min, then
// no sooner than the interval after a success, and a reading older than the
// interval dropped.
TEST(SendSchedule, RetriesDoubleUpToTheirCapAndTheIntervalHolds) {
    const std::int64_t s = 1000, min = 60 * s;
    send::Schedule plan(send::timingFor(10));
    plan.dataArrived(0);
    std::vector<std::int64_t> pauses;
    for (std::int64_t now = 0; pauses.size() < 6;) {
        ASSERT_EQ(plan.due(now), send::Due::Send) << now;
        plan.started();
        plan.dataArrived(now); // a fresh reading each time, so none grows old
        pauses.push_back(plan.failed(now));
        EXPECT_EQ(plan.due(now + pauses.back() - 1), send::Due::No);
        now += pauses.back();
    }
    EXPECT_EQ(pauses, (std::vector<std::int64_t>{30 * s, 60 * s, 120 * s, 240 * s, 5 * min, 5 * min}));
    plan.started();
    plan.succeeded(20 * min);
    plan.dataArrived(21 * min);
    EXPECT_EQ(plan.due(29 * min), send::Due::No);
    EXPECT_EQ(plan.due(30 * min), send::Due::Send);
    EXPECT_EQ(plan.due(31 * min + 1), send::Due::TooOld);
    EXPECT_EQ(plan.due(35 * min), send::Due::No); // dropped, not sent later
}
