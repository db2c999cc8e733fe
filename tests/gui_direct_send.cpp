// The direct send through the real radio path and through a loopback APRS-IS
// server, and its dialog. The waits are shortened through METEO_APRS_SEND_MS;
// the report's time is the real clock's. (Every reason a send fails, and the
// schedule: test_send.cpp.)
#include <QTcpServer>

#include "send/packet.h"
#include "support/gui_support.h"

using namespace testing_support;

namespace {

class DirectSendTest : public StationWindowTest {
protected:
    // A report a minute at most, retries after 200 to 800 ms, an answer
    // awaited 15 s (a server under load or a sanitizer build is slow).
    DirectSendTest() { qputenv("METEO_APRS_SEND_MS", "60000,200,800,15000"), writeStation(); }
    ~DirectSendTest() override { qunsetenv("METEO_APRS_SEND_MS"); }
    // A tick whose reading stays within one minute of the UTC clock, and the
    // report that the program must build from the my_meteo.txt it wrote.
    send::Report tickReport() {
        QDateTime utc;
        do {
            utc = QDateTime::currentDateTimeUtc();
            window_.Timer1_Timer();
        } while (utc.time().minute() != QDateTime::currentDateTimeUtc().time().minute());
        const std::string file = readBytes(dir_.file("out/my_meteo.txt"));
        const auto first = file.find("\r\n");
        return {{"IZ1ABC", 13}, {45.5083, 9.1667}, {{"WIDE2", 1}},
                {utc.date().day(), utc.time().hour(), utc.time().minute()},
                file.substr(first + 2, file.size() - first - 4)};
    }
    // A failed send is said, and a send that works says so with the local time.
    void expectFault(const QString &text) {
        ASSERT_TRUE(waitUntil([&] { return statusToolTip().startsWith(text); })) << statusToolTip() << "\n" << text;
    }
    void expectSent(const char *link) {
        const QRegularExpression sent(QStringLiteral("^Ultimo invio: %1 [0-2][0-9]:[0-5][0-9]$").arg(link));
        const auto *shown = child<QLabel>(window_.statusBar(), "ultimoInvio");
        ASSERT_TRUE(waitUntil([&] { return sent.match(shown->text()).hasMatch() && statusToolTip().isEmpty(); }))
            << shown->text() << "\n" << statusToolTip();
    }
};

// A loopback APRS-IS server: greets, takes the login, answers "# logresp"
// verified or not, and takes the packet.
struct AprsIsServer : QTcpServer {
    bool verified;
    QList<QByteArray> lines;
    explicit AprsIsServer(bool v) : verified(v) {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection()) {
                s->write("# meteo-aprs test server\r\n");
                connect(s, &QTcpSocket::readyRead, this, [this, s] {
                    while (s->canReadLine())
                        if ((lines << s->readLine()).last().startsWith("user "))
                            s->write(verified ? "# logresp IZ1ABC-13 verified\r\n" : "# logresp IZ1ABC-13 unverified\r\n");
                });
            }
        });
    }
};

} // namespace

// Dire Wolf is not running at the first tick; once it is, it modulates the
// report into audio and atest demodulates it: the bytes on the air are the
// bytes built from the reading (its comment's CP1252 À and Û are KISS's FEND
// and FESC, its time that of the reading), and an APRS decoder reads
// position and weather, with no gust where there is no gust sensor.
TEST_F(DirectSendTest, TheReportGoesThroughDireWolfsModemAndADownTncIsRetried) {
    ReservedPort tnc; // refused until Dire Wolf listens there
    writeSend(tnc.port);
    child<QCheckBox>(&window_, "Check1")->setChecked(true);
    child<QLineEdit>(&window_, "Text2")->setText(QString::fromUtf8("Città À Û, Milano 20")); // all 20 characters
    const send::Report report = tickReport();
    expectFault(QStringLiteral("KISS: connessione rifiutata (127.0.0.1:%1), nuovo tentativo tra").arg(tnc.port));
    ASSERT_NE(report.dataLine.find("Citt\xe0 \xc0 \xdb, Milano 20"), std::string::npos) << report.dataLine;
    const std::string folder = dir_.file("out");
    DireWolf direwolf;
    tnc.socket.abort();
    ASSERT_EQ(direwolf.start(folder, tnc.port), "");
    expectSent("KISS");

    const auto decoded = direwolf.decode();
    ASSERT_EQ(decoded.frames, std::vector<std::string>{*send::ax25Frame(report)}) << decoded.atest;
    writeBytes(folder + "/frame.txt", QByteArray::fromStdString(decoded.frames[0]).toHex(' ').toStdString() + "\n");
    const std::string aprs = output(QStringLiteral("decode_aprs"), {QString::fromStdString(folder + "/frame.txt")});
    const std::string heading = QString::asprintf("IZ1ABC-13>APZMAP,WIDE2-1:@%02d%02d%02dz4530.50N/009",
                                                  report.time.day, report.time.hour, report.time.minute).toStdString();
    for (const char *value : {heading.c_str(), "Weather Report", "N 45 30.5000, E 009 10.0000",
                              "direction 270, temperature 55, rain 0.12 in last 24 hours, rain 0.00 in last hour, "
                              "barometer 27.64, humidity 84"})
        EXPECT_NE(aprs.find(value), std::string::npos) << value << "\n" << aprs;
    EXPECT_EQ(aprs.find("gust"), std::string::npos) << aprs;
}

// Unverified, the server drops a radio amateur's report: that is said and
// retried; logged in verified, the report goes.
TEST_F(DirectSendTest, AprsIsFailsUnverifiedThenLogsInAndSends) {
    AprsIsServer server(false);
    writeSend(0, server.serverPort());
    const send::Report report = tickReport();
    expectFault(QStringLiteral("APRS-IS: login non verificato: il server non inoltra il rapporto, serve il passcode "
                               "(127.0.0.1:%1), nuovo tentativo tra").arg(server.serverPort()));
    server.verified = true;
    const QByteArray login = "user IZ1ABC-13 pass -1 vers meteo-aprs 1.1.3\r\n";
    const QByteArray all = login + login + QByteArray::fromStdString(*send::aprsIsLine(report));
    EXPECT_TRUE(waitUntil([&] { return server.lines.join() == all; })) << server.lines.join().toStdString();
    expectSent("APRS-IS");
}

// The dialog refuses what does not validate, with the reason, and saves
// nothing; "Verifica" tries what is on screen and sends and saves nothing;
// OK saves, and the next tick sends.
TEST_F(DirectSendTest, TheDialogRefusesVerifiesAndSaves) {
    QTcpServer tnc;
    ASSERT_TRUE(tnc.listen(QHostAddress::LocalHost, 0));
    AprsIsServer verified(true);
    writeSend(0);
    const std::string saved = readBytes(dir_.file(settings::kSendFileName));
    menu("Invio_Diretto");
    const auto *d = child<QDialog>(&window_, "Setup_Invio");
    const auto type = [d](const char *name, const QString &text) { child<QLineEdit>(d, name)->setText(text); };
    type("Latitudine", QStringLiteral("95"));
    child<QCheckBox>(d, "KissAttivo")->setChecked(true);
    child<QCheckBox>(d, "AprsIsAttivo")->setChecked(true);
    type("KissPorta", QString::number(tnc.serverPort()));
    type("AprsIsPorta", QString::number(verified.serverPort()));
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_TRUE(d->isVisible() && messages_.value(0).startsWith("Latitudine non valida")) << messages_.join('\n');
    type("Latitudine", QStringLiteral("45,5083"));
    child<QPushButton>(d, "VerificaButton")->click();
    const auto *shown = child<QLabel>(d, "EsitoVerifica");
    EXPECT_TRUE(waitUntil([&] { return shown->text() == "KISS: TNC raggiungibile\nAPRS-IS: login verificato"; }));
    ASSERT_TRUE(tnc.hasPendingConnections());
    EXPECT_EQ(tnc.nextPendingConnection()->readAll(), QByteArray()); // nothing for the air
    EXPECT_EQ(readBytes(dir_.file(settings::kSendFileName)), saved);
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_FALSE(d->isVisible());
    window_.Timer1_Timer();
    EXPECT_TRUE(waitUntil([&] { return tnc.hasPendingConnections(); })) << statusToolTip();
}
