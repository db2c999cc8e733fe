// The main window's dialogs: each exists once, is loaded on first use and
// dropped unsaved when closed through its frame.
#include "ui/QuadroStazione.h"

#include <QTimer>

#include "ui/Configurazione.h"
#include "ui/SetupInvio.h"
#include "ui/SetupParametri.h"
#include "ui/SetupPressione.h"

namespace ui {

void QuadroStazione::bringUp(QWidget *window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// Loading a dialog runs its Form_Load.
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
    tickTimer_->setInterval(cycle::kFirstIntervalMs);
    tickTimer_->start();
}

// Its next use loads it afresh from the file.
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

} // namespace ui
