#pragma once
// "Informazioni su meteo-aprs": the version, the licence, the Qt in use and
// where the program keeps its files, for a user reporting a problem.

#include <QDialog>

namespace ui {

class Informazioni : public QDialog {
    Q_OBJECT
public:
    // Reads the folders as they stand now: the working folder and
    // config.kwt's output folder.
    explicit Informazioni(QWidget *parent = nullptr);
};

} // namespace ui
