// The option dialogs: loaded once from config.kwt, repairing only their own
// line, Annulla discarding, a failed save warning and leaving the file as it was.
#include "support/gui_support.h"

using namespace testing_support;

const std::string kTail = "/hw\r\nC:\\Dati\\Citt\xe0\\\r\n"; // lines 3 and 4, carried byte for byte

using OptionDialogs = StationWindowTest;

// A dialog shows the saved choice, and leaves the other dialog's line alone
// even when bad; Annulla and Esc discard a change, and the next opening shows
// the saved choice again. A dialog's own bad line is repaired at its first
// showing, before any button.
TEST_F(OptionDialogs, EachShowsTheSavedChoiceDiscardsOnAnnullaAndWarnsOfAFailedSave) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    const struct { const char *item, *dialog; std::string lines; } cases[] = {
        {"Pressione", "Setup_Pressione", "7\r\n2\r\n" + kTail},
        {"Stringa_APRS", "Setup_Parametri", "2\r\n7\r\n" + kTail},
    };
    for (const auto &c : cases) {
        setConfig(c.lines);
        ui::QuadroStazione w;
        child<QAction>(&w, c.item)->trigger();
        QDialog *d = child<QDialog>(&w, c.dialog);
        EXPECT_TRUE(child<QRadioButton>(d, "Option2")->isChecked()) << c.item;
        child<QRadioButton>(d, "Option1")->click();
        if (c.lines[0] == '2')
            QApplication::sendEvent(d, &esc);
        else
            child<QPushButton>(d, "CancelButton")->click();
        EXPECT_FALSE(d->isVisible()) << c.item;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(config(), c.lines) << c.item;
        child<QAction>(&w, c.item)->trigger();
        EXPECT_TRUE(child<QRadioButton>(child<QDialog>(&w, c.dialog), "Option2")->isChecked()) << c.item;
    }
    setConfig("7\r\n7\r\n" + kTail);
    menu("Stringa_APRS");
    EXPECT_EQ(config(), "1\r\n7\r\n" + kTail);

    // A save whose write stops after a few bytes warns, keeps the dialog open
    // and the file as it was; OK again saves the choice.
    menu("Pressione");
    QDialog *p = window_.setupPressione();
    child<QRadioButton>(p, "Option2")->setChecked(true);
    disk_.stopAfter = 5;
    child<QPushButton>(p, "OKButton")->click();
    disk_.stopAfter.reset();
    EXPECT_TRUE(messages_ == QStringList{"Impossibile salvare config.kwt (disco pieno)."} && p->isVisible());
    EXPECT_EQ(config(), "1\r\n1\r\n" + kTail); // as its first showing repaired it
    child<QPushButton>(p, "OKButton")->click();
    EXPECT_EQ(config(), "1\r\n2\r\n" + kTail);
}
