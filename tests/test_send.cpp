// The direct send's settings file, invio.kwt. What each field accepts and
// how a refusal names it, the callsign, position and path forms, the bytes
// for a KISS TNC and for APRS-IS, and when a send may go out are checked
// over every input by fuzz/fuzz_send.cpp.
#include <gtest/gtest.h>

#include "send/attempt.h"
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
