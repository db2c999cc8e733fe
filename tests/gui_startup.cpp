// Start-up, first run and every way out.
#include "support/gui_support.h"

#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "ui/FolderPickers.h"
#include "ui/InstanceLock.h"
#include "support/unprivileged.h"

using namespace testing_support;

using FirstRun = WindowTest;
using Startup = StationWindowTest;

// Each list selects the folder its box holds, or none: a click fills the
// box, a folder typed and confirmed moves the list. ESCI warns of folders
// that cannot work, and the user may save them anyway or go back.
TEST_F(FirstRun, OnlyTheFoldersDialogShowsUntilEsciSavesBothFolders) {
    window_.Form_Load();
    auto *dialog = window_.configurazione();
    auto *box = child<QLineEdit>(dialog, "Text1");
    auto *list = child<ui::FolderList>(dialog, "Dir1");
    const auto selected = [](const ui::FolderList *l) {
        const auto items = l->selectedItems();
        return items.isEmpty() ? QString() : ui::displayPath(items[0]->data(Qt::UserRole).toString());
    };
    EXPECT_EQ(box->text() + child<QLineEdit>(dialog, "Text2")->text(), "");
    EXPECT_EQ(selected(list) + selected(child<ui::FolderList>(dialog, "Dir2")), "");
    QStringList tabs;
    for (QWidget *w = child<QWidget>(dialog, "Drive1"); tabs.size() < 7; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            tabs << w->objectName();
    EXPECT_EQ(tabs.join(' '), "Drive1 Dir1 Text1 Drive2 Dir2 Text2 Command2");
    const QPoint at = list->visualItemRect(list->item(0)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &click);
    }
    EXPECT_EQ(box->text(), selected(list));
    EXPECT_FALSE(box->text().isEmpty());
    QDir().mkdir("hw");
    const QString hw = QDir::current().absoluteFilePath("hw");
    box->setText(hw);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    EXPECT_EQ(selected(list), hw);

    const QString noCurrdat = "Nella cartella di Heavy Weather non c'è currdat.lst:\n" + hw +
                              "\nScegliere la cartella in cui Heavy Weather scrive currdat.lst.\n\n" +
                              "La cartella di uscita non esiste:\n/";
    const struct { const char *heavyWeather, *output; bool answer; QString asked; } tries[] = {
        {nullptr, "", true, {}},
        {"/hw", "/dati/Città", false, "La cartella di Heavy Weather non esiste:\n/hw\n\n"
                                      "La cartella di uscita non esiste:\n/dati/Città"},
        {nullptr, "/東京", true, noCurrdat + "東京"},
        {nullptr, "/dati/Città", true, noCurrdat + "dati/Città"},
    };
    for (const auto &t : tries) {
        EXPECT_TRUE(dialog->isVisible() && !window_.isVisible() && !timer()->isActive()) << t.output;
        EXPECT_FALSE(QFile::exists("config.kwt"));
        questions_.clear();
        answer_ = t.answer;
        box->setText(t.heavyWeather ? QString::fromUtf8(t.heavyWeather) : hw);
        child<QLineEdit>(dialog, "Text2")->setText(QString::fromUtf8(t.output));
        child<QPushButton>(dialog, "Command2")->click();
        EXPECT_EQ(questions_.value(0).section("\n\n", 0, -2), t.asked);
    }
    EXPECT_EQ(messages_.size(), 2);
    EXPECT_EQ(messages_.value(0), "Cartelle non selezionate");
    EXPECT_EQ(config(), "1\r\n1\r\n" + hw.toStdString() + "\r\n/dati/Citt\xe0\r\n");
    EXPECT_TRUE(!dialog->isVisible() && window_.isVisible() && timer()->isActive());

    // Opened again, it shows config.kwt as it is now, whoever changed it.
    setConfig("1\r\n1\r\n" + dir_.path() + "\r\n/out\r\n");
    menu("Cartelle");
    EXPECT_EQ(box->text().toStdString(), dir_.path());
    EXPECT_EQ(selected(list), box->text());
}

// On a first run, leaving the folders dialog ends the program: Esc, often
// pressed by mistake, and the frame both ask first, and "no" keeps it open.
TEST_F(FirstRun, LeavingTheDialogAsksThenEndsTheProgram) {
    window_.Form_Load();
    int ended = 0;
    QObject::connect(&window_, &ui::QuadroStazione::programEnded, [&] { ++ended; });
    ui::Configurazione *dialog = window_.configurazione();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    answer_ = false;
    QApplication::sendEvent(dialog, &esc);
    dialog->close();
    EXPECT_EQ(questions_.size(), 2);
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(dialog->isVisible());
    answer_ = true;
    QApplication::sendEvent(dialog, &esc);
    EXPECT_EQ(questions_.size(), 3);
    EXPECT_EQ(ended, 1);
}

// The user message holds 20 characters: what is typed or pasted keeps what
// fits, at the cursor, and the text and cursor around it (a key and a paste
// take the same way in); characters are counted, not UTF-16 units. The
// words beside the box tick it too.
TEST_F(Startup, TheUserMessageKeepsItsTextAndCursorAndItsWordsTickTheBox) {
    auto *field = child<QLineEdit>(&window_, "Text2");
    field->setText("abcdefghijklmnopqr");
    field->setCursorPosition(3);
    field->insert("12345"); // a paste
    EXPECT_EQ(field->text(), "abc12defghijklmnopqr");
    EXPECT_EQ(field->cursorPosition(), 5);
    const QString face = QString::fromUcs4(U"\U0001F600");
    field->setText(face.repeated(25));
    EXPECT_EQ(field->text(), face.repeated(20));

    auto *words = child<QLabel>(&window_, "Label31");
    const QPointF at(words->width() / 2.0, words->height() / 2.0);
    for (const bool ticked : {true, false}) {
        QMouseEvent release(QEvent::MouseButtonRelease, at, words->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(words, &release);
        EXPECT_EQ(child<QCheckBox>(&window_, "Check1")->isChecked(), ticked);
    }
}

// The frame, ESCI and Esci each end the program, which stops the cycle and
// hides its dialogs.
TEST_F(Startup, EveryExitEndsTheProgramWithItsDialogs) {
    for (const char *item : {"Cartelle", "Stringa_APRS", "Pressione"})
        menu(item);
    ui::QuadroStazione second, third;
    int ended = 0;
    for (ui::QuadroStazione *w : {&window_, &second, &third})
        QObject::connect(w, &ui::QuadroStazione::programEnded, [&] { ++ended; });
    window_.close();
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_FALSE(window_.configurazione()->isVisible() || window_.setupParametri()->isVisible() ||
                 window_.setupPressione()->isVisible());
    child<QPushButton>(&second, "Command1")->click();
    child<QAction>(&third, "Esci")->trigger();
    EXPECT_EQ(ended, 3);
}

TEST_F(Startup, TypingAFoldersFirstLettersInTheFolderListFindsIt) {
    QDir().mkpath(QString::fromUtf8("stazione/Alfa"));
    QDir().mkpath(QString::fromUtf8("stazione/Città meteo"));
    ui::FolderList list;
    list.showPath(QDir::current().absoluteFilePath("stazione"));
    list.keyboardSearch(QStringLiteral("Cit"));
    ASSERT_NE(list.currentItem(), nullptr);
    EXPECT_TRUE(list.currentItem()->data(Qt::UserRole).toString().endsWith(QString::fromUtf8("/Città meteo")));
}

// A second copy in the working folder is refused while the first runs; the
// lock of a copy that crashed is taken over. A folder that cannot be written
// is told as such: no copy runs there.
using Lock = WindowTest;
TEST_F(Lock, ASecondCopyIsRefusedAndACrashedCopysLockIsTakenOver) {
    const QString folder = QString::fromStdString(dir_.path());
    auto running = ui::lockWorkingFolder(folder);
    ASSERT_TRUE(running);
    const QFile file(QDir(folder).filePath(ui::kLockFileName));
    EXPECT_FALSE(ui::lockWorkingFolder(folder));
    EXPECT_TRUE(messages_.value(0).startsWith(QString::fromUtf8("meteo-aprs è già in funzione in questa cartella")));
    running.reset();

    const pid_t crashed = fork();
    if (crashed == 0) {
        QLockFile held(file.fileName());
        _exit(held.tryLock(0) ? 0 : 1); // ends without unlocking
    }
    int status = -1;
    ASSERT_EQ(waitpid(crashed, &status, 0), crashed);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(file.exists());
    EXPECT_TRUE(ui::lockWorkingFolder(folder));

    asUnprivilegedUser([this] {
        const TempDir mine;
        std::filesystem::permissions(mine.path(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        EXPECT_FALSE(ui::lockWorkingFolder(QString::fromStdString(mine.path())));
        EXPECT_TRUE(messages_.last().startsWith(
            QString::fromStdString("meteo-aprs non può scrivere nella cartella di lavoro:\n" + mine.path())))
            << messages_.last().toStdString();
        std::filesystem::permissions(mine.path(), std::filesystem::perms::owner_all);
    });
}
