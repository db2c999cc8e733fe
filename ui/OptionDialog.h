#pragma once
// What the two option dialogs share: each edits one choice line of
// config.kwt through one option button per code. The file is read when the
// dialog loads and again right before every save, never kept in memory, so a
// line saved meanwhile by the other dialog is carried over, not undone.

#include <QDialog>
#include <QRect>
#include <QSize>

#include <vector>

#include "io/file_io.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace ui {

// Everything by which the dialogs differ. Option n (counted from 1) stands
// for the code "n"; geometries are client-area pixels at 96 dots per inch.
struct OptionDialogDesign {
    struct Option {
        const char *caption;
        QRect geometry;
    };
    const char *objectName;
    const char *windowCaption;
    const char *title; // Label1
    int lineIndex;     // 0 for the APRS choice, 1 for the pressure choice
    std::vector<Option> options;
    QSize clientSize;
    QRect titleGeometry;
    QRect okGeometry;
    QRect cancelGeometry;
};

class OptionDialog : public QDialog {
    Q_OBJECT
public:
    // Warns when config.kwt exists but cannot be read: the choice shown may
    // not be the saved one, and OK cannot save until the file reads again.
    void tellIfUnreadable();
    // Shows the choice saved in config.kwt, so that a choice left by Annulla
    // or Esc is not on view at the next opening while the program uses another.
    // False when the line was read and found bad.
    bool showSavedChoice();

signals:
    // Closed through the window frame: the owner drops the dialog unsaved.
    void discarded();

public slots:
    void Form_Load();
    void OKButton_Click();
    void CancelButton_Click();

protected:
    // Loads the dialog (runs Form_Load) without showing it.
    OptionDialog(const OptionDialogDesign &design, QWidget *parent, const io::Disk &disk);

    // Esc is Annulla: it hides the dialog unsaved.
    void reject() override { CancelButton_Click(); }
    void closeEvent(QCloseEvent *event) override;

private:
    // The option that is on, from 1; 1 if none is.
    int chosenOption() const;

    QLabel *Label1;
    QPushButton *OKButton;
    QPushButton *CancelButton;
    const OptionDialogDesign &design_;
    const io::Disk &disk_;
    QButtonGroup *group_;
    std::vector<QRadioButton *> options_;
};

} // namespace ui
