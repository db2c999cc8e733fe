// The direct send through the real radio path and through loopback APRS-IS
// servers, with the faults a station meets: the TNC not running, a server
// that closes, one that never answers, a login refused, a reading grown old,
// settings that do not validate. The waits are shortened through
// METEO_APRS_SEND_MS; the report's time is the real clock's.
#include <QTcpServer>
#include <QTcpSocket>

#include "send/packet.h"
#include "support/direwolf.h"
#include "support/gui_support.h"

using namespace testing_support;

namespace {

class DirectSendTest : public StationWindowTest {
protected:
    // A report a minute at most, retries after 200 to 800 ms, an answer
    // awaited 15 s (a server under load or a sanitizer build is slow).
    DirectSendTest() {
        qputenv("METEO_APRS_SEND_MS", "60000,200,800,15000");
        writeStation();
    }
    ~DirectSendTest() override { qunsetenv("METEO_APRS_SEND_MS"); }
    // A tick whose reading stays within one minute of the UTC clock, and the
    // report that the program must build from the my_meteo.txt it wrote.
    send::Report tickReport(const settings::Callsign &call = {"IZ1ABC", 13}) {
        QDateTime utc;
        do {
            utc = QDateTime::currentDateTimeUtc();
            window_.Timer1_Timer();
        } while (utc.time().minute() != QDateTime::currentDateTimeUtc().time().minute());
        const std::string file = readBytes(dir_.file("out/my_meteo.txt"));
        const auto first = file.find("\r\n");
        return {call, {45.5083, 9.1667}, {{"WIDE2", 1}}, {utc.date().day(), utc.time().hour(), utc.time().minute()},
                file.substr(first + 2, file.size() - first - 4)};
    }
    // The status line says what failed.
    void expectFault(const QString &text) {
        ASSERT_TRUE(waitUntil([&] { return statusToolTip().startsWith(text); })) << statusToolTip() << "\n" << text;
    }
    // A send that works says so too, with the local time.
    void expectSent(const char *link) {
        const QRegularExpression sent(QStringLiteral("^Ultimo invio: %1 [0-2][0-9]:[0-5][0-9]$").arg(link));
        const auto *shown = child<QLabel>(window_.statusBar(), "ultimoInvio");
        ASSERT_TRUE(waitUntil([&] { return sent.match(shown->text()).hasMatch() && statusToolTip().isEmpty(); }))
            << shown->text() << "\n" << statusToolTip();
        EXPECT_TRUE(shown->isVisibleTo(&window_));
    }
};

// A loopback APRS-IS server: greets, takes the login, answers "# logresp"
// and takes the packet; or logs in unverified, closes at once, or never says
// anything.
struct AprsIsServer : QTcpServer {
    enum Mode { Answers, Unverified, Closes, Silent } mode;
    QList<QByteArray> lines;
    explicit AprsIsServer(Mode m) : mode(m) {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection()) {
                if (mode == Closes)
                    s->close();
                if (mode == Closes || mode == Silent)
                    continue;
                s->write("# meteo-aprs test server\r\n");
                connect(s, &QTcpSocket::readyRead, this, [this, s] {
                    while (s->canReadLine())
                        if ((lines << s->readLine()).last().startsWith("user "))
                            s->write(mode == Unverified ? "# logresp IZ1ABC-13 unverified\r\n"
                                                        : "# logresp IZ1ABC-13 verified\r\n");
                });
            }
        });
    }
};

} // namespace

// Dire Wolf is not running at the first two ticks; once it is, it modulates
// the report into audio and atest demodulates it: the bytes on the air are
// the bytes built from the newer reading (its comment's CP1252 À and Û are
// KISS's FEND and FESC, its time that of the reading), and an APRS decoder
// reads position and weather, with no gust where there is no gust sensor.
TEST_F(DirectSendTest, TheReportGoesThroughDireWolfsModemAndADownTncIsRetried) {
    ReservedPort tncPort; // refused until Dire Wolf listens there
    writeSend(tncPort.port());
    child<QCheckBox>(&window_, "Check1")->setChecked(true);
    send::Report report;
    for (const char *message : {"Città À Û 1", "Città À Û 2"}) {
        child<QLineEdit>(&window_, "Text2")->setText(QString::fromUtf8(message));
        report = tickReport();
        expectFault(QStringLiteral("KISS: connessione rifiutata (127.0.0.1:%1), nuovo tentativo tra").arg(tncPort.port()));
    }
    ASSERT_NE(report.dataLine.find("Citt\xe0 \xc0 \xdb 2"), std::string::npos) << report.dataLine;
    const std::string folder = dir_.file("radio");
    QDir().mkdir(QString::fromStdString(folder));
    DireWolf direwolf;
    tncPort.release();
    ASSERT_EQ(direwolf.start(folder, tncPort.port()), "");
    expectSent("KISS");

    const auto decoded = direwolf.decode();
    EXPECT_EQ(decoded.frames, std::vector<std::string>{*send::ax25Frame(report)}) << decoded.atest;
    ASSERT_EQ(decoded.monitor.size(), 1u) << decoded.atest;
    const QString heading = QString::asprintf("IZ1ABC-13>APZMAP,WIDE2-1:@%02d%02d%02dz4530.50N/009", report.time.day,
                                              report.time.hour, report.time.minute);
    EXPECT_EQ(QString::fromStdString(decoded.monitor[0].substr(0, 45)), heading);
    writeBytes(folder + "/monitor.txt", decoded.monitor[0] + "\n");
    const std::string aprs = output(QStringLiteral("decode_aprs"), {QString::fromStdString(folder + "/monitor.txt")});
    for (const char *value : {"Weather Report", "N 45 30.5000, E 009 10.0000", "direction 270, temperature 55, "
                              "rain 0.12 in last 24 hours, rain 0.00 in last hour, barometer 27.64, humidity 84"})
        EXPECT_NE(aprs.find(value), std::string::npos) << value << "\n" << aprs;
    EXPECT_EQ(aprs.find("gust"), std::string::npos) << aprs;
}

// Unverified is a send for a CWOP station only; for a radio amateur the
// server drops the report. A failing server is said and retried.
TEST_F(DirectSendTest, AprsIsLogsInThenSendsAndEveryFailingServerIsRetried) {
    const settings::Callsign amateur{"IZ1ABC", 13}, cwop{"CW1234", 0};
    const struct { AprsIsServer::Mode mode; const char *reason, *passcode; settings::Callsign call; } cases[] = {
        {AprsIsServer::Answers, nullptr, "", amateur},
        {AprsIsServer::Unverified, "passcode non accettato dal server", "12345", amateur},
        {AprsIsServer::Unverified, "login non verificato: il server non inoltra il rapporto, serve il passcode", "",
         amateur},
        {AprsIsServer::Unverified, nullptr, "-1", cwop},
        {AprsIsServer::Closes, "il server ha chiuso la connessione", "", amateur},
        {AprsIsServer::Silent, "il server non risponde", "", amateur},
    };
    for (const auto &c : cases) {
        AprsIsServer server(c.mode);
        const int port = server.serverPort();
        writeSend(0, port, c.passcode, c.call); // new settings: the next tick sends at once
        const send::Report report = tickReport(c.call);
        if (c.reason) {
            expectFault(QStringLiteral("APRS-IS: %1 (127.0.0.1:%2), nuovo tentativo tra").arg(c.reason).arg(port));
            server.mode = AprsIsServer::Answers;
        }
        // A server that logged in unverified also kept the first attempt's login.
        const std::string login = "user " + settings::callsignText(c.call) + " pass " +
                                  (*c.passcode ? c.passcode : "-1") + " vers meteo-aprs 1.1.3\r\n";
        const QByteArray all = QByteArray::fromStdString((c.mode == AprsIsServer::Unverified && c.reason ? login : "") +
                                                         login + *send::aprsIsLine(report));
        EXPECT_TRUE(waitUntil([&] { return server.lines.join() == all; })) << server.lines.join().toStdString();
        expectSent("APRS-IS");
    }
}

// A reading that the server would not take is dropped once older than the
// interval, never sent as news; the next reading goes.
TEST_F(DirectSendTest, AReadingOlderThanTheIntervalIsDroppedNotSent) {
    qputenv("METEO_APRS_SEND_MS", "1500,200,800,15000");
    AprsIsServer server(AprsIsServer::Closes);
    writeSend(0, server.serverPort());
    window_.Timer1_Timer();
    expectFault(QStringLiteral("APRS-IS: nessun rapporto inviato (127.0.0.1:%1): l'ultima lettura ha più di 2 s, si "
                               "invierà la prossima lettura di currdat.lst").arg(server.serverPort()));
    server.mode = AprsIsServer::Answers;
    const auto fresh = QByteArray::fromStdString("user IZ1ABC-13 pass -1 vers meteo-aprs 1.1.3\r\n" +
                                                 *send::aprsIsLine(tickReport()));
    EXPECT_TRUE(waitUntil([&] { return server.lines.join() == fresh; })) << server.lines.join().toStdString();
    expectSent("APRS-IS");
}

// A damaged invio.kwt sends nothing and says so; the dialog shows what it
// could read of it. What does not validate is refused with the reason and
// never saved; what does is sent by the next tick; Annulla discards.
TEST_F(DirectSendTest, TheDialogSalvagesADamagedFileAndRefusesBadSettings) {
    writeBytes(dir_.file(settings::kSendFileName), "nominativo=IZ1ABC-13\r\n");
    window_.Timer1_Timer();
    expectFault(QStringLiteral("invio.kwt danneggiato"));
    menu("Invio_Diretto");
    const auto *d = child<QDialog>(&window_, "Setup_Invio");
    const auto type = [d](const char *name, const QString &text) { child<QLineEdit>(d, name)->setText(text); };
    EXPECT_EQ(child<QLineEdit>(d, "Nominativo")->text(), "IZ1ABC-13");
    EXPECT_TRUE(child<QLabel>(d, "Danneggiato")->text().contains("latitudine mancante; longitudine mancante"));
    type("Nominativo", QStringLiteral("iz1abc-13"));
    type("Latitudine", QStringLiteral("95"));
    type("Longitudine", QStringLiteral("9.1667"));
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_TRUE(d->isVisible() && messages_.value(0).startsWith("Latitudine non valida")) << messages_.join('\n');
    EXPECT_EQ(d->focusWidget(), child<QLineEdit>(d, "Latitudine"));
    EXPECT_EQ(readBytes(dir_.file(settings::kSendFileName)), "nominativo=IZ1ABC-13\r\n");

    QTcpServer tnc;
    ASSERT_TRUE(tnc.listen(QHostAddress::LocalHost, 0));
    type("Latitudine", QStringLiteral("45,5083"));
    child<QCheckBox>(d, "KissAttivo")->setChecked(true);
    type("KissPorta", QString::number(tnc.serverPort()));
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_FALSE(d->isVisible());
    window_.Timer1_Timer();
    EXPECT_TRUE(waitUntil([&] { return tnc.hasPendingConnections(); })) << statusToolTip();
    EXPECT_EQ(readBytes(dir_.file(settings::kSendFileName)).substr(0, 62),
              "nominativo=IZ1ABC-13\r\nlatitudine=45.5083\r\nlongitudine=9.1667\r\n");
    menu("Invio_Diretto");
    type("Percorso", QStringLiteral("WIDE1-1"));
    child<QPushButton>(d, "CancelButton")->click();
    menu("Invio_Diretto");
    EXPECT_EQ(child<QLineEdit>(d, "Percorso")->text(), "WIDE2-1");
}

// "Verifica" tries what is on screen at once, each send switched on, and
// sends nothing: a TNC that takes the connection, servers that log in
// verified or not (which means something else for a CWOP station), a
// refused port.
TEST_F(DirectSendTest, VerificaTriesTheTncAndTheLoginAndSendsNothing) {
    QTcpServer tnc;
    ASSERT_TRUE(tnc.listen(QHostAddress::LocalHost, 0));
    AprsIsServer verified(AprsIsServer::Answers), unverified(AprsIsServer::Unverified);
    const ReservedPort refused;
    writeSend(0); // the window sends nothing; the dialog switches both on, unsaved
    menu("Invio_Diretto");
    const auto *d = child<QDialog>(&window_, "Setup_Invio");
    child<QCheckBox>(d, "KissAttivo")->setChecked(true);
    child<QCheckBox>(d, "AprsIsAttivo")->setChecked(true);
    const struct { const char *call; int kissPort, aprsIsPort; QString shown; } cases[] = {
        {"IZ1ABC-13", tnc.serverPort(), verified.serverPort(), "KISS: TNC raggiungibile\nAPRS-IS: login verificato"},
        {"IZ1ABC-13", refused.port(), unverified.serverPort(),
         QStringLiteral("KISS: connessione rifiutata (127.0.0.1:%1)\nAPRS-IS: login non verificato: con un nominativo "
                        "radioamatoriale il server non inoltra i rapporti, serve il passcode giusto").arg(refused.port())},
        {"CW1234", tnc.serverPort(), unverified.serverPort(),
         "KISS: TNC raggiungibile\nAPRS-IS: login non verificato: normale per una stazione CWOP, i rapporti vengono "
         "accettati"},
    };
    for (const auto &c : cases) {
        child<QLineEdit>(d, "Nominativo")->setText(QString::fromLatin1(c.call));
        child<QLineEdit>(d, "KissPorta")->setText(QString::number(c.kissPort));
        child<QLineEdit>(d, "AprsIsPorta")->setText(QString::number(c.aprsIsPort));
        child<QPushButton>(d, "VerificaButton")->click();
        const auto *shown = child<QLabel>(d, "EsitoVerifica");
        EXPECT_TRUE(waitUntil([&] { return shown->text() == c.shown; })) << shown->text();
    }
    while (QTcpSocket *s = tnc.nextPendingConnection())
        EXPECT_EQ(s->readAll(), QByteArray()); // nothing for the air
    EXPECT_EQ(readBytes(dir_.file(settings::kSendFileName)).find("kiss=1"), std::string::npos); // nothing saved
}
