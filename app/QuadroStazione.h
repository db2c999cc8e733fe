#pragma once
// The main window: start-up, the display controls that the cycle fills, the
// menus that open the dialogs, the exits and the user message field.

#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "cycle/tick.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QAction;
class QMenu;
class QDialog;

namespace ui {
class Configurazione;
class Indicator;
class OptionDialog;
class SetupParametri;
class StatusLine;
class SetupPressione;

class QuadroStazione : public QMainWindow {
    Q_OBJECT
public:
    explicit QuadroStazione(QWidget *parent = nullptr);
    ~QuadroStazione() override;

    // The working-folders dialog, loaded (hidden) on first use.
    Configurazione *configurazione();
    bool configurazioneLoaded() const { return !configurazione_.isNull(); }
    // The option dialogs, loaded (hidden) on first use.
    SetupParametri *setupParametri();
    bool setupParametriLoaded() const { return !setupParametri_.isNull(); }
    SetupPressione *setupPressione();
    bool setupPressioneLoaded() const { return !setupPressione_.isNull(); }

    QLabel *label(int n) const { return labels_[n]; }

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10, *Label11,
        *Label12, *Label13, *Label14, *Label15, *Label16, *Label17, *Label18, *Label19, *Label20, *Label21,
        *Label22, *Label23, *Label24, *Label25, *Label26, *Label27, *Label28, *Label29, *Label30, *Label31,
        *Label32;
    QPlainTextEdit *Text1;
    QLineEdit *Text2;
    QCheckBox *Check1;
    QPushButton *Command1;
    QTimer *Timer1;
    Indicator *Shape1, *Shape2, *Shape3, *Shape4;
    QMenu *File, *Parametri;
    QAction *Cartelle, *Esci, *Stringa_APRS, *Pressione;

    // The status bar's lasting fault message; each part that can fail
    // reports its problems there under a name of its own.
    StatusLine *statusLine() const { return statusLine_; }

    // The release text "1.1.3 W".
    QString versionText;

    // The clock the cycle reads; tests set their own.
    using Clock = std::function<cycle::ClockTime()>;
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
    void showTick(const cycle::TickOutcome &outcome);
    void onDialogDiscarded(QDialog *dialog);
    void showOptions(OptionDialog *dialog);
    template <class Dialog> Dialog *loaded(QPointer<Dialog> &slot);

    QLabel *labels_[33] = {};
    QPointer<Configurazione> configurazione_;
    QPointer<SetupParametri> setupParametri_;
    QPointer<SetupPressione> setupPressione_;
    StatusLine *statusLine_ = nullptr;
    QLabel *notWritten_ = nullptr; // beside Text1
    bool ending_ = false;
    Clock clock_;
    cycle::ConversionCycle cycle_;
};

} // namespace ui
