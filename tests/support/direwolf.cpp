// Dire Wolf as the tests' sound-card TNC, and atest on its WAV.
#include "support/direwolf.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <random>
#include <regex>
#include <sstream>

#include "support/test_support.h"

namespace testing_support {

ReservedPort::ReservedPort() {
    std::mt19937 pick(std::random_device{}());
    for (int tries = 0; tries < 1000 && fd_ < 0; ++tries) {
        const int port = std::uniform_int_distribution<int>(20000, 49151)(pick);
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0) {
            fd_ = fd;
            port_ = port;
        } else {
            ::close(fd);
        }
    }
}

void ReservedPort::release() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::string output(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(60000))
        return program.toStdString() + " did not run (it comes with Debian's package direwolf)";
    static const std::regex colours("\x1b\\[[0-9;]*[@-~]");
    return std::regex_replace(p.readAll().toStdString(), colours, "");
}

std::string DireWolf::start(const std::string &folder, int kissPort) {
    folder_ = folder;
    // The capture side reads silence from ALSA's null device; the playback
    // side, ALSA's file device, writes every sample into out.wav (a name
    // relative to the folder: Dire Wolf cuts device names at 29 characters).
    writeBytes(folder + "/direwolf.conf", "ADEVICE null file:FILE=out.wav,FORMAT=wav\nARATE 44100\nACHANNELS 1\n"
                                          "CHANNEL 0\nMYCALL N0CALL\nMODEM 1200\nKISSPORT " + std::to_string(kissPort) +
                                          "\nAGWPORT 0\n");
    process_.setWorkingDirectory(QString::fromStdString(folder));
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(QString::fromStdString(folder + "/direwolf.log"));
    process_.start(QStringLiteral("direwolf"), {"-c", "direwolf.conf", "-t", "0"});
    const bool ready = waitUntil([this] { return log().find("Ready to accept KISS TCP client") != std::string::npos; });
    return ready ? "" : "Dire Wolf did not start:\n" + log();
}

void DireWolf::stop() {
    process_.terminate();
    if (!process_.waitForFinished(5000))
        process_.kill();
    process_.waitForFinished();
}

std::string DireWolf::log() const { return readBytes(folder_ + "/direwolf.log"); }

DireWolf::Decoded DireWolf::decode() {
    // Dire Wolf echoes each frame it sends as "[0L] ..." before the audio
    // is written; a moment more lets the last samples reach the file.
    Decoded d;
    if (!waitUntil([this] { return log().find("[0L] ") != std::string::npos; })) {
        d.atest = "Dire Wolf sent nothing:\n" + log();
        return d;
    }
    // The audio reaches the file after the echo: read it until atest finds
    // the frame's end in it. The file plugin writes the lengths only when
    // the device is closed in order, so they are set here.
    const auto demodulate = [&] {
        std::string wav = readBytes(folder_ + "/out.wav");
        if (wav.size() > 44 && wav.compare(36, 4, "data") == 0)
            for (std::size_t i = 0; i < 4; ++i) {
                wav[4 + i] = static_cast<char>((wav.size() - 8) >> (8 * i));
                wav[40 + i] = static_cast<char>((wav.size() - 44) >> (8 * i));
            }
        writeBytes(folder_ + "/fixed.wav", wav);
        d.atest = output(QStringLiteral("atest"), {"-h", QString::fromStdString(folder_ + "/fixed.wav")});
        return d.atest.find("[0] ") != std::string::npos;
    };
    waitUntil(demodulate);
    stop();
    // "[0] IZ1ABC-13>..." then "  000:  82 a0 ...  ascii", sixteen bytes a line.
    std::istringstream lines(d.atest);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("[0] ", 0) == 0)
            d.monitor.push_back(line.substr(4));
        if (line.size() < 8 || line.compare(0, 2, "  ") != 0 || line[5] != ':')
            continue;
        if (line.compare(2, 3, "000") == 0 || d.frames.empty())
            d.frames.emplace_back();
        std::istringstream hex(line.substr(7, 48));
        for (unsigned byte; hex >> std::hex >> byte;)
            d.frames.back() += static_cast<char>(byte);
    }
    return d;
}

} // namespace testing_support
