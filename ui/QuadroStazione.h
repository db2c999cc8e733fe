#pragma once
// The main window: start-up, the display controls that the cycle fills, the
// menus that open the dialogs, the exits and the user message field. Tests
// find its controls by their object names.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>

#include "cycle/event_log.h"
#include "cycle/tick.h"
#include "cycle/window_view.h"
#include "io/file_io.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QAction;
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
    explicit QuadroStazione(QWidget *parent = nullptr, const fileio::Disk &disk = fileio::realDisk());
    ~QuadroStazione() override;

    // The dialogs, each loaded (hidden) on first use.
    Configurazione *configurazione();
    SetupParametri *setupParametri();
    SetupPressione *setupPressione();
    SetupInvio *setupInvio();

    // The status bar's lasting fault message; each part that can fail
    // reports its problems there under a name of its own.
    StatusLine *statusLine() const { return statusLine_; }

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
    // A click on the words beside Check1 ticks it, as on the box itself.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void endProgram();
    void onFoldersConfirmed();
    void applyView(const cycle::WindowView &view);
    // The status line's problems, as they stand now, to the event record.
    void recordProblems();
    station::ClockTime now() const;
    void onDialogDiscarded(QDialog *dialog);
    void showOptions(OptionDialog *dialog);
    template <class Dialog> Dialog *loaded(QPointer<Dialog> &slot);
    QLabel *label(int n) const;

    QLabel *Label1, *Label2, *Label3;
    QPlainTextEdit *Text1;
    QLineEdit *Text2;
    QCheckBox *Check1;
    QPushButton *Command1;
    QTimer *Timer1;
    Indicator *Shape1, *Shape2, *Shape3, *Shape4;
    StatusLine *statusLine_;
    QLabel *notWritten_; // beside Text1
    QList<QWidget *> readingPanels_; // greyed while the readings are old

    QPointer<Configurazione> configurazione_;
    QPointer<SetupParametri> setupParametri_;
    QPointer<SetupPressione> setupPressione_;
    QPointer<SetupInvio> setupInvio_;
    QPointer<RegistroEventi> registroEventi_;
    net::DirectSend *directSend_;
    bool ending_ = false;
    Clock clock_;
    const fileio::Disk *disk_;
    cycle::ConversionCycle cycle_;
    cycle::EventLog events_;
};

} // namespace ui
