#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/Indicator.h"
#include "app/Messages.h"
#include "app/QuadroStazione.h"
#include "config/Configurazione.h"
#include "support/test_support.h"

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

// Each test runs in a fresh working directory and answers message boxes.
class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir_.path()));
        ui::setAttentionHandler([this](const QString &text) { messages_ << text; });
    }
    void TearDown() override {
        ui::setAttentionHandler({});
        QDir::setCurrent(previous_);
    }
    std::string config() const { return readBytes(dir_.file("config.kwt")); }

    TempDir dir_;
    QString previous_;
    QStringList messages_;
};

} // namespace

TEST_F(Startup, FirstRunShowsOnlyTheFoldersDialog) {
    ui::QuadroStazione w;
    w.Form_Load();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.Timer1->isActive());
    ASSERT_TRUE(w.configurazioneLoaded());
    auto *dialog = w.configurazione();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), "Configurazione File");
    EXPECT_EQ(dialog->Text1->text(), "");
    EXPECT_EQ(dialog->Text2->text(), "");
}

TEST_F(Startup, EsciWithAMissingFolderWarnsAndWritesNothing) {
    ui::QuadroStazione w;
    w.Form_Load();
    auto *dialog = w.configurazione();
    dialog->Text1->setText("/hw");
    dialog->Command2->click();
    EXPECT_EQ(messages_, QStringList{"Cartelle non selezionate"});
    EXPECT_FALSE(QFile::exists("config.kwt"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.Timer1->isActive());
}

TEST_F(Startup, EsciWithBothFoldersCreatesTheFileAndStartsTheCycle) {
    ui::QuadroStazione w;
    w.Form_Load();
    auto *dialog = w.configurazione();
    dialog->Text1->setText("/hw");
    dialog->Text2->setText(QString::fromUtf8("/dati/Città"));
    dialog->Command2->click();
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_EQ(config(), "1\r\n1\r\n/hw\r\n/dati/Citt\xe0\r\n");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.Timer1->interval(), 100);
}

TEST_F(Startup, FolderOutsideTheCodePageIsRefused) {
    ui::QuadroStazione w;
    w.Form_Load();
    auto *dialog = w.configurazione();
    dialog->Text1->setText(QString::fromUtf8("/東京"));
    dialog->Text2->setText("/out");
    dialog->Command2->click();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_FALSE(QFile::exists("config.kwt"));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(Startup, NormalStartShowsTheMainWindowWithItsCaptions) {
    writeBytes(dir_.file("config.kwt"), "1\r\n1\r\n/hw\r\n/out\r\n");
    ui::QuadroStazione w;
    w.Form_Load();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.configurazioneLoaded());
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_EQ(w.Timer1->interval(), 100);
    EXPECT_EQ(w.Timer1->timerType(), Qt::PreciseTimer);

    const std::pair<int, const char *> captions[] = {
        {1, "Conversione dati da stazione meteorologica WS3600 a UI-View"},
        {2, "Lettura dati meteo in corso ..."},
        {4, "Condizioni attuali:"}, {5, "Tendenza:"}, {6, "T ext:"}, {7, "Hrel ext:"}, {8, "Dewpoint:"},
        {9, "Windchill:"}, {10, "Vento:"}, {11, "Direzione:"}, {12, "Condizioni e previsioni"},
        {13, "Totali:"}, {14, "24H:"}, {15, "1H:"}, {16, "Pressione:"}, {17, "Allarme temporale:"},
        {18, ""}, {19, ""}, {20, "Stringa APRS"}, {21, "Valori esterni"}, {22, "Precipitazioni"},
        {23, "Valori minimi e massimi odierni"}, {24, ""}, {25, ""}, {26, ""}, {27, ""},
        {28, "Segnalazioni"}, {29, ""}, {30, "Messaggio Utente"},
        {31, "Abilita Messaggio Utente (max 20 caratteri)"}, {32, "Testo"}};
    for (const auto &[n, text] : captions) {
        auto *label = w.findChild<QLabel *>(QStringLiteral("Label%1").arg(n));
        ASSERT_NE(label, nullptr) << n;
        EXPECT_EQ(label->text(), QString::fromUtf8(text)) << "Label" << n;
    }
    EXPECT_TRUE(w.Label3->text().startsWith("Rel. 1.1.3 W"));
    EXPECT_EQ(w.findChild<QPushButton *>("Command1")->text(), "&ESCI");
    EXPECT_FALSE(w.Check1->isChecked());
    EXPECT_EQ(w.Text1->toPlainText(), "");
}

TEST_F(Startup, IndicatorsStartInTheOffLook) {
    writeBytes(dir_.file("config.kwt"), "1\r\n1\r\n/hw\r\n/out\r\n");
    ui::QuadroStazione w;
    w.Form_Load();
    for (int n = 1; n <= 4; ++n) {
        auto *shape = w.findChild<ui::Indicator *>(QStringLiteral("Shape%1").arg(n));
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->fillColor(), ui::kWindowBackground);
        EXPECT_EQ(shape->borderColor(), ui::kWindowBackground + 1);
        EXPECT_EQ(ui::colorFromValue(shape->fillColor(), shape->palette()),
                  w.palette().color(QPalette::Window));
    }
}

TEST_F(Startup, UserMessageKeepsItsFirstTwentyCharacters) {
    writeBytes(dir_.file("config.kwt"), "1\r\n1\r\n/hw\r\n/out\r\n");
    ui::QuadroStazione w;
    w.Form_Load();
    const QString twenty = "12345678901234567890";
    w.Text2->setText(twenty);
    w.Text2->end(false);
    w.Text2->insert("X"); // typed 21st character
    EXPECT_EQ(w.Text2->text(), twenty);
    w.Text2->clear();
    w.Text2->insert(QString(50, QChar(u'\u00e0'))); // pasted
    EXPECT_EQ(w.Text2->text(), QString(20, QChar(u'\u00e0')));
}

TEST_F(Startup, MenuShowsOneFoldersDialogHoldingTheSavedFolders) {
    writeBytes(dir_.file("config.kwt"), "1\r\n1\r\n/hw\r\n/out\r\n");
    ui::QuadroStazione w;
    w.Form_Load();
    w.Cartelle->trigger();
    w.Cartelle->trigger();
    EXPECT_EQ(w.findChildren<ui::Configurazione *>().size(), 1);
    EXPECT_TRUE(w.configurazione()->isVisible());
    EXPECT_EQ(w.configurazione()->Text1->text(), "/hw");
    EXPECT_EQ(w.configurazione()->Text2->text(), "/out");
}

TEST_F(Startup, EsciKeepsTheChoiceLinesOfAnExistingFile) {
    writeBytes(dir_.file("config.kwt"), "3\r\n2\r\n/old\r\n/old\r\n");
    ui::QuadroStazione w;
    w.Form_Load();
    w.Cartelle->trigger();
    w.configurazione()->Text1->setText("/new/hw");
    w.configurazione()->Command2->click();
    EXPECT_EQ(config(), "3\r\n2\r\n/new/hw\r\n/old\r\n");
}

TEST_F(Startup, ClosingTheDialogDiscardsItAndTheNextUseRereadsTheFile) {
    writeBytes(dir_.file("config.kwt"), "1\r\n1\r\n/hw\r\n/out\r\n");
    ui::QuadroStazione w;
    w.Form_Load();
    w.Cartelle->trigger();
    w.configurazione()->Text1->setText("/typed");
    w.configurazione()->close();
    EXPECT_FALSE(w.configurazioneLoaded());
    EXPECT_EQ(config(), "1\r\n1\r\n/hw\r\n/out\r\n");
    EXPECT_EQ(w.configurazione()->Text1->text(), "/hw");
}

TEST_F(Startup, ExitsEndTheProgram) {
    writeBytes(dir_.file("config.kwt"), "1\r\n1\r\n/hw\r\n/out\r\n");
    for (int way = 0; way < 3; ++way) {
        ui::QuadroStazione w;
        w.Form_Load();
        w.Cartelle->trigger();
        int ended = 0;
        QObject::connect(&w, &ui::QuadroStazione::programEnded, [&] { ++ended; });
        if (way == 0)
            w.Command1->click();
        else if (way == 1)
            w.Esci->trigger();
        else
            w.close();
        EXPECT_EQ(ended, 1) << way;
        EXPECT_FALSE(w.Timer1->isActive());
        EXPECT_FALSE(w.configurazione()->isVisible());
    }
}

TEST_F(Startup, ClosingTheFirstRunDialogEndsTheProgram) {
    ui::QuadroStazione w;
    w.Form_Load();
    int ended = 0;
    QObject::connect(&w, &ui::QuadroStazione::programEnded, [&] { ++ended; });
    w.configurazione()->close();
    EXPECT_EQ(ended, 1);
}
