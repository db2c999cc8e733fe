#pragma once
// One direct send of the weather report over TCP: to a KISS TNC (Dire Wolf,
// SoundModem) or to an APRS-IS server. Event-driven: an attempt never waits
// inside a call, so neither the window nor the tick is held up; a refused,
// dropped or silent connection is retried after a growing pause. What to
// do at each step is send::Attempt's; this class moves the bytes and keeps
// the timers.

#include <QtCore/QByteArray>
#include <QtCore/QDateTime>
#include <QtCore/QElapsedTimer>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QTimer>

#include <optional>
#include <string>

#include "send/attempt.h"
#include "send/schedule.h"
#include "settings/send_settings.h"

class QTcpSocket;

namespace net {

class ReportSender : public QObject {
    Q_OBJECT
public:
    explicit ReportSender(send::Link link, QObject *parent = nullptr);
    ~ReportSender() override;

    // Called on every tick with the settings in effect, or none (no valid
    // invio.kwt): a change of what this send depends on starts afresh (an
    // attempt under way is dropped, the next report goes at once).
    void configure(const std::optional<settings::SendSettings> &settings);
    // The second line of my_meteo.txt (CP1252) from a tick that read the
    // station; the report carries the time of this call.
    void offer(const std::string &dataLine);
    // "Verifica": one connection with these settings that sends nothing. A
    // TNC is reached and left; an APRS-IS server is logged in to and left
    // once it has said "# logresp". The outcome comes as `checked`.
    void check(const settings::SendSettings &settings);

    // "KISS: connessione rifiutata (127.0.0.1:8001), nuovo tentativo tra 30 s";
    // empty while the sends succeed.
    QString problem() const { return problem_; }
    // When the last report went out (UTC); invalid until one has, and again
    // after this send was switched off or its address or port changed.
    QDateTime lastSent() const { return lastSent_; }

signals:
    void problemChanged(const QString &problem);
    void lastSentChanged();
    void checked(const send::Result &result);

private:
    void reset(bool keepLastSent);
    void arm();
    void attempt();
    void open(bool check);
    void act(send::Action action);
    void onReadyRead();
    void onBytesWritten(qint64 bytes);
    void dropSocket();
    void finish(const send::Result &result);
    void setProblem(const QString &problem);
    qint64 now() const { return clock_.elapsed(); }

    send::Link link_;
    std::optional<settings::SendSettings> settings_;
    int answerTimeoutMs_ = 30000;
    send::Schedule schedule_;
    std::optional<send::Attempt> attempt_;
    std::string dataLine_;
    QDateTime readUtc_;
    QElapsedTimer clock_;
    QTimer wake_, answerTimeout_;
    QPointer<QTcpSocket> socket_;
    QByteArray packet_;
    qint64 toWrite_ = 0;
    bool checking_ = false;
    QString problem_;
    QDateTime lastSent_;
};

} // namespace net
