#pragma once
// The status bar's lasting message. Each part of the program that can fail
// (the conversion cycle, the sending) reports its problems under a name of
// its own; they stay on screen until that part reports again without them.
// It is a permanent widget of the status bar, so the menu hints, which
// replace the status bar's temporary message, never hide a fault.

#include <QLabel>
#include <QStringList>

#include <utility>
#include <vector>

namespace ui {

class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    // Replaces the problems of `source`; an empty list clears them.
    void setProblems(const QString &source, const QStringList &problems);
    // Every problem shown, sources in the order of their first report.
    QStringList problems() const;

protected:
    // A long message is cut with an ellipsis rather than widening the window;
    // the tooltip holds every problem in full.
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    std::vector<std::pair<QString, QStringList>> sources_;
};

} // namespace ui
