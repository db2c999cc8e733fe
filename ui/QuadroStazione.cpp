// The main window: start-up, menus and exits, and each tick shown as built.
#include "ui/QuadroStazione.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "io/config_file.h"
#include "station/version.h"
#include "ui/CharacterLimit.h"
#include "ui/Configurazione.h"
#include "ui/DirectSend.h"
#include "ui/Indicator.h"
#include "ui/QtText.h"
#include "ui/SetupInvio.h"
#include "ui/SetupParametri.h"
#include "ui/SetupPressione.h"
#include "ui/StatusLine.h"

namespace ui {
namespace {

constexpr int kUserMessageLimit = 20;

QAction *menuItem(QMenu *menu, const char *caption, const char *name) {
    QAction *action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

template <class Widget> Widget *named(QWidget *parent, const QString &name) {
    auto *widget = new Widget(parent);
    widget->setObjectName(name);
    return widget;
}

} // namespace

QuadroStazione::QuadroStazione(QWidget *parent, const fileio::Disk &disk)
    : QMainWindow(parent), disk_(&disk), cycle_(disk) {
    setObjectName(QStringLiteral("Quadro_Stazione"));
    setWindowTitle(QStringLiteral("Quadro_Stazione"));

    for (int n = 1; n <= 32; ++n)
        named<QLabel>(this, QStringLiteral("Label%1").arg(n));
    Label1 = label(1);
    Label2 = label(2);
    Label3 = label(3);
    Label1->setText(QStringLiteral("Conversione dati da stazione meteorologica WS3600 a UI-View"));

    Text1 = named<QPlainTextEdit>(this, QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text2 = named<QLineEdit>(this, QStringLiteral("Text2"));
    Check1 = named<QCheckBox>(this, QStringLiteral("Check1"));
    Command1 = named<QPushButton>(this, QStringLiteral("Command1"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    // A coarse timer would stretch 59.5 s to a whole minute and miss minutes.
    Timer1->setTimerType(Qt::PreciseTimer);
    Indicator **shapes[] = {&Shape1, &Shape2, &Shape3, &Shape4};
    for (int i = 0; i < 4; ++i)
        *shapes[i] = named<Indicator>(this, QStringLiteral("Shape%1").arg(i + 1));

    QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File"));
    QAction *cartelle = menuItem(file, "Cartelle di lavoro", "Cartelle");
    QAction *esci = menuItem(file, "Esci", "Esci");
    QMenu *parametri = menuBar()->addMenu(QStringLiteral("Parametri"));
    parametri->setObjectName(QStringLiteral("Parametri"));
    QAction *stringaAprs = menuItem(parametri, "Stringa APRS", "Stringa_APRS");
    QAction *pressione = menuItem(parametri, "Pressione", "Pressione");
    QAction *invioDiretto = menuItem(parametri, "Invio diretto", "Invio_Diretto");
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusLine_ = new StatusLine(this);
    statusBar()->addPermanentWidget(statusLine_, 1);
    directSend_ = new DirectSend(this);
    directSend_->setObjectName(QStringLiteral("directSend"));
    // The sends' problems join the cycle's in the one lasting line, which
    // cuts a long message rather than widen the window.
    connect(directSend_, &DirectSend::problemsChanged, statusLine_,
            [this](const QStringList &problems) { statusLine_->setProblems(QStringLiteral("invio"), problems); });

    buildLayout();
    label(31)->installEventFilter(this);
    Text2->setValidator(new CharacterLimit(kUserMessageLimit, Text2));

    connect(Command1, &QPushButton::clicked, this, &QuadroStazione::Command1_Click);
    connect(esci, &QAction::triggered, this, &QuadroStazione::Esci_Click);
    connect(cartelle, &QAction::triggered, this, &QuadroStazione::Cartelle_Click);
    connect(stringaAprs, &QAction::triggered, this, &QuadroStazione::Stringa_APRS_Click);
    connect(pressione, &QAction::triggered, this, &QuadroStazione::Pressione_Click);
    connect(invioDiretto, &QAction::triggered, this, &QuadroStazione::Invio_Diretto_Click);
    connect(Text2, &QLineEdit::textChanged, this, &QuadroStazione::Text2_Change);
    connect(Timer1, &QTimer::timeout, this, &QuadroStazione::Timer1_Timer);
}

QuadroStazione::~QuadroStazione() = default;

QLabel *QuadroStazione::label(int n) const { return findChild<QLabel *>(QStringLiteral("Label%1").arg(n)); }

void QuadroStazione::Form_Load() {
    Command1->setText(QStringLiteral("&ESCI"));
    Timer1->stop();
    Timer1->setInterval(cycle::kFirstIntervalMs);
    if (fileio::exists(config::kFileName)) {
        Timer1->start();
        show();
    } else {
        configurazione()->setFirstRun(true);
        configurazione()->show();
        hide();
    }

    const char *const captions[33] = {
        nullptr, nullptr, "Lettura dati meteo in corso ...", nullptr, "Condizioni attuali:", "Tendenza:",
        "T ext:", "Hrel ext:", "Dewpoint:", "Windchill:", "Vento:", "Direzione:", "Condizioni e previsioni",
        "Totali:", "24H:", "1H:", "Pressione:", "Allarme temporale:", "", "", "Stringa APRS", "Valori esterni",
        "Precipitazioni", "Valori minimi e massimi odierni", "", "", "", "", "Segnalazioni", "", "Messaggio Utente",
        "Abilita Messaggio Utente (max 20 caratteri)", "Testo"};
    for (int n = 2; n <= 32; ++n)
        if (captions[n])
            label(n)->setText(QString::fromUtf8(captions[n]));
    Label3->setText(QStringLiteral("Rel. ") + QString::fromLatin1(version::kVersionText) +
                    QStringLiteral(" - programma per radioamatori"));
    Text1->setPlainText(QString());
    Text2->setText(QString());
    Check1->setChecked(false);
    for (Indicator *shape : {Shape1, Shape2, Shape3, Shape4})
        shape->setLook(records::Look::Off);
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
        slot = new Dialog(this, *disk_);
        slot->setWindowFlag(Qt::Window);
        connect(slot, &Dialog::discarded, this, [this, dialog = slot.data()] { onDialogDiscarded(dialog); });
    }
    return slot;
}

Configurazione *QuadroStazione::configurazione() {
    if (!configurazione_) {
        Configurazione *dialog = loaded(configurazione_);
        connect(dialog, &Configurazione::confirmed, this, &QuadroStazione::onFoldersConfirmed);
        heavyWeatherFolder_ = dialog->heavyWeatherFolder().toStdString();
        connect(dialog, &Configurazione::heavyWeatherFolderChanged, this,
                [this](const QString &folder) { heavyWeatherFolder_ = folder.toStdString(); });
    }
    return configurazione_;
}

SetupParametri *QuadroStazione::setupParametri() { return loaded(setupParametri_); }
SetupPressione *QuadroStazione::setupPressione() { return loaded(setupPressione_); }
SetupInvio *QuadroStazione::setupInvio() { return loaded(setupInvio_); }

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
    if (configurazione_.data() == dialog) {
        configurazione_.clear();
        heavyWeatherFolder_.reset(); // what was typed goes with the dialog
    }
    if (setupParametri_.data() == dialog)
        setupParametri_.clear();
    if (setupPressione_.data() == dialog)
        setupPressione_.clear();
    if (setupInvio_.data() == dialog)
        setupInvio_.clear();
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
    for (QDialog *dialog : std::initializer_list<QDialog *>{configurazione_, setupParametri_, setupPressione_, setupInvio_})
        if (dialog)
            dialog->hide();
    hide();
    emit programEnded();
    QCoreApplication::quit();
}

bool QuadroStazione::eventFilter(QObject *watched, QEvent *event) {
    if (watched == label(31) && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && label(31)->rect().contains(mouse->position().toPoint())) {
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
void QuadroStazione::Invio_Diretto_Click() { bringUp(setupInvio()); }

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

station::ClockTime localNow() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(), now.date().day(), now.time().hour(), now.time().minute()};
}

} // namespace

void QuadroStazione::Timer1_Timer() {
    // With no folder known (config.kwt was unreadable when it was read, or
    // names none) the file is read again on every tick, so conversion
    // resumes by itself; a folder the user is typing in the open dialog is
    // left alone, even an empty one.
    const bool typing = configurazione_ && configurazione_->isVisible();
    if (!heavyWeatherFolder_ || (heavyWeatherFolder_->empty() && !typing)) {
        heavyWeatherFolder_ = config::readSettings(config::kFileName).heavyWeatherFolder;
        // A hidden dialog loaded from the unreadable file shows the folder too.
        if (configurazione_ && !heavyWeatherFolder_->empty() && configurazione_->heavyWeatherFolder().isEmpty())
            configurazione_->Form_Load();
    }
    cycle::TickInputs in;
    in.heavyWeatherFolder = *heavyWeatherFolder_;
    in.configPath = config::kFileName;
    in.now = clock_ ? clock_() : localNow();
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
    if (outcome.gate == cycle::Gate::Converted && lineEnd != std::string::npos)
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
}

} // namespace ui
