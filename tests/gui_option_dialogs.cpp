// The option dialogs: loaded once, repairing only their own line, never undoing each other.
#include <filesystem>

#include "station/version.h"
#include "support/gui_support.h"
#include "ui/Informazioni.h"

using namespace testing_support;

const std::string kTail = "/hw\r\nC:\\Dati\\Citt\xe0\\\r\n"; // lines 3 and 4, carried byte for byte

// Each dialog loads from the file that the test gives after the start.
using OptionDialogs = StationWindowTest;

// Good lines are not rewritten at load; OK without a change rewrites the same
// bytes (a rewrite holds exactly four lines: the dropped fifth shows it happened).
TEST_F(OptionDialogs, EachMenuShowsItsOneModelessDialogLoadedFromTheFile) {
    setConfig("2\r\n2\r\n" + kTail + "extra\r\n");
    for (int twice = 0; twice < 2; ++twice)
        for (const char *item : {"Cartelle", "Stringa_APRS", "Pressione"})
            menu(item);
    EXPECT_EQ(window_.findChildren<QDialog *>().size(), 3);
    // Every menu and item has an access key, none shared within its menu.
    QList<QList<QAction *>> levels{window_.menuBar()->actions()};
    for (QAction *m : window_.menuBar()->actions())
        levels << m->menu()->actions();
    for (const auto &level : levels) {
        QSet<QString> keys;
        for (QAction *a : level)
            keys << QKeySequence::mnemonic(a->text()).toString();
        EXPECT_TRUE(keys.size() == level.size() && !keys.contains("")) << keys.values().join(" ").toStdString();
    }
    auto *d = window_.setupParametri();
    EXPECT_TRUE(d->isVisible() && window_.setupPressione()->isVisible() && window_.configurazione()->isVisible());
    EXPECT_FALSE(d->isModal());
    EXPECT_TRUE(child<QRadioButton>(d, "Option2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(window_.setupPressione(), "Option2")->isChecked());
    EXPECT_EQ(child<QLineEdit>(window_.configurazione(), "Text2")->text(), QString::fromUtf8("C:\\Dati\\Città\\"));
    EXPECT_EQ(config(), "2\r\n2\r\n" + kTail + "extra\r\n");
    child<QPushButton>(window_.setupPressione(), "OKButton")->click();
    EXPECT_EQ(config(), "2\r\n2\r\n" + kTail);
    EXPECT_FALSE(window_.setupPressione()->isVisible());
}

// Only the own line is repaired, at the first Show, before any button. (A
// missing line is filled as OK fills a missing file, below.)
TEST_F(OptionDialogs, FirstShowRepairsOnlyTheOwnBadLine) {
    const struct { bool aprs; std::string before, after; } cases[] = {
        {true, "7\r\n9\r\n" + kTail, "1\r\n9\r\n" + kTail},
        {false, "3\r\n1 \r\n" + kTail, "3\r\n1\r\n" + kTail},
    };
    for (const auto &c : cases) {
        ui::QuadroStazione w;
        setConfig(c.before);
        (c.aprs ? child<QAction>(&w, "Stringa_APRS") : child<QAction>(&w, "Pressione"))->trigger();
        const ui::OptionDialog *d = c.aprs ? static_cast<ui::OptionDialog *>(w.setupParametri()) : w.setupPressione();
        EXPECT_EQ(config(), c.after) << c.before;
        EXPECT_TRUE(child<QRadioButton>(d, "Option1")->isChecked()) << c.before;
    }
    EXPECT_TRUE(messages_.isEmpty());
}

// Annulla and Esc discard: the next opening shows the saved choice, and only
// a fresh load (after the frame dropped the dialog) repairs its bad line. (That each OK
// reads the file anew, so neither dialog undoes the other, and the folders
// dialog closed through its frame: gui_fault_matrix.cpp.)
TEST_F(OptionDialogs, AnnullaEscAndTheFrameDiscardTheChoice) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    enum How { Annulla, Esc, Frame };
    const struct { const char *item, *dialog; How how; const char *shown, *lines; } cases[] = {
        {"Pressione", "Setup_Pressione", Annulla, "Option1", "7\r\n7\r\n"},
        {"Stringa_APRS", "Setup_Parametri", Esc, "Option1", "7\r\n7\r\n"},
        {"Stringa_APRS", "Setup_Parametri", Frame, "Option1", "1\r\n7\r\n"},
    };
    for (const auto &c : cases) {
        setConfig("1\r\n1\r\n" + kTail);
        menu(c.item);
        QDialog *d = child<QDialog>(&window_, c.dialog);
        child<QRadioButton>(d, "Option2")->click();
        if (c.how == Esc)
            QApplication::sendEvent(d, &esc);
        else if (c.how == Annulla)
            child<QPushButton>(d, "CancelButton")->click();
        else
            d->close();
        EXPECT_FALSE(d->isVisible()) << c.item;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(config(), "1\r\n1\r\n" + kTail);
        setConfig("7\r\n7\r\n" + kTail); // a load shows option 1 and repairs its own line
        menu(c.item);
        EXPECT_TRUE(child<QRadioButton>(child<QDialog>(&window_, c.dialog), c.shown)->isChecked()) << c.how;
        EXPECT_EQ(config(), c.lines + kTail) << c.how;
    }
}

// A file removed meanwhile shows "1" and is left alone until OK creates it;
// one that cannot be read (a folder in its place) is told at once, not at OK.
TEST_F(OptionDialogs, AFileRemovedOrUnreadableMeanwhileIsLeftAloneUntilOk) {
    std::filesystem::remove(dir_.file("config.kwt"));
    menu("Pressione");
    auto *d = window_.setupPressione();
    EXPECT_TRUE(child<QRadioButton>(d, "Option1")->isChecked());
    child<QRadioButton>(d, "Option2")->click();
    EXPECT_FALSE(QFile::exists("config.kwt"));
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_EQ(config(), "1\r\n2\r\n\r\n\r\n");

    std::filesystem::remove(dir_.file("config.kwt"));
    std::filesystem::create_directory(dir_.file("config.kwt"));
    menu("Pressione");
    menu("Pressione"); // already open: nothing new
    EXPECT_EQ(messages_, QStringList{QString::fromUtf8("Il file config.kwt non è leggibile: la scelta salvata non si "
                                                       "può leggere né cambiare finché il file non torna leggibile.")});
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_EQ(messages_.value(1), QString::fromUtf8("Impossibile salvare config.kwt (il file esistente non è leggibile)."));
    EXPECT_TRUE(d->isVisible());
}

// "Informazioni" reads the folders as they are when it opens, one box at a time.
TEST_F(OptionDialogs, InformazioniShowsTheVersionAndTheFoldersOfNow) {
    for (const std::string &output : {out(""), std::string()}) {
        writeConfig(output);
        menu("Informazioni_Su");
        const auto boxes = window_.findChildren<ui::Informazioni *>();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0]->isVisible());
        EXPECT_TRUE(child<QLabel>(boxes[0], "programma")->text().endsWith(QString::fromLatin1(version::kVersionText)));
        EXPECT_EQ(child<QLabel>(boxes[0], "cartellaLavoro")->text(), QDir::toNativeSeparators(QDir::currentPath()));
        const QString shown = child<QLabel>(boxes[0], "cartellaUscita")->text();
        if (output.empty())
            EXPECT_TRUE(shown.startsWith(QStringLiteral("non ancora scelta"))) << shown.toStdString();
        else
            EXPECT_EQ(shown, QDir::toNativeSeparators(QString::fromStdString(output)));
    }
}
