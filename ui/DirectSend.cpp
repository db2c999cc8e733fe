// Feeding the two direct sends from the ticks and invio.kwt.
#include "ui/DirectSend.h"

#include "ui/DirectSender.h"
#include "ui/QtText.h"
#include "io/text_codec.h"
#include "settings/send_settings.h"

#include <utility>

namespace ui {

DirectSend::DirectSend(QObject *parent)
    : QObject(parent), kiss_(new DirectSender(DirectSender::Kind::Kiss, this)),
      aprsIs_(new DirectSender(DirectSender::Kind::AprsIs, this)) {
    kiss_->setObjectName(QStringLiteral("kissSender"));
    aprsIs_->setObjectName(QStringLiteral("aprsIsSender"));
    for (DirectSender *sender : {kiss_, aprsIs_}) {
        connect(sender, &DirectSender::problemChanged, this, &DirectSend::update);
        connect(sender, &DirectSender::lastSentChanged, this, &DirectSend::update);
    }
}

void DirectSend::tick(const std::optional<std::string> &dataLine) {
    // The settings file sits beside config.kwt, in the working folder.
    const settings::LoadedSend loaded = settings::loadSendFile(settings::kSendFileName);
    settingsProblem_ = toQString(loaded.problem);
    for (DirectSender *sender : {kiss_, aprsIs_}) {
        if (loaded.state != settings::SendFileState::Ok) {
            sender->disable();
            continue;
        }
        sender->configure(loaded.settings);
        // The same bytes as the file's second line: what UI-View would send.
        if (dataLine)
            sender->offer(codec::utf8ToCp1252Lossy(*dataLine));
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
    QStringList parts;
    for (const auto &[sender, name] : {std::pair{kiss_, "KISS"}, std::pair{aprsIs_, "APRS-IS"}}) {
        const QDateTime when = sender->lastSent().toLocalTime();
        const QDate today = sender->utcNow().toLocalTime().date();
        if (when.isValid())
            parts << QLatin1String(name) + QLatin1Char(' ') +
                         when.toString(when.date() == today ? QStringLiteral("HH:mm") : QStringLiteral("dd/MM HH:mm"));
    }
    return parts.isEmpty() ? QString() : QStringLiteral("Ultimo invio: ") + parts.join(QStringLiteral(", "));
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

} // namespace ui
