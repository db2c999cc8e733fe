// Where the main window's controls stand: framed groups in columns of fixed
// widths, on a 1024x600 screen too.
#include <QCheckBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

#include "ui/Colours.h"
#include "ui/Indicator.h"
#include "ui/QuadroStazione.h"

namespace ui {
namespace {

using cycle::Role;
// The window's width when the screen has room for it.
constexpr int kPreferredWidth = 960;
// What a window frame takes beyond the inner size on Windows at 100 %: the
// title bar and the borders.
constexpr QSize kFrameAllowance(16, 39);
constexpr int kGroupMargin = 8;

// A framed group with its heading on top, and `aside` at the heading's right.
QFrame *group(QLabel *headingLabel, QWidget *parent, QWidget *aside = nullptr) {
    auto *frame = new QFrame(parent);
    frame->setObjectName(headingLabel->objectName() + QStringLiteral("Group"));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(kGroupMargin, 4, kGroupMargin, 6);
    layout->setSpacing(3);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    font.setBold(true);
    headingLabel->setFont(font);
    headingLabel->setStyleSheet(textColourStyle(kHeadingBlue));
    if (aside) {
        aside->setFont(font);
        auto *row = new QHBoxLayout;
        row->addWidget(headingLabel, 1);
        row->addWidget(aside);
        layout->addLayout(row);
    } else {
        layout->addWidget(headingLabel);
    }
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

// A caption whose text changes every minute must not move the layout: its
// width is the column's, never its text's.
void holdStill(std::initializer_list<QLabel *> labels) {
    for (QLabel *l : labels)
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

// The widest caption the cycle can write in any of `roles`.
int widest(const QFont &font, std::initializer_list<Role> roles) {
    const QFontMetrics metrics(font);
    int width = 0;
    for (Role role : roles)
        width = std::max(width, metrics.horizontalAdvance(QString::fromUtf8(cycle::widestCaption(role).c_str())));
    return width;
}

} // namespace

// Every column has a width of its own, fixed by the longest caption that
// the cycle can write there, so nothing moves from one minute to the next;
// the whole window, status bar included, fits a 1024x600 screen with a
// taskbar.
void QuadroStazione::layOutControls() {
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(12, 6, 12, 6);
    outer->setSpacing(4);

    QFont title = label(Role::Title)->font();
    title.setPointSize(12);
    title.setBold(true);
    label(Role::Title)->setFont(title);
    label(Role::Title)->setAlignment(Qt::AlignCenter);
    QFont heading = label(Role::Heading)->font();
    heading.setPointSize(11);
    label(Role::Heading)->setFont(heading);
    label(Role::Heading)->setAlignment(Qt::AlignCenter);
    outer->addWidget(label(Role::Title));
    outer->addWidget(label(Role::Heading));

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);

    QFont value = label(Role::Situation)->font();
    value.setPointSize(10);
    // The captions a tick rewrites.
    const Role values[] = {Role::Situation,      Role::Tendency,       Role::OutdoorTemperature, Role::OutdoorHumidity,
                           Role::DewPoint,       Role::WindChill,      Role::WindSpeed,          Role::WindDirection,
                           Role::RainTotal,      Role::Rain24h,        Role::Rain1h,             Role::Pressure,
                           Role::StormAlarm,     Role::Forecast,       Role::TemperatureMax,     Role::TemperatureMin,
                           Role::PressureMax,    Role::PressureMin,    Role::Alerts};
    for (Role role : values)
        label(role)->setFont(value);
    label(Role::StormAlarmCaption)->setFont(value);
    QFont bold = value;
    bold.setBold(true);
    for (Role role : {Role::Situation, Role::Pressure, Role::Forecast, Role::Alerts})
        label(role)->setFont(bold);
    holdStill({label(Role::Heading)});
    for (Role role : values)
        holdStill({label(role)});
    label(Role::Alerts)->setWordWrap(true);
    label(Role::Alerts)->setFixedHeight(label(Role::Alerts)->fontMetrics().lineSpacing() * 3 + 4);
    label(Role::Alerts)->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *conditions = group(label(Role::ConditionsPanel), this);
    auto *alarmRow = new QWidget(this);
    auto *alarmLayout = new QHBoxLayout(alarmRow);
    alarmLayout->setContentsMargins(0, 0, 0, 0);
    alarmLayout->addWidget(label(Role::StormAlarmCaption));
    alarmLayout->addWidget(label(Role::StormAlarm), 1);
    addRows(conditions, {label(Role::Situation), label(Role::Tendency), label(Role::Pressure), alarmRow, label(Role::Forecast)});

    auto *outdoor = group(label(Role::OutdoorPanel), this);
    addRows(outdoor, {label(Role::OutdoorTemperature), label(Role::OutdoorHumidity), label(Role::DewPoint), label(Role::WindChill), label(Role::WindSpeed), label(Role::WindDirection)});

    auto *rain = group(label(Role::RainPanel), this);
    addRows(rain, {label(Role::RainTotal), label(Role::Rain24h), label(Role::Rain1h)});
    readingPanels_ = {conditions, outdoor, rain};

    auto *extremes = group(label(Role::ExtremesPanel), this);
    auto *extremesBody = new QWidget(this);
    auto *extremesGrid = new QGridLayout(extremesBody);
    extremesGrid->setContentsMargins(0, 0, 0, 0);
    extremesGrid->setHorizontalSpacing(8);
    extremesGrid->setVerticalSpacing(3);
    const std::pair<Indicator *, QLabel *> rows[] = {
        {extremeLamps_[0], label(Role::TemperatureMax)}, {extremeLamps_[1], label(Role::TemperatureMin)},
        {extremeLamps_[2], label(Role::PressureMax)}, {extremeLamps_[3], label(Role::PressureMin)}};
    for (int i = 0; i < 4; ++i) {
        extremesGrid->addWidget(rows[i].first, i, 0);
        extremesGrid->addWidget(rows[i].second, i, 1);
    }
    extremesGrid->setColumnStretch(1, 1);
    addRows(extremes, {extremesBody});

    auto *alerts = group(label(Role::AlertsPanel), this);
    addRows(alerts, {label(Role::Alerts)});

    // The APRS lines are always wholly in view: no wrapping, no scroll bar
    // over the second line, room for the longest line.
    // A line that could not be written to my_meteo.txt is shown greyed,
    // marked as never sent.
    notWritten_ = new QLabel(QStringLiteral("non scritto"), this);
    notWritten_->setObjectName(QStringLiteral("aprsNotWritten"));
    QPalette red = notWritten_->palette();
    red.setColor(QPalette::WindowText, kFaultRed);
    notWritten_->setPalette(red);
    QSizePolicy keepPlace = notWritten_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    notWritten_->setSizePolicy(keepPlace);
    notWritten_->hide();
    auto *aprs = group(label(Role::AprsPanel), this, notWritten_);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(10);
    aprsLines_->setFont(mono);
    aprsLines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    aprsLines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    aprsLines_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int textMargins = 2 * (aprsLines_->frameWidth() + qCeil(aprsLines_->document()->documentMargin())) + 4;
    aprsLines_->setFixedHeight(aprsLines_->fontMetrics().lineSpacing() * 2 + textMargins);
    aprsLines_->setMinimumWidth(aprsLines_->fontMetrics().horizontalAdvance(
                                    QString::fromUtf8(cycle::widestCaption(Role::AprsLines).c_str())) +
                                textMargins);
    addRows(aprs, {aprsLines_});

    auto *message = group(label(Role::MessagePanel), this);
    auto *messageBody = new QWidget(this);
    auto *messageGrid = new QGridLayout(messageBody);
    messageGrid->setContentsMargins(0, 0, 0, 0);
    messageGrid->addWidget(messageEnabled_, 0, 0);
    messageGrid->addWidget(label(Role::MessageEnable), 0, 1, 1, 2);
    messageGrid->addWidget(label(Role::MessageLabel), 1, 0, 1, 2);
    messageGrid->addWidget(userMessage_, 1, 2);
    messageGrid->setColumnStretch(2, 1);
    label(Role::MessageEnable)->setBuddy(messageEnabled_);
    label(Role::MessageLabel)->setBuddy(userMessage_);
    addRows(message, {messageBody});

    grid->addWidget(conditions, 0, 0);
    grid->addWidget(outdoor, 0, 1);
    grid->addWidget(rain, 0, 2);
    grid->addWidget(alerts, 1, 0);
    grid->addWidget(extremes, 1, 1, 1, 2);
    grid->addWidget(aprs, 2, 0, 1, 2);
    grid->addWidget(message, 2, 2);
    // Column widths from the longest captions; the APRS box, across the
    // first two columns, sets the second.
    const int margins = 2 * (kGroupMargin + 1);
    const int first = widest(bold, {Role::Situation}) + margins;
    const int second = std::max(widest(value, {Role::WindChill, Role::WindSpeed, Role::PressureMax}) + margins,
                                aprsLines_->minimumWidth() + margins - first - grid->horizontalSpacing());
    const int third =
        std::max(messageEnabled_->sizeHint().width() + 6 +
                     QFontMetrics(label(Role::MessageEnable)->font())
                         .horizontalAdvance(QString::fromUtf8(cycle::roleInfo(Role::MessageEnable).atRest)),
                 widest(value, {Role::Rain24h})) +
        margins;
    const int widths[] = {first, second, third};
    for (int column = 0; column < 3; ++column) {
        grid->setColumnMinimumWidth(column, widths[column]);
        grid->setColumnStretch(column, widths[column]);
    }
    outer->addLayout(grid);
    outer->addStretch();

    auto *bottom = new QHBoxLayout;
    QFont small = label(Role::Release)->font();
    small.setPointSize(8);
    label(Role::Release)->setFont(small);
    label(Role::Release)->setStyleSheet(textColourStyle(kQuietGrey));
    bottom->addWidget(label(Role::Release));
    bottom->addStretch();
    exitButton_->setMinimumWidth(110);
    bottom->addWidget(exitButton_);
    outer->addLayout(bottom);

    setCentralWidget(central);
    // Never larger than the screen's free area, taskbar and frame aside.
    // As tall as the panels need: a taller start would only add a blank band.
    QSize size = QSize(kPreferredWidth, 0).expandedTo(minimumSizeHint());
    if (const QScreen *place = screen())
        size = size.boundedTo(place->availableGeometry().size() - kFrameAllowance);
    resize(size.expandedTo(minimumSizeHint()));
}

} // namespace ui
