// The option dialogs: one choice line of config.kwt, one button per code.
#include "ui/OptionDialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ui/Messages.h"
#include "ui/QtText.h"
#include "settings/config.h"

namespace ui {
namespace {

// Pixel sizes rather than points: the geometries are pixels, and text sized
// in points would outgrow them on a screen set to more than 96 dpi. Where the
// named family is missing the style hint picks a look-alike.
QFont designFont(const char *family, QFont::StyleHint hint, int pixels) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    font.setPixelSize(pixels);
    return font;
}

} // namespace

OptionDialog::OptionDialog(const OptionDialogDesign &design, QWidget *parent, const io::Disk &disk)
    : QDialog(parent), design_(design), disk_(disk), group_(new QButtonGroup(this)) {
    setObjectName(QString::fromLatin1(design.objectName));
    setWindowTitle(QString::fromLatin1(design.windowCaption));
    setModal(false);
    setFixedSize(design.clientSize);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(designFont("Lucida Console", QFont::TypeWriter, 16)); // 12 pt
    Label1->setGeometry(design.titleGeometry);

    group_->setExclusive(true);
    const QFont optionFont = designFont("MS Sans Serif", QFont::SansSerif, 13); // 9.75 pt
    for (std::size_t i = 0; i < design.options.size(); ++i) {
        auto *button = new QRadioButton(this);
        button->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        button->setFont(optionFont);
        button->setGeometry(design.options[i].geometry);
        group_->addButton(button, static_cast<int>(i) + 1);
        options_.push_back(button);
    }

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(design.okGeometry);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Annulla"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(design.cancelGeometry);

    QWidget *previous = CancelButton;
    setTabOrder(OKButton, CancelButton);
    for (QRadioButton *button : options_) {
        setTabOrder(previous, button);
        previous = button;
    }

    connect(OKButton, &QPushButton::clicked, this, &OptionDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &OptionDialog::CancelButton_Click);

    Form_Load();
}

void OptionDialog::Form_Load() {
    Label1->setText(QString::fromLatin1(design_.title));
    for (std::size_t i = 0; i < options_.size(); ++i)
        options_[i]->setText(QString::fromUtf8(design_.options[i].caption));

    // A file that is missing (removed while the program runs) or unreadable
    // shows "1" and is left alone: OK creates or reports it. Only a line that
    // was actually read and found bad is repaired here.
    // A failed repair is not reported: every reader already takes the bad
    // line as "1", and the next OK or load tries again.
    if (!showSavedChoice())
        settings::saveChoice(settings::kConfigFileName, design_.lineIndex, 1, disk_);
}

bool OptionDialog::showSavedChoice() {
    const auto raw = settings::readConfigLines(settings::kConfigFileName);
    const std::string own = raw ? raw->line[static_cast<std::size_t>(design_.lineIndex)] : std::string();
    const auto option = settings::choiceOf(own, static_cast<int>(options_.size()));
    group_->button(option.value_or(1))->setChecked(true);
    return !raw || option;
}

int OptionDialog::chosenOption() const {
    const int id = group_->checkedId();
    return id > 0 ? id : 1;
}

void OptionDialog::tellIfUnreadable() {
    if (io::exists(settings::kConfigFileName) && !settings::readConfigLines(settings::kConfigFileName))
        attention(this, QStringLiteral("Il file config.kwt non è leggibile: la scelta salvata non si può leggere "
                                       "né cambiare finché il file non torna leggibile."));
}

void OptionDialog::OKButton_Click() {
    const auto result = settings::saveChoice(settings::kConfigFileName, design_.lineIndex, chosenOption(), disk_);
    if (!result.ok()) {
        attention(this, QStringLiteral("Impossibile salvare config.kwt (%1).").arg(toQString(result.reason)));
        return;
    }
    hide();
}

void OptionDialog::CancelButton_Click() { hide(); }

void OptionDialog::closeEvent(QCloseEvent *event) {
    event->accept();
    emit discarded();
}

} // namespace ui
