#pragma once
// Dire Wolf as the test's sound-card TNC: its audio goes through ALSA's
// "file" PCM into a WAV, which Dire Wolf's demodulator atest reads back.

#include <QProcess>
#include <QtCore/qtestsupport_core.h>

#include <string>
#include <vector>

namespace testing_support {

// Runs the event loop until `done` or the time is up.
template <class F> bool waitUntil(F done, int timeoutMs = 20000) { return QTest::qWaitFor(done, timeoutMs); }
// A TCP port on 127.0.0.1 held bound without listening, so that a
// connection to it is refused, until it is released for a server that will
// listen there. Below 49152: Dire Wolf takes no KISS port above.
class ReservedPort {
public:
    ReservedPort();
    ~ReservedPort() { release(); }
    int port() const { return port_; }
    void release();

private:
    int fd_ = -1, port_ = 0;
};
// What a program prints, errors included and colours taken out, once it has
// ended.
std::string output(const QString &program, const QStringList &arguments);

class DireWolf {
public:
    ~DireWolf() { stop(); }
    // KISS on 127.0.0.1:kissPort; its files go in `folder`. Empty once it is
    // ready, its log when it is not ready within seconds.
    std::string start(const std::string &folder, int kissPort);
    void stop();

    struct Decoded {
        std::string atest;                // atest's output (or Dire Wolf's log), for messages
        std::vector<std::string> frames;  // address to information, no FCS
        std::vector<std::string> monitor; // "IZ1ABC-13>APZMAP,WIDE2-1:@..."
    };
    // Once the log shows a frame transmitted and its audio is in the file,
    // Dire Wolf is stopped and atest reads the file.
    Decoded decode();

private:
    std::string log() const;

    std::string folder_;
    QProcess process_;
};

} // namespace testing_support
