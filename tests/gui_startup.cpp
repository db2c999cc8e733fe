// Start-up, first run and every way out.
#include "support/gui_support.h"

#include "ui/FolderPickers.h"

using testing_support::child;

using Startup = testing_support::WindowTest;

TEST_F(Startup, FirstRunShowsOnlyTheFoldersDialogUntilEsciSavesBothFolders) {
    ui::QuadroStazione w;
    w.Form_Load();
    auto *dialog = w.configurazione();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(child<QTimer>(&w, "Timer1")->isActive());
    EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text() + child<QLineEdit>(dialog, "Text2")->text(), "");

    child<QLineEdit>(dialog, "Text1")->setText("/hw");
    child<QPushButton>(dialog, "Command2")->click(); // no output folder
    child<QLineEdit>(dialog, "Text2")->setText(QString::fromUtf8("/東京"));
    child<QPushButton>(dialog, "Command2")->click(); // not representable in config.kwt
    EXPECT_EQ(messages_.size(), 2);
    EXPECT_EQ(messages_.value(0), "Cartelle non selezionate");
    EXPECT_FALSE(QFile::exists("config.kwt"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(w.isVisible() || child<QTimer>(&w, "Timer1")->isActive());

    child<QLineEdit>(dialog, "Text2")->setText(QString::fromUtf8("/dati/Città"));
    child<QPushButton>(dialog, "Command2")->click();
    EXPECT_EQ(config(), "1\r\n1\r\n/hw\r\n/dati/Citt\xe0\r\n");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(child<QTimer>(&w, "Timer1")->isActive());
    EXPECT_EQ(child<QTimer>(&w, "Timer1")->interval(), 100);
}

TEST_F(Startup, ClosingTheFirstRunDialogEndsTheProgram) {
    ui::QuadroStazione w;
    w.Form_Load();
    int ended = 0;
    QObject::connect(&w, &ui::QuadroStazione::programEnded, [&] { ++ended; });
    w.configurazione()->close();
    EXPECT_EQ(ended, 1);
}

TEST_F(Startup, NormalStartShowsTheMainWindowAtRest) {
    setConfig("1\r\n1\r\n/hw\r\n/out\r\n");
    ui::QuadroStazione w;
    w.Form_Load();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.findChild<ui::Configurazione *>());
    EXPECT_TRUE(child<QTimer>(&w, "Timer1")->isActive());
    EXPECT_EQ(child<QTimer>(&w, "Timer1")->interval(), 100);
    EXPECT_EQ(child<QTimer>(&w, "Timer1")->timerType(), Qt::PreciseTimer); // 59.5 s must not stretch to a minute

    // The release number comes from the build's one place for it.
    EXPECT_EQ(child<QLabel>(&w, "Label3")->text(), "Rel. 1.1.3 W - programma per radioamatori");
    EXPECT_EQ(child<QPushButton>(&w, "Command1")->text(), "&ESCI");

    // The off look is the window's own background.
    for (const char *name : {"Shape1", "Shape2", "Shape3", "Shape4"}) {
        const auto *shape = child<ui::Indicator>(&w, name);
        EXPECT_EQ(shape->fillColor(), ui::kWindowBackground);
        EXPECT_EQ(shape->borderColor(), ui::kWindowBackground + 1);
        EXPECT_EQ(ui::colorFromValue(shape->fillColor(), shape->palette()), w.palette().color(QPalette::Window));
    }

    // The user message keeps its first 20 characters, typed or pasted.
    const QString twenty = "12345678901234567890";
    child<QLineEdit>(&w, "Text2")->setText(twenty);
    child<QLineEdit>(&w, "Text2")->end(false);
    child<QLineEdit>(&w, "Text2")->insert("X");
    EXPECT_EQ(child<QLineEdit>(&w, "Text2")->text(), twenty);
    child<QLineEdit>(&w, "Text2")->clear();
    child<QLineEdit>(&w, "Text2")->insert(QString(50, QChar(u'\u00e0')));
    EXPECT_EQ(child<QLineEdit>(&w, "Text2")->text(), QString(20, QChar(u'\u00e0')));
}

TEST_F(Startup, EveryExitEndsTheProgramWithItsDialogs) {
    setConfig("1\r\n1\r\n/hw\r\n/out\r\n");
    for (int way = 0; way < 3; ++way) {
        ui::QuadroStazione w;
        w.Form_Load();
        for (const char *menu : {"Cartelle", "Stringa_APRS", "Pressione"})
            child<QAction>(&w, menu)->trigger();
        int ended = 0;
        QObject::connect(&w, &ui::QuadroStazione::programEnded, [&] { ++ended; });
        if (way == 0)
            child<QPushButton>(&w, "Command1")->click();
        else if (way == 1)
            child<QAction>(&w, "Esci")->trigger();
        else
            w.close();
        EXPECT_EQ(ended, 1) << way;
        EXPECT_FALSE(child<QTimer>(&w, "Timer1")->isActive());
        EXPECT_FALSE(w.configurazione()->isVisible() || w.setupParametri()->isVisible() ||
                     w.setupPressione()->isVisible());
    }
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
