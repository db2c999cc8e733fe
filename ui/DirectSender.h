#pragma once
// One direct send of the weather report over TCP: to a KISS TNC (Dire Wolf,
// SoundModem) or to an APRS-IS server. Event-driven: an attempt never waits
// inside a call, so neither the window nor the tick is held up; a refused,
// dropped or silent connection is retried after a growing pause.

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>

#include "send/schedule.h"
#include "settings/send_settings.h"

class QTcpSocket;

namespace ui {

class DirectSender : public QObject {
    Q_OBJECT
public:
    enum class Kind { Kiss, AprsIs };
    DirectSender(Kind kind, QObject *parent = nullptr);
    ~DirectSender() override;

    // Called on every tick with the settings in effect; a change of any of
    // them starts afresh (an attempt under way is dropped, the next report
    // goes at once).
    void configure(const settings::SendSettings &settings);
    // No settings, or this send switched off: nothing goes out.
    void disable();
    // The second line of my_meteo.txt (CP1252) from a tick that read the
    // station; the report carries the time of this call.
    void offer(const std::string &dataLine);
    // "Verifica": one connection with these settings that sends nothing. A
    // TNC is reached and left; an APRS-IS server is logged in to and left
    // once it has said "# logresp". The outcome comes as `checked`.
    void check(const settings::SendSettings &settings);

    // "KISS: connessione rifiutata da 127.0.0.1:8001, nuovo tentativo tra 30 s";
    // empty while the sends succeed.
    QString problem() const { return problem_; }
    int sentCount() const { return sent_; }
    // When the last report went out (UTC); invalid until one has, and again
    // after this send was switched off or its address or port changed.
    QDateTime lastSent() const { return lastSent_; }
    QDateTime utcNow() const { return utcClock_(); }

    // The UTC clock of the time stamp; tests set their own.
    void setUtcClock(std::function<QDateTime()> clock) { utcClock_ = std::move(clock); }
    // Tests shorten the interval, the pauses and the wait for an answer.
    void setTestTiming(send::Timing timing, int answerTimeoutMs);

signals:
    void problemChanged(const QString &problem);
    void lastSentChanged();
    void checked(const QString &outcome);

private:
    void reset(bool keepLastSent);
    void arm();
    void attempt();
    void open();
    void onConnected();
    void onReadyRead();
    void onBytesWritten(qint64 bytes);
    void onDisconnected();
    void finish(bool ok, const QString &reason);
    void dropSocket();
    void setProblem(const QString &problem);
    QString name() const;
    QString where() const;
    qint64 now() const { return clock_.elapsed(); }

    Kind kind_;
    std::optional<settings::SendSettings> settings_;
    std::optional<send::Timing> testTiming_;
    int answerTimeoutMs_ = 30000;
    send::Schedule schedule_;
    std::string dataLine_;
    QDateTime readUtc_;
    QElapsedTimer clock_;
    QTimer wake_, answerTimeout_;
    QPointer<QTcpSocket> socket_;
    QByteArray packet_, login_;
    qint64 toWrite_ = 0;
    bool loggedIn_ = false;
    bool finishing_ = false;
    bool checking_ = false;
    QString problem_;
    int sent_ = 0;
    QDateTime lastSent_;
    std::function<QDateTime()> utcClock_;
};

} // namespace ui
