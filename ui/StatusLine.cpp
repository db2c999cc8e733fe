// The status bar's lasting fault message, one list of problems per source.
#include "ui/StatusLine.h"

#include <QPainter>

#include "ui/Colours.h"

#include <algorithm>

namespace ui {

StatusLine::StatusLine(QWidget *parent) : QLabel(parent) {
    setObjectName(QStringLiteral("statusMessage"));
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setTextFormat(Qt::PlainText);
    QPalette look = palette();
    look.setColor(QPalette::WindowText, kFaultRed);
    setPalette(look);
}

void StatusLine::setProblems(const QString &source, const QStringList &problems) {
    auto it = std::find_if(sources_.begin(), sources_.end(), [&](const auto &s) { return s.first == source; });
    if (it == sources_.end())
        sources_.emplace_back(source, problems);
    else
        it->second = problems;
    refresh();
}

QStringList StatusLine::problems() const {
    QStringList all;
    for (const auto &s : sources_)
        all << s.second;
    return all;
}

void StatusLine::refresh() {
    const QStringList all = problems();
    QString shown;
    if (!all.isEmpty()) {
        shown = all.front();
        if (all.size() == 2)
            shown += QStringLiteral(" (e un altro problema)");
        else if (all.size() > 2)
            shown += QStringLiteral(" (e altri %1 problemi)").arg(all.size() - 1);
    }
    setText(shown);
    setToolTip(all.join(QLatin1Char('\n')));
}

void StatusLine::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}

} // namespace ui
