// Feeding the two direct sends from the ticks and invio.kwt; "Verifica".
#include "net/DirectSend.h"

#include <QtCore/QDateTime>

#include <memory>

#include "io/text_codec.h"
#include "net/ReportSender.h"
#include "send/attempt.h"

namespace net {

DirectSend::DirectSend(QObject *parent)
    : QObject(parent), kiss_(new ReportSender(send::Link::Kiss, this)),
      aprsIs_(new ReportSender(send::Link::AprsIs, this)) {
    for (ReportSender *sender : {kiss_, aprsIs_}) {
        connect(sender, &ReportSender::problemChanged, this, &DirectSend::update);
        connect(sender, &ReportSender::lastSentChanged, this, &DirectSend::update);
    }
}

void DirectSend::tick(const std::optional<std::string> &dataLine) {
    // The settings file sits beside config.kwt, in the working folder.
    const settings::LoadedSend loaded = settings::loadSendFile(settings::kSendFileName);
    settingsProblem_ = QString::fromStdString(loaded.problem);
    const bool ok = loaded.state == settings::SendFileState::Ok;
    for (ReportSender *sender : {kiss_, aprsIs_}) {
        sender->configure(ok ? std::optional(loaded.settings) : std::nullopt);
        // The same bytes as the file's second line: what UI-View would send.
        if (ok && dataLine)
            sender->offer(io::utf8ToCp1252Lossy(*dataLine));
    }
    update();
}

QStringList DirectSend::problems() const {
    QStringList all;
    for (const QString &p : {settingsProblem_, kiss_->problem(), aprsIs_->problem()})
        if (!p.isEmpty())
            all << p;
    return all;
}

QString DirectSend::lastSentText() const {
    const auto sentAt = [](const ReportSender *sender) -> std::optional<send::SentAt> {
        if (!sender->lastSent().isValid())
            return std::nullopt;
        const QDateTime when = sender->lastSent().toLocalTime();
        const QDate today = QDate::currentDate();
        return send::SentAt{{when.date().year(), when.date().month(), when.date().day(), when.time().hour(),
                             when.time().minute()},
                            {today.year(), today.month(), today.day()}};
    };
    return QString::fromStdString(send::lastSentText(sentAt(kiss_), sentAt(aprsIs_)));
}

// Also on every tick, so that a last send of an earlier day gains its date.
void DirectSend::update() {
    const QStringList now = problems();
    if (now != shown_) {
        shown_ = now;
        emit problemsChanged(shown_);
    }
    const QString sent = lastSentText();
    if (sent != shownSent_) {
        shownSent_ = sent;
        emit lastSentChanged(shownSent_);
    }
}

// Each send answers on its own line as it comes; a new start drops the
// checks still under way.
void SettingsCheck::start(const settings::SendSettings &settings) {
    stop();
    auto lines = std::make_shared<QStringList>();
    for (const send::Link link : {send::Link::Kiss, send::Link::AprsIs}) {
        if (!send::endpoint(link, settings).enabled)
            continue;
        const int line = int(lines->size());
        *lines << QString::fromStdString(send::checkLine(link, settings, std::nullopt));
        auto *check = new ReportSender(link, this);
        connect(check, &ReportSender::checked, this, [this, lines, line, link, settings](const send::Result &result) {
            (*lines)[line] = QString::fromStdString(send::checkLine(link, settings, result));
            emit shown(lines->join(QLatin1Char('\n')));
        });
        check->check(settings);
    }
    if (lines->isEmpty())
        *lines << QString::fromLatin1(send::kNothingToCheck);
    emit shown(lines->join(QLatin1Char('\n')));
}

void SettingsCheck::stop() {
    for (auto *earlier : findChildren<ReportSender *>())
        delete earlier;
}

} // namespace net
