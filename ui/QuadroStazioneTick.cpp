// The main window's tick: the cycle run, its view applied as built, and the
// direct send handed the line just written.
#include "ui/QuadroStazione.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "net/DirectSend.h"
#include "settings/config.h"
#include "ui/Indicator.h"
#include "ui/QtText.h"

namespace ui {
namespace {

station::ClockTime localNow() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(), now.date().day(), now.time().hour(), now.time().minute()};
}

} // namespace

station::ClockTime QuadroStazione::now() const { return clock_ ? clock_() : localNow(); }

void QuadroStazione::Timer1_Timer() {
    // The cycle reads config.kwt itself, every line at every tick, and says
    // when it wants the next one.
    cycle::TickInputs in;
    in.configPath = settings::kConfigFileName;
    in.now = now();
    in.message.enabled = messageEnabled_->isChecked();
    in.message.text = userMessage_->text().toStdString();
    const cycle::TickOutcome outcome = cycle_.tick(in);
    applyView(cycle::windowView(outcome));
    // The files are written by now; a send only starts here and goes on by
    // itself while the window waits for the next tick.
    if (outcome.gate == cycle::Gate::Missing)
        return;
    // UI-View gets the old values as it always has, but the direct sends put
    // no weather on the air or on APRS-IS that Heavy Weather stopped updating.
    std::optional<std::string> dataLine;
    if (outcome.gate == cycle::Gate::Converted && !outcome.stale)
        dataLine = outcome.dataLine;
    directSend_->tick(dataLine);
}

void QuadroStazione::applyView(const cycle::WindowView &v) {
    if (v.intervalMs)
        tickTimer_->setInterval(*v.intervalMs);
    for (const auto &[role, text] : v.captions)
        label(role)->setText(toQString(text));
    for (const auto &[role, colour] : v.colours)
        setForeColor(label(role), colour);
    // The box shows the file's two lines; its own line end is a plain LF.
    if (v.text1) {
        aprsLines_->setPlainText(toQString(*v.text1).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        // A line that could not be written is shown greyed, marked as never sent.
        QPalette look = palette();
        if (!v.text1Written)
            look.setColor(QPalette::Text, look.color(QPalette::Disabled, QPalette::Text));
        aprsLines_->setPalette(look);
        notWritten_->setVisible(!v.text1Written);
    }
    // Old values look old, so that nobody reads them as this minute's.
    if (v.text1 || v.currdatMissing)
        for (QWidget *panel : readingPanels_)
            panel->setEnabled(!v.stale && !v.currdatMissing);
    for (std::size_t i = 0; i < extremeLamps_.size(); ++i)
        if (v.shapes[i])
            extremeLamps_[i]->setLook(*v.shapes[i]);
    showProblems(v.status);
}

} // namespace ui
