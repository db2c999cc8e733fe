// Dire Wolf as the tests' sound-card TNC, atest on its WAV, and waiting on the event loop.
#include "support/direwolf.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {
namespace {

std::string withoutColours(const std::string &text) {
    static const std::regex colours("\x1b\\[[0-9;]*[@-~]");
    return std::regex_replace(text, colours, "");
}

void put32(std::string &bytes, std::size_t at, std::size_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + std::size_t(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

DireWolf::DireWolf(const std::string &folder, int kissPort) : folder_(folder), port_(kissPort) {
    // The capture side reads silence from ALSA's null device; the playback
    // side writes every sample into out.wav.
    writeBytes(folder_ + "/asound.conf", "pcm.null { type null }\n"
                                         "pcm.wavout {\n  type file\n  slave.pcm \"null\"\n  file \"" +
                                             folder_ + "/out.wav\"\n  format \"wav\"\n}\n");
    writeBytes(folder_ + "/direwolf.conf", "ADEVICE null wavout\nARATE 44100\nACHANNELS 1\nCHANNEL 0\n"
                                           "MYCALL N0CALL\nMODEM 1200\nKISSPORT " +
                                               std::to_string(port_) + "\nAGWPORT 0\n");
}

bool DireWolf::start(std::string &why) {
    const std::string logPath = folder_ + "/direwolf.log";
    pid_ = fork();
    if (pid_ == 0) {
        setsid();
        const int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        dup2(out, 1);
        dup2(out, 2);
        setenv("ALSA_CONFIG_PATH", (folder_ + "/asound.conf").c_str(), 1);
        if (chdir(folder_.c_str()) == 0)
            execlp("direwolf", "direwolf", "-c", "direwolf.conf", "-t", "0", static_cast<char *>(nullptr));
        _exit(127);
    }
    const bool ready = waitUntil([this] { return log().find("Ready to accept KISS TCP client") != std::string::npos; },
                                 15000);
    if (!ready)
        why = "Dire Wolf did not start:\n" + log();
    return ready;
}

bool DireWolf::waitForTransmissions(int count, int timeoutMs) {
    // Dire Wolf echoes each frame it sends as "[0L] ..." before the audio
    // is written; a moment more lets the last samples reach the file.
    const bool seen = waitUntil(
        [&] {
            const std::string l = log();
            int n = 0;
            for (auto at = l.find("[0L] "); at != std::string::npos; at = l.find("[0L] ", at + 1))
                ++n;
            return n >= count;
        },
        timeoutMs);
    QElapsedTimer settle;
    settle.start();
    waitUntil([&] { return settle.elapsed() > 1500; }, 3000);
    return seen;
}

void DireWolf::stop() {
    if (pid_ <= 0)
        return;
    kill(-pid_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        usleep(50000);
    }
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string DireWolf::log() const { return withoutColours(readBytes(folder_ + "/direwolf.log")); }

std::vector<std::string> DireWolf::decodedFrames(std::string &atestOutput) const {
    // The file plugin writes the lengths only when the device is closed in
    // order; a stopped Dire Wolf may leave them at 0.
    std::string wav = readBytes(folder_ + "/out.wav");
    if (wav.size() > 44 && wav.compare(36, 4, "data") == 0) {
        put32(wav, 4, wav.size() - 8);
        put32(wav, 40, wav.size() - 44);
    }
    writeBytes(folder_ + "/fixed.wav", wav);
    int status = 0;
    atestOutput = withoutColours(commandOutput("atest -h '" + folder_ + "/fixed.wav' 2>&1", status));
    // "  000:  82 a0 ...  ascii": sixteen bytes a line, " %02x" each after ": ".
    std::vector<std::string> frames;
    static const std::regex dumpLine("^  ([0-9a-f]{3}):.*");
    std::istringstream lines(atestOutput);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, dumpLine))
            continue;
        if (m[1] == "000")
            frames.emplace_back();
        if (frames.empty())
            continue;
        std::istringstream hex(line.substr(7, 48));
        for (std::string byte; hex >> byte;)
            frames.back() += static_cast<char>(std::stoi(byte, nullptr, 16));
    }
    return frames;
}

std::vector<std::string> DireWolf::monitorLines(const std::string &atestOutput) {
    std::vector<std::string> out;
    static const std::regex monitor("^\\[0\\] (.*)$");
    std::istringstream lines(atestOutput);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (std::regex_match(line, m, monitor))
            out.push_back(m[1]);
    }
    return out;
}

int freeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

std::string commandOutput(const std::string &command, int &status) {
    std::string out;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

} // namespace testing_support
