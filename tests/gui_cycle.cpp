#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Indicator.h"
#include "app/Messages.h"
#include "app/QuadroStazione.h"
#include "config/Configurazione.h"
#include "config/SetupParametri.h"
#include "config/SetupPressione.h"
#include "support/currdat.h"
#include "support/test_support.h"

using testing_support::currdatFile;
using testing_support::CurrdatValues;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

// A working directory with config.kwt pointing at a station folder and an
// output folder of its own; the clock is the test's.
class Cycle : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(work_.path()));
        ui::setAttentionHandler([](const QString &) {});
        std::filesystem::create_directory(work_.file("station"));
        std::filesystem::create_directory(work_.file("out"));
        writeConfig("1", "1", work_.file("out"));
        window_.setClock([this] { return now_; });
        window_.Form_Load();
    }
    void TearDown() override {
        ui::setAttentionHandler({});
        QDir::setCurrent(previous_);
    }
    void writeConfig(const std::string &aprs, const std::string &pressure, const std::string &out) {
        writeBytes(work_.file("config.kwt"),
                   aprs + "\r\n" + pressure + "\r\n" + work_.file("station") + "\r\n" + out + "\r\n");
    }
    void writeStation(const CurrdatValues &v = {}) { writeBytes(work_.file("station/currdat.lst"), currdatFile(v)); }
    std::string out(const std::string &name) const { return work_.file("out/" + name); }

    TempDir work_;
    QString previous_;
    cycle::ClockTime now_{2026, 12, 5, 9, 22};
    ui::QuadroStazione window_;
};

} // namespace

TEST_F(Cycle, WaitsSilentlyUntilTheFileAppearsThenConvertsEveryMinute) {
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Timer1->interval(), 100);
    EXPECT_EQ(window_.Label2->text(), "Lettura dati meteo in corso ...");
    EXPECT_TRUE(window_.configurazioneLoaded());
    EXPECT_FALSE(window_.configurazione()->isVisible());
    EXPECT_FALSE(std::filesystem::exists(out("my_meteo.txt")));

    writeStation();
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Timer1->interval(), 59500);
    EXPECT_EQ(window_.Label2->text(), "Situazione meteo di    05 dicembre 2026  alle ore 09:22");
    EXPECT_EQ(window_.Label6->text(), QString::fromUtf8("T ext:   12.8 °C"));
    EXPECT_EQ(window_.Label16->text(), "Pressione ass.:   936 hPa");
    EXPECT_EQ(window_.Label19->text(), "Previsione:  sereno");
    EXPECT_EQ(window_.Text1->toPlainText(),
              "Dec 05 2026 09:22\n270/007g000t055p012r000b09360h84/Prev. sereno/WS3600/113W");
    EXPECT_EQ(readBytes(out("my_meteo.txt")),
              "Dec 05 2026 09:22\r\n270/007g000t055p012r000b09360h84/Prev. sereno/WS3600/113W\r\n");
    EXPECT_TRUE(window_.statusBar()->currentMessage().isEmpty());

    // Removed: the panel keeps the last reading and no file is touched.
    std::filesystem::remove(work_.file("station/currdat.lst"));
    now_.minute = 23;
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Label2->text(), "Situazione meteo di    05 dicembre 2026  alle ore 09:22");
    EXPECT_EQ(window_.Timer1->interval(), 59500);
}

TEST_F(Cycle, TheFolderTypedInTheDialogIsUsedBeforeItIsSaved) {
    TempDir other;
    writeBytes(other.file("currdat.lst"), currdatFile({}));
    window_.Cartelle->trigger();
    window_.configurazione()->Text1->setText(QString::fromStdString(other.path()));
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Timer1->interval(), 59500);
    window_.configurazione()->Text1->clear(); // an empty folder counts as a missing file
    window_.Timer1->setInterval(100);
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Timer1->interval(), 100);
}

TEST_F(Cycle, StormAlarmAndAlertsShowInTheirColours) {
    CurrdatValues v;
    v.storm = "1";
    v.outdoorC = "0.5";
    writeStation(v);
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Label18->text(), "** ATTIVO **");
    EXPECT_EQ(window_.Label18->property("foreColor").toUInt(), 255u);
    EXPECT_EQ(window_.Label18->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(window_.Label29->text(), "*** Condizioni favorevoli alla formazione di ghiaccio ***");
    EXPECT_EQ(window_.Label29->property("foreColor").toUInt(), 255u);
    v.storm = "0";
    v.outdoorC = "12.8";
    writeStation(v);
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Label18->text(), "non attivo");
    EXPECT_EQ(window_.Label18->property("foreColor").toUInt(), 0u);
    EXPECT_EQ(window_.Label29->text(), "Nessuna segnalazione attiva");
}

TEST_F(Cycle, FirstTickOfTheDayCreatesTheStoreWithIndicatorsOff) {
    writeStation();
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Label24->text(), QString::fromUtf8("T ext MAX =  12.8 °C"));
    EXPECT_EQ(window_.Label27->text(), "Press. min =  1013.2 hPa");
    EXPECT_TRUE(std::filesystem::exists(out("MM261205.kwt")));
    for (auto *shape : {window_.Shape1, window_.Shape2, window_.Shape3, window_.Shape4})
        EXPECT_EQ(shape->fillColor(), ui::kWindowBackground);

    CurrdatValues warmer;
    warmer.outdoorC = "14";
    writeStation(warmer);
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Shape1->fillColor(), 65280u);
    EXPECT_EQ(window_.Shape2->fillColor(), ui::kWindowBackground);
}

TEST_F(Cycle, AnUnwritableOutputFolderIsReportedAndTheTickGoesOn) {
    writeBytes(work_.file("blocker"), "a file, not a folder");
    writeConfig("1", "1", work_.file("blocker") + "/out");
    writeStation();
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Timer1->interval(), 59500);
    EXPECT_EQ(window_.Label19->text(), "Previsione:  sereno"); // the panel still runs
    EXPECT_TRUE(window_.statusBar()->currentMessage().startsWith("Cartella di uscita inesistente"))
        << window_.statusBar()->currentMessage().toStdString();

    writeConfig("1", "1", work_.file("out"));
    window_.Timer1_Timer();
    EXPECT_TRUE(window_.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(std::filesystem::exists(out("my_meteo.txt")));
}

TEST_F(Cycle, AShortCurrdatChangesNothingButTheStatusBar) {
    writeBytes(work_.file("station/currdat.lst"), "\r\n[header]\r\n");
    window_.Timer1_Timer();
    EXPECT_EQ(window_.Timer1->interval(), 100);
    EXPECT_EQ(window_.Label2->text(), "Lettura dati meteo in corso ...");
    EXPECT_FALSE(window_.statusBar()->currentMessage().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(out("my_meteo.txt")));
}

TEST_F(Cycle, TheNextTickUsesTheChoicesSavedInTheDialogs) {
    writeStation();
    window_.Stringa_APRS->trigger();
    window_.setupParametri()->Option3->setChecked(true);
    window_.setupParametri()->OKButton->click();
    window_.Pressione->trigger();
    window_.setupPressione()->Option2->setChecked(true);
    window_.setupPressione()->OKButton->click();
    window_.Timer1_Timer();
    EXPECT_EQ(readBytes(out("my_meteo.txt")),
              "Dec 05 2026 09:22\r\n270/007g000t055p012r000b10132h84//WS3600/113W\r\n");
    EXPECT_EQ(window_.Label16->text(), "Pressione rel.:   1013.2 hPa");
}

TEST_F(Cycle, ATickedUserMessageGoesOutInsteadOfTheWeatherText) {
    writeStation();
    window_.Text2->setText(QString::fromUtf8("Città 東 ok"));
    window_.Check1->setChecked(true);
    window_.Timer1_Timer();
    EXPECT_EQ(readBytes(out("my_meteo.txt")),
              "Dec 05 2026 09:22\r\n270/007g000t055p012r000b09360h84/Citt\xe0 ? ok/WS3600/113W\r\n");
}
