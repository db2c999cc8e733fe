// Dire Wolf as the tests' sound-card TNC, and atest on its WAV.
#include "support/direwolf.h"

#include <regex>
#include <sstream>

#include "support/test_support.h"

namespace testing_support {

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
        process_.kill(), process_.waitForFinished();
}

std::string DireWolf::log() const { return readBytes(folder_ + "/direwolf.log"); }

DireWolf::Decoded DireWolf::decode() {
    // The audio reaches the file a while after the frame: read it until
    // atest finds the frame's end in it. The file plugin writes the lengths
    // only when the device is closed in order, so they are set here.
    Decoded d;
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
    if (!waitUntil(demodulate))
        d.atest += "\nDire Wolf's log:\n" + log();
    stop();
    // "  000:  82 a0 ...  ascii", sixteen bytes a line.
    std::istringstream lines(d.atest);
    for (std::string line; std::getline(lines, line);) {
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
