// The window's ticks: a normal start, waiting, converting, colours. (The user
// message in effect: gui_direct_send.cpp.)
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
    // A normal start: the window alone, and a timer that keeps time (59.5 s
    // must not stretch to a minute).
    EXPECT_TRUE(window_.isVisible() && timer()->isActive() && !window_.findChild<ui::Configurazione *>());
    EXPECT_EQ(timer()->timerType(), Qt::PreciseTimer);
    const char *const waiting = "Lettura dati meteo in corso ...";
    const char *const converted = "Situazione meteo di    05 dicembre 2026  alle ore 09:22";
    const QString notFound = QString::fromUtf8("currdat.lst non trovato in " + dir_.file("station") +
                                               ": controllare la cartella di Heavy Weather (File › Cartelle di lavoro)");
    const struct { std::optional<std::string> currdat; int times, interval; const char *heading; bool told; } ticks[] = {
        {std::nullopt, 1, 100, waiting, false},
        {"\r\n[header]\r\n", 1, 100, waiting, false},
        {std::nullopt, 47, 100, waiting, false},
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
        EXPECT_EQ(caption("Label2"), t.heading);
        EXPECT_EQ(status().startsWith(notFound), t.told) << status().toStdString();
        EXPECT_EQ(child<QLabel>(&window_, "Label6")->isEnabled(), !t.told);
    }
    EXPECT_EQ(child<QPlainTextEdit>(&window_, "Text1")->toPlainText(),
              "Dec 05 2026 09:22\n270/007g...t055p012r000b09360h84/Prev. sereno/WS3600/113W");
}

// The captions themselves are the view's (test_cycle.cpp); here, that the
// window gives them their colours and the indicators their looks. Off, at
// the start, is the window's own background.
TEST_F(Cycle, AlarmAlertsAndIndicatorsShowInTheirColours) {
    for (const char *name : {"Shape1", "Shape2", "Shape3", "Shape4"}) {
        const auto *shape = child<ui::Indicator>(&window_, name);
        EXPECT_EQ(shape->borderColor(), ui::kWindowBackground + 1);
        EXPECT_EQ(shape->toolTip().count("Verde: ") + shape->toolTip().count("\nRossa: "), 2);
        EXPECT_EQ(ui::colorFromValue(shape->fillColor(), shape->palette()), window_.palette().color(QPalette::Window));
    }
    CurrdatValues v;
    v.storm = "1";
    v.outdoorC = "0.5";
    writeStation(v);
    tick();
    EXPECT_EQ(child<QLabel>(&window_, "Label18")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(child<QLabel>(&window_, "Label29")->property("foreColor").toUInt(), 255u);

    v.storm = "0";
    v.outdoorC = "12.8";
    writeStation(v);
    tick();
    EXPECT_EQ(child<QLabel>(&window_, "Label18")->property("foreColor").toUInt(), 0u);
    EXPECT_EQ(child<QLabel>(&window_, "Label29")->property("foreColor").toUInt(), 0u);
    EXPECT_EQ(child<ui::Indicator>(&window_, "Shape1")->fillColor(), 65280u);
    EXPECT_EQ(child<ui::Indicator>(&window_, "Shape1")->borderColor(), 32768u);
    EXPECT_EQ(child<ui::Indicator>(&window_, "Shape2")->fillColor(), ui::kWindowBackground);
}
