// The option dialogs: loaded once from config.kwt, repairing only their own
// line, Annulla discarding.
#include "support/gui_support.h"

using namespace testing_support;

const std::string kTail = "/hw\r\nC:\\Dati\\Citt\xe0\\\r\n"; // lines 3 and 4, carried byte for byte

using OptionDialogs = StationWindowTest;

// A dialog shows the saved choice, and leaves the other dialog's line alone
// even when bad; Annulla, Esc and the frame discard a change, and the next
// opening shows the saved choice again. A dialog's own bad line is repaired
// at its first showing, before any button.
TEST_F(OptionDialogs, EachShowsTheSavedChoiceAndAnnullaEscAndTheFrameDiscardAChange) {
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    enum How { Annulla, Esc, Frame };
    const struct { const char *item, *dialog; How how; std::string lines; } cases[] = {
        {"Pressione", "Setup_Pressione", Annulla, "7\r\n2\r\n" + kTail},
        {"Stringa_APRS", "Setup_Parametri", Esc, "2\r\n7\r\n" + kTail},
        {"Stringa_APRS", "Setup_Parametri", Frame, "2\r\n7\r\n" + kTail},
    };
    for (const auto &c : cases) {
        setConfig(c.lines);
        ui::QuadroStazione w;
        child<QAction>(&w, c.item)->trigger();
        QDialog *d = child<QDialog>(&w, c.dialog);
        EXPECT_TRUE(child<QRadioButton>(d, "Option2")->isChecked()) << c.how;
        child<QRadioButton>(d, "Option1")->click();
        if (c.how == Esc)
            QApplication::sendEvent(d, &esc);
        else if (c.how == Annulla)
            child<QPushButton>(d, "CancelButton")->click();
        else
            d->close();
        EXPECT_FALSE(d->isVisible()) << c.how;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(config(), c.lines) << c.how;
        child<QAction>(&w, c.item)->trigger();
        EXPECT_TRUE(child<QRadioButton>(child<QDialog>(&w, c.dialog), "Option2")->isChecked()) << c.how;
    }
    setConfig("7\r\n7\r\n" + kTail);
    menu("Stringa_APRS");
    EXPECT_EQ(config(), "1\r\n7\r\n" + kTail);
}
