#pragma once
// The drive list and the folder list of the working-folders dialog. The
// folder list shows the chain of folders down to the current one, then its
// subfolders; double-click or Enter opens a folder, which changes the path.

#include <QComboBox>
#include <QListWidget>
#include <QString>

namespace ui {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);
    // The root of the drive that is chosen, in the platform's form ("/", "C:/").
    QString drive() const;
    // Chooses the drive that holds `path`, without raising driveChanged.
    void showDriveOf(const QString &path);
    void refresh();

signals:
    // The user chose another drive that is ready.
    void driveChanged(const QString &root);
    // The user chose a drive that is not ready; the previous one is back.
    void driveNotReady(const QString &root);

private:
    void onActivated(int index);
    int previous_ = 0;
};

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);
    QString path() const { return path_; }
    // Moves to the folder and raises pathChanged when it differs.
    void setPath(const QString &path);
    // Moves without raising pathChanged.
    void showPath(const QString &path);

signals:
    void pathChanged(const QString &path);
    // A folder was selected: clicked, reached with the arrow keys, or opened.
    void folderSelected(const QString &folder);

private:
    void populate();
    QString path_;
};

// The path in the platform's own form: "C:\Dati" on Windows, "/home/x" elsewhere.
QString displayPath(const QString &path);

} // namespace ui
