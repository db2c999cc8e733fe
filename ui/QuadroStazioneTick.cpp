// The main window's tick: the cycle run on the folder in use, its view
// applied as built, and the direct send handed the line just written.
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
#include "ui/StatusLine.h"

namespace ui {

namespace {

station::ClockTime localNow() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(), now.date().day(), now.time().hour(), now.time().minute()};
}

} // namespace

station::ClockTime QuadroStazione::now() const { return clock_ ? clock_() : localNow(); }

void QuadroStazione::recordProblems() {
    std::vector<std::string> problems;
    for (const QString &problem : statusLine_->problems())
        problems.push_back(problem.toStdString());
    events_.problemsNow(now(), problems);
}

void QuadroStazione::Timer1_Timer() {
    // The cycle reads config.kwt itself, every line at every tick, and says
    // when it wants the next one.
    cycle::TickInputs in;
    in.configPath = settings::kConfigFileName;
    in.now = now();
    in.message.enabled = Check1->isChecked();
    in.message.text = Text2->text().toStdString();
    const cycle::TickOutcome outcome = cycle_.tick(in);
    applyView(cycle::windowView(outcome));
    // The files are written by now; a send only starts here and goes on by
    // itself while the window waits for the next tick.
    if (outcome.gate == cycle::Gate::Missing)
        return;
    std::optional<std::string> dataLine;
    const auto lineEnd = outcome.text1.find("\r\n");
    // UI-View gets the old values as it always has, but the direct sends put
    // no weather on the air or on APRS-IS that Heavy Weather stopped updating.
    if (outcome.gate == cycle::Gate::Converted && !outcome.stale && lineEnd != std::string::npos)
        dataLine = outcome.text1.substr(lineEnd + 2);
    directSend_->tick(dataLine);
}

void QuadroStazione::applyView(const cycle::WindowView &v) {
    if (v.intervalMs)
        Timer1->setInterval(*v.intervalMs);
    for (const auto &[name, text] : v.captions)
        findChild<QLabel *>(QString::fromStdString(name))->setText(toQString(text));
    for (const auto &[name, colour] : v.colours)
        setForeColor(findChild<QLabel *>(QString::fromStdString(name)), colour);
    // The box shows the file's two lines; its own line end is a plain LF.
    if (v.text1) {
        Text1->setPlainText(toQString(*v.text1).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        // A line that could not be written is shown greyed, marked as never sent.
        QPalette look = palette();
        if (!v.text1Written)
            look.setColor(QPalette::Text, look.color(QPalette::Disabled, QPalette::Text));
        Text1->setPalette(look);
        notWritten_->setVisible(!v.text1Written);
    }
    // Old values look old, so that nobody reads them as this minute's.
    if (v.text1 || v.currdatMissing)
        for (QWidget *panel : readingPanels_)
            panel->setEnabled(!v.stale && !v.currdatMissing);
    Indicator *shapes[] = {Shape1, Shape2, Shape3, Shape4};
    for (std::size_t i = 0; i < 4; ++i)
        if (v.shapes[i])
            shapes[i]->setLook(*v.shapes[i]);
    const auto problems = [](const std::vector<std::string> &texts) {
        QStringList list;
        for (const auto &text : texts)
            list << toQString(text);
        return list;
    };
    statusLine_->setProblems(QStringLiteral("cartella"), problems(v.status.folder));
    if (v.status.tick)
        statusLine_->setProblems(QStringLiteral("ciclo"), problems(*v.status.tick));
    recordProblems();
}

} // namespace ui
