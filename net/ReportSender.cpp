// The socket side of a direct send: the bytes and the timers. Each thing the
// connection reports goes to send::Attempt, which says what comes next.
#include "net/ReportSender.h"

#include <QtNetwork/QTcpSocket>

#include <algorithm>
#include <vector>

namespace net {
namespace {

QByteArray bytes(const std::string &s) { return QByteArray(s.data(), qsizetype(s.size())); }

send::NetError netError(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return send::NetError::Refused;
    case QAbstractSocket::HostNotFoundError:
        return send::NetError::HostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return send::NetError::Timeout;
    case QAbstractSocket::NetworkError:
        return send::NetError::Unreachable;
    default:
        return send::NetError::Other;
    }
}

struct Waits {
    send::Timing timing;
    int answerMs = 30000;
};

// The interval of the settings and the usual pauses, or the milliseconds of
// METEO_APRS_SEND_MS="interval,first retry,longest retry,answer": a trial of
// a TNC or a server on the bench need not wait minutes for a retry. A value
// that is not four positive numbers is ignored: a zero pause would retry
// without end.
Waits waits(send::Timing timing) {
    Waits w{timing};
    std::vector<qint64> ms;
    for (const QByteArray &field : qgetenv("METEO_APRS_SEND_MS").split(',')) {
        bool ok = false;
        const qint64 value = field.toLongLong(&ok);
        ms.push_back(ok && value > 0 ? std::min<qint64>(value, 24 * 3600 * 1000) : 0);
    }
    if (ms.size() == 4 && std::count(ms.begin(), ms.end(), 0) == 0) {
        w.timing = {ms[0], ms[1], std::max(ms[1], ms[2]), ms[0]};
        w.answerMs = int(ms[3]);
    }
    return w;
}

} // namespace

ReportSender::ReportSender(send::Link link, QObject *parent)
    : QObject(parent), link_(link) {
    clock_.start();
    wake_.setSingleShot(true);
    answerTimeout_.setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, [this] {
        switch (schedule_.due(now())) {
        case send::Due::Send:
            attempt();
            return;
        case send::Due::TooOld:
            setProblem(QString::fromStdString(send::tooOldText(link_, *settings_, schedule_.maxAge())));
            break;
        case send::Due::No:
            break;
        }
        arm();
    });
    connect(&answerTimeout_, &QTimer::timeout, this, [this] {
        if (attempt_)
            act(attempt_->timedOut());
    });
}

ReportSender::~ReportSender() { dropSocket(); }

void ReportSender::configure(const std::optional<settings::SendSettings> &settings) {
    const send::Change change = send::change(link_, settings_, settings);
    if (change == send::Change::Off) {
        reset(false);
        return;
    }
    if (change == send::Change::None) {
        settings_ = settings;
        return;
    }
    reset(change == send::Change::Restart);
    settings_ = settings;
    const Waits w = waits(send::timingFor(send::endpoint(link_, *settings).intervalMinutes));
    schedule_ = send::Schedule(w.timing);
    answerTimeoutMs_ = w.answerMs;
}

void ReportSender::reset(bool keepLastSent) {
    dropSocket();
    wake_.stop();
    answerTimeout_.stop();
    settings_.reset();
    schedule_ = send::Schedule();
    setProblem(QString());
    if (!keepLastSent && lastSent_.isValid()) {
        lastSent_ = QDateTime();
        emit lastSentChanged();
    }
}

void ReportSender::offer(const std::string &dataLine) {
    if (!settings_)
        return;
    dataLine_ = dataLine;
    readUtc_ = QDateTime::currentDateTimeUtc();
    schedule_.dataArrived(now());
    arm();
}

void ReportSender::check(const settings::SendSettings &settings) {
    dropSocket();
    answerTimeout_.stop();
    settings_ = settings;
    checking_ = true;
    answerTimeoutMs_ = waits({}).answerMs;
    packet_.clear();
    open(true);
}

void ReportSender::arm() {
    const auto next = schedule_.nextAttempt();
    if (!next) {
        wake_.stop();
        return;
    }
    wake_.start(int(std::max<qint64>(0, std::min<qint64>(*next - now(), 24 * 3600 * 1000))));
}

void ReportSender::attempt() {
    // The time of the reading, not of this attempt: a retry must not make
    // an old reading look new.
    const QDateTime utc = readUtc_;
    send::Report report;
    report.source = settings_->callsign;
    report.position = settings_->position;
    report.path = settings_->path;
    report.time = {utc.date().day(), utc.time().hour(), utc.time().minute()};
    report.dataLine = dataLine_;
    const std::optional<std::string> built = send::reportBytes(link_, report);
    schedule_.started();
    if (!built) {
        finish({false, send::kNotSendable});
        return;
    }
    packet_ = bytes(*built);
    open(false);
}

// The connection, shared by a send and a check.
void ReportSender::open(bool check) {
    attempt_.emplace(link_, check, settings_->callsign, settings_->passcode);
    toWrite_ = 0;
    auto *socket = new QTcpSocket(this);
    socket_ = socket;
    connect(socket, &QTcpSocket::connected, this, [this] { act(attempt_->connected()); });
    connect(socket, &QTcpSocket::readyRead, this, &ReportSender::onReadyRead);
    connect(socket, &QTcpSocket::bytesWritten, this, &ReportSender::onBytesWritten);
    connect(socket, &QTcpSocket::disconnected, this, [this] { act(attempt_->closed()); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // A close by the other end is followed by `disconnected`.
        if (error != QAbstractSocket::RemoteHostClosedError)
            act(attempt_->failed(netError(error)));
    });
    answerTimeout_.start(answerTimeoutMs_);
    const settings::Endpoint &e = send::endpoint(link_, *settings_);
    socket->connectToHost(QString::fromStdString(e.host), quint16(e.port));
}

void ReportSender::act(send::Action action) {
    switch (action) {
    case send::Action::None:
        return;
    case send::Action::WriteLogin:
    case send::Action::WriteReport: {
        const QByteArray out = action == send::Action::WriteLogin ? bytes(send::loginLine(*settings_)) : packet_;
        toWrite_ += out.size();
        socket_->write(out);
        return;
    }
    case send::Action::Close:
        socket_->disconnectFromHost();
        return;
    case send::Action::Finish:
        finish(attempt_->result());
        return;
    }
}

void ReportSender::onReadyRead() {
    while (socket_ && socket_->canReadLine())
        act(attempt_->lineRead(socket_->readLine(4096).toStdString()));
    // A server that talks without end is not read into memory.
    if (socket_ && !socket_->canReadLine() && socket_->bytesAvailable() > 4096)
        socket_->read(socket_->bytesAvailable());
}

void ReportSender::onBytesWritten(qint64 written) {
    toWrite_ -= written;
    if (toWrite_ <= 0)
        act(attempt_->allWritten());
}

void ReportSender::dropSocket() {
    attempt_.reset();
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

void ReportSender::finish(const send::Result &result) {
    answerTimeout_.stop();
    const send::Result done = result; // the attempt that holds it goes now
    attempt_.reset();
    if (socket_) {
        QTcpSocket *socket = socket_;
        socket_.clear();
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    if (checking_) {
        checking_ = false;
        emit checked(done);
        return;
    }
    if (done.ok) {
        schedule_.succeeded(now());
        lastSent_ = QDateTime::currentDateTimeUtc();
        setProblem(QString());
        emit lastSentChanged();
    } else {
        const qint64 pause = schedule_.failed(now());
        setProblem(QString::fromStdString(send::failureText(link_, *settings_, done.reason, pause)));
    }
    arm();
}

void ReportSender::setProblem(const QString &problem) {
    if (problem == problem_)
        return;
    problem_ = problem;
    emit problemChanged(problem_);
}

} // namespace net
