#pragma once
// Dire Wolf as the test's sound-card TNC: its audio goes through ALSA's
// "file" PCM into a WAV, which Dire Wolf's demodulator atest reads back.

#include <QProcess>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QtCore/qtestsupport_core.h>

namespace testing_support {

// Runs the event loop until `done` or the time is up (long enough for a
// sanitizer build on busy cores).
template <class F> bool waitUntil(F done, int timeoutMs = 20000) { return QTest::qWaitFor(done, timeoutMs); }

// A port of 127.0.0.1 held bound without listening, so that a connection is
// refused, until released for a server. Dire Wolf takes no KISS port above
// 49151, so it is picked below that, at random so that workers do not meet.
struct ReservedPort {
    QTcpSocket socket;
    int port = 0;
    ReservedPort() {
        do
            port = QRandomGenerator::global()->bounded(20000, 49152);
        while (!socket.bind(QHostAddress::LocalHost, quint16(port), QAbstractSocket::DontShareAddress));
    }
};

// What a program prints, errors included and colours taken out.
std::string output(const QString &program, const QStringList &arguments);

class DireWolf {
public:
    ~DireWolf() { stop(); }
    // KISS on 127.0.0.1:kissPort, files in `folder`: empty once ready, else its log.
    std::string start(const std::string &folder, int kissPort);
    struct Decoded {
        std::string atest;               // for messages
        std::vector<std::string> frames; // address to information, no FCS
    };
    // Once a frame's audio is in the file, Dire Wolf is stopped; atest's reading.
    Decoded decode();

private:
    void stop();
    std::string log() const;
    std::string folder_;
    QProcess process_;
};

} // namespace testing_support
