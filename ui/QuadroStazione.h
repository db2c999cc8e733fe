#pragma once
// The main window: start-up, the display controls that the cycle fills, the
// menus that open the dialogs, the exits and the user message field. Tests
// find its controls by their object names (cycle/window_roles.h).
//
// Its pieces, by job: QuadroStazione.cpp (the controls, start-up, exits, the
// user message), QuadroStazioneLayout.cpp (where the controls stand),
// QuadroStazioneMenus.cpp (the menus and what each item opens),
// QuadroStazioneDialogs.cpp (the dialogs' lifetimes),
// QuadroStazioneStatusBar.cpp (the lasting problems, the direct send's
// wiring), QuadroStazioneTick.cpp (a tick and its view applied).

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "cycle/event_log.h"
#include "cycle/tick.h"
#include "cycle/window_roles.h"
#include "cycle/window_view.h"
#include "io/file_io.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QDialog;

namespace net {
class DirectSend;
}

namespace ui {
class Configurazione;
class Indicator;
class OptionDialog;
class RegistroEventi;
class SetupInvio;
class StatusLine;
class SetupParametri;
class SetupPressione;

class QuadroStazione : public QMainWindow {
    Q_OBJECT
public:
    // Every file the window and its dialogs write goes through `disk`.
    explicit QuadroStazione(QWidget *parent = nullptr, const io::Disk &disk = io::realDisk());
    ~QuadroStazione() override;

    // The dialogs, each loaded (hidden) on first use.
    Configurazione *configurazione();
    SetupParametri *setupParametri();
    SetupPressione *setupPressione();
    SetupInvio *setupInvio();

    // The clock the cycle reads; tests set their own.
    using Clock = std::function<station::ClockTime()>;
    void setClock(Clock clock) { clock_ = std::move(clock); }

signals:
    // The program is ending (ESCI, Esci, the window frame).
    void programEnded();

public slots:
    void Form_Load();
    void Command1_Click();
    void Esci_Click();
    void Cartelle_Click();
    void Stringa_APRS_Click();
    void Pressione_Click();
    void Invio_Diretto_Click();
    void Registro_Eventi_Click();
    void Text2_Change();
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent *event) override;
    // A click on the words beside the message's check box ticks it, as on
    // the box itself.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The constructor's steps, in their order.
    void createControls();
    void createMenus();
    void createStatusBar();
    void connectDirectSend();
    void layOutControls();
    void connectControls();

    void endProgram();
    void onFoldersConfirmed();
    void applyView(const cycle::WindowView &view);
    void showProblems(const cycle::StatusProblems &status);
    // The status line's problems, as they stand now, to the event record.
    void recordProblems();
    station::ClockTime now() const;
    void onDialogDiscarded(QDialog *dialog);
    void showOptions(OptionDialog *dialog);
    static void bringUp(QWidget *window);
    template <class Dialog> Dialog *loaded(QPointer<Dialog> &slot);
    QLabel *label(cycle::Role role) const { return labels_[static_cast<std::size_t>(role)]; }

    std::array<QLabel *, cycle::kLabelRoles> labels_{};
    QPlainTextEdit *aprsLines_;   // the two lines of my_meteo.txt
    QLineEdit *userMessage_;
    QCheckBox *messageEnabled_;
    QPushButton *exitButton_;
    QTimer *tickTimer_;
    std::array<Indicator *, 4> extremeLamps_{}; // beside the day's extremes, top to bottom
    StatusLine *statusLine_;
    QLabel *notWritten_; // beside the APRS lines
    QList<QWidget *> readingPanels_; // greyed while the readings are old

    QPointer<Configurazione> configurazione_;
    QPointer<SetupParametri> setupParametri_;
    QPointer<SetupPressione> setupPressione_;
    QPointer<SetupInvio> setupInvio_;
    QPointer<RegistroEventi> registroEventi_;
    net::DirectSend *directSend_;
    bool ending_ = false;
    Clock clock_;
    const io::Disk *disk_;
    cycle::ConversionCycle cycle_;
    cycle::EventLog events_;
};

} // namespace ui
