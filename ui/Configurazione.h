#pragma once
// The working-folders dialog "Configurazione File". While the program runs it
// also holds the Heavy Weather folder in effect: every change of its Text1 is
// told at once, so a folder picked or typed here is used by the next tick,
// before it is saved.

#include <QDialog>

#include "io/file_io.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {
class DriveList;
class FolderList;

class Configurazione : public QDialog {
    Q_OBJECT
public:
    explicit Configurazione(QWidget *parent = nullptr, const fileio::Disk &disk = fileio::realDisk());

    QString heavyWeatherFolder() const;

    // On a first run closing the dialog ends the program, so Esc or the
    // frame first ask whether the user means it.
    void setFirstRun(bool on) { firstRun_ = on; }

signals:
    // Text1 changed: typed, picked from the lists, or loaded.
    void heavyWeatherFolderChanged(const QString &folder);
    // ESCI saved both folders.
    void confirmed();
    // Closed through the window frame: the owner drops the dialog.
    void discarded();

public slots:
    void Form_Load();
    void Drive1_Change(const QString &root);
    void Dir1_Change(const QString &path);
    void Drive2_Change(const QString &root);
    void Dir2_Change(const QString &path);
    void Command2_Click();

protected:
    // Esc goes the way of the frame's close button, not a silent hide.
    void reject() override { close(); }
    void closeEvent(QCloseEvent *event) override;

private:
    void placeLists(DriveList *drive, FolderList *dir, const QString &folder);

    QLabel *Label1;
    QLabel *Label2;
    DriveList *Drive1;
    FolderList *Dir1;
    QLineEdit *Text1;
    DriveList *Drive2;
    FolderList *Dir2;
    QLineEdit *Text2;
    QPushButton *Command2;
    const fileio::Disk &disk_;
    bool firstRun_ = false;
};

} // namespace ui
