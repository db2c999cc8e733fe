// The main window's menus, and what each item opens.
#include "ui/QuadroStazione.h"

#include <QMenuBar>

#include "ui/Configurazione.h"
#include "ui/Informazioni.h"
#include "ui/OptionDialog.h"
#include "ui/RegistroEventi.h"
#include "ui/SetupInvio.h"
#include "ui/SetupParametri.h"
#include "ui/SetupPressione.h"

namespace ui {
namespace {

QMenu *menu(QMenuBar *bar, const char *caption, const char *name) {
    QMenu *menu = bar->addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction *menuItem(QMenu *menu, const char *caption, const char *name) {
    QAction *action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

void QuadroStazione::createMenus() {
    QMenu *file = menu(menuBar(), "&File", "File");
    connect(menuItem(file, "&Cartelle di lavoro", "Cartelle"), &QAction::triggered, this,
            &QuadroStazione::Cartelle_Click);
    connect(menuItem(file, "&Registro eventi", "Registro_Eventi"), &QAction::triggered, this,
            &QuadroStazione::Registro_Eventi_Click);
    connect(menuItem(file, "&Esci", "Esci"), &QAction::triggered, this, &QuadroStazione::Esci_Click);
    QMenu *parametri = menu(menuBar(), "&Parametri", "Parametri");
    connect(menuItem(parametri, "&Stringa APRS", "Stringa_APRS"), &QAction::triggered, this,
            &QuadroStazione::Stringa_APRS_Click);
    connect(menuItem(parametri, "&Pressione", "Pressione"), &QAction::triggered, this,
            &QuadroStazione::Pressione_Click);
    connect(menuItem(parametri, "&Invio diretto", "Invio_Diretto"), &QAction::triggered, this,
            &QuadroStazione::Invio_Diretto_Click);
    QMenu *help = menu(menuBar(), "&?", "Aiuto");
    connect(menuItem(help, "&Informazioni su meteo-aprs", "Informazioni_Su"), &QAction::triggered, this, [this] {
        // One at a time, read afresh: the folders may have changed meanwhile.
        delete findChild<Informazioni *>();
        auto *about = new Informazioni(this);
        about->show();
        about->activateWindow();
    });
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

} // namespace ui
