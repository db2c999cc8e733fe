// The main window: start-up, menus and exits, and each tick shown as built.
#include "ui/QuadroStazione.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "net/DirectSend.h"
#include "settings/config.h"
#include "station/version.h"
#include "ui/CharacterLimit.h"
#include "ui/Configurazione.h"
#include "ui/Indicator.h"
#include "ui/Informazioni.h"
#include "ui/QtText.h"
#include "ui/RegistroEventi.h"
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
    : QMainWindow(parent), disk_(&disk), cycle_(disk), events_(disk) {
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
    for (Indicator *shape : {Shape1, Shape2, Shape3, Shape4})
        shape->setToolTip(QStringLiteral("Verde: l'ultima lettura ha raggiunto il massimo di oggi\n"
                                         "Rossa: l'ultima lettura ha raggiunto il minimo di oggi"));

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File"));
    QAction *cartelle = menuItem(file, "&Cartelle di lavoro", "Cartelle");
    QAction *eventi = menuItem(file, "&Registro eventi", "Registro_Eventi");
    QAction *esci = menuItem(file, "&Esci", "Esci");
    QMenu *parametri = menuBar()->addMenu(QStringLiteral("&Parametri"));
    parametri->setObjectName(QStringLiteral("Parametri"));
    QAction *stringaAprs = menuItem(parametri, "&Stringa APRS", "Stringa_APRS");
    QAction *pressione = menuItem(parametri, "&Pressione", "Pressione");
    QAction *invioDiretto = menuItem(parametri, "&Invio diretto", "Invio_Diretto");
    QMenu *aiuto = menuBar()->addMenu(QStringLiteral("&?"));
    aiuto->setObjectName(QStringLiteral("Aiuto"));
    connect(menuItem(aiuto, "&Informazioni su meteo-aprs", "Informazioni_Su"), &QAction::triggered, this, [this] {
        // One at a time, read afresh: the folders may have changed meanwhile.
        delete findChild<Informazioni *>();
        auto *about = new Informazioni(this);
        about->show();
        about->activateWindow();
    });
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusLine_ = new StatusLine(this);
    statusBar()->addPermanentWidget(statusLine_, 1);
    directSend_ = new net::DirectSend(this);
    directSend_->setObjectName(QStringLiteral("directSend"));
    // The sends' problems join the cycle's in the one lasting line, which
    // cuts a long message rather than widen the window.
    connect(directSend_, &net::DirectSend::problemsChanged, statusLine_,
            [this](const QStringList &problems) {
                statusLine_->setProblems(QStringLiteral("invio"), problems);
                recordProblems();
            });
    auto *lastSent = new QLabel(this);
    lastSent->setObjectName(QStringLiteral("ultimoInvio"));
    lastSent->setStyleSheet(QStringLiteral("color: #555555;"));
    lastSent->hide();
    statusBar()->addPermanentWidget(lastSent);
    connect(directSend_, &net::DirectSend::lastSentChanged, lastSent, [lastSent](const QString &text) {
        lastSent->setText(text);
        lastSent->setVisible(!text.isEmpty());
    });

    buildLayout();
    label(31)->installEventFilter(this);
    Text2->setValidator(new CharacterLimit(kUserMessageLimit, Text2));

    connect(Command1, &QPushButton::clicked, this, &QuadroStazione::Command1_Click);
    connect(esci, &QAction::triggered, this, &QuadroStazione::Esci_Click);
    connect(cartelle, &QAction::triggered, this, &QuadroStazione::Cartelle_Click);
    connect(eventi, &QAction::triggered, this, &QuadroStazione::Registro_Eventi_Click);
    connect(stringaAprs, &QAction::triggered, this, &QuadroStazione::Stringa_APRS_Click);
    connect(pressione, &QAction::triggered, this, &QuadroStazione::Pressione_Click);
    connect(invioDiretto, &QAction::triggered, this, &QuadroStazione::Invio_Diretto_Click);
    connect(Text2, &QLineEdit::textChanged, this, &QuadroStazione::Text2_Change);
    connect(Timer1, &QTimer::timeout, this, &QuadroStazione::Timer1_Timer);
}

QuadroStazione::~QuadroStazione() = default;

QLabel *QuadroStazione::label(int n) const { return findChild<QLabel *>(QStringLiteral("Label%1").arg(n)); }

void QuadroStazione::Form_Load() {
    events_.programStarted(now(), version::kVersionText);
    Command1->setText(QStringLiteral("&ESCI"));
    Timer1->stop();
    Timer1->setInterval(cycle::kFirstIntervalMs);
    if (fileio::exists(settings::kConfigFileName)) {
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
    }
    return configurazione_;
}

SetupParametri *QuadroStazione::setupParametri() { return loaded(setupParametri_); }
SetupPressione *QuadroStazione::setupPressione() { return loaded(setupPressione_); }
SetupInvio *QuadroStazione::setupInvio() { return loaded(setupInvio_); }

void QuadroStazione::onFoldersConfirmed() {
    configurazione_->setFirstRun(false);
    show();
    // The saved folders are taken at once, and a new search for currdat.lst
    // gets its quick tries.
    Timer1->setInterval(cycle::kFirstIntervalMs);
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
    events_.programEnded(now());
    for (QDialog *dialog : std::initializer_list<QDialog *>{configurazione_, setupParametri_, setupPressione_, setupInvio_,
                                                            registroEventi_})
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

void QuadroStazione::Cartelle_Click() {
    // Opened anew, it shows config.kwt as it is now, whoever changed it.
    if (configurazione_ && !configurazione_->isVisible())
        configurazione_->Form_Load();
    bringUp(configurazione());
}
void QuadroStazione::Stringa_APRS_Click() { showOptions(setupParametri()); }
void QuadroStazione::Pressione_Click() { showOptions(setupPressione()); }
void QuadroStazione::Invio_Diretto_Click() {
    SetupInvio *dialog = setupInvio();
    if (!dialog->isVisible())
        dialog->Form_Load(); // what Annulla or Esc left is not what is in effect
    bringUp(dialog);
}

void QuadroStazione::Registro_Eventi_Click() {
    if (!registroEventi_) {
        registroEventi_ = new RegistroEventi(this);
        registroEventi_->setWindowFlag(Qt::Window);
    }
    registroEventi_->Form_Load();
    bringUp(registroEventi_);
}

void QuadroStazione::showOptions(OptionDialog *dialog) {
    const bool opening = !dialog->isVisible();
    if (opening)
        dialog->showSavedChoice();
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

} // namespace ui
