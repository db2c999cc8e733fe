// The working-folders dialog: two folder pickers and ESCI, which saves both.
#include "ui/Configurazione.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <tuple>
#include <QVBoxLayout>

#include "ui/Messages.h"
#include "ui/QtText.h"
#include "ui/FolderPickers.h"
#include "settings/config.h"

namespace ui {
namespace {

QLabel *heading(const QString &name, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(12);
    label->setFont(font);
    return label;
}

} // namespace

Configurazione::Configurazione(QWidget *parent, const io::Disk &disk) : QDialog(parent), disk_(disk) {
    setObjectName(QStringLiteral("Configurazione"));
    setWindowTitle(QStringLiteral("Configurazione File"));
    setModal(false);

    Label1 = heading(QStringLiteral("Label1"), this);
    Label2 = heading(QStringLiteral("Label2"), this);
    Drive1 = new DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Drive2 = new DriveList(this);
    Drive2->setObjectName(QStringLiteral("Drive2"));
    Dir2 = new FolderList(this);
    Dir2->setObjectName(QStringLiteral("Dir2"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Command2 = new QPushButton(QStringLiteral("ESCI"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    auto addPicker = [&](QLabel *label, DriveList *drive, FolderList *dir, QLineEdit *text) {
        layout->addWidget(label);
        auto *row = new QGridLayout;
        row->addWidget(drive, 0, 0, Qt::AlignTop);
        row->addWidget(dir, 0, 1);
        row->setColumnStretch(1, 1);
        row->setHorizontalSpacing(16);
        drive->setFixedWidth(120);
        dir->setMinimumHeight(130);
        dir->setToolTip(QStringLiteral("Doppio clic su una cartella per aprirla"));
        layout->addLayout(row);
        layout->addWidget(text);
        layout->addSpacing(14);
    };
    addPicker(Label1, Drive1, Dir1, Text1);
    addPicker(Label2, Drive2, Dir2, Text2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    Command2->setMinimumWidth(105);
    buttons->addWidget(Command2);
    buttons->addStretch();
    layout->addLayout(buttons);
    resize(600, 520);

    // Top to bottom, each list before its box, then ESCI.
    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, Text1);
    setTabOrder(Text1, Drive2);
    setTabOrder(Drive2, Dir2);
    setTabOrder(Dir2, Text2);
    setTabOrder(Text2, Command2);

    connect(Drive1, &DriveList::driveChanged, this, &Configurazione::Drive1_Change);
    connect(Dir1, &FolderList::pathChanged, this, &Configurazione::Dir1_Change);
    connect(Drive2, &DriveList::driveChanged, this, &Configurazione::Drive2_Change);
    connect(Dir2, &FolderList::pathChanged, this, &Configurazione::Dir2_Change);
    connect(Command2, &QPushButton::clicked, this, &Configurazione::Command2_Click);
    // A folder selected in the list is the box's; a folder typed in the box
    // (Enter, or leaving it) moves the list there, and while it is typed
    // the list selects nothing.
    for (auto [drive, dir, text] : {std::tuple(Drive1, Dir1, Text1), std::tuple(Drive2, Dir2, Text2)}) {
        connect(dir, &FolderList::folderSelected, text,
                [text = text](const QString &folder) { text->setText(displayPath(folder)); });
        connect(text, &QLineEdit::textEdited, dir, [dir = dir] {
            const QSignalBlocker block(dir);
            dir->clearSelection();
        });
        connect(text, &QLineEdit::editingFinished, dir,
                [drive = drive, dir = dir, text = text] { placeLists(drive, dir, text->text()); });
    }
    auto notReady = [this](const QString &root) {
        attention(this, QStringLiteral("L'unità %1 non è pronta.").arg(displayPath(root)));
    };
    connect(Drive1, &DriveList::driveNotReady, this, notReady);
    connect(Drive2, &DriveList::driveNotReady, this, notReady);

    Form_Load();
}

void Configurazione::Form_Load() {
    Text1->clear();
    Text2->clear();
    Label1->setText(QStringLiteral("Disco e cartella di installazione di Heavy Weather"));
    Label2->setText(QStringLiteral("Disco e cartella dove salvare la stringa APRS my_meteo.txt"));
    if (const auto raw = settings::readConfigLines(settings::kConfigFileName)) {
        const auto settings = settings::configFrom(*raw);
        Text1->setText(toQString(settings.heavyWeatherFolder));
        Text2->setText(toQString(settings.outputFolder));
    }
    // The lists start at the saved folders; at the first start, or when a
    // saved folder is gone, at the working directory with nothing selected.
    placeLists(Drive1, Dir1, Text1->text());
    placeLists(Drive2, Dir2, Text2->text());
}

void Configurazione::placeLists(DriveList *drive, FolderList *dir, const QString &folder) {
    const QSignalBlocker block(dir); // the box keeps the folder as typed
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        drive->showDriveOf(folder);
        dir->showPath(folder);
    } else {
        if (dir->count() == 0) {
            drive->showDriveOf(QDir::currentPath());
            dir->showPath(QDir::currentPath());
        }
        dir->clearSelection();
    }
}

void Configurazione::Drive1_Change(const QString &root) {
    Dir1->setPath(root);
    Text1->setText(displayPath(Dir1->path()));
}

void Configurazione::Dir1_Change(const QString &path) { Text1->setText(displayPath(path)); }

void Configurazione::Drive2_Change(const QString &root) {
    Dir2->setPath(root);
    Text2->setText(displayPath(Dir2->path()));
}

void Configurazione::Dir2_Change(const QString &path) { Text2->setText(displayPath(path)); }

void Configurazione::Command2_Click() {
    if (Text1->text().isEmpty() || Text2->text().isEmpty()) {
        attention(this, QStringLiteral("Cartelle non selezionate"));
        return;
    }
    if (const QString doubts = doubtsAboutFolders();
        !doubts.isEmpty() &&
        !confirm(this, doubts + QStringLiteral("\n\nSalvare comunque le cartelle così come sono?"),
                 QStringLiteral("Salva comunque"), QStringLiteral("Torna alle cartelle")))
        return;
    const auto result =
        settings::saveFolders(settings::kConfigFileName, Text1->text().toStdString(), Text2->text().toStdString(), disk_);
    if (result.status == settings::SaveStatus::NotRepresentable) {
        attention(this, QStringLiteral("Il nome di una cartella contiene caratteri che config.kwt non può "
                                       "conservare: scegliere un'altra cartella."));
        return;
    }
    if (result.status == settings::SaveStatus::WriteFailed) {
        attention(this, QStringLiteral("Impossibile salvare config.kwt (%1).").arg(toQString(result.reason)));
        return;
    }
    hide();
    emit confirmed();
}

// What would keep the program from working with the folders as they stand:
// the commonest setup mistakes, told before they are saved.
QString Configurazione::doubtsAboutFolders() const {
    QStringList doubts;
    const QString heavyWeather = Text1->text(), output = Text2->text();
    if (!QFileInfo(heavyWeather).isDir())
        doubts << QStringLiteral("La cartella di Heavy Weather non esiste:\n%1").arg(heavyWeather);
    else if (!QFileInfo::exists(QDir(heavyWeather).filePath(QStringLiteral("currdat.lst"))))
        doubts << QStringLiteral("Nella cartella di Heavy Weather non c'è currdat.lst:\n%1\n"
                                 "Scegliere la cartella in cui Heavy Weather scrive currdat.lst.")
                      .arg(heavyWeather);
    if (!QFileInfo(output).isDir())
        doubts << QStringLiteral("La cartella di uscita non esiste:\n%1").arg(output);
    return doubts.join(QStringLiteral("\n\n"));
}

void Configurazione::closeEvent(QCloseEvent *event) {
    if (firstRun_ && !confirm(this,
                              QStringLiteral("Le cartelle di lavoro non sono ancora salvate e senza di esse il "
                                             "programma non può partire. Uscire dal programma?"),
                              QStringLiteral("Esci dal programma"), QStringLiteral("Torna alle cartelle"))) {
        event->ignore();
        return;
    }
    event->accept();
    emit discarded();
}

} // namespace ui
