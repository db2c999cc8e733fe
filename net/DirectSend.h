#pragma once
// Both direct sends of the weather report, fed by the ticks: the settings
// are read from invio.kwt afresh on every tick (a save in the dialog takes
// effect at the next one), and the problems of both are one list. The
// window shows what this reports and nothing more.

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <optional>
#include <string>

#include "settings/send_settings.h"

namespace net {
class ReportSender;

class DirectSend : public QObject {
    Q_OBJECT
public:
    explicit DirectSend(QObject *parent = nullptr);

    // After every tick; `dataLine` is the UTF-8 data line of my_meteo.txt
    // when the tick read the station, nullopt when it could not.
    void tick(const std::optional<std::string> &dataLine);

    // Empty while nothing is wrong.
    QStringList problems() const;
    // "Ultimo invio: KISS 09:22, APRS-IS 09:20" in local time (with the day
    // when it was not today); empty while no report has gone out. A send that
    // works says so, not only one that fails.
    QString lastSentText() const;

signals:
    void problemsChanged(const QStringList &problems);
    void lastSentChanged(const QString &text);

private:
    void update();

    ReportSender *kiss_;
    ReportSender *aprsIs_;
    QString settingsProblem_;
    QStringList shown_;
    QString shownSent_;
};

// "Verifica": the sends switched on in these settings, tried at once,
// nothing saved and nothing sent. `shown` gives one line per send as each
// answers ("KISS: TNC raggiungibile").
class SettingsCheck : public QObject {
    Q_OBJECT
public:
    explicit SettingsCheck(QObject *parent = nullptr) : QObject(parent) {}
    void start(const settings::SendSettings &settings);
    // The checks still under way are dropped unheard.
    void stop();

signals:
    void shown(const QString &lines);
};

} // namespace net
