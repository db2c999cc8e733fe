// "Setup Parametri": which weather text the APRS comment carries.
#include "ui/SetupParametri.h"

#include "settings/config.h"

namespace ui {
namespace {

const OptionDialogDesign kDesign{
    "Setup_Parametri",
    "Setup Parametri",
    "Configurazione stringa APRS",
    0,
    {{"Invia previsione meteo", QRect(24, 48, 313, 17)},
     {"Invia situazione locale", QRect(24, 80, 313, 17)},
     {"Non inviare condizioni meteo", QRect(24, 112, 313, 17)}},
    QSize(356, 192),
    QRect(0, 8, 361, 25),
    QRect(88, 160, 81, 25),
    QRect(200, 160, 81, 25),
};

} // namespace

SetupParametri::SetupParametri(QWidget *parent, const io::Disk &disk) : OptionDialog(kDesign, parent, disk) {}

} // namespace ui
