// The first run's folders dialog, leaving it, and the lock of the working folder.
#include "support/gui_support.h"

#include "ui/FolderPickers.h"
#include "ui/InstanceLock.h"

using namespace testing_support;

using FirstRun = WindowTest;

// The list follows a folder typed and confirmed in its box. ESCI warns of
// folders that cannot work, and the user may save them anyway or go back;
// only then the window and its cycle start.
TEST_F(FirstRun, OnlyTheFoldersDialogShowsUntilEsciSavesBothFolders) {
    window_.Form_Load();
    auto *dialog = window_.configurazione();
    auto *box = child<QLineEdit>(dialog, "Text1");
    auto *list = child<ui::FolderList>(dialog, "Dir1");
    QDir().mkdir("hw");
    const QString hw = QDir::current().absoluteFilePath("hw");
    box->setText(hw);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(ui::displayPath(list->selectedItems()[0]->data(Qt::UserRole).toString()), hw);

    const QString noCurrdat = "Nella cartella di Heavy Weather non c'è currdat.lst:\n" + hw +
                              "\nScegliere la cartella in cui Heavy Weather scrive currdat.lst.\n\n" +
                              "La cartella di uscita non esiste:\n/";
    const struct { const char *heavyWeather, *output; bool answer; QString asked; } tries[] = {
        {nullptr, "", true, {}},
        {"/hw", "/dati/Città", false, "La cartella di Heavy Weather non esiste:\n/hw\n\n"
                                      "La cartella di uscita non esiste:\n/dati/Città"},
        {nullptr, "/dati/Città", true, noCurrdat + "dati/Città"},
    };
    for (const auto &t : tries) {
        EXPECT_TRUE(dialog->isVisible() && !window_.isVisible() && !timer()->isActive()) << t.output;
        questions_.clear();
        answer_ = t.answer;
        box->setText(t.heavyWeather ? QString::fromUtf8(t.heavyWeather) : hw);
        child<QLineEdit>(dialog, "Text2")->setText(QString::fromUtf8(t.output));
        child<QPushButton>(dialog, "Command2")->click();
        EXPECT_EQ(questions_.value(0).section("\n\n", 0, -2), t.asked);
    }
    EXPECT_EQ(messages_, QStringList{"Cartelle non selezionate"});
    EXPECT_EQ(config(), "1\r\n1\r\n" + hw.toStdString() + "\r\n/dati/Citt\xe0\r\n");
    EXPECT_TRUE(!dialog->isVisible() && window_.isVisible() && timer()->isActive());
}

// A second copy in the working folder is refused while the first runs, and
// may start once the first has ended.
using Lock = WindowTest;
TEST_F(Lock, ASecondCopyIsRefusedWhileTheFirstRuns) {
    const QString folder = QString::fromStdString(dir_.path());
    auto running = ui::lockWorkingFolder(folder);
    ASSERT_TRUE(running);
    EXPECT_FALSE(ui::lockWorkingFolder(folder));
    EXPECT_TRUE(messages_.value(0).startsWith(QString::fromUtf8("meteo-aprs è già in funzione in questa cartella")));
    running.reset();
    EXPECT_TRUE(ui::lockWorkingFolder(folder));
}
