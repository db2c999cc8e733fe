// What the main window adds to the faults of the cycle, whose cases are in
// test_fault_matrix.cpp: the status bar tells every problem of a tick in
// Italian until the tick on which it is gone, the APRS box marks a line that
// was never written, and a dialog whose save of config.kwt fails warns, stays
// open and leaves the file as it was.

#include <filesystem>

#include "station/version.h"
#include "support/gui_support.h"

using namespace testing_support;

namespace fs = std::filesystem;
using WindowFaults = StationWindowTest;

// The status bar tells every problem of a tick until the tick on which it is
// gone; the APRS box shows a line that could not be written greyed and marked
// as never sent, until a line is written again.
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
    EXPECT_TRUE(box->toPlainText().startsWith("Dec 05 2026 09:23\n")) << box->toPlainText().toStdString();
    EXPECT_TRUE(mark->isVisibleTo(&window_));
    EXPECT_EQ(mark->text(), "non scritto");
    EXPECT_NE(box->palette().color(QPalette::Text), normal);

    // A menu's hint passes over it; a tick without currdat.lst cannot tell
    // whether the fault is gone, so it stays.
    QStatusTipEvent hint(QStringLiteral("Cartelle di lavoro"));
    QApplication::sendEvent(&window_, &hint);
    EXPECT_EQ(status().toStdString(), shown);
    fs::rename(dir_.file("station/currdat.lst"), dir_.file("station/away"));
    tick();
    EXPECT_EQ(status().toStdString(), shown);
    fs::rename(dir_.file("station/away"), dir_.file("station/currdat.lst"));
    tick();
    EXPECT_TRUE(status().isEmpty() && statusToolTip().isEmpty()) << status().toStdString();
    EXPECT_FALSE(mark->isVisibleTo(&window_));
    EXPECT_EQ(box->palette().color(QPalette::Text), normal);

    // Two problems: the wind file and the log cannot be written.
    for (const char *name : {"VENTO.TXT", "20261205.txt"}) {
        fs::remove(out(name));
        fs::create_directory(out(name));
    }
    tick();
    EXPECT_TRUE(status().startsWith(QString::fromStdString("Impossibile scrivere VENTO.TXT in ")));
    EXPECT_TRUE(status().endsWith(" (e un altro problema)")) << status().toStdString();

    // One problem has no count.
    writeBytes(dir_.file("station/currdat.lst"), "");
    tick(1);
    EXPECT_EQ(status().toStdString(), "currdat.lst illeggibile o incompleto in " + dir_.file("station") +
                                          ": meno righe di quelle di Heavy Weather (dati non aggiornati)");
    EXPECT_EQ(statusToolTip(), status());
}

// With no Heavy Weather folder known nothing can be converted: every tick
// says so, once a minute, and the first tick after the cause is gone converts
// again. Here the folders dialog was closed and loads afresh while config.kwt
// cannot be read (a folder in its place reads like a file that is locked).
// config.kwt is read at every tick, all of it: a hand edit of the folder
// line is taken as the dialog's save is.
TEST_F(WindowFaults, WithNoHeavyWeatherFolderEveryTickSaysSoAndTheProgramRecoversByItself) {
    setConfig("1\r\n1\r\n\r\n" + dir_.file("out") + "\r\n");
    tick();
    EXPECT_EQ(status(), "Cartella di Heavy Weather non impostata: nessun dato convertito");
    EXPECT_EQ(timer()->interval(), 59500);
    writeConfig(dir_.file("out"));
    writeStation();
    tick();
    menu("Cartelle");
    window_.configurazione()->close();
    fs::remove(dir_.file("config.kwt"));
    fs::create_directory(dir_.file("config.kwt"));
    const QString unreadable = QString::fromUtf8(
        "config.kwt non è leggibile: cartella di Heavy Weather sconosciuta, nessun dato convertito");
    for (int twice = 0; twice < 2; ++twice) {
        tick(1);
        EXPECT_EQ(status(), unreadable);
    }
    EXPECT_EQ(caption("Label2"), "Situazione meteo di    05 dicembre 2026  alle ore 09:22");

    fs::remove(dir_.file("config.kwt"));
    writeConfig(dir_.file("out"));
    tick(1);
    EXPECT_TRUE(status().isEmpty()) << status().toStdString();
    EXPECT_EQ(caption("Label2"), "Situazione meteo di    05 dicembre 2026  alle ore 09:25");

    menu("Cartelle");
    fs::rename(dir_.file("station"), dir_.file("edited"));
    setConfig("1\r\n1\r\n" + dir_.file("edited") + "\r\n" + dir_.file("out") + "\r\n");
    tick(1);
    EXPECT_TRUE(status().isEmpty()) << status().toStdString();
    EXPECT_EQ(caption("Label2"), "Situazione meteo di    05 dicembre 2026  alle ore 09:26");
}

// Each dialog's save with a write that stops after a few bytes. The repairs
// of bad choice lines that loading the option dialogs tries fail too, and
// silently: every reader already takes such a line as "1". Every save then
// keeps what the one before it saved: an OK reads the file anew.
TEST_F(WindowFaults, ADialogWhoseSaveFailsWarnsStaysOpenAndLeavesConfigAsItWas) {
    const std::string tail = dir_.file("station") + "\r\n";
    const std::string output = dir_.file("out") + "\r\n";
    setConfig("7\r\n9\r\n" + tail + output);
    disk_.stopAfter = 3;
    ui::SetupParametri *aprs = window_.setupParametri();
    ui::SetupPressione *pressure = window_.setupPressione();
    ui::Configurazione *folders = window_.configurazione();
    disk_.stopAfter.reset();
    EXPECT_TRUE(messages_.isEmpty() && child<QRadioButton>(aprs, "Option1")->isChecked() &&
                child<QRadioButton>(pressure, "Option1")->isChecked());
    fs::create_directory(dir_.file("other"));
    const struct { const char *item; QWidget *dialog; const char *choice, *confirm; std::string saved; } cases[] = {
        {"Stringa_APRS", aprs, "Option3", "OKButton", "3\r\n9\r\n" + tail + output},
        {"Pressione", pressure, "Option2", "OKButton", "3\r\n2\r\n" + tail + output},
        {"Cartelle", folders, nullptr, "Command2", "3\r\n2\r\n" + tail + dir_.file("other") + "\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item);
        const std::string was = config();
        messages_.clear();
        menu(c.item);
        if (c.choice)
            child<QRadioButton>(c.dialog, c.choice)->setChecked(true);
        else
            child<QLineEdit>(folders, "Text2")->setText(QString::fromStdString(dir_.file("other")));
        disk_.stopAfter = 5;
        child<QPushButton>(c.dialog, c.confirm)->click();
        disk_.stopAfter.reset();
        EXPECT_EQ(messages_, QStringList{"Impossibile salvare config.kwt (disco pieno)."});
        EXPECT_TRUE(c.dialog->isVisible());
        EXPECT_EQ(config(), was);
        child<QPushButton>(c.dialog, c.confirm)->click();
        EXPECT_EQ(config(), c.saved);
        EXPECT_FALSE(c.dialog->isVisible());
    }
}

// A night's trouble stays on record: each problem of the status line (the
// cycle's and the sends') on its first tick and when it is gone, with the
// times; File › "Registro eventi" shows it. A TNC down, the output folder away.
TEST_F(WindowFaults, TheEventRecordKeepsEachProblemFromItsFirstToItsLastTick) {
    writeStation();
    tick();
    auto *send = child<net::DirectSend>(&window_, "directSend");
    const QString kiss = QStringLiteral("KISS: connessione rifiutata (127.0.0.1:8001), nuovo tentativo tra ");
    emit send->problemsChanged({kiss + "30 s"});
    fs::rename(dir_.file("out"), dir_.file("away"));
    tick(1);
    emit send->problemsChanged({kiss + "1 min"});
    tick(1);
    fs::rename(dir_.file("away"), dir_.file("out"));
    tick(1);
    emit send->problemsChanged({});
    window_.Esci_Click();
    menu("Registro_Eventi");
    const std::string folder = "Cartella di uscita inesistente: " + dir_.file("out") + " (nessun file scritto)\r\n";
    const std::string want = "05/12/2026 09:22  Avvio di meteo-aprs, Rel. " + std::string(version::kVersionText) +
                             "\r\n05/12/2026 09:22  Problema: " + kiss.toStdString() + "30 s\r\n"
                             "05/12/2026 09:23  Problema: " + folder +
                             "05/12/2026 09:25  Risolto (dal 05/12/2026 09:23 al 05/12/2026 09:24): " + folder +
                             "05/12/2026 09:25  Risolto (dal 05/12/2026 09:22 al 05/12/2026 09:25): " +
                             kiss.toStdString() + "1 min\r\n05/12/2026 09:25  Chiusura di meteo-aprs\r\n";
    EXPECT_EQ(readBytes(dir_.file("meteo-aprs-eventi.txt")), want);
    const auto *shown = child<QPlainTextEdit>(child<QDialog>(&window_, "Registro_Eventi"), "Eventi");
    EXPECT_TRUE(shown->isReadOnly());
    EXPECT_EQ(shown->toPlainText(), QString::fromStdString(want).replace("\r\n", "\n").trimmed());
}
