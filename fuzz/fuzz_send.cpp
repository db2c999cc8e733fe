// invio.kwt can be edited by hand, and decides what goes on the air.
// Whatever it holds (the input's bytes up to a NUL; a data line after it):
// settings taken write back to bytes that read to the same settings; the
// frame carries FEND only at its two ends and unescapes to the AX.25 frame,
// whose addresses decode back to the callsigns; the APRS-IS line is the same
// report. (Each field at its limits and the position's degrees and minutes:
// test_settings, test_send.)

#include <cctype>
#include <cstdint>

#include "fuzz_support.h"
#include "model/model.h"
#include "send/packet.h"
#include "settings/send_settings.h"

fuzz_support::Check taken("settings taken"), refused("settings refused"), built("a frame built"),
    tooLong("a data line too long or with a control byte");

// An AX.25 address: six characters shifted by one bit, blanks after the
// callsign, then the SSID byte with its two reserved bits set, the command
// bit on the destination and the end bit on the last address.
std::string address(const std::string &frame, std::size_t i, std::size_t count) {
    std::string call;
    for (std::size_t k = i * 7; k < i * 7 + 6; ++k)
        call += (frame[k] & 1) ? '\x01' : static_cast<char>(static_cast<unsigned char>(frame[k]) >> 1);
    call.erase(call.find_last_not_of(' ') + 1);
    const int ssid = static_cast<unsigned char>(frame[i * 7 + 6]);
    FUZZ_CHECK((ssid & 0xE1) == 0x60 + (i == 0 ? 0x80 : 0) + (i + 1 == count ? 1 : 0));
    return (ssid >> 1 & 15) ? call + "-" + std::to_string(ssid >> 1 & 15) : call;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size), file = bytes.substr(0, bytes.find('\0'));
    const std::string dataLine = bytes.substr(std::min(bytes.size(), file.size() + 1));
    const settings::ParsedSend parsed = settings::parseSendFile(file);
    (parsed.settings ? taken : refused).reached();
    FUZZ_CHECK(parsed.settings || parsed.problem.rfind("invio.kwt danneggiato", 0) == 0);
    if (!parsed.settings)
        return 0;
    const settings::SendSettings &s = *parsed.settings;
    const auto again = settings::parseSendFile(settings::formatSendFile(s));
    FUZZ_CHECK(again.settings && settings::formatSendFile(*again.settings) == settings::formatSendFile(s));
    // A control byte would end an APRS-IS line; APRS's information field
    // holds 256 bytes, 27 of them before the data line.
    const send::Report report{s.callsign, s.position, s.path, {31, 23, 59}, dataLine};
    const auto frame = send::ax25Frame(report), line = send::aprsIsLine(report);
    const bool fitsField = dataLine.size() <= 256 - 27 && std::none_of(dataLine.begin(), dataLine.end(), [](char c) {
                               return std::iscntrl(static_cast<unsigned char>(c));
                           });
    FUZZ_CHECK(frame.has_value() == fitsField && line.has_value() == fitsField);
    (frame ? built : tooLong).reached();
    if (!frame)
        return 0;
    const std::string kiss = send::kissFrame(*frame);
    std::string unescaped;
    for (std::size_t i = 2; i + 1 < kiss.size(); ++i) {
        FUZZ_CHECK(kiss[i] != '\xdb' || kiss[i + 1] == '\xdc' || kiss[i + 1] == '\xdd');
        unescaped += kiss[i] != '\xdb' ? kiss[i] : kiss[++i] == '\xdc' ? '\xc0' : '\xdb';
    }
    FUZZ_CHECK(kiss.compare(0, 2, std::string("\xc0\0", 2)) == 0 && kiss.find('\xc0', 1) == kiss.size() - 1 &&
               unescaped == *frame);
    const std::size_t n = 2 + s.path.size();
    for (std::size_t i = 0; i < n; ++i)
        FUZZ_CHECK(address(*frame, i, n) ==
                   (i ? settings::callsignText(i == 1 ? s.callsign : s.path[i - 2]) : send::kDestination));
    const std::string info = frame->substr(n * 7 + 2);
    FUZZ_CHECK(frame->compare(n * 7, 2, "\x03\xf0") == 0 &&
               info == "@312359z" + send::aprsLatitude(s.position.latitude) + "/" +
                           send::aprsLongitude(s.position.longitude) + "_" + dataLine);
    FUZZ_CHECK(*line == address(*frame, 1, n) + ">" + send::kDestination + ",TCPIP*:" + info + "\r\n");
    return 0;
}
