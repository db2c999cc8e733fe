// The main window's status bar: one lasting line of problems, each part
// that can fail under a source of its own, and the direct send's last
// report beside it; every change goes to the event record.
#include "ui/QuadroStazione.h"

#include <QLabel>
#include <QStatusBar>

#include "ui/Colours.h"
#include "net/DirectSend.h"
#include "ui/QtText.h"
#include "ui/StatusLine.h"

namespace ui {
namespace {

QStringList texts(const std::vector<std::string> &problems) {
    QStringList list;
    for (const auto &problem : problems)
        list << toQString(problem);
    return list;
}

} // namespace

void QuadroStazione::createStatusBar() {
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusLine_ = new StatusLine(this);
    statusBar()->addPermanentWidget(statusLine_, 1);
}

// The sends' problems join the cycle's in the one lasting line, which cuts a
// long message rather than widen the window.
void QuadroStazione::connectDirectSend() {
    directSend_ = new net::DirectSend(this);
    connect(directSend_, &net::DirectSend::problemsChanged, statusLine_, [this](const QStringList &problems) {
        statusLine_->setProblems(QStringLiteral("send"), problems);
        recordProblems();
    });
    auto *lastSent = new QLabel(this);
    lastSent->setObjectName(QStringLiteral("ultimoInvio"));
    lastSent->setStyleSheet(textColourStyle(kQuietGrey));
    lastSent->hide();
    statusBar()->addPermanentWidget(lastSent);
    connect(directSend_, &net::DirectSend::lastSentChanged, lastSent, [lastSent](const QString &text) {
        lastSent->setText(text);
        lastSent->setVisible(!text.isEmpty());
    });
}

void QuadroStazione::showProblems(const cycle::StatusProblems &status) {
    statusLine_->setProblems(QStringLiteral("folder"), texts(status.folder));
    if (status.tick)
        statusLine_->setProblems(QStringLiteral("cycle"), texts(*status.tick));
    recordProblems();
}

void QuadroStazione::recordProblems() {
    std::vector<std::string> problems;
    for (const QString &problem : statusLine_->problems())
        problems.push_back(problem.toStdString());
    events_.problemsNow(now(), problems);
}

} // namespace ui
