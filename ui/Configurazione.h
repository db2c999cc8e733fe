#pragma once
// The working-folders dialog "Configurazione File". Each folder's list and
// text box show the same folder; ESCI saves both in config.kwt, which the
// next tick reads, after a warning when they cannot work as they stand.

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
    explicit Configurazione(QWidget *parent = nullptr, const io::Disk &disk = io::realDisk());


    // On a first run closing the dialog ends the program, so Esc or the
    // frame first ask whether the user means it.
    void setFirstRun(bool on) { firstRun_ = on; }

signals:
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
    // The lists opened at the box's folder and showing it selected when it
    // exists, else showing none selected.
    static void placeLists(DriveList *drive, FolderList *dir, const QString &folder);
    QString doubtsAboutFolders() const;

    QLabel *Label1;
    QLabel *Label2;
    DriveList *Drive1;
    FolderList *Dir1;
    QLineEdit *Text1;
    DriveList *Drive2;
    FolderList *Dir2;
    QLineEdit *Text2;
    QPushButton *Command2;
    const io::Disk &disk_;
    bool firstRun_ = false;
};

} // namespace ui
