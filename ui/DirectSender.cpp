// The socket side of a direct send: connect, log in where needed, write the
// report, and say in Italian what went wrong.
#include "ui/DirectSender.h"

#include <QTcpSocket>

#include "ui/QtText.h"
#include "station/version.h"
#include "send/packet.h"

namespace ui {
namespace {

// What this send depends on: a change of the other send's fields leaves an
// attempt under way, its retry pause and its interval alone.
std::string key(DirectSender::Kind kind, const settings::SendSettings &s) {
    const settings::Endpoint &e = kind == DirectSender::Kind::Kiss ? s.kiss : s.aprsIs;
    std::string k = settings::callsignText(s.callsign) + " " + settings::degreesText(s.position.latitude) + " " +
                    settings::degreesText(s.position.longitude) + " " + e.host + " " +
                    std::to_string(e.port) + " " + std::to_string(e.intervalMinutes);
    return kind == DirectSender::Kind::Kiss ? k + " " + settings::pathText(s.path) : k + " " + s.passcode;
}

QString reasonFor(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("connessione rifiutata");
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("indirizzo non trovato");
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("nessuna risposta");
    case QAbstractSocket::NetworkError:
        return QStringLiteral("rete non raggiungibile");
    default:
        return QStringLiteral("errore di rete");
    }
}

QString pauseText(qint64 ms) {
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 120)
        return QStringLiteral("%1 s").arg(seconds);
    return QStringLiteral("%1 min").arg((seconds + 59) / 60);
}

} // namespace

DirectSender::DirectSender(Kind kind, QObject *parent)
    : QObject(parent), kind_(kind), utcClock_([] { return QDateTime::currentDateTimeUtc(); }) {
    clock_.start();
    wake_.setSingleShot(true);
    answerTimeout_.setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, [this] {
        switch (schedule_.due(now())) {
        case send::Due::Send:
            attempt();
            return;
        case send::Due::TooOld:
            setProblem(QStringLiteral("%1: nessun rapporto inviato (%2): l'ultima lettura ha più di %3, "
                                      "si invierà la prossima lettura di currdat.lst")
                           .arg(name(), where(), pauseText(schedule_.maxAge())));
            break;
        case send::Due::No:
            break;
        }
        arm();
    });
    connect(&answerTimeout_, &QTimer::timeout, this,
            [this] { finish(false, kind_ == Kind::AprsIs && !loggedIn_ ? QStringLiteral("il server non risponde")
                                                                      : QStringLiteral("nessuna risposta")); });
}

DirectSender::~DirectSender() { dropSocket(); }

QString DirectSender::name() const { return kind_ == Kind::Kiss ? QStringLiteral("KISS") : QStringLiteral("APRS-IS"); }

QString DirectSender::where() const {
    const settings::Endpoint &e = kind_ == Kind::Kiss ? settings_->kiss : settings_->aprsIs;
    return toQString(e.host) + QLatin1Char(':') + QString::number(e.port);
}

void DirectSender::setTestTiming(send::Timing timing, int answerTimeoutMs) {
    testTiming_ = timing;
    answerTimeoutMs_ = answerTimeoutMs;
    schedule_.setTiming(timing);
}

void DirectSender::configure(const settings::SendSettings &settings) {
    const settings::Endpoint &e = kind_ == Kind::Kiss ? settings.kiss : settings.aprsIs;
    if (!e.enabled) {
        disable();
        return;
    }
    if (settings_ && key(kind_, *settings_) == key(kind_, settings)) {
        settings_ = settings;
        return;
    }
    // The last report still went out where it went, unless that changed.
    const settings::Endpoint *was = settings_ ? (kind_ == Kind::Kiss ? &settings_->kiss : &settings_->aprsIs) : nullptr;
    reset(was && was->host == e.host && was->port == e.port);
    settings_ = settings;
    send::Timing timing;
    timing.intervalMs = timing.maxAgeMs = qint64(e.intervalMinutes) * 60 * 1000;
    schedule_ = send::Schedule(testTiming_ ? *testTiming_ : timing);
}

void DirectSender::disable() { reset(false); }

void DirectSender::reset(bool keepLastSent) {
    dropSocket();
    wake_.stop();
    answerTimeout_.stop();
    settings_.reset();
    schedule_ = send::Schedule(testTiming_ ? *testTiming_ : send::Timing{});
    setProblem(QString());
    if (!keepLastSent && lastSent_.isValid()) {
        lastSent_ = QDateTime();
        emit lastSentChanged();
    }
}

void DirectSender::offer(const std::string &dataLine) {
    if (!settings_)
        return;
    dataLine_ = dataLine;
    readUtc_ = utcClock_();
    schedule_.dataArrived(now());
    arm();
}

void DirectSender::check(const settings::SendSettings &settings) {
    dropSocket();
    answerTimeout_.stop();
    settings_ = settings;
    checking_ = true;
    packet_.clear();
    open();
}

void DirectSender::arm() {
    const auto next = schedule_.nextAttempt();
    if (!next) {
        wake_.stop();
        return;
    }
    wake_.start(int(std::max<qint64>(0, std::min<qint64>(*next - now(), 24 * 3600 * 1000))));
}

void DirectSender::attempt() {
    // The time of the reading, not of this attempt: a retry must not make
    // an old reading look new.
    const QDateTime utc = readUtc_;
    send::Report report;
    report.source = settings_->callsign;
    report.position = settings_->position;
    report.path = settings_->path;
    report.time = {utc.date().day(), utc.time().hour(), utc.time().minute()};
    report.dataLine = dataLine_;
    std::optional<std::string> bytes;
    if (kind_ == Kind::Kiss) {
        if (const auto frame = send::ax25Frame(report))
            bytes = send::kissFrame(*frame);
    } else {
        bytes = send::aprsIsLine(report);
    }
    schedule_.started();
    if (!bytes) {
        finish(false, QStringLiteral("rapporto meteo non inviabile"));
        return;
    }
    packet_ = QByteArray(bytes->data(), qsizetype(bytes->size()));
    open();
}

// The connection, and the login for APRS-IS, shared by a send and a check.
void DirectSender::open() {
    login_.clear();
    if (kind_ == Kind::AprsIs) {
        const std::string version = std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) + "." +
                                    std::to_string(version::kRevision);
        const std::string login = send::aprsIsLogin(settings_->callsign, settings_->passcode, version);
        login_ = QByteArray(login.data(), qsizetype(login.size()));
    }
    loggedIn_ = false;
    finishing_ = false;
    toWrite_ = 0;

    auto *socket = new QTcpSocket(this);
    socket_ = socket;
    connect(socket, &QTcpSocket::connected, this, &DirectSender::onConnected);
    connect(socket, &QTcpSocket::readyRead, this, &DirectSender::onReadyRead);
    connect(socket, &QTcpSocket::bytesWritten, this, &DirectSender::onBytesWritten);
    connect(socket, &QTcpSocket::disconnected, this, &DirectSender::onDisconnected);
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // A close by the other end is followed by `disconnected`, which
        // knows whether everything had gone out.
        if (!finishing_ && error != QAbstractSocket::RemoteHostClosedError)
            finish(false, reasonFor(error));
    });
    answerTimeout_.start(answerTimeoutMs_);
    const settings::Endpoint &e = kind_ == Kind::Kiss ? settings_->kiss : settings_->aprsIs;
    socket->connectToHost(toQString(e.host), quint16(e.port));
}

void DirectSender::onConnected() {
    // A KISS TNC takes the frame at once; an APRS-IS server first wants the
    // login and answers "# logresp" before it takes packets.
    if (checking_ && kind_ == Kind::Kiss) {
        finish(true, QStringLiteral("TNC raggiungibile"));
        return;
    }
    const QByteArray &first = kind_ == Kind::Kiss ? packet_ : login_;
    toWrite_ = first.size();
    socket_->write(first);
}

void DirectSender::onReadyRead() {
    while (socket_ && socket_->canReadLine()) {
        const QByteArray line = socket_->readLine(4096);
        if (kind_ == Kind::AprsIs && !loggedIn_ && line.startsWith("# logresp")) {
            // Unverified, the server drops an amateur station's report
            // without a word, so the user is told instead; a CWOP station
            // is meant to send unverified.
            const bool unverified = line.contains(" unverified"), cwop = settings::isCwop(settings_->callsign);
            const bool noPasscode = settings_->passcode.empty() || settings_->passcode == "-1";
            if (checking_) {
                finish(true, !unverified ? QStringLiteral("login verificato")
                             : cwop      ? QStringLiteral("login non verificato: normale per una stazione CWOP, "
                                                          "i rapporti vengono accettati")
                                         : QStringLiteral("login non verificato: con un nominativo radioamatoriale "
                                                          "il server non inoltra i rapporti, serve il passcode giusto"));
                return;
            }
            if (unverified && !cwop) {
                finish(false, noPasscode ? QStringLiteral("login non verificato: il server non inoltra il rapporto, "
                                                          "serve il passcode")
                                         : QStringLiteral("passcode non accettato dal server"));
                return;
            }
            loggedIn_ = true;
            toWrite_ += packet_.size();
            socket_->write(packet_);
        }
    }
    // A server that talks without end is not read into memory.
    if (socket_ && !socket_->canReadLine() && socket_->bytesAvailable() > 4096)
        socket_->read(socket_->bytesAvailable());
}

void DirectSender::onBytesWritten(qint64 bytes) {
    toWrite_ -= bytes;
    const bool everything = kind_ == Kind::Kiss || loggedIn_;
    if (toWrite_ <= 0 && everything && !finishing_) {
        finishing_ = true;
        socket_->disconnectFromHost();
    }
}

void DirectSender::onDisconnected() {
    if (finishing_)
        finish(true, QString());
    else
        finish(false, kind_ == Kind::AprsIs && !loggedIn_ ? QStringLiteral("il server ha chiuso la connessione")
                                                         : QStringLiteral("connessione chiusa dall'altro capo"));
}

void DirectSender::dropSocket() {
    if (!socket_)
        return;
    QTcpSocket *socket = socket_;
    socket_.clear();
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    if (settings_)
        schedule_.cancelled();
}

void DirectSender::finish(bool ok, const QString &reason) {
    answerTimeout_.stop();
    if (socket_) {
        QTcpSocket *socket = socket_;
        socket_.clear();
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    if (checking_) {
        checking_ = false;
        emit checked(ok ? reason : QStringLiteral("%1 (%2)").arg(reason, where()));
        return;
    }
    if (ok) {
        schedule_.succeeded(now());
        ++sent_;
        lastSent_ = utcClock_();
        setProblem(QString());
        emit lastSentChanged();
    } else {
        const qint64 pause = schedule_.failed(now());
        setProblem(QStringLiteral("%1: %2 (%3), nuovo tentativo tra %4")
                       .arg(name(), reason, where(), pauseText(pause)));
    }
    arm();
}

void DirectSender::setProblem(const QString &problem) {
    if (problem == problem_)
        return;
    problem_ = problem;
    emit problemChanged(problem_);
}

} // namespace ui
