// The window's ticks: waiting, converting, colours, the user message in effect.
#include <filesystem>

#include "support/gui_support.h"

using namespace testing_support;

using Cycle = StationWindowTest;

// No currdat.lst, one being written, a good one, none again: the timer waits
// until a conversion, and the panel keeps the last reading.
TEST_F(Cycle, WaitsUntilTheFileAppearsThenConvertsEveryMinuteAndKeepsTheLastReading) {
    const char *const waiting = "Lettura dati meteo in corso ...";
    const char *const converted = "Situazione meteo di    05 dicembre 2026  alle ore 09:22";
    const struct { std::optional<std::string> currdat; int interval; const char *heading; } ticks[] = {
        {std::nullopt, 100, waiting},
        {"\r\n[header]\r\n", 100, waiting},
        {currdatFile({}), 59500, converted},
        {std::nullopt, 59500, converted},
    };
    for (const auto &t : ticks) {
        std::filesystem::remove(dir_.file("station/currdat.lst"));
        if (t.currdat)
            writeBytes(dir_.file("station/currdat.lst"), *t.currdat);
        tick();
        EXPECT_EQ(timer()->interval(), t.interval);
        EXPECT_EQ(caption("Label2"), t.heading);
    }
    EXPECT_EQ(child<QPlainTextEdit>(&window_, "Text1")->toPlainText(),
              "Dec 05 2026 09:22\n270/007g000t055p012r000b09360h84/Prev. sereno/WS3600/113W");
}

// The captions themselves are the view's (test_cycle.cpp); here, that the
// window gives them their colours and the indicators their looks.
TEST_F(Cycle, AlarmAlertsAndIndicatorsShowInTheirColours) {
    CurrdatValues v;
    v.storm = "1";
    v.outdoorC = "0.5";
    writeStation(v);
    tick();
    EXPECT_EQ(child<QLabel>(&window_, "Label18")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(child<QLabel>(&window_, "Label29")->property("foreColor").toUInt(), 255u);
    for (const char *shape : {"Shape1", "Shape2", "Shape3", "Shape4"})
        EXPECT_EQ(child<ui::Indicator>(&window_, shape)->fillColor(), ui::kWindowBackground);

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

// The user message typed in the window goes into the next tick's line, in
// CP1252. (A choice saved in a dialog takes effect as config.kwt is read on
// every tick: the soak changes it every day.)
TEST_F(Cycle, TheNextTickUsesTheUserMessage) {
    writeStation();
    child<QLineEdit>(&window_, "Text2")->setText(QString::fromUtf8("Città 東 ok"));
    child<QCheckBox>(&window_, "Check1")->setChecked(true);
    tick();
    EXPECT_EQ(readBytes(out("my_meteo.txt")),
              "Dec 05 2026 09:22\r\n270/007g000t055p012r000b09360h84/Citt\xe0 ? ok/WS3600/113W\r\n");
}
