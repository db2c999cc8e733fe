// The "Invio diretto" dialog: editing invio.kwt.
#include "ui/SetupInvio.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

#include "net/DirectSend.h"
#include "ui/Colours.h"
#include "ui/Messages.h"
#include "ui/QtText.h"
#include "send/packet.h"
#include "settings/send_settings.h"

namespace ui {

namespace {
// The file's line names by the names of their fields.
QHash<QString, QString> fieldNames() {
    return {{"nominativo", "Nominativo"},     {"latitudine", "Latitudine"},      {"longitudine", "Longitudine"},
            {"percorso", "Percorso"},         {"kiss_host", "KissHost"},         {"kiss_porta", "KissPorta"},
            {"kiss_intervallo", "KissIntervallo"}, {"aprsis_server", "AprsIsServer"}, {"aprsis_porta", "AprsIsPorta"},
            {"aprsis_passcode", "AprsIsPasscode"}, {"aprsis_intervallo", "AprsIsIntervallo"}};
}
} // namespace

QLineEdit *SetupInvio::field(const char *objectName) {
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

SetupInvio::SetupInvio(QWidget *parent, const io::Disk &disk) : QDialog(parent), disk_(disk) {
    setObjectName(QStringLiteral("Setup_Invio"));
    setWindowTitle(QStringLiteral("Invio diretto"));
    setModal(false);

    callsign_ = field("Nominativo");
    callsign_->setPlaceholderText(QStringLiteral("es. IZ1ABC-13"));
    latitude_ = field("Latitudine");
    latitude_->setPlaceholderText(QStringLiteral("gradi decimali, es. 45.5083"));
    longitude_ = field("Longitudine");
    longitude_->setPlaceholderText(QStringLiteral("gradi decimali, es. 9.1667"));
    position_ = new QLabel(this);
    position_->setObjectName(QStringLiteral("Posizione"));
    path_ = field("Percorso");
    auto *station = new QGroupBox(QStringLiteral("Stazione"), this);
    auto *stationForm = new QFormLayout(station);
    stationForm->addRow(QStringLiteral("Nominativo-SSID:"), callsign_);
    stationForm->addRow(QStringLiteral("Latitudine (sud negativa):"), latitude_);
    stationForm->addRow(QStringLiteral("Longitudine (ovest negativa):"), longitude_);
    stationForm->addRow(QStringLiteral("Posizione APRS:"), position_);
    stationForm->addRow(QStringLiteral("Percorso digipeater:"), path_);

    kissEnabled_ = new QCheckBox(QStringLiteral("Invia a un TNC KISS via TCP (Dire Wolf, SoundModem)"), this);
    kissEnabled_->setObjectName(QStringLiteral("KissAttivo"));
    kissHost_ = field("KissHost");
    kissPort_ = field("KissPorta");
    kissInterval_ = field("KissIntervallo");
    auto *kiss = new QGroupBox(QStringLiteral("TNC KISS"), this);
    auto *kissForm = new QFormLayout(kiss);
    kissForm->addRow(kissEnabled_);
    kissForm->addRow(QStringLiteral("Indirizzo:"), kissHost_);
    kissForm->addRow(QStringLiteral("Porta:"), kissPort_);
    kissForm->addRow(QStringLiteral("Intervallo (minuti, almeno 5):"), kissInterval_);

    aprsIsEnabled_ = new QCheckBox(QStringLiteral("Invia ad APRS-IS"), this);
    aprsIsEnabled_->setObjectName(QStringLiteral("AprsIsAttivo"));
    aprsIsHost_ = field("AprsIsServer");
    aprsIsPort_ = field("AprsIsPorta");
    passcode_ = field("AprsIsPasscode");
    passcode_->setPlaceholderText(QStringLiteral("vuoto o -1: invio non verificato"));
    aprsIsInterval_ = field("AprsIsIntervallo");
    auto *aprsIs = new QGroupBox(QStringLiteral("APRS-IS"), this);
    auto *aprsIsForm = new QFormLayout(aprsIs);
    aprsIsForm->addRow(aprsIsEnabled_);
    aprsIsForm->addRow(QStringLiteral("Server:"), aprsIsHost_);
    aprsIsForm->addRow(QStringLiteral("Porta:"), aprsIsPort_);
    aprsIsForm->addRow(QStringLiteral("Passcode:"), passcode_);
    aprsIsForm->addRow(QStringLiteral("Intervallo (minuti, almeno 5):"), aprsIsInterval_);
    // Lines of its own: a wrapped label is cut short in a form.
    aprsIsForm->addRow(new QLabel(QStringLiteral("Stazione CWOP: come nominativo l'identificativo CWOP senza SSID\n"
                                                 "(es. CW1234), passcode vuoto o -1, il server indicato dalle\n"
                                                 "istruzioni di CWOP, porta 14580, intervallo di almeno 5 minuti."),
                                  this));

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKButton"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Annulla"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    verify_ = new QPushButton(QStringLiteral("Verifica"), this);
    verify_->setObjectName(QStringLiteral("VerificaButton"));
    verify_->setToolTip(QStringLiteral("Prova subito il TNC e il login APRS-IS, senza inviare nulla"));
    checkOutcome_ = new QLabel(this);
    checkOutcome_->setObjectName(QStringLiteral("EsitoVerifica"));
    checkOutcome_->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(verify_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    damage_ = new QLabel(this);
    damage_->setObjectName(QStringLiteral("Danneggiato"));
    damage_->setWordWrap(true);
    damage_->setStyleSheet(textColourStyle(kFaultRed));
    // Every hint whole, not cut by a narrow field.
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(edit->placeholderText()) + 24);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(damage_);
    layout->addWidget(station);
    layout->addWidget(kiss);
    layout->addWidget(aprsIs);
    layout->addWidget(checkOutcome_);
    layout->addLayout(buttons);

    connect(latitude_, &QLineEdit::textChanged, this, &SetupInvio::showPosition);
    connect(longitude_, &QLineEdit::textChanged, this, &SetupInvio::showPosition);
    connect(ok_, &QPushButton::clicked, this, &SetupInvio::OKButton_Click);
    connect(cancel_, &QPushButton::clicked, this, &SetupInvio::CancelButton_Click);
    connect(verify_, &QPushButton::clicked, this, &SetupInvio::Verifica_Click);
    check_ = new net::SettingsCheck(this);
    connect(check_, &net::SettingsCheck::shown, this, &SetupInvio::showCheck);

    Form_Load();
}

// A missing file shows the defaults, a damaged one what it still holds and
// what is wrong in it; the file is written only by OK, whole.
void SetupInvio::Form_Load() {
    const settings::LoadedSend loaded = settings::loadSendFile(settings::kSendFileName);
    settings::SalvagedSend salvaged;
    if (loaded.state == settings::SendFileState::Damaged)
        salvaged = settings::salvageSendFile(settings::kSendFileName);
    const settings::SendTexts t = loaded.state == settings::SendFileState::Ok ? settings::sendTexts(loaded.settings) : salvaged.texts;
    QStringList damage;
    for (const std::string &line : salvaged.damage)
        damage << toQString(line);
    damage_->setText(QStringLiteral("%1 danneggiato, da correggere con OK: %2")
                         .arg(QString::fromLatin1(settings::kSendFileName), damage.join(QStringLiteral("; "))));
    damage_->setVisible(!damage.isEmpty());
    callsign_->setText(toQString(t.callsign));
    latitude_->setText(toQString(t.latitude));
    longitude_->setText(toQString(t.longitude));
    path_->setText(toQString(t.path));
    kissEnabled_->setChecked(t.kissEnabled);
    kissHost_->setText(toQString(t.kissHost));
    kissPort_->setText(toQString(t.kissPort));
    kissInterval_->setText(toQString(t.kissInterval));
    aprsIsEnabled_->setChecked(t.aprsIsEnabled);
    aprsIsHost_->setText(toQString(t.aprsIsHost));
    aprsIsPort_->setText(toQString(t.aprsIsPort));
    passcode_->setText(toQString(t.passcode));
    aprsIsInterval_->setText(toQString(t.aprsIsInterval));
    showPosition();
}

void SetupInvio::showPosition() {
    const auto lat = settings::parseDegrees(latitude_->text().toStdString());
    const auto lon = settings::parseDegrees(longitude_->text().toStdString());
    if (lat && lon && settings::validLatitude(*lat) && settings::validLongitude(*lon))
        position_->setText(toQString(send::aprsPosition({*lat, *lon})));
    else
        position_->setText(QStringLiteral("(non valida)"));
}

settings::SendTexts SetupInvio::onScreen() const {
    settings::SendTexts t;
    t.callsign = callsign_->text().toStdString();
    t.latitude = latitude_->text().toStdString();
    t.longitude = longitude_->text().toStdString();
    t.path = path_->text().toStdString();
    t.kissEnabled = kissEnabled_->isChecked();
    t.kissHost = kissHost_->text().toStdString();
    t.kissPort = kissPort_->text().toStdString();
    t.kissInterval = kissInterval_->text().toStdString();
    t.aprsIsEnabled = aprsIsEnabled_->isChecked();
    t.aprsIsHost = aprsIsHost_->text().toStdString();
    t.aprsIsPort = aprsIsPort_->text().toStdString();
    t.passcode = passcode_->text().toStdString();
    t.aprsIsInterval = aprsIsInterval_->text().toStdString();
    return t;
}

// What is typed, tried at once by the network layer; its lines shown as
// they come.
void SetupInvio::Verifica_Click() {
    const settings::ParsedSend parsed = settings::parseSendTexts(onScreen());
    if (parsed.settings)
        check_->start(*parsed.settings);
    else {
        check_->stop();
        showCheck(toQString(parsed.problem));
    }
}

// A wrapped label asks for no height of its own: it gets what its lines
// need, and the dialog grows rather than cut them.
void SetupInvio::showCheck(const QString &lines) {
    checkOutcome_->setText(lines);
    checkOutcome_->setMinimumHeight(checkOutcome_->heightForWidth(checkOutcome_->width()));
    adjustSize();
}

void SetupInvio::OKButton_Click() {
    const settings::ParsedSend parsed = settings::parseSendTexts(onScreen());
    if (!parsed.settings) {
        warning(this, toQString(parsed.problem));
        // The field refused, ready to be corrected.
        if (auto *refused = findChild<QLineEdit *>(fieldNames().value(QString::fromStdString(parsed.field))))
            refused->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (const auto reason = settings::saveSendFile(settings::kSendFileName, *parsed.settings, disk_)) {
        attention(this, QStringLiteral("Impossibile salvare %1 (%2).")
                            .arg(QString::fromLatin1(settings::kSendFileName), toQString(*reason)));
        return;
    }
    Form_Load(); // shows the values as saved: "iz1abc-13" becomes "IZ1ABC-13"
    hide();
}

void SetupInvio::CancelButton_Click() { hide(); }

void SetupInvio::closeEvent(QCloseEvent *event) {
    event->accept();
    emit discarded();
}

} // namespace ui
