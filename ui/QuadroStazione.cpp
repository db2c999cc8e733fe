// The main window: its controls, start-up, exits and the user message.
#include "ui/QuadroStazione.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "net/DirectSend.h"
#include "settings/config.h"
#include "station/version.h"
#include "ui/CharacterLimit.h"
#include "ui/Configurazione.h"
#include "ui/Indicator.h"
#include "ui/RegistroEventi.h"
#include "ui/SetupInvio.h"
#include "ui/SetupParametri.h"
#include "ui/SetupPressione.h"

namespace ui {
namespace {

constexpr int kUserMessageLimit = 20;

template <class Widget> Widget *named(QWidget *parent, const QString &name) {
    auto *widget = new Widget(parent);
    widget->setObjectName(name);
    return widget;
}

template <class Widget> Widget *named(QWidget *parent, cycle::Role role) {
    return named<Widget>(parent, QString::fromLatin1(cycle::objectName(role)));
}

QString atRest(cycle::Role role) { return QString::fromUtf8(cycle::roleInfo(role).atRest); }

} // namespace

QuadroStazione::QuadroStazione(QWidget *parent, const io::Disk &disk)
    : QMainWindow(parent), disk_(&disk), cycle_(disk), events_(disk) {
    setObjectName(QStringLiteral("Quadro_Stazione"));
    setWindowTitle(QStringLiteral("Quadro_Stazione"));
    createControls();
    createMenus();
    createStatusBar();
    connectDirectSend();
    layOutControls();
    connectControls();
}

QuadroStazione::~QuadroStazione() = default;

void QuadroStazione::createControls() {
    for (std::size_t n = 0; n < cycle::kLabelRoles; ++n)
        labels_[n] = named<QLabel>(this, cycle::kWindowRoles[n].role);
    // The layout sizes the window by the title, so it is there from the start.
    label(cycle::Role::Title)->setText(atRest(cycle::Role::Title));

    aprsLines_ = named<QPlainTextEdit>(this, cycle::Role::AprsLines);
    aprsLines_->setReadOnly(true);
    userMessage_ = named<QLineEdit>(this, cycle::Role::UserMessage);
    messageEnabled_ = named<QCheckBox>(this, cycle::Role::MessageCheck);
    exitButton_ = named<QPushButton>(this, cycle::Role::Exit);
    tickTimer_ = new QTimer(this);
    tickTimer_->setObjectName(QStringLiteral("Timer1"));
    // A coarse timer would stretch 59.5 s to a whole minute and miss minutes.
    tickTimer_->setTimerType(Qt::PreciseTimer);
    for (std::size_t i = 0; i < extremeLamps_.size(); ++i) {
        extremeLamps_[i] = named<Indicator>(this, QStringLiteral("Shape%1").arg(i + 1));
        extremeLamps_[i]->setToolTip(QStringLiteral("Verde: l'ultima lettura ha raggiunto il massimo di oggi\n"
                                                    "Rossa: l'ultima lettura ha raggiunto il minimo di oggi"));
    }
}

void QuadroStazione::connectControls() {
    label(cycle::Role::MessageEnable)->installEventFilter(this);
    userMessage_->setValidator(new CharacterLimit(kUserMessageLimit, userMessage_));
    connect(exitButton_, &QPushButton::clicked, this, &QuadroStazione::Command1_Click);
    connect(userMessage_, &QLineEdit::textChanged, this, &QuadroStazione::Text2_Change);
    connect(tickTimer_, &QTimer::timeout, this, &QuadroStazione::Timer1_Timer);
}

void QuadroStazione::Form_Load() {
    events_.programStarted(now(), version::kVersionText);
    exitButton_->setText(atRest(cycle::Role::Exit));
    tickTimer_->stop();
    tickTimer_->setInterval(cycle::kFirstIntervalMs);
    if (io::exists(settings::kConfigFileName)) {
        tickTimer_->start();
        show();
    } else {
        configurazione()->setFirstRun(true);
        configurazione()->show();
        hide();
    }

    for (std::size_t n = 0; n < cycle::kLabelRoles; ++n)
        if (cycle::kWindowRoles[n].atRest)
            labels_[n]->setText(QString::fromUtf8(cycle::kWindowRoles[n].atRest));
    const cycle::RoleInfo &release = cycle::roleInfo(cycle::Role::Release);
    label(cycle::Role::Release)->setText(QString::fromUtf8(release.prefix) + QString::fromLatin1(version::kVersionText) +
                                         QString::fromUtf8(release.unit));
    aprsLines_->setPlainText(QString());
    userMessage_->setText(QString());
    messageEnabled_->setChecked(false);
    for (Indicator *lamp : extremeLamps_)
        lamp->setLook(records::Look::Off);
}

void QuadroStazione::Command1_Click() { endProgram(); }
void QuadroStazione::Esci_Click() { endProgram(); }

void QuadroStazione::endProgram() {
    if (ending_)
        return;
    ending_ = true;
    tickTimer_->stop();
    events_.programEnded(now());
    for (QDialog *dialog : std::initializer_list<QDialog *>{configurazione_, setupParametri_, setupPressione_, setupInvio_,
                                                            registroEventi_})
        if (dialog)
            dialog->hide();
    hide();
    emit programEnded();
    QCoreApplication::quit();
}

void QuadroStazione::closeEvent(QCloseEvent *event) {
    event->accept();
    endProgram();
}

bool QuadroStazione::eventFilter(QObject *watched, QEvent *event) {
    QLabel *words = label(cycle::Role::MessageEnable);
    if (watched == words && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && words->rect().contains(mouse->position().toPoint())) {
            messageEnabled_->setFocus(Qt::MouseFocusReason);
            messageEnabled_->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void QuadroStazione::Text2_Change() {
    // The field's own limit already keeps typing and pasting within 20
    // characters with the cursor in place; this is the last word on any
    // text that reaches the field some other way. The limit counts
    // characters, not UTF-16 units.
    const QList<uint> chars = userMessage_->text().toUcs4();
    if (chars.size() > kUserMessageLimit)
        userMessage_->setText(
            QString::fromUcs4(reinterpret_cast<const char32_t *>(chars.constData()), kUserMessageLimit));
}

} // namespace ui
