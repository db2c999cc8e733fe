#pragma once
// "Setup Parametri": which weather text the APRS comment carries (line 1 of
// config.kwt).

#include "ui/OptionDialog.h"

namespace ui {

class SetupParametri : public OptionDialog {
    Q_OBJECT
public:
    explicit SetupParametri(QWidget *parent = nullptr, const io::Disk &disk = io::realDisk());
};

} // namespace ui
