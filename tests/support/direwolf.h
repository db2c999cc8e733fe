#pragma once
// Dire Wolf as the test's sound-card TNC: its audio goes through ALSA's
// "file" PCM into a WAV, which Dire Wolf's demodulator atest reads back.

#include <QProcess>
#include <QTcpSocket>
#include <QtCore/qtestsupport_core.h>

#include <random>
#include <string>
#include <vector>

namespace testing_support {

// Runs the event loop until `done` or the time is up (long enough for a
// sanitizer build on busy cores).
template <class F> bool waitUntil(F done, int timeoutMs = 20000) { return QTest::qWaitFor(done, timeoutMs); }
// A TCP port on 127.0.0.1 held bound without listening, so that a
// connection to it is refused, until it is released for a server that will
// listen there. Not the system's choice: Dire Wolf takes no KISS port above
// 49151, so one is picked below, at random so that workers side by side do
// not meet.
class ReservedPort {
public:
    ReservedPort() {
        std::mt19937 pick(std::random_device{}());
        do
            port_ = std::uniform_int_distribution<int>(20000, 49151)(pick);
        while (!socket_.bind(QHostAddress::LocalHost, quint16(port_), QAbstractSocket::DontShareAddress));
    }
    int port() const { return port_; }
    void release() { socket_.abort(); }

private:
    QTcpSocket socket_;
    int port_ = 0;
};
// What a program prints, errors included and colours taken out, once it has
// ended.
std::string output(const QString &program, const QStringList &arguments);

class DireWolf {
public:
    ~DireWolf() { stop(); }
    // KISS on 127.0.0.1:kissPort; its files go in `folder`. Empty once it is
    // ready, its log when it is not.
    std::string start(const std::string &folder, int kissPort);
    void stop();

    struct Decoded {
        std::string atest;                // atest's output (or Dire Wolf's log), for messages
        std::vector<std::string> frames;  // address to information, no FCS
        std::vector<std::string> monitor; // "IZ1ABC-13>APZMAP,WIDE2-1:@..."
    };
    // Once a frame's audio is in the file, Dire Wolf is stopped; atest's reading.
    Decoded decode();

private:
    std::string log() const;

    std::string folder_;
    QProcess process_;
};

} // namespace testing_support
