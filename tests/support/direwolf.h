#pragma once
// Dire Wolf as the test's sound-card TNC: its audio goes through an ALSA
// "file" PCM of the test's own into a WAV, which Dire Wolf's demodulator
// atest reads back. Started in a process group of its own and stopped by
// that group, so nothing else on the machine is touched.

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace testing_support {

class DireWolf {
public:
    // Listens for KISS on 127.0.0.1:kissPort; its files go in `folder`.
    DireWolf(const std::string &folder, int kissPort);
    ~DireWolf() { stop(); }
    DireWolf(const DireWolf &) = delete;
    DireWolf &operator=(const DireWolf &) = delete;

    // False (with the log in `why`) when it is not ready within seconds.
    bool start(std::string &why);
    // Until the log shows `count` frames transmitted.
    bool waitForTransmissions(int count, int timeoutMs);
    void stop();
    std::string log() const;

    // The frames (address to information, no FCS) that atest decodes from
    // the WAV, after the header's lengths are set from the file's size.
    std::vector<std::string> decodedFrames(std::string &atestOutput) const;
    // The monitor lines atest prints: "IZ1ABC-13>APZMAP,WIDE2-1:@...".
    static std::vector<std::string> monitorLines(const std::string &atestOutput);

private:
    std::string folder_;
    int port_;
    pid_t pid_ = -1;
};

// A TCP port on 127.0.0.1 that nobody listens on at this moment.
int freeLoopbackPort();
// Runs the event loop until `done` or the time is up.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 20000);
// Output of a shell command; the exit status in `status`.
std::string commandOutput(const std::string &command, int &status);

} // namespace testing_support
