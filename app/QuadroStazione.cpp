#include "app/QuadroStazione.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QtMath>
#include <QTextDocument>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/CharacterLimit.h"
#include "app/Indicator.h"
#include "app/QtText.h"
#include "app/StatusLine.h"
#include "app/version.h"
#include "config/Configurazione.h"
#include "config/SetupParametri.h"
#include "config/SetupPressione.h"
#include "config/config_file.h"
#include "config/file_io.h"

namespace ui {
namespace {

constexpr int kUserMessageLimit = 20;
constexpr int kFirstInterval = 100;
// The longest line of my_meteo.txt: 33 characters of values, the longest
// comment ("pioggia intensa-vento forte"), then "/WS3600/113W".
constexpr int kLongestAprsLine = 33 + 27 + 12;
// The window's size when the screen has room for it.
constexpr QSize kPreferredSize(960, 540);
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

QuadroStazione::QuadroStazione(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Quadro_Stazione"));
    setWindowTitle(QStringLiteral("Quadro_Stazione"));

    QLabel **named[] = {nullptr,  &Label1,  &Label2,  &Label3,  &Label4,  &Label5,  &Label6,  &Label7,  &Label8,
                        &Label9,  &Label10, &Label11, &Label12, &Label13, &Label14, &Label15, &Label16, &Label17,
                        &Label18, &Label19, &Label20, &Label21, &Label22, &Label23, &Label24, &Label25, &Label26,
                        &Label27, &Label28, &Label29, &Label30, &Label31, &Label32};
    for (int n = 1; n <= 32; ++n) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("Label%1").arg(n));
        *named[n] = l;
        labels_[n] = l;
    }
    Label1->setText(QStringLiteral("Conversione dati da stazione meteorologica WS3600 a UI-View"));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // A coarse timer would stretch 59.5 s to a whole minute and miss minutes.
    Timer1->setTimerType(Qt::PreciseTimer);
    Indicator **shapes[] = {&Shape1, &Shape2, &Shape3, &Shape4};
    for (int i = 0; i < 4; ++i) {
        *shapes[i] = new Indicator(this);
        (*shapes[i])->setObjectName(QStringLiteral("Shape%1").arg(i + 1));
    }

    File = menuBar()->addMenu(QStringLiteral("File"));
    File->setObjectName(QStringLiteral("File"));
    Cartelle = File->addAction(QStringLiteral("Cartelle di lavoro"));
    Cartelle->setObjectName(QStringLiteral("Cartelle"));
    Esci = File->addAction(QStringLiteral("Esci"));
    Esci->setObjectName(QStringLiteral("Esci"));
    Parametri = menuBar()->addMenu(QStringLiteral("Parametri"));
    Parametri->setObjectName(QStringLiteral("Parametri"));
    Stringa_APRS = Parametri->addAction(QStringLiteral("Stringa APRS"));
    Stringa_APRS->setObjectName(QStringLiteral("Stringa_APRS"));
    Pressione = Parametri->addAction(QStringLiteral("Pressione"));
    Pressione->setObjectName(QStringLiteral("Pressione"));
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusLine_ = new StatusLine(this);
    statusBar()->addPermanentWidget(statusLine_, 1);

    buildLayout();

    connect(Command1, &QPushButton::clicked, this, &QuadroStazione::Command1_Click);
    connect(Esci, &QAction::triggered, this, &QuadroStazione::Esci_Click);
    connect(Cartelle, &QAction::triggered, this, &QuadroStazione::Cartelle_Click);
    connect(Stringa_APRS, &QAction::triggered, this, &QuadroStazione::Stringa_APRS_Click);
    connect(Pressione, &QAction::triggered, this, &QuadroStazione::Pressione_Click);
    connect(Text2, &QLineEdit::textChanged, this, &QuadroStazione::Text2_Change);
    connect(Timer1, &QTimer::timeout, this, &QuadroStazione::Timer1_Timer);
}

QuadroStazione::~QuadroStazione() = default;

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

    QFont value = Label4->font();
    value.setPointSize(10);
    for (int n : {4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19, 24, 25, 26, 27, 29})
        labels_[n]->setFont(value);
    QFont bold = value;
    bold.setBold(true);
    for (int n : {4, 16, 19, 29})
        labels_[n]->setFont(bold);
    holdStill({Label2, Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label11, Label13, Label14, Label15,
               Label16, Label18, Label19, Label24, Label25, Label26, Label27, Label29});
    Label29->setWordWrap(true);
    Label29->setFixedHeight(Label29->fontMetrics().lineSpacing() * 3 + 4);
    Label29->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *conditions = group(Label12, this);
    auto *alarmRow = new QWidget(this);
    auto *alarmLayout = new QHBoxLayout(alarmRow);
    alarmLayout->setContentsMargins(0, 0, 0, 0);
    alarmLayout->addWidget(Label17);
    alarmLayout->addWidget(Label18, 1);
    addRows(conditions, {Label4, Label5, Label16, alarmRow, Label19});

    auto *outdoor = group(Label21, this);
    addRows(outdoor, {Label6, Label7, Label8, Label9, Label10, Label11});

    auto *rain = group(Label22, this);
    addRows(rain, {Label13, Label14, Label15});

    auto *extremes = group(Label23, this);
    auto *extremesBody = new QWidget(this);
    auto *extremesGrid = new QGridLayout(extremesBody);
    extremesGrid->setContentsMargins(0, 0, 0, 0);
    extremesGrid->setHorizontalSpacing(8);
    extremesGrid->setVerticalSpacing(3);
    const std::pair<Indicator *, QLabel *> rows[] = {
        {Shape1, Label24}, {Shape2, Label25}, {Shape3, Label26}, {Shape4, Label27}};
    for (int i = 0; i < 4; ++i) {
        extremesGrid->addWidget(rows[i].first, i, 0);
        extremesGrid->addWidget(rows[i].second, i, 1);
    }
    extremesGrid->setColumnStretch(1, 1);
    addRows(extremes, {extremesBody});

    auto *alerts = group(Label28, this);
    addRows(alerts, {Label29});

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
    auto *aprs = group(Label20, this, notWritten_);
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

    auto *message = group(Label30, this);
    auto *messageBody = new QWidget(this);
    auto *messageGrid = new QGridLayout(messageBody);
    messageGrid->setContentsMargins(0, 0, 0, 0);
    messageGrid->addWidget(Check1, 0, 0);
    messageGrid->addWidget(Label31, 0, 1, 1, 2);
    messageGrid->addWidget(Label32, 1, 0, 1, 2);
    messageGrid->addWidget(Text2, 1, 2);
    messageGrid->setColumnStretch(2, 1);
    Label31->setBuddy(Check1);
    Label32->setBuddy(Text2);
    Label31->installEventFilter(this);
    Text2->setValidator(new CharacterLimit(kUserMessageLimit, Text2));
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
    const int third = std::max(Check1->sizeHint().width() + 6 + QFontMetrics(Label31->font()).horizontalAdvance(
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
    QSize size = kPreferredSize;
    if (const QScreen *place = screen())
        size = size.boundedTo(place->availableGeometry().size() - kFrameAllowance);
    resize(size.expandedTo(minimumSizeHint()));
}

void QuadroStazione::Form_Load() {
    Command1->setText(QStringLiteral("&ESCI"));
    Timer1->stop();
    const bool normalStart = fileio::exists(config::kFileName);
    if (normalStart) {
        Timer1->setInterval(kFirstInterval);
        Timer1->start();
        show();
    } else {
        configurazione()->setFirstRun(true);
        configurazione()->show();
        hide();
    }
    Timer1->setInterval(kFirstInterval);

    versionText = QString::fromStdString(version::versionText());
    Label2->setText(QStringLiteral("Lettura dati meteo in corso ..."));
    Label3->setText(QStringLiteral("Rel. ") + versionText + QStringLiteral(" - programma per radioamatori"));
    Label4->setText(QStringLiteral("Condizioni attuali:"));
    Label5->setText(QStringLiteral("Tendenza:"));
    Label6->setText(QStringLiteral("T ext:"));
    Label7->setText(QStringLiteral("Hrel ext:"));
    Label8->setText(QStringLiteral("Dewpoint:"));
    Label9->setText(QStringLiteral("Windchill:"));
    Label10->setText(QStringLiteral("Vento:"));
    Label11->setText(QStringLiteral("Direzione:"));
    Label12->setText(QStringLiteral("Condizioni e previsioni"));
    Label13->setText(QStringLiteral("Totali:"));
    Label14->setText(QStringLiteral("24H:"));
    Label15->setText(QStringLiteral("1H:"));
    Label16->setText(QStringLiteral("Pressione:"));
    Label17->setText(QStringLiteral("Allarme temporale:"));
    Label18->setText(QString());
    Label19->setText(QString());
    Label20->setText(QStringLiteral("Stringa APRS"));
    Label21->setText(QStringLiteral("Valori esterni"));
    Label22->setText(QStringLiteral("Precipitazioni"));
    Label23->setText(QStringLiteral("Valori minimi e massimi odierni"));
    for (QLabel *l : {Label24, Label25, Label26, Label27})
        l->setText(QString());
    Label28->setText(QStringLiteral("Segnalazioni"));
    Label29->setText(QString());
    Label30->setText(QStringLiteral("Messaggio Utente"));
    Label31->setText(QStringLiteral("Abilita Messaggio Utente (max 20 caratteri)"));
    Label32->setText(QStringLiteral("Testo"));
    Text1->setPlainText(QString());
    Text2->setText(QString());
    Check1->setChecked(false);
    for (Indicator *shape : {Shape1, Shape2, Shape3, Shape4}) {
        shape->setBorderColor(kWindowBackground + 1);
        shape->setFillColor(kWindowBackground);
    }
}

namespace {

void bringUp(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

// Each dialog exists once and is loaded (its Form_Load runs) on first use.
template <class Dialog> Dialog *QuadroStazione::loaded(QPointer<Dialog> &slot) {
    if (!slot) {
        slot = new Dialog(this);
        slot->setWindowFlag(Qt::Window);
        connect(slot, &Dialog::discarded, this, [this, dialog = slot.data()] { onDialogDiscarded(dialog); });
    }
    return slot;
}

Configurazione *QuadroStazione::configurazione() {
    if (!configurazione_)
        connect(loaded(configurazione_), &Configurazione::confirmed, this, &QuadroStazione::onFoldersConfirmed);
    return configurazione_;
}

SetupParametri *QuadroStazione::setupParametri() { return loaded(setupParametri_); }
SetupPressione *QuadroStazione::setupPressione() { return loaded(setupPressione_); }

void QuadroStazione::onFoldersConfirmed() {
    configurazione_->setFirstRun(false);
    show();
    if (!Timer1->isActive())
        Timer1->start();
}

// A dialog closed through its frame is dropped unsaved; its next use loads it
// afresh from the file.
void QuadroStazione::onDialogDiscarded(QDialog *dialog) {
    if (configurazione_.data() == dialog && !isVisible()) {
        // First run: without this the program would go on with no window.
        endProgram();
        return;
    }
    if (configurazione_.data() == dialog)
        configurazione_.clear();
    if (setupParametri_.data() == dialog)
        setupParametri_.clear();
    if (setupPressione_.data() == dialog)
        setupPressione_.clear();
    dialog->hide();
    dialog->deleteLater();
}

void QuadroStazione::Command1_Click() { endProgram(); }
void QuadroStazione::Esci_Click() { endProgram(); }

void QuadroStazione::endProgram() {
    if (ending_)
        return;
    ending_ = true;
    Timer1->stop();
    if (configurazione_)
        configurazione_->hide();
    if (setupParametri_)
        setupParametri_->hide();
    if (setupPressione_)
        setupPressione_->hide();
    hide();
    emit programEnded();
    QCoreApplication::quit();
}

bool QuadroStazione::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Label31 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && Label31->rect().contains(mouse->position().toPoint())) {
            Check1->setFocus(Qt::MouseFocusReason);
            Check1->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void QuadroStazione::closeEvent(QCloseEvent *event) {
    event->accept();
    endProgram();
}

void QuadroStazione::Cartelle_Click() { bringUp(configurazione()); }

void QuadroStazione::Stringa_APRS_Click() { showOptions(setupParametri()); }

void QuadroStazione::Pressione_Click() { showOptions(setupPressione()); }

void QuadroStazione::showOptions(OptionDialog *dialog) {
    const bool opening = !dialog->isVisible();
    bringUp(dialog);
    if (opening)
        dialog->tellIfUnreadable();
}

void QuadroStazione::Text2_Change() {
    // The field's own limit already keeps typing and pasting within 20
    // characters with the cursor in place; this is the last word on any
    // text that reaches the field some other way. The limit counts
    // characters, not UTF-16 units.
    const QList<uint> chars = Text2->text().toUcs4();
    if (chars.size() > kUserMessageLimit)
        Text2->setText(QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.constData()), kUserMessageLimit));
}

namespace {

cycle::ClockTime localNow() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(), now.date().day(), now.time().hour(), now.time().minute()};
}

void setForeColor(QLabel *label, quint32 value) {
    label->setProperty("foreColor", value);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colorFromValue(value, palette));
    label->setPalette(palette);
}

void setLook(Indicator *shape, records::Look look) {
    switch (look) {
    case records::Look::Maximum:
        shape->setBorderColor(records::kMaxBorder);
        shape->setFillColor(records::kMaxFill);
        break;
    case records::Look::Minimum:
        shape->setBorderColor(records::kMinBorder);
        shape->setFillColor(records::kMinFill);
        break;
    case records::Look::Off:
        shape->setBorderColor(kWindowBackground + 1);
        shape->setFillColor(kWindowBackground);
        break;
    }
}

} // namespace

namespace {
// The status line's sources: a tick that cannot even look for currdat.lst,
// and the problems of a tick that read it.
const QString kFolderSource = QStringLiteral("cartella");
const QString kCycleSource = QStringLiteral("ciclo");
} // namespace

void QuadroStazione::Timer1_Timer() {
    // Reading the folder loads the dialog (hidden) on the first tick.
    Configurazione *folders = configurazione();
    // A dialog loaded while config.kwt could not be read holds no folder; it
    // loads again once the file names one, so conversion resumes by itself.
    if (!folders->isVisible() && folders->heavyWeatherFolder().isEmpty() &&
        !config::readSettings(config::kFileName).heavyWeatherFolder.empty())
        folders->Form_Load();
    cycle::TickInputs in;
    in.heavyWeatherFolder = folders->heavyWeatherFolder().toStdString();
    in.configPath = config::kFileName;
    in.now = clock_ ? clock_() : localNow();
    in.message.enabled = Check1->isChecked();
    in.message.text = Text2->text().toStdString();
    const cycle::TickOutcome outcome = cycle_.tick(in);
    QStringList problems;
    for (const auto &p : outcome.problems)
        problems << toQString(p);
    switch (outcome.gate) {
    case cycle::Gate::NoFolder:
        // What an earlier tick found no longer holds: nothing is converted.
        statusLine_->clearProblems(kCycleSource);
        statusLine_->setProblems(kFolderSource, problems);
        return;
    case cycle::Gate::Missing:
        statusLine_->clearProblems(kFolderSource);
        return;
    case cycle::Gate::Converted:
        Timer1->setInterval(cycle::kRunningIntervalMs);
        showTick(outcome);
        break;
    case cycle::Gate::Unreadable:
        break;
    }
    statusLine_->clearProblems(kFolderSource);
    statusLine_->setProblems(kCycleSource, problems);
}

void QuadroStazione::showTick(const cycle::TickOutcome &o) {
    const cycle::PanelCaptions &p = o.panel;
    Label2->setText(toQString(p.label2));
    Label5->setText(toQString(p.label5));
    const std::pair<QLabel *, const std::string *> values[] = {
        {Label6, &p.label6},   {Label7, &p.label7},   {Label8, &p.label8},   {Label9, &p.label9},
        {Label10, &p.label10}, {Label11, &p.label11}, {Label13, &p.label13}, {Label14, &p.label14},
        {Label15, &p.label15}, {Label17, &p.label17}, {Label18, &p.label18}};
    for (const auto &[label, text] : values)
        label->setText(toQString(*text));
    if (p.label18Color)
        setForeColor(Label18, *p.label18Color);

    Label16->setText(toQString(o.label16));
    Label4->setText(toQString(o.label4));
    Label19->setText(toQString(o.label19));
    // The box shows the file's two lines; its own line end is a plain LF.
    Text1->setPlainText(toQString(o.text1).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QPalette look = palette();
    if (!o.text1Written)
        look.setColor(QPalette::Text, look.color(QPalette::Disabled, QPalette::Text));
    Text1->setPalette(look);
    notWritten_->setVisible(!o.text1Written);
    Label29->setText(toQString(o.alerts.text));
    setForeColor(Label29, o.alerts.color);

    QLabel *extremes[] = {Label24, Label25, Label26, Label27};
    Indicator *shapes[] = {Shape1, Shape2, Shape3, Shape4};
    for (int i = 0; i < 4; ++i) {
        extremes[i]->setText(toQString(o.records.labels[static_cast<std::size_t>(i)]));
        if (const auto &look = o.records.shapes[static_cast<std::size_t>(i)])
            setLook(shapes[i], *look);
    }
}

} // namespace ui
