// The window's ticks: waiting, converting, colours, the dialogs' choices in effect.
#include <filesystem>

#include "support/gui_support.h"

using testing_support::child;

using testing_support::currdatFile;
using testing_support::CurrdatValues;
using testing_support::readBytes;
using testing_support::writeBytes;
using Cycle = testing_support::StationWindowTest;

namespace {

const char *const kWaiting = "Lettura dati meteo in corso ...";
const char *const kConverted = "Situazione meteo di    05 dicembre 2026  alle ore 09:22";

} // namespace

TEST_F(Cycle, WaitsUntilTheFileAppearsThenConvertsEveryMinuteAndKeepsTheLastReading) {
    window_.Timer1_Timer();
    EXPECT_EQ(child<QTimer>(&window_, "Timer1")->interval(), 100);
    EXPECT_EQ(child<QLabel>(&window_, "Label2")->text(), kWaiting);
    EXPECT_FALSE(window_.configurazione()->isVisible()); // loaded to read its folder, not shown
    EXPECT_TRUE(status().isEmpty());

    writeBytes(dir_.file("station/currdat.lst"), "\r\n[header]\r\n"); // being written
    window_.Timer1_Timer();
    EXPECT_EQ(child<QTimer>(&window_, "Timer1")->interval(), 100);
    EXPECT_EQ(child<QLabel>(&window_, "Label2")->text(), kWaiting);
    EXPECT_FALSE(status().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(out("my_meteo.txt")));

    writeStation();
    window_.Timer1_Timer();
    EXPECT_EQ(child<QTimer>(&window_, "Timer1")->interval(), 59500);
    EXPECT_EQ(child<QLabel>(&window_, "Label2")->text(), kConverted);
    EXPECT_EQ(child<QLabel>(&window_, "Label4")->text(), "Condizioni attuali:  sereno-vento");
    EXPECT_EQ(child<QPlainTextEdit>(&window_, "Text1")->toPlainText(),
              "Dec 05 2026 09:22\n270/007g000t055p012r000b09360h84/Prev. sereno/WS3600/113W");
    EXPECT_TRUE(std::filesystem::exists(out("my_meteo.txt")));
    EXPECT_TRUE(status().isEmpty());

    std::filesystem::remove(dir_.file("station/currdat.lst"));
    now_.minute = 23;
    window_.Timer1_Timer();
    EXPECT_EQ(child<QLabel>(&window_, "Label2")->text(), kConverted);
    EXPECT_EQ(child<QTimer>(&window_, "Timer1")->interval(), 59500);
}

// The captions themselves are the view's (test_cycle.cpp); here, that the
// window gives them their colours and the indicators their looks.
TEST_F(Cycle, AlarmAlertsAndIndicatorsShowInTheirColours) {
    CurrdatValues v;
    v.storm = "1";
    v.outdoorC = "0.5";
    writeStation(v);
    window_.Timer1_Timer();
    EXPECT_EQ(child<QLabel>(&window_, "Label18")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(child<QLabel>(&window_, "Label29")->property("foreColor").toUInt(), 255u);
    EXPECT_EQ(child<QLabel>(&window_, "Label24")->text(), QString::fromUtf8("T ext MAX =  .5 °C"));
    for (const char *shape : {"Shape1", "Shape2", "Shape3", "Shape4"})
        EXPECT_EQ(child<ui::Indicator>(&window_, shape)->fillColor(), ui::kWindowBackground);

    v.storm = "0";
    v.outdoorC = "12.8";
    writeStation(v);
    window_.Timer1_Timer();
    EXPECT_EQ(child<QLabel>(&window_, "Label18")->property("foreColor").toUInt(), 0u);
    EXPECT_EQ(child<QLabel>(&window_, "Label29")->property("foreColor").toUInt(), 0u);
    EXPECT_EQ(child<ui::Indicator>(&window_, "Shape1")->fillColor(), 65280u);
    EXPECT_EQ(child<ui::Indicator>(&window_, "Shape1")->borderColor(), 32768u);
    EXPECT_EQ(child<ui::Indicator>(&window_, "Shape2")->fillColor(), ui::kWindowBackground);
}

// The Heavy Weather folder typed in the dialog is used before it is saved.
TEST_F(Cycle, TheTypedFolderIsUsedBeforeItIsSaved) {
    testing_support::TempDir typed;
    writeBytes(typed.file("currdat.lst"), currdatFile({}));
    child<QAction>(&window_, "Cartelle")->trigger();
    child<QLineEdit>(window_.configurazione(), "Text1")->setText(QString::fromStdString(typed.path()));
    window_.Timer1_Timer();
    EXPECT_EQ(child<QTimer>(&window_, "Timer1")->interval(), 59500);
    EXPECT_EQ(child<QLabel>(&window_, "Label19")->text(), "Previsione:  sereno");
}

TEST_F(Cycle, TheNextTickUsesTheDialogsChoicesAndTheUserMessage) {
    writeStation();
    child<QAction>(&window_, "Stringa_APRS")->trigger();
    child<QRadioButton>(window_.setupParametri(), "Option3")->setChecked(true);
    child<QPushButton>(window_.setupParametri(), "OKButton")->click();
    child<QAction>(&window_, "Pressione")->trigger();
    child<QRadioButton>(window_.setupPressione(), "Option2")->setChecked(true);
    child<QPushButton>(window_.setupPressione(), "OKButton")->click();
    window_.Timer1_Timer();
    const std::string date = "Dec 05 2026 09:22\r\n";
    EXPECT_EQ(readBytes(out("my_meteo.txt")), date + "270/007g000t055p012r000b10132h84//WS3600/113W\r\n");
    EXPECT_EQ(child<QLabel>(&window_, "Label16")->text(), "Pressione rel.:   1013.2 hPa");

    child<QLineEdit>(&window_, "Text2")->setText(QString::fromUtf8("Città 東 ok"));
    child<QCheckBox>(&window_, "Check1")->setChecked(true);
    window_.Timer1_Timer();
    EXPECT_EQ(readBytes(out("my_meteo.txt")), date + "270/007g000t055p012r000b10132h84/Citt\xe0 ? ok/WS3600/113W\r\n");
}

// A minute with the outdoor sensors reported missing: the panel shows "---"
// where Heavy Weather does, no fog or ice warning rests on them, and the
// day's temperatures stay unknown rather than a 0 that never happened.
TEST_F(Cycle, AMissingSensorShowsAsDashesAndNeverBecomesAZero) {
    CurrdatValues v;
    v.outdoorC = v.outdoorF = v.outdoorHumidity = "---";
    v.dewPointC = "-0.5";
    writeStation(v);
    window_.Timer1_Timer();
    const struct { const char *label, *text; } shown[] = {
        {"Label6", "T ext:   ---"},        {"Label7", "Hrel ext:   ---"},
        {"Label24", "T ext MAX =  ---"},   {"Label25", "T ext min =  ---"},
        {"Label29", "Nessuna segnalazione attiva"},
    };
    for (const auto &s : shown)
        EXPECT_EQ(child<QLabel>(&window_, s.label)->text().toStdString(), s.text) << s.label;
    EXPECT_EQ(readBytes(out("MM261205.kwt")), "\r\n\r\n 1013.2\r\n 1013.2\r\n");

    writeStation(); // 12.8 °C
    ++now_.minute;
    window_.Timer1_Timer();
    EXPECT_EQ(child<QLabel>(&window_, "Label25")->text().toStdString(), "T ext min =  12.8 °C");
    EXPECT_EQ(readBytes(out("MM261205.kwt")), " 12.8\r\n 12.8\r\n 1013.2\r\n 1013.2\r\n");
}
