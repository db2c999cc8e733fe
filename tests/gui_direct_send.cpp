// The direct send through the real radio path and through loopback APRS-IS
// servers, with the faults a station meets: the TNC not running, killed and
// started again, a server that closes, one that never answers, settings
// that do not validate or change during a retry pause; and the data line as
// a real APRS decoder reads it.
#include <QTcpServer>
#include <QTcpSocket>

#include <chrono>
#include <filesystem>
#include <regex>
#include <sstream>

#include "ui/DirectSender.h"
#include "aprs/weather_file.h"
#include "send/packet.h"
#include "support/direwolf.h"
#include "support/gui_support.h"

using namespace testing_support;

namespace {

class DirectSendTest : public StationWindowTest {
protected:
    DirectSendTest() {
        for (ui::DirectSender *s : {kiss(), aprsIs()}) {
            s->setTestTiming({300, 200, 800}, 1000); // 300 ms between sends, retries after 200 to 800 ms
            s->setUtcClock([] { return QDateTime(QDate(2026, 12, 5), QTime(8, 22), Qt::UTC); });
        }
        writeStation();
    }
    ui::DirectSender *kiss() { return child<ui::DirectSender>(&window_, "kissSender"); }
    ui::DirectSender *aprsIs() { return child<ui::DirectSender>(&window_, "aprsIsSender"); }

    void writeSettings(int kissPort, int aprsIsPort = 0, const char *passcode = "") {
        const settings::SendSettings s{call_, {45.5083, 9.1667}, {{"WIDE2", 1}},
                               {kissPort != 0, "127.0.0.1", kissPort ? kissPort : 8001, 10},
                               {aprsIsPort != 0, "127.0.0.1", aprsIsPort ? aprsIsPort : 14580, 10}, passcode};
        ASSERT_FALSE(settings::saveSendFile(dir_.file(settings::kSendFileName), s));
    }
    // The report as the program must build it from the file it wrote.
    send::Report expectedReport() const {
        const std::string file = readBytes(out("my_meteo.txt"));
        const auto first = file.find("\r\n");
        return {call_, {45.5083, 9.1667}, {{"WIDE2", 1}}, {5, 8, 22}, file.substr(first + 2, file.size() - first - 4)};
    }
    settings::Callsign call_{"IZ1ABC", 13};
    // The status bar says what failed (the sends' problems alone), and the
    // files of the tick are written as always.
    void expectFault(const QString &text) {
        ASSERT_TRUE(waitUntil([&] { return statusToolTip().startsWith(text); })) << statusToolTip().toStdString();
        EXPECT_NE(readBytes(out("my_meteo.txt")).find("/WS3600/113W\r\n"), std::string::npos) << text.toStdString();
    }
    // A send that works says so too, with the report's local time.
    void expectSent(ui::DirectSender *sender, int count) {
        ASSERT_TRUE(waitUntil([&] { return sender->sentCount() == count; })) << statusToolTip().toStdString();
        EXPECT_EQ(statusToolTip(), QString());
        EXPECT_EQ(lastSent(), QStringLiteral("Ultimo invio: %1 %2")
                                  .arg(sender == kiss() ? "KISS" : "APRS-IS", localTime(sender->utcNow(), "HH:mm")));
    }
    QString lastSent() const {
        const auto *shown = child<QLabel>(window_.statusBar(), "ultimoInvio");
        return shown->isVisibleTo(&window_) ? shown->text() : QString();
    }
    static QString localTime(const QDateTime &utc, const char *form) {
        return utc.toLocalTime().toString(QString::fromLatin1(form));
    }
};

} // namespace

// Dire Wolf is not running at the start; once it is, it modulates the report
// into audio and atest demodulates it: the bytes on the air are the bytes
// built from my_meteo.txt's line, and an APRS decoder reads the position,
// time and weather from them. Then it is killed between two sends and
// started again. The comment's CP1252 À and Û are KISS's FEND and FESC.
// The TNC is down for three ticks: the frame carries the third reading and
// its time, not the time of the retry that sent it.
TEST_F(DirectSendTest, TheReportGoesThroughDireWolfsModemAndADownTncIsRetried) {
    ReservedPort tncPort; // refused until Dire Wolf listens there
    const int port = tncPort.port();
    writeSettings(port);
    child<QCheckBox>(&window_, "Check1")->setChecked(true);
    for (int sent : {1, 2}) {
        for (int minute : {20, 21, 22}) {
            kiss()->setUtcClock([minute] { return QDateTime(QDate(2026, 12, 5), QTime(8, minute), Qt::UTC); });
            child<QLineEdit>(&window_, "Text2")->setText(QString::fromUtf8("Città À Û %1").arg(minute));
            window_.Timer1_Timer();
            expectFault(QStringLiteral("KISS: connessione rifiutata (127.0.0.1:%1), nuovo tentativo tra").arg(port));
        }
        kiss()->setUtcClock([] { return QDateTime(QDate(2026, 12, 5), QTime(8, 25), Qt::UTC); });
        const std::string folder = dir_.file(std::to_string(sent));
        QDir().mkdir(QString::fromStdString(folder));
        DireWolf direwolf;
        tncPort.release();
        ASSERT_EQ(direwolf.start(folder, port), "");
        expectSent(kiss(), sent);

        const send::Report report = expectedReport();
        ASSERT_NE(report.dataLine.find("Citt\xe0 \xc0 \xdb 22"), std::string::npos) << report.dataLine;
        const auto decoded = direwolf.decode();
        EXPECT_EQ(decoded.frames, std::vector<std::string>{*send::ax25Frame(report)}) << decoded.atest;
        ASSERT_EQ(decoded.monitor.size(), 1u) << decoded.atest;
        EXPECT_EQ(decoded.monitor[0].substr(0, 45), "IZ1ABC-13>APZMAP,WIDE2-1:@050822z4530.50N/009");
        writeBytes(folder + "/monitor.txt", decoded.monitor[0] + "\n");
        const std::string aprs = output(QStringLiteral("decode_aprs"), {QString::fromStdString(folder + "/monitor.txt")});
        for (const char *value : {"Weather Report", "N 45 30.5000, E 009 10.0000", "direction 270, temperature 55, "
                                  "rain 0.12 in last 24 hours, rain 0.00 in last hour, barometer 27.64, humidity 84"})
            EXPECT_NE(aprs.find(value), std::string::npos) << value << "\n" << aprs;
        EXPECT_EQ(aprs.find("gust"), std::string::npos) << aprs; // no gust sensor, no gust on the air
    }
    // Failing since yesterday: the last send shows its day; switched off, it goes.
    const QDateTime sent = kiss()->utcNow();
    kiss()->setUtcClock([sent] { return sent.addDays(1); });
    window_.Timer1_Timer();
    EXPECT_EQ(lastSent(), "Ultimo invio: KISS " + localTime(sent, "dd/MM HH:mm"));
    writeSettings(0);
    window_.Timer1_Timer();
    EXPECT_EQ(lastSent(), QString());
}

// The data line as a real APRS decoder reads it: every field decodes to the
// reading's value, a missing sensor to no value at all, nothing is left over
// in the comment and nothing is complained about.
TEST(AprsDecoder, DataLinesDecodeToTheReadingsValues) {
    // Direction, speed (mph), temperature (°F), rain 24 h and 1 h (inches), humidity, absolute and relative
    // pressure (hPa; 1013.2 hPa is 29.92 inHg), the pressure choice and the comment, and what is decoded.
    using V = std::optional<double>;
    using P = settings::PressureChoice;
    const struct { std::vector<V> values; P pressure; const char *comment, *decoded; } rows[] = {
        {{5, 12, 54, 1.5, 0, 5, 1009.8, 1013.2}, P::Relative, "sereno-brezza",
         "direction 5, temperature 54, rain 1.50 in last 24 hours, rain 0.00 in last hour, barometer 29.92, "
         "humidity 5"},
        {{360, 3, -5, 0.13, 0.01, 100, 998.7, 1014}, P::Absolute, "***",
         "direction 360, temperature -5, rain 0.13 in last 24 hours, rain 0.01 in last hour, barometer 29.49, "
         "humidity 100"},
        {{V(), V(), V(), V(), V(), V(), V(), V()}, P::Absolute, "+++", ""},
    };
    using R = station::WeatherReading;
    station::Value R::*const fields[] = {&R::windDirection,    &R::windSpeedMph,    &R::outdoorTemperatureF,
                                         &R::rain24hInch,      &R::rain1hInch,      &R::outdoorHumidity,
                                         &R::pressureAbsolute, &R::pressureRelative};
    // Beyond its echo of the packet, the station type and the position; the wind speed is left out.
    const std::regex skipped("N0CALL>APRS:.*|Weather Report, .*|N 45 .*|"), speed("^wind [0-9.]+ mph, ");
    TempDir dir;
    for (const auto &row : rows) {
        R r;
        for (std::size_t i = 0; i < row.values.size(); ++i)
            r.*fields[i] = row.values[i];
        const auto line = aprs::dataLine(r, row.pressure, row.comment);
        writeBytes(dir.file("packet.txt"), "N0CALL>APRS:!4530.00N/00910.00E_" + line + "\n");
        std::istringstream lines(
            output(QStringLiteral("decode_aprs"), {QString::fromStdString(dir.file("packet.txt"))}));
        std::string decoded;
        for (std::string l; std::getline(lines, l);)
            if (!std::regex_match(l, skipped))
                decoded += std::regex_replace(l, speed, "") + "\n";
        EXPECT_EQ(decoded, std::string(row.decoded) + ", \"/" + row.comment + "/WS3600/113W\"\n") << line;
    }
}

namespace {

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

// A refused connection is the KISS test's: its reason and retry are the same.
// Unverified is a send for a CWOP station only; for a radio amateur the
// server drops the report. A changed passcode keeps "Ultimo invio".
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
    int sent = 0, port = 0;
    for (const auto &c : cases) {
        AprsIsServer server(c.mode);
        call_ = c.call;
        port = server.serverPort();
        writeSettings(0, server.serverPort(), c.passcode); // new settings: the next tick sends at once
        window_.Timer1_Timer();
        if (c.reason) {
            expectFault(QStringLiteral("APRS-IS: %1 (127.0.0.1:%2), nuovo tentativo tra")
                            .arg(c.reason).arg(server.serverPort()));
            server.mode = AprsIsServer::Answers;
        }
        // A server that logged in unverified also kept the first attempt's login.
        const std::string login = "user " + settings::callsignText(c.call) + " pass " + (*c.passcode ? c.passcode : "-1") +
                                  " vers meteo-aprs 1.1.3\r\n";
        const QByteArray all = QByteArray::fromStdString((c.mode == AprsIsServer::Unverified && c.reason ? login : "") +
                                                         login + *send::aprsIsLine(expectedReport()));
        EXPECT_TRUE(waitUntil([&] { return server.lines.join() == all; })) << server.lines.join().toStdString();
        expectSent(aprsIs(), ++sent);
    }
    writeSettings(0, port, "12345");
    window_.Timer1_Timer();
    EXPECT_EQ(lastSent(), "Ultimo invio: APRS-IS " + localTime(aprsIs()->utcNow(), "HH:mm"));
}

// Heavy Weather stopped: its last currdat.lst still feeds my_meteo.txt, but
// no report goes out until the file is rewritten, and the reading that the
// server would not take meanwhile is dropped once older than the interval.
TEST_F(DirectSendTest, NothingIsSentFromACurrdatThatHeavyWeatherStoppedRewriting) {
    AprsIsServer server(AprsIsServer::Closes);
    writeSettings(0, server.serverPort());
    aprsIs()->setTestTiming({300, 200, 800, 1500}, 1000); // readings older than 1.5 s are dropped
    window_.Timer1_Timer();
    expectFault(QStringLiteral("APRS-IS: il server ha chiuso la connessione"));
    const auto currdat = std::filesystem::u8path(dir_.file("station/currdat.lst"));
    std::filesystem::last_write_time(currdat, std::filesystem::file_time_type::clock::now() - std::chrono::hours(2));
    window_.Timer1_Timer();
    EXPECT_TRUE(status().startsWith("currdat.lst non aggiornato da 2 ore: ")) << status().toStdString();
    EXPECT_FALSE(child<QLabel>(&window_, "Label6")->isEnabled()); // greyed with its panel
    const QString dropped = QStringLiteral("APRS-IS: nessun rapporto inviato (127.0.0.1:%1): l'ultima lettura ha più "
                                           "di 2 s, si invierà la prossima lettura di currdat.lst").arg(server.serverPort());
    ASSERT_TRUE(waitUntil([&] { return statusToolTip().contains(dropped); })) << statusToolTip().toStdString();
    server.mode = AprsIsServer::Answers;
    writeStation();
    window_.Timer1_Timer();
    const QByteArray fresh = QByteArray::fromStdString("user IZ1ABC-13 pass -1 vers meteo-aprs 1.1.3\r\n" +
                                                       *send::aprsIsLine(expectedReport()));
    EXPECT_TRUE(waitUntil([&] { return server.lines.join() == fresh; })) << server.lines.join().toStdString();
    expectSent(aprsIs(), 1);
    EXPECT_TRUE(child<QLabel>(&window_, "Label6")->isEnabled());
}

// What does not validate is refused with the reason and never saved; a damaged
// file sends nothing and says so. A change saved during a retry pause is
// tried at the next tick, not after the pause.
TEST_F(DirectSendTest, TheDialogRefusesBadSettingsAndAChangeEndsTheRetryPause) {
    writeBytes(dir_.file(settings::kSendFileName), "nominativo=IZ1ABC-13\r\n");
    window_.Timer1_Timer();
    expectFault(QStringLiteral("invio.kwt danneggiato"));
    child<QAction>(&window_, "Invio_Diretto")->trigger();
    const auto *d = child<QDialog>(&window_, "Setup_Invio");
    const auto type = [d](const char *name, const QString &text) { child<QLineEdit>(d, name)->setText(text); };
    const auto position = [d] { return child<QLabel>(d, "Posizione")->text(); };
    EXPECT_EQ(child<QLineEdit>(d, "Nominativo")->text(), "IZ1ABC-13");
    child<QDialog>(&window_, "Setup_Invio")->resize(0, 0); // every hint whole, even at the smallest
    for (const auto *edit : d->findChildren<QLineEdit *>())
        EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(edit->placeholderText()) + 12);
    EXPECT_TRUE(child<QLabel>(d, "Danneggiato")->text().contains("latitudine mancante; longitudine mancante"));
    type("Nominativo", QStringLiteral("iz1abc-13"));
    type("Latitudine", QStringLiteral("95"));
    type("Longitudine", QStringLiteral("9.1667"));
    EXPECT_EQ(position(), "(non valida)");
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(messages_.value(0).left(21), "Latitudine non valida");
    EXPECT_EQ(d->focusWidget(), child<QLineEdit>(d, "Latitudine"));
    EXPECT_EQ(readBytes(dir_.file(settings::kSendFileName)), "nominativo=IZ1ABC-13\r\n");

    type("Latitudine", QStringLiteral("45,5083"));
    EXPECT_EQ(position(), "4530.50N/00910.00E");
    child<QCheckBox>(d, "KissAttivo")->setChecked(true);
    const ReservedPort nobody;
    type("KissPorta", QString::number(nobody.port()));
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_FALSE(d->isVisible());
    kiss()->setTestTiming({300, 60000, 60000}, 1000);
    window_.Timer1_Timer();
    expectFault(QStringLiteral("KISS: connessione rifiutata"));
    QTcpServer tnc;
    ASSERT_TRUE(tnc.listen(QHostAddress::LocalHost, 0));
    child<QAction>(&window_, "Invio_Diretto")->trigger();
    type("KissPorta", QString::number(tnc.serverPort()));
    child<QPushButton>(d, "OKButton")->click();
    window_.Timer1_Timer();
    EXPECT_TRUE(waitUntil([&] { return tnc.hasPendingConnections(); }, 5000)) << statusToolTip().toStdString();
    EXPECT_EQ(readBytes(dir_.file(settings::kSendFileName)).substr(0, 62),
              "nominativo=IZ1ABC-13\r\nlatitudine=45.5083\r\nlongitudine=9.1667\r\n");
    // Annulla discards: the next opening shows what is saved.
    child<QAction>(&window_, "Invio_Diretto")->trigger();
    type("Percorso", QStringLiteral("WIDE1-1"));
    child<QPushButton>(d, "CancelButton")->click();
    child<QAction>(&window_, "Invio_Diretto")->trigger();
    EXPECT_EQ(child<QLineEdit>(d, "Percorso")->text(), "WIDE2-1");
    // A CWOP station: its identifier, and the passcode CWOP tells it to type.
    child<QAction>(&window_, "Invio_Diretto")->trigger();
    type("Nominativo", QStringLiteral("CW1234"));
    type("AprsIsPasscode", QStringLiteral("-1"));
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_FALSE(d->isVisible()) << messages_.join('\n').toStdString();
    const std::string file = readBytes(dir_.file(settings::kSendFileName));
    EXPECT_EQ(file.substr(0, 19), "nominativo=CW1234\r\n");
    EXPECT_NE(file.find("\r\naprsis_passcode=-1\r\n"), std::string::npos) << file;
}

// "Verifica" tries what is on screen at once, each send switched on, and
// sends nothing: a TNC that takes the connection, servers that log in
// verified or not (which means something else for a CWOP station), a
// refused port.
TEST_F(DirectSendTest, VerificaTriesTheTncAndTheLoginAndSendsNothing) {
    QTcpServer tnc;
    ASSERT_TRUE(tnc.listen(QHostAddress::LocalHost, 0));
    AprsIsServer verified(AprsIsServer::Answers), unverified(AprsIsServer::Unverified);
    const ReservedPort nobody;
    const int refused = nobody.port();
    writeSettings(0, 0); // the window sends nothing; the dialog switches both on, unsaved
    child<QAction>(&window_, "Invio_Diretto")->trigger();
    const auto *d = child<QDialog>(&window_, "Setup_Invio");
    child<QCheckBox>(d, "KissAttivo")->setChecked(true);
    child<QCheckBox>(d, "AprsIsAttivo")->setChecked(true);
    const struct { const char *call; int kissPort, aprsIsPort; QString shown; } cases[] = {
        {"IZ1ABC-13", tnc.serverPort(), verified.serverPort(), "KISS: TNC raggiungibile\nAPRS-IS: login verificato"},
        {"IZ1ABC-13", refused, unverified.serverPort(),
         QStringLiteral("KISS: connessione rifiutata (127.0.0.1:%1)\nAPRS-IS: login non verificato: con un nominativo "
                        "radioamatoriale il server non inoltra i rapporti, serve il passcode giusto").arg(refused)},
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
        EXPECT_TRUE(waitUntil([&] { return shown->text() == c.shown; })) << shown->text().toStdString();
    }
    for (const auto *server : {&verified, &unverified})
        for (const QByteArray &line : server->lines)
            EXPECT_TRUE(line.startsWith("user ")) << line.toStdString();
    while (QTcpSocket *s = tnc.nextPendingConnection())
        EXPECT_EQ(s->readAll(), QByteArray()); // nothing for the air
    EXPECT_EQ(readBytes(dir_.file(settings::kSendFileName)).find("kiss=1"), std::string::npos); // nothing saved
}
