// Where the main window's controls stand: framed groups in a grid.
#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Indicator.h"
#include "ui/QuadroStazione.h"

namespace ui {
namespace {

// A framed group with its heading on top.
QFrame *group(QLabel *headingLabel, QWidget *parent) {
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(10, 6, 10, 8);
    layout->setSpacing(4);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    font.setBold(true);
    headingLabel->setFont(font);
    headingLabel->setStyleSheet(QStringLiteral("color: #1f3f73;"));
    layout->addWidget(headingLabel);
    auto *rule = new QFrame(frame);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);
    return frame;
}

void addRows(QFrame *frame, std::initializer_list<QWidget *> widgets) {
    auto *layout = static_cast<QVBoxLayout *>(frame->layout());
    for (QWidget *w : widgets)
        layout->addWidget(w);
    layout->addStretch();
}

} // namespace

void QuadroStazione::buildLayout() {
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(12, 10, 12, 8);
    outer->setSpacing(8);

    QFont title = Label1->font();
    title.setPointSize(13);
    title.setBold(true);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    QFont heading = Label2->font();
    heading.setPointSize(11);
    Label2->setFont(heading);
    Label2->setAlignment(Qt::AlignCenter);
    outer->addWidget(Label1);
    outer->addWidget(Label2);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(10);

    QFont value = label(4)->font();
    value.setPointSize(10);
    for (int n : {4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19, 24, 25, 26, 27, 29})
        label(n)->setFont(value);
    for (int n : {4, 16, 19, 29}) {
        QFont bold = value;
        bold.setBold(true);
        label(n)->setFont(bold);
    }
    label(29)->setWordWrap(true);
    label(29)->setMinimumHeight(label(29)->fontMetrics().lineSpacing() * 3 + 4);
    label(29)->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *conditions = group(label(12), this);
    auto *alarmRow = new QWidget(this);
    auto *alarmLayout = new QHBoxLayout(alarmRow);
    alarmLayout->setContentsMargins(0, 0, 0, 0);
    alarmLayout->addWidget(label(17));
    alarmLayout->addWidget(label(18));
    alarmLayout->addStretch();
    addRows(conditions, {label(4), label(5), label(16), alarmRow, label(19)});

    auto *outdoor = group(label(21), this);
    addRows(outdoor, {label(6), label(7), label(8), label(9), label(10), label(11)});

    auto *rain = group(label(22), this);
    addRows(rain, {label(13), label(14), label(15)});

    auto *extremes = group(label(23), this);
    auto *extremesBody = new QWidget(this);
    auto *extremesGrid = new QGridLayout(extremesBody);
    extremesGrid->setContentsMargins(0, 0, 0, 0);
    extremesGrid->setHorizontalSpacing(8);
    const std::pair<Indicator *, QLabel *> rows[] = {
        {Shape1, label(24)}, {Shape2, label(25)}, {Shape3, label(26)}, {Shape4, label(27)}};
    for (int i = 0; i < 4; ++i) {
        extremesGrid->addWidget(rows[i].first, i, 0);
        extremesGrid->addWidget(rows[i].second, i, 1);
    }
    extremesGrid->setColumnStretch(1, 1);
    addRows(extremes, {extremesBody});

    auto *alerts = group(label(28), this);
    addRows(alerts, {label(29)});

    auto *aprs = group(label(20), this);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(10);
    Text1->setFont(mono);
    Text1->setFixedHeight(Text1->fontMetrics().lineSpacing() * 2 + 14);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    addRows(aprs, {Text1});

    auto *message = group(label(30), this);
    auto *messageBody = new QWidget(this);
    auto *messageGrid = new QGridLayout(messageBody);
    messageGrid->setContentsMargins(0, 0, 0, 0);
    messageGrid->addWidget(Check1, 0, 0);
    messageGrid->addWidget(label(31), 0, 1, 1, 2);
    messageGrid->addWidget(label(32), 1, 0, 1, 2);
    messageGrid->addWidget(Text2, 1, 2);
    messageGrid->setColumnStretch(2, 1);
    label(31)->setBuddy(Check1);
    label(32)->setBuddy(Text2);
    addRows(message, {messageBody});

    grid->addWidget(conditions, 0, 0);
    grid->addWidget(outdoor, 0, 1);
    grid->addWidget(rain, 0, 2);
    grid->addWidget(alerts, 1, 0);
    grid->addWidget(extremes, 1, 1, 1, 2);
    grid->addWidget(aprs, 2, 0, 1, 2);
    grid->addWidget(message, 2, 2);
    grid->setColumnStretch(0, 5);
    grid->setColumnStretch(1, 4);
    grid->setColumnStretch(2, 3);
    outer->addLayout(grid);

    auto *bottom = new QHBoxLayout;
    QFont small = Label3->font();
    small.setPointSize(8);
    Label3->setFont(small);
    Label3->setStyleSheet(QStringLiteral("color: #555555;"));
    bottom->addWidget(Label3);
    bottom->addStretch();
    Command1->setMinimumWidth(110);
    bottom->addWidget(Command1);
    outer->addLayout(bottom);

    setCentralWidget(central);
    resize(960, 560);
}

} // namespace ui
