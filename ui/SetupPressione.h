#pragma once
// "Setup Pressione": whether the absolute or the relative pressure is shown
// and sent (line 2 of config.kwt).

#include "ui/OptionDialog.h"

namespace ui {

class SetupPressione : public OptionDialog {
    Q_OBJECT
public:
    explicit SetupPressione(QWidget *parent = nullptr, const io::Disk &disk = io::realDisk());
};

} // namespace ui
