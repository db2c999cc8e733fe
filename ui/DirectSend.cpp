// Feeding the two direct sends from the ticks and invio.kwt.
#include "ui/DirectSend.h"

#include "ui/DirectSender.h"
#include "ui/QtText.h"
#include "io/text_codec.h"
#include "send/settings.h"

namespace ui {

DirectSend::DirectSend(QObject *parent)
    : QObject(parent), kiss_(new DirectSender(DirectSender::Kind::Kiss, this)),
      aprsIs_(new DirectSender(DirectSender::Kind::AprsIs, this)) {
    kiss_->setObjectName(QStringLiteral("kissSender"));
    aprsIs_->setObjectName(QStringLiteral("aprsIsSender"));
    connect(kiss_, &DirectSender::problemChanged, this, &DirectSend::update);
    connect(aprsIs_, &DirectSender::problemChanged, this, &DirectSend::update);
}

void DirectSend::tick(const std::optional<std::string> &dataLine) {
    // The settings file sits beside config.kwt, in the working folder.
    const send::Loaded loaded = send::load(send::kSettingsFileName);
    settingsProblem_ = toQString(loaded.problem);
    for (DirectSender *sender : {kiss_, aprsIs_}) {
        if (loaded.state != send::FileState::Ok) {
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

void DirectSend::update() {
    const QStringList now = problems();
    if (now == shown_)
        return;
    shown_ = now;
    emit problemsChanged(shown_);
}

} // namespace ui
