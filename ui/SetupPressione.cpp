// "Setup Pressione": absolute or relative pressure.
#include "ui/SetupPressione.h"

#include "settings/config.h"

namespace ui {
namespace {

const OptionDialogDesign kDesign{
    "Setup_Pressione",
    "Setup Pressione",
    "Selezione Tipo Pressione",
    1,
    {{"Pressione Assoluta", QRect(24, 56, 225, 17)}, {"Pressione Relativa", QRect(24, 88, 225, 17)}},
    QSize(312, 173),
    QRect(0, 8, 313, 25),
    QRect(72, 136, 81, 25),
    QRect(176, 136, 81, 25),
};

} // namespace

SetupPressione::SetupPressione(QWidget *parent, const io::Disk &disk) : OptionDialog(kDesign, parent, disk) {}

} // namespace ui
