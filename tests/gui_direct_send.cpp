// The direct send through the real radio path and through loopback APRS-IS
// servers, with the faults a station meets: the TNC not running, killed and
// started again, a server that closes, one that never answers, one that
// refuses, settings that do not validate.
#include <QTcpServer>
#include <QTcpSocket>

#include "ui/DirectSend.h"
#include "ui/DirectSender.h"
#include "ui/SetupInvio.h"
#include "send/packet.h"
#include "support/direwolf.h"
#include "support/gui_support.h"

namespace {

using testing_support::child;
using testing_support::readBytes;
using testing_support::waitUntil;

class DirectSendTest : public testing_support::StationWindowTest {
protected:
    DirectSendTest() {
        for (ui::DirectSender *s : {kiss(), aprsIs()}) {
            // Short pauses: 200 ms doubling to 800 ms, 300 ms between sends.
            s->setTestTiming({300, 200, 800}, 1000);
            s->setUtcClock([] { return QDateTime(QDate(2026, 12, 5), QTime(8, 22), Qt::UTC); });
        }
        QObject::connect(kiss(), &ui::DirectSender::sent, [this](const QByteArray &b) { kissSent_ << b; });
    }
    ui::DirectSender *kiss() { return child<ui::DirectSender>(&window_, "kissSender"); }
    ui::DirectSender *aprsIs() { return child<ui::DirectSender>(&window_, "aprsIsSender"); }
    QString sendStatus() { return child<ui::DirectSend>(&window_, "directSend")->problems().join('\n'); }

    void writeSettings(int kissPort, int aprsIsPort = 0, const char *passcode = "") {
        send::Texts t;
        t.callsign = "IZ1ABC-13";
        t.latitude = "45.5083";
        t.longitude = "9.1667";
        t.kissEnabled = kissPort != 0;
        t.kissPort = std::to_string(kissPort ? kissPort : 8001);
        t.aprsIsEnabled = aprsIsPort != 0;
        t.aprsIsHost = "127.0.0.1";
        t.aprsIsPort = std::to_string(aprsIsPort ? aprsIsPort : 14580);
        t.passcode = passcode;
        ASSERT_FALSE(send::save(dir_.file(send::kSettingsFileName), *send::parse(t).settings));
    }
    // The report as the program must build it from the file it wrote.
    send::Report expectedReport() const {
        const std::string file = readBytes(out("my_meteo.txt"));
        const auto first = file.find("\r\n");
        return {{"IZ1ABC", 13}, {45.5083, 9.1667}, {{"WIDE2", 1}}, {5, 8, 22},
                file.substr(first + 2, file.size() - first - 4)};
    }
    std::string folder(const char *name) const {
        QDir(QString::fromStdString(dir_.path())).mkdir(QString::fromLatin1(name));
        return dir_.file(name);
    }
    static std::string unkiss(const QByteArray &kiss) {
        std::string out;
        for (qsizetype i = 2; i + 1 < kiss.size(); ++i)
            out += kiss[i] == '\xdb' ? (kiss[++i] == '\xdc' ? '\xc0' : '\xdb') : kiss[i];
        return out;
    }
    // The files of the tick are written whatever happens to the sends.
    void expectFilesWritten(const char *when) {
        EXPECT_NE(readBytes(out("my_meteo.txt")).find("/WS3600/113W\r\n"), std::string::npos) << when;
        EXPECT_EQ(statusToolTip(), sendStatus()) << when; // the sends' problems alone, on screen
    }

    QList<QByteArray> kissSent_;
};

} // namespace

// Dire Wolf modulates the frame into audio, atest demodulates it: the bytes
// on the air are the bytes the program built from my_meteo.txt's line, and
// an APRS decoder reads the position, time and weather from them. The
// comment carries CP1252 bytes that KISS must escape (À is FEND, Û is FESC).
TEST_F(DirectSendTest, TheReportGoesThroughDireWolfsModemByteForByte) {
    const int port = testing_support::freeLoopbackPort();
    testing_support::DireWolf direwolf(folder("radio"), port);
    std::string why;
    ASSERT_TRUE(direwolf.start(why)) << why;
    writeSettings(port);
    writeStation();
    child<QCheckBox>(&window_, "Check1")->setChecked(true);
    child<QLineEdit>(&window_, "Text2")->setText(QString::fromUtf8("Città À Û"));
    window_.Timer1_Timer();
    ASSERT_TRUE(waitUntil([&] { return kiss()->sentCount() == 1; })) << sendStatus().toStdString();
    EXPECT_EQ(sendStatus(), QString());
    ASSERT_TRUE(direwolf.waitForTransmissions(1, 20000)) << direwolf.log();
    direwolf.stop();

    const send::Report report = expectedReport();
    ASSERT_NE(report.dataLine.find("Citt\xe0 \xc0 \xdb"), std::string::npos) << report.dataLine;
    const std::string built = *send::ax25Frame(report);
    EXPECT_EQ(kissSent_.value(0).toStdString(), send::kissFrame(built));
    std::string atest;
    const auto frames = direwolf.decodedFrames(atest);
    ASSERT_EQ(frames.size(), 1u) << atest;
    EXPECT_EQ(frames[0], built) << atest;

    const auto monitor = testing_support::DireWolf::monitorLines(atest);
    ASSERT_EQ(monitor.size(), 1u) << atest;
    EXPECT_EQ(monitor[0].substr(0, 45), "IZ1ABC-13>APZMAP,WIDE2-1:@050822z4530.50N/009");
    testing_support::writeBytes(dir_.file("monitor.txt"), monitor[0] + "\n");
    int exit = 0;
    const std::string decoded = testing_support::commandOutput("decode_aprs '" + dir_.file("monitor.txt") + "' 2>&1", exit);
    EXPECT_EQ(exit, 0);
    for (const char *value : {"Weather Report", "N 45 30.5000, E 009 10.0000", "direction 270, gust 0, temperature 55, "
                              "rain 0.12 in last 24 hours, rain 0.00 in last hour, barometer 27.64, humidity 84"})
        EXPECT_NE(decoded.find(value), std::string::npos) << value << "\n" << decoded;
}

// Not running at the start, then started; killed between two sends, then
// started again: each time the status bar says so, the files are written,
// and the report goes out once the TNC is back.
TEST_F(DirectSendTest, ATncThatIsDownIsRetriedUntilItIsBack) {
    const int port = testing_support::freeLoopbackPort();
    writeSettings(port);
    writeStation();
    window_.Timer1_Timer();
    const QString refused = QStringLiteral("KISS: connessione rifiutata (127.0.0.1:%1), nuovo tentativo tra").arg(port);
    ASSERT_TRUE(waitUntil([&] { return sendStatus().startsWith(refused); })) << sendStatus().toStdString();
    expectFilesWritten("TNC down at the start");
    bool answered = false; // the window's event loop is free while a send waits
    QTimer::singleShot(0, &window_, [&] { answered = true; });
    EXPECT_TRUE(waitUntil([&] { return answered; }, 1000));

    testing_support::DireWolf first(folder("first"), port);
    std::string why;
    ASSERT_TRUE(first.start(why)) << why;
    ASSERT_TRUE(waitUntil([&] { return kiss()->sentCount() == 1; })) << sendStatus().toStdString();
    EXPECT_EQ(sendStatus(), QString());
    ASSERT_TRUE(first.waitForTransmissions(1, 20000)) << first.log();
    first.stop();

    window_.Timer1_Timer();
    ASSERT_TRUE(waitUntil([&] { return sendStatus().startsWith(refused); })) << sendStatus().toStdString();
    expectFilesWritten("TNC killed");
    testing_support::DireWolf again(folder("again"), port);
    ASSERT_TRUE(again.start(why)) << why;
    ASSERT_TRUE(waitUntil([&] { return kiss()->sentCount() == 2; })) << sendStatus().toStdString();
    EXPECT_EQ(sendStatus(), QString());
    ASSERT_TRUE(again.waitForTransmissions(1, 20000)) << again.log();
    again.stop();
    std::string atest;
    EXPECT_EQ(again.decodedFrames(atest), std::vector<std::string>{unkiss(kissSent_.value(1))}) << atest;
}

namespace {

// A loopback APRS-IS server: greets, takes the login, answers "# logresp"
// and takes the packet; or logs in unverified, closes at once, or never
// says anything.
class AprsIsServer : public QObject {
public:
    enum class Mode { Answers, Unverified, Closes, Silent };
    explicit AprsIsServer(Mode mode) : mode(mode) {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = server.nextPendingConnection()) {
                if (this->mode == Mode::Closes) {
                    s->close();
                    continue;
                }
                if (this->mode == Mode::Silent)
                    continue;
                s->write("# meteo-aprs test server\r\n");
                connect(s, &QTcpSocket::readyRead, this, [this, s] {
                    while (s->canReadLine()) {
                        lines << s->readLine();
                        if (lines.last().startsWith("user "))
                            s->write(this->mode == Mode::Unverified ? "# logresp IZ1ABC-13 unverified, server TEST\r\n"
                                                                    : "# logresp IZ1ABC-13 verified, server TEST\r\n");
                    }
                });
            }
        });
    }
    Mode mode;
    QTcpServer server;
    QList<QByteArray> lines;
};

} // namespace

TEST_F(DirectSendTest, AprsIsLogsInThenSendsAndEveryFailingServerIsRetried) {
    const struct { AprsIsServer::Mode mode; bool refuses; const char *reason, *passcode; } cases[] = {
        {AprsIsServer::Mode::Answers, false, nullptr, ""},
        {AprsIsServer::Mode::Unverified, false, "passcode non accettato dal server", "12345"},
        {AprsIsServer::Mode::Closes, false, "il server ha chiuso la connessione", ""},
        {AprsIsServer::Mode::Silent, false, "il server non risponde", ""},
        {AprsIsServer::Mode::Answers, true, "connessione rifiutata", ""},
    };
    writeStation();
    int sent = 0;
    for (const auto &c : cases) {
        AprsIsServer server(c.mode);
        int port = server.server.serverPort();
        if (c.refuses) {
            server.server.close();
            port = testing_support::freeLoopbackPort();
        }
        writeSettings(0, port, c.passcode); // new settings: the next tick sends at once
        window_.Timer1_Timer();
        if (c.reason) {
            const QString expected = QStringLiteral("APRS-IS: %1 (127.0.0.1:%2), nuovo tentativo tra").arg(c.reason).arg(port);
            ASSERT_TRUE(waitUntil([&] { return sendStatus().startsWith(expected); })) << sendStatus().toStdString();
            expectFilesWritten(c.reason);
            server.mode = AprsIsServer::Mode::Answers;
            if (c.refuses) {
                ASSERT_TRUE(server.server.listen(QHostAddress::LocalHost, quint16(port)));
            }
        }
        // The first attempt's login stays in the list of a server that logged it in unverified.
        ASSERT_TRUE(waitUntil([&] { return server.lines.size() >= 2 && server.lines.last().startsWith("IZ1ABC"); }))
            << sendStatus().toStdString();
        server.lines = server.lines.mid(server.lines.size() - 2);
        EXPECT_TRUE(waitUntil([&] { return aprsIs()->sentCount() == sent + 1; }));
        sent = aprsIs()->sentCount();
        EXPECT_EQ(sendStatus(), QString());
        EXPECT_EQ(server.lines[0].toStdString(),
                  std::string("user IZ1ABC-13 pass ") + (*c.passcode ? c.passcode : "-1") + " vers meteo-aprs 1.1.3\r\n");
        EXPECT_EQ(server.lines[1].toStdString(), *send::aprsIsLine(expectedReport()));
    }
}

// What does not validate is refused with the reason and never saved, so
// nothing is sent; a damaged file sends nothing either, and says so.
TEST_F(DirectSendTest, TheDialogRefusesBadSettingsAndNothingIsSent) {
    QTcpServer tnc;
    ASSERT_TRUE(tnc.listen(QHostAddress::LocalHost, 0));
    child<QAction>(&window_, "Invio_Diretto")->trigger();
    auto *d = window_.setupInvio();
    ASSERT_TRUE(d->isVisible());
    const auto edit = [d](const char *name) { return d->findChild<QLineEdit *>(QString::fromLatin1(name)); };
    edit("Nominativo")->setText(QStringLiteral("IZ1ABC-16"));
    edit("Latitudine")->setText(QStringLiteral("45,5083"));
    edit("Longitudine")->setText(QStringLiteral("9.1667"));
    d->findChild<QCheckBox *>(QStringLiteral("KissAttivo"))->setChecked(true);
    edit("KissPorta")->setText(QString::number(tnc.serverPort()));
    EXPECT_EQ(d->findChild<QLabel *>(QStringLiteral("Posizione"))->text(), "4530.50N/00910.00E");
    d->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
    edit("Nominativo")->setText(QStringLiteral("iz1abc-13"));
    edit("Latitudine")->setText(QStringLiteral("95"));
    EXPECT_EQ(d->findChild<QLabel *>(QStringLiteral("Posizione"))->text(), "(non valida)");
    d->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_[0].startsWith(QStringLiteral("Nominativo non valido"))) << messages_[0].toStdString();
    EXPECT_TRUE(messages_[1].startsWith(QStringLiteral("Latitudine non valida"))) << messages_[1].toStdString();
    EXPECT_FALSE(fileio::exists(dir_.file(send::kSettingsFileName)));

    writeStation();
    window_.Timer1_Timer();
    testing_support::writeBytes(dir_.file(send::kSettingsFileName), "nominativo=IZ1ABC-13\r\n");
    window_.Timer1_Timer();
    EXPECT_TRUE(sendStatus().startsWith(QStringLiteral("invio.kwt danneggiato"))) << sendStatus().toStdString();
    expectFilesWritten("invio.kwt damaged");
    waitUntil([] { return false; }, 300);
    EXPECT_FALSE(tnc.hasPendingConnections());
    EXPECT_EQ(kiss()->sentCount(), 0);

    edit("Latitudine")->setText(QStringLiteral("45.5083"));
    d->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(readBytes(dir_.file(send::kSettingsFileName)).substr(0, 66),
              "nominativo=IZ1ABC-13\r\nlatitudine=45.508300\r\nlongitudine=9.166700\r\n");
    window_.Timer1_Timer();
    EXPECT_TRUE(waitUntil([&] { return tnc.hasPendingConnections(); }));
}
