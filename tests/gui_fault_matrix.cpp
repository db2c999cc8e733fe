// What the main window adds to the faults of the cycle, whose cases are in
// test_fault_matrix.cpp: the status line tells every problem of a tick until
// the tick on which it is gone, the APRS box marks a line never written, a
// dialog whose save of config.kwt fails warns and stays open, and the event
// record keeps it all.
#include <filesystem>

#include "station/version.h"
#include "support/direwolf.h"
#include "support/gui_support.h"

using namespace testing_support;

namespace fs = std::filesystem;
using WindowFaults = StationWindowTest;

// The APRS box shows a line that could not be written greyed and marked as
// never sent, until a line is written again.
TEST_F(WindowFaults, EveryProblemOfATickShowsUntilTheTickOnWhichItIsGone) {
    auto *box = child<QPlainTextEdit>(&window_, "Text1");
    auto *mark = child<QLabel>(&window_, "aprsNotWritten");
    const QColor normal = box->palette().color(QPalette::Text);
    writeStation();
    tick();
    disk_.stopAfter = 0;
    tick(1);
    disk_.stopAfter.reset();
    const std::string in = " in " + dir_.file("out") + ": disco pieno";
    const std::string shown = "Impossibile scrivere my_meteo.txt" + in + " (e altri 3 problemi)";
    EXPECT_EQ(status().toStdString(), shown);
    std::string all; // a reading equal to the day's extremes rewrites the store too
    for (const char *name : {"my_meteo.txt", "MM261205.kwt", "VENTO.TXT", "20261205.txt"})
        all += (all.empty() ? "" : "\n") + ("Impossibile scrivere " + (name + in));
    EXPECT_EQ(statusToolTip().toStdString(), all);
    EXPECT_TRUE(box->toPlainText().startsWith("Dec 05 2026 09:23\n")) << box->toPlainText();
    EXPECT_TRUE(mark->isVisibleTo(&window_) && mark->text() == "non scritto");
    EXPECT_NE(box->palette().color(QPalette::Text), normal);
    // A tick without currdat.lst cannot tell whether the fault is gone.
    fs::rename(dir_.file("station/currdat.lst"), dir_.file("station/away"));
    tick();
    EXPECT_EQ(status().toStdString(), shown);
    fs::rename(dir_.file("station/away"), dir_.file("station/currdat.lst"));
    tick();
    EXPECT_TRUE(status().isEmpty() && statusToolTip().isEmpty()) << status();
    EXPECT_FALSE(mark->isVisibleTo(&window_));
    EXPECT_EQ(box->palette().color(QPalette::Text), normal);

    // Two problems, then one, which has no count.
    for (const char *name : {"VENTO.TXT", "20261205.txt"}) {
        fs::remove(dir_.file("out/") + name);
        fs::create_directory(dir_.file("out/") + name);
    }
    tick();
    EXPECT_TRUE(status().startsWith("Impossibile scrivere VENTO.TXT in ") && status().endsWith(" (e un altro problema)"))
        << status();
    fs::remove(dir_.file("out/20261205.txt"));
    tick();
    EXPECT_TRUE(status().startsWith("Impossibile scrivere VENTO.TXT in ") && statusToolTip() == status()) << status();
}

// With config.kwt unreadable (a folder in its place reads like a locked
// file) every tick says so, once a minute, and the first tick after the
// cause is gone converts again; a hand edit of the folder line is taken as
// the dialog's save is.
TEST_F(WindowFaults, WithNoHeavyWeatherFolderEveryTickSaysSoAndTheProgramRecoversByItself) {
    fs::remove(dir_.file("config.kwt"));
    fs::create_directory(dir_.file("config.kwt"));
    writeStation();
    for (int twice = 0; twice < 2; ++twice) {
        tick(1);
        EXPECT_EQ(status(), QString::fromUtf8("config.kwt non è leggibile: cartella di Heavy Weather sconosciuta, "
                                              "nessun dato convertito"));
        EXPECT_EQ(timer()->interval(), 59500);
    }
    fs::remove(dir_.file("config.kwt"));
    fs::rename(dir_.file("station"), dir_.file("edited"));
    setConfig("1\r\n1\r\n" + dir_.file("edited") + "\r\n" + dir_.file("out") + "\r\n");
    tick(1);
    EXPECT_TRUE(status().isEmpty()) << status();
    EXPECT_EQ(child<QLabel>(&window_, "Label2")->text(), "Situazione meteo di    05 dicembre 2026  alle ore 09:25");
}

// A save of config.kwt whose write stops after a few bytes warns, keeps the
// dialog open and the file as it was; OK again saves the choice.
TEST_F(WindowFaults, ADialogWhoseSaveFailsWarnsStaysOpenAndLeavesConfigAsItWas) {
    const std::string was = config();
    menu("Pressione");
    child<QRadioButton>(window_.setupPressione(), "Option2")->setChecked(true);
    disk_.stopAfter = 5;
    child<QPushButton>(window_.setupPressione(), "OKButton")->click();
    disk_.stopAfter.reset();
    EXPECT_EQ(messages_, QStringList{"Impossibile salvare config.kwt (disco pieno)."});
    EXPECT_TRUE(window_.setupPressione()->isVisible());
    EXPECT_EQ(config(), was);
    child<QPushButton>(window_.setupPressione(), "OKButton")->click();
    EXPECT_EQ(config(), "1\r\n2" + was.substr(4));
}

// A night's trouble stays on record: each problem of the status line (the
// cycle's and the sends') on its first tick and when it is gone, with the
// times; File › "Registro eventi" shows it. A TNC down, the output folder away.
TEST_F(WindowFaults, TheEventRecordKeepsEachProblemFromItsFirstToItsLastTick) {
    const ReservedPort tnc;
    writeSend(tnc.port());
    writeStation();
    tick();
    const std::string kiss = "KISS: connessione rifiutata (127.0.0.1:" + std::to_string(tnc.port()) +
                             "), nuovo tentativo tra 30 s\r\n";
    ASSERT_TRUE(waitUntil([&] { return statusToolTip().startsWith("KISS: "); })) << statusToolTip();
    fs::rename(dir_.file("out"), dir_.file("away"));
    tick(1);
    tick(1);
    fs::rename(dir_.file("away"), dir_.file("out"));
    tick(1);
    writeSend(0);
    tick();
    window_.Esci_Click();
    menu("Registro_Eventi");
    const std::string folder = "Cartella di uscita inesistente: " + dir_.file("out") + " (nessun file scritto)\r\n";
    const std::string want = "05/12/2026 09:22  Avvio di meteo-aprs, Rel. " + std::string(version::kVersionText) +
                             "\r\n05/12/2026 09:22  Problema: " + kiss + "05/12/2026 09:23  Problema: " + folder +
                             "05/12/2026 09:25  Risolto (dal 05/12/2026 09:23 al 05/12/2026 09:24): " + folder +
                             "05/12/2026 09:25  Risolto (dal 05/12/2026 09:22 al 05/12/2026 09:25): " + kiss +
                             "05/12/2026 09:25  Chiusura di meteo-aprs\r\n";
    EXPECT_EQ(readBytes(dir_.file("meteo-aprs-eventi.txt")), want);
    EXPECT_EQ(child<QPlainTextEdit>(child<QDialog>(&window_, "Registro_Eventi"), "Eventi")->toPlainText(),
              QString::fromStdString(want).replace("\r\n", "\n").trimmed());
}
