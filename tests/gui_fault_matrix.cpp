// What the main window adds to the faults of the cycle, whose cases are in
// test_fault_matrix.cpp: the status line tells every problem of a tick until
// the tick on which it is gone, the APRS box marks a line never written, and
// the event record keeps it all.
#include <filesystem>

#include "station/version.h"
#include "support/gui_support.h"

using namespace testing_support;

namespace fs = std::filesystem;
using WindowFaults = StationWindowTest;

TEST_F(WindowFaults, EveryProblemOfATickShowsUntilTheTickOnWhichItIsGone) {
    auto *box = child<QPlainTextEdit>(&window_, "Text1");
    auto *mark = child<QLabel>(&window_, "aprsNotWritten");
    writeStation();
    tick();
    disk_.stopAfter = 0;
    tick(1);
    disk_.stopAfter.reset();
    const std::string in = " in " + dir_.file("out") + ": disco pieno";
    EXPECT_EQ(status().toStdString(), "Impossibile scrivere my_meteo.txt" + in + " (e altri 3 problemi)");
    std::string all; // a reading equal to the day's extremes rewrites the store too
    for (const char *name : {"my_meteo.txt", "MM261205.kwt", "VENTO.TXT", "20261205.txt"})
        all += (all.empty() ? "" : "\n") + ("Impossibile scrivere " + (name + in));
    EXPECT_EQ(statusToolTip().toStdString(), all);
    EXPECT_TRUE(box->toPlainText().startsWith("Dec 05 2026 09:23\n") && mark->isVisibleTo(&window_) &&
                mark->text() == "non scritto");
    tick();
    EXPECT_TRUE(status().isEmpty() && statusToolTip().isEmpty()) << status();
    EXPECT_FALSE(mark->isVisibleTo(&window_));
}

// A night's trouble stays on record: each problem of the status line (the
// cycle's and the sends') on its first tick and when it is gone, with the
// times. A TNC down, the output folder away.
TEST_F(WindowFaults, TheEventRecordKeepsEachProblemFromItsFirstToItsLastTick) {
    const ReservedPort tnc;
    writeSend(tnc.port);
    writeStation();
    tick();
    const std::string kiss = "KISS: connessione rifiutata (127.0.0.1:" + std::to_string(tnc.port) +
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
    const std::string folder = "Cartella di uscita inesistente: " + dir_.file("out") + " (nessun file scritto)\r\n";
    const std::string want = "05/12/2026 09:22  Avvio di meteo-aprs, Rel. " + std::string(version::kVersionText) +
                             "\r\n05/12/2026 09:22  Problema: " + kiss + "05/12/2026 09:23  Problema: " + folder +
                             "05/12/2026 09:25  Risolto (dal 05/12/2026 09:23 al 05/12/2026 09:24): " + folder +
                             "05/12/2026 09:25  Risolto (dal 05/12/2026 09:22 al 05/12/2026 09:25): " + kiss +
                             "05/12/2026 09:25  Chiusura di meteo-aprs\r\n";
    EXPECT_EQ(readBytes(dir_.file("meteo-aprs-eventi.txt")), want);
}
