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

#include "ui/Indicator.h"
#include "ui/QuadroStazione.h"

namespace ui {
namespace {

// The longest line of my_meteo.txt: 33 characters of values, the longest
// comment ("pioggia intensa-vento forte"), then "/WS3600/113W".
constexpr int kLongestAprsLine = 33 + 27 + 12;
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
    headingLabel->setStyleSheet(QStringLiteral("color: #1f3f73;"));
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

int widest(const QFont &font, std::initializer_list<const char *> texts) {
    const QFontMetrics metrics(font);
    int width = 0;
    for (const char *text : texts)
        width = std::max(width, metrics.horizontalAdvance(QString::fromUtf8(text)));
    return width;
}

} // namespace

// Every column has a width of its own, fixed by the longest caption that
// the cycle can write there, so nothing moves from one minute to the next;
// the whole window, status bar included, fits a 1024x600 screen with a
// taskbar.
void QuadroStazione::buildLayout() {
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(12, 6, 12, 6);
    outer->setSpacing(4);

    QFont title = Label1->font();
    title.setPointSize(12);
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
    grid->setVerticalSpacing(6);

    QFont value = label(4)->font();
    value.setPointSize(10);
    for (int n : {4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19, 24, 25, 26, 27, 29})
        label(n)->setFont(value);
    QFont bold = value;
    bold.setBold(true);
    for (int n : {4, 16, 19, 29})
        label(n)->setFont(bold);
    holdStill({Label2, label(4), label(5), label(6), label(7), label(8), label(9), label(10), label(11), label(13), label(14), label(15),
               label(16), label(18), label(19), label(24), label(25), label(26), label(27), label(29)});
    label(29)->setWordWrap(true);
    label(29)->setFixedHeight(label(29)->fontMetrics().lineSpacing() * 3 + 4);
    label(29)->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *conditions = group(label(12), this);
    auto *alarmRow = new QWidget(this);
    auto *alarmLayout = new QHBoxLayout(alarmRow);
    alarmLayout->setContentsMargins(0, 0, 0, 0);
    alarmLayout->addWidget(label(17));
    alarmLayout->addWidget(label(18), 1);
    addRows(conditions, {label(4), label(5), label(16), alarmRow, label(19)});

    auto *outdoor = group(label(21), this);
    addRows(outdoor, {label(6), label(7), label(8), label(9), label(10), label(11)});

    auto *rain = group(label(22), this);
    addRows(rain, {label(13), label(14), label(15)});
    readingPanels_ = {conditions, outdoor, rain};

    auto *extremes = group(label(23), this);
    auto *extremesBody = new QWidget(this);
    auto *extremesGrid = new QGridLayout(extremesBody);
    extremesGrid->setContentsMargins(0, 0, 0, 0);
    extremesGrid->setHorizontalSpacing(8);
    extremesGrid->setVerticalSpacing(3);
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

    // The APRS lines are always wholly in view: no wrapping, no scroll bar
    // over the second line, room for the longest line.
    // A line that could not be written to my_meteo.txt is shown greyed,
    // marked as never sent.
    notWritten_ = new QLabel(QStringLiteral("non scritto"), this);
    notWritten_->setObjectName(QStringLiteral("aprsNotWritten"));
    QPalette red = notWritten_->palette();
    red.setColor(QPalette::WindowText, QColor(160, 0, 0));
    notWritten_->setPalette(red);
    QSizePolicy keepPlace = notWritten_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    notWritten_->setSizePolicy(keepPlace);
    notWritten_->hide();
    auto *aprs = group(label(20), this, notWritten_);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(10);
    Text1->setFont(mono);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int textMargins = 2 * (Text1->frameWidth() + qCeil(Text1->document()->documentMargin())) + 4;
    Text1->setFixedHeight(Text1->fontMetrics().lineSpacing() * 2 + textMargins);
    Text1->setMinimumWidth(Text1->fontMetrics().horizontalAdvance(QString(kLongestAprsLine, QLatin1Char('0'))) +
                           textMargins);
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
    // Column widths from the longest captions; the APRS box, across the
    // first two columns, sets the second.
    const int margins = 2 * (kGroupMargin + 1);
    const int first = widest(bold, {"Condizioni attuali:  pioggia intensa-vento forte"}) + margins;
    const int second = std::max(widest(value, {"Windchill:  -28.8 °C", "Vento:  112.7 km/h", "Press. MAX =  1013.2 hPa"}) + margins,
                                Text1->minimumWidth() + margins - first - grid->horizontalSpacing());
    const int third = std::max(Check1->sizeHint().width() + 6 + QFontMetrics(label(31)->font()).horizontalAdvance(
                                                                        QStringLiteral("Abilita Messaggio Utente (max 20 caratteri)")),
                               widest(value, {"24 H [mm]:  1234.5 mm"})) +
                      margins;
    const int widths[] = {first, second, third};
    for (int column = 0; column < 3; ++column) {
        grid->setColumnMinimumWidth(column, widths[column]);
        grid->setColumnStretch(column, widths[column]);
    }
    outer->addLayout(grid);
    outer->addStretch();

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
    // Never larger than the screen's free area, taskbar and frame aside.
    // As tall as the panels need: a taller start would only add a blank band.
    QSize size = QSize(kPreferredWidth, 0).expandedTo(minimumSizeHint());
    if (const QScreen *place = screen())
        size = size.boundedTo(place->availableGeometry().size() - kFrameAllowance);
    resize(size.expandedTo(minimumSizeHint()));
}

} // namespace ui
