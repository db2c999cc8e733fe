#pragma once
// "Invio diretto": the station's callsign, position and path, and the two
// direct sends of the weather report (KISS TNC, APRS-IS), saved in
// invio.kwt beside config.kwt. OK refuses what does not validate with an
// Italian message and keeps the file as it was.

#include <QDialog>

#include "io/file_io.h"
#include "settings/send_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace net {
class SettingsCheck;
}

namespace ui {

class SetupInvio : public QDialog {
    Q_OBJECT
public:
    // OK writes the file through `disk`.
    explicit SetupInvio(QWidget *parent = nullptr, const io::Disk &disk = io::realDisk());

signals:
    // Closed through the window frame: the owner drops the dialog unsaved.
    void discarded();

public slots:
    void Form_Load();
    void OKButton_Click();
    void CancelButton_Click();
    void Verifica_Click();

protected:
    void reject() override { CancelButton_Click(); }
    void closeEvent(QCloseEvent *event) override;

private:
    void showPosition();
    void showCheck(const QString &lines);
    settings::SendTexts onScreen() const;
    QLineEdit *field(const char *objectName);

    QLineEdit *callsign_, *latitude_, *longitude_, *path_;
    QLabel *position_;
    QLabel *damage_; // the lines of a damaged invio.kwt
    QCheckBox *kissEnabled_;
    QLineEdit *kissHost_, *kissPort_, *kissInterval_;
    QCheckBox *aprsIsEnabled_;
    QLineEdit *aprsIsHost_, *aprsIsPort_, *passcode_, *aprsIsInterval_;
    QPushButton *ok_, *cancel_, *verify_;
    QLabel *checkOutcome_;
    net::SettingsCheck *check_;
    const io::Disk &disk_;
};

} // namespace ui
