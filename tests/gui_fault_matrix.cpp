// What the main window adds to the faults of the cycle, whose cases are in
// test_fault_matrix.cpp: the status bar tells every problem of a tick in
// Italian until a good tick clears it, and a dialog whose save of config.kwt
// fails warns, stays open and leaves the file as it was.

#include <filesystem>

#include "support/gui_support.h"

using testing_support::child;

namespace fs = std::filesystem;
using WindowFaults = testing_support::StationWindowTest;

TEST_F(WindowFaults, TheStatusBarTellsEveryProblemOfATickUntilAGoodTickClearsIt) {
    writeStation();
    window_.Timer1_Timer();
    disk_.stopAfter = 0;
    ++now_.minute;
    window_.Timer1_Timer();
    disk_.stopAfter.reset();
    const std::string in = " in " + dir_.file("out") + ": disco pieno";
    EXPECT_EQ(status().toStdString(), "Impossibile scrivere my_meteo.txt" + in + " (e altri 3 problemi)");
    std::string all; // a reading equal to the day's extremes rewrites the store too
    for (const char *name : {"my_meteo.txt", "MM261205.kwt", "VENTO.TXT", "20261205.txt"})
        all += (all.empty() ? "" : "\n") + ("Impossibile scrivere " + (name + in));
    EXPECT_EQ(window_.statusBar()->toolTip().toStdString(), all);

    window_.Timer1_Timer();
    EXPECT_TRUE(status().isEmpty() && window_.statusBar()->toolTip().isEmpty()) << status().toStdString();

    // One problem has no count, and a tick without a reading leaves the panel.
    const QString heading = child<QLabel>(&window_, "Label2")->text();
    testing_support::writeBytes(dir_.file("station/currdat.lst"), "");
    ++now_.minute;
    window_.Timer1_Timer();
    EXPECT_EQ(status(), "currdat.lst illeggibile o incompleto: dati non aggiornati");
    EXPECT_EQ(window_.statusBar()->toolTip(), status());
    EXPECT_EQ(child<QLabel>(&window_, "Label2")->text(), heading);
}

// Each dialog's save with a write that stops after a few bytes. The repairs
// of bad choice lines that loading the option dialogs tries fail too, and
// silently: every reader already takes such a line as "1".
TEST_F(WindowFaults, ADialogWhoseSaveFailsWarnsStaysOpenAndLeavesConfigAsItWas) {
    const std::string tail = dir_.file("station") + "\r\n";
    setConfig("7\r\n9\r\n" + tail + dir_.file("out") + "\r\n");
    disk_.stopAfter = 3;
    ui::SetupParametri *aprs = window_.setupParametri();
    ui::SetupPressione *pressure = window_.setupPressione();
    ui::Configurazione *folders = window_.configurazione();
    disk_.stopAfter.reset();
    EXPECT_TRUE(messages_.isEmpty() && child<QRadioButton>(aprs, "Option1")->isChecked() &&
                child<QRadioButton>(pressure, "Option1")->isChecked());
    fs::create_directory(dir_.file("other"));
    child<QLineEdit>(folders, "Text2")->setText(QString::fromStdString(dir_.file("other")));
    const struct {
        QAction *menu;
        QWidget *dialog;
        QAbstractButton *choice, *confirm;
        std::string saved;
    } cases[] = {
        {child<QAction>(&window_, "Stringa_APRS"), aprs, child<QRadioButton>(aprs, "Option3"),
         child<QPushButton>(aprs, "OKButton"), "3\r\n9\r\n" + tail + dir_.file("out") + "\r\n"},
        {child<QAction>(&window_, "Pressione"), pressure, child<QRadioButton>(pressure, "Option2"),
         child<QPushButton>(pressure, "OKButton"), "3\r\n2\r\n" + tail + dir_.file("out") + "\r\n"},
        {child<QAction>(&window_, "Cartelle"), folders, nullptr, child<QPushButton>(folders, "Command2"),
         "3\r\n2\r\n" + tail + dir_.file("other") + "\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.dialog->objectName().toStdString());
        const std::string was = config();
        messages_.clear();
        c.menu->trigger();
        if (c.choice)
            c.choice->setChecked(true);
        disk_.stopAfter = 5;
        c.confirm->click();
        disk_.stopAfter.reset();
        EXPECT_EQ(messages_, QStringList{"Impossibile salvare config.kwt (disco pieno)."});
        EXPECT_TRUE(c.dialog->isVisible());
        EXPECT_EQ(config(), was);
        EXPECT_FALSE(QFile::exists("config.kwt.tmp"));
        c.confirm->click();
        EXPECT_EQ(config(), c.saved);
        EXPECT_FALSE(c.dialog->isVisible());
    }
}
