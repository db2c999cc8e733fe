#include "ui/Informazioni.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/config.h"
#include "station/version.h"
#include "ui/QtText.h"

namespace ui {
namespace {

QLabel *value(QWidget *parent, const char *name, const QString &text) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    // Paths are copied into e-mails and forum posts.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString outputFolder() {
    const auto raw = settings::readConfigLines(settings::kConfigFileName);
    if (!raw)
        return QStringLiteral("non ancora scelta (config.kwt manca o non è leggibile)");
    const std::string folder = settings::configFrom(*raw).outputFolder;
    if (folder.empty())
        return QStringLiteral("non ancora scelta (File › Cartelle di lavoro)");
    return QDir::toNativeSeparators(toQString(folder));
}

} // namespace

Informazioni::Informazioni(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Informazioni"));
    setWindowTitle(QStringLiteral("Informazioni su meteo-aprs"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *title = value(this, "programma",
                        QStringLiteral("meteo-aprs ") + QString::fromLatin1(version::kVersionText));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *licence = value(this, "licenza",
                          QStringLiteral("meteo-aprs è software libero: si può ridistribuire e modificare secondo "
                                         "i termini della GNU General Public License, versione 3 o (a scelta) "
                                         "successiva (GPL-3.0-or-later), pubblicata dalla Free Software "
                                         "Foundation. È distribuito nella speranza che sia utile, ma SENZA "
                                         "ALCUNA GARANZIA. Il testo completo della licenza è nel file LICENSE "
                                         "che accompagna il programma. Le librerie Qt sono sotto licenza LGPL "
                                         "versione 3."));
    licence->setWordWrap(true);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Versione di Qt:"), value(this, "versioneQt", QString::fromLatin1(qVersion())));
    form->addRow(QStringLiteral("Cartella di lavoro:"),
                 value(this, "cartellaLavoro", QDir::toNativeSeparators(QDir::currentPath())));
    form->addRow(QStringLiteral("Cartella di uscita:"), value(this, "cartellaUscita", outputFolder()));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(licence);
    layout->addLayout(form);
    layout->addStretch(1); // the wrapped licence text keeps its lines together
    layout->addWidget(buttons);
    setMinimumWidth(480);
}

} // namespace ui
