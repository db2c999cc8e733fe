// The window's ticks: waiting for currdat.lst, converting, greying, colours.
#include <filesystem>

#include "support/gui_support.h"

using namespace testing_support;

using Cycle = StationWindowTest;

// No currdat.lst, one being written, a good one, none again: quick tries
// until a conversion, then every minute; the panel keeps the last reading.
// A file still missing after 5 s of quick tries, or at two ticks in a row
// later, is said, its panels greyed; one missing tick is Heavy Weather
// rewriting it.
TEST_F(Cycle, WaitsUntilTheFileAppearsThenConvertsEveryMinuteAndKeepsTheLastReading) {
    EXPECT_EQ(timer()->timerType(), Qt::PreciseTimer); // 59.5 s must not stretch to a minute
    const char *const waiting = "Lettura dati meteo in corso ...";
    const char *const converted = "Situazione meteo di    05 dicembre 2026  alle ore 09:22";
    const QString notFound = QString::fromUtf8("currdat.lst non trovato in " + dir_.file("station") +
                                               ": controllare la cartella di Heavy Weather (File › Cartelle di lavoro)");
    const struct { std::optional<std::string> currdat; int times, interval; const char *heading; bool told; } ticks[] = {
        {"\r\n[header]\r\n", 1, 100, waiting, false},
        {std::nullopt, 48, 100, waiting, false},
        {std::nullopt, 1, 59500, waiting, true}, // 5 s of quick tries
        {currdatFile({}), 1, 59500, converted, false},
        {std::nullopt, 1, 59500, converted, false},
        {std::nullopt, 1, 59500, converted, true},
        {currdatFile({}), 1, 59500, converted, false},
    };
    for (const auto &t : ticks) {
        std::filesystem::remove(dir_.file("station/currdat.lst"));
        if (t.currdat)
            writeBytes(dir_.file("station/currdat.lst"), *t.currdat);
        for (int i = 0; i < t.times; ++i)
            tick();
        EXPECT_EQ(timer()->interval(), t.interval);
        EXPECT_EQ(child<QLabel>(&window_, "Label2")->text(), t.heading);
        EXPECT_EQ(status().startsWith(notFound), t.told) << status();
        EXPECT_EQ(child<QLabel>(&window_, "Label6")->isEnabled(), !t.told);
    }
}

// The colours as painted: the storm alarm and the frost alert red, then
// black, then the frost alert alone red; the temperature indicators off in
// the window's own background on a day's first tick, then green for a new
// maximum, red for a new minimum.
// (Which caption is red: test_cycle.cpp.)
TEST_F(Cycle, AlarmAlertsAndIndicatorsShowInTheirColours) {
    const auto text = [this](const char *label) {
        return child<QLabel>(&window_, label)->palette().color(QPalette::Active, QPalette::WindowText);
    };
    const auto lamp = [this](const char *name) {
        const QImage shown = child<QWidget>(&window_, name)->grab().toImage();
        return QColor(shown.pixel(shown.width() / 2, shown.height() / 2));
    };
    const QColor off = window_.palette().color(QPalette::Window);
    const struct { const char *storm, *outdoorC; QColor alarm, alert, max, min; } ticks[] = {
        {"1", "0.5", Qt::red, Qt::red, off, off},
        {"0", "12.8", Qt::black, Qt::black, Qt::green, off},
        {"0", "0.2", Qt::black, Qt::red, off, Qt::red},
    };
    for (const auto &t : ticks) {
        CurrdatValues v;
        v.storm = t.storm;
        v.outdoorC = t.outdoorC;
        writeStation(v);
        tick();
        EXPECT_TRUE(text("Label18") == t.alarm && text("Label29") == t.alert) << t.outdoorC;
        EXPECT_EQ(lamp("Shape1"), t.max) << t.outdoorC;
        EXPECT_EQ(lamp("Shape2"), t.min) << t.outdoorC;
    }
}
