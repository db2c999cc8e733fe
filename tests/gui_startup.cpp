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

// On a first run, leaving the folders dialog ends the program: Esc, often
// pressed by mistake, and the frame both ask first, and "no" keeps it open.
TEST_F(Startup, LeavingTheFirstRunDialogAsksThenEndsTheProgram) {
    ui::QuadroStazione w;
    w.Form_Load();
    int ended = 0;
    QObject::connect(&w, &ui::QuadroStazione::programEnded, [&] { ++ended; });
    ui::Configurazione *dialog = w.configurazione();
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

}

namespace {

void type(QWidget *field, Qt::Key key, const QString &text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
}

void click(QWidget *widget) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

} // namespace

// The user message holds 20 characters: a key pressed in a full field does
// nothing, wherever the cursor is; a paste keeps what fits; characters are
// counted, not UTF-16 units. The words beside the box tick it too.
TEST_F(Startup, TheUserMessageKeepsItsTextAndCursorAndItsWordsTickTheBox) {
    setConfig("1\r\n1\r\n/hw\r\n/out\r\n");
    ui::QuadroStazione w;
    w.Form_Load();
    auto *field = child<QLineEdit>(w.centralWidget(), "Text2");
    const QString twenty = "12345678901234567890";
    field->setText(twenty);
    field->setCursorPosition(5);
    type(field, Qt::Key_X, "X");
    EXPECT_EQ(field->text(), twenty);
    EXPECT_EQ(field->cursorPosition(), 5);
    type(field, Qt::Key_Backspace);
    type(field, Qt::Key_X, "X");
    type(field, Qt::Key_Y, "Y");
    EXPECT_EQ(field->text(), "1234X678901234567890");
    EXPECT_EQ(field->cursorPosition(), 5);

    field->setText("abcdefghijklmnopqr");
    field->setCursorPosition(3);
    field->insert("12345"); // a paste
    EXPECT_EQ(field->text(), "abc12defghijklmnopqr");
    EXPECT_EQ(field->cursorPosition(), 5);
    field->clear();
    field->insert(QString(50, QChar(u'\u00e0')));
    EXPECT_EQ(field->text(), QString(20, QChar(u'\u00e0')));
    const QString face = QString::fromUcs4(U"\U0001F600");
    field->setText(face.repeated(25));
    EXPECT_EQ(field->text(), face.repeated(20));

    auto *box = child<QCheckBox>(w.centralWidget(), "Check1");
    click(child<QLabel>(w.centralWidget(), "Label31"));
    EXPECT_TRUE(box->isChecked());
    click(child<QLabel>(w.centralWidget(), "Label31"));
    EXPECT_FALSE(box->isChecked());
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
