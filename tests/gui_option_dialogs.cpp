#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>

#include "app/Messages.h"
#include "app/QuadroStazione.h"
#include "config/SetupParametri.h"
#include "config/SetupPressione.h"
#include "config/config_file.h"
#include "config/file_io.h"
#include "support/test_support.h"

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

constexpr const char *kTail = "/hw\r\nC:\\Dati\\Citt\xe0\\\r\n"; // lines 3 and 4, carried byte for byte

// A normal start in a fresh working directory whose config.kwt the test
// writes first; message boxes are collected instead of shown.
class OptionDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir_.path()));
        ui::setAttentionHandler([this](const QString &text) { messages_ << text; });
    }
    void TearDown() override {
        fileio::setWriteFaultAfterBytes(std::nullopt);
        ui::setAttentionHandler({});
        QDir::setCurrent(previous_);
    }
    void start(const std::string &file) {
        writeBytes(dir_.file("config.kwt"), file);
        w_.Form_Load();
    }
    std::string config() const { return readBytes(dir_.file("config.kwt")); }

    TempDir dir_;
    QString previous_;
    QStringList messages_;
    ui::QuadroStazione w_;
};

QStringList checked(const ui::OptionDialog *d) {
    QStringList on;
    for (auto *b : d->findChildren<QRadioButton *>())
        if (b->isChecked())
            on << b->text();
    return on;
}

// The widgets that Tab visits, starting at `first`.
QList<QWidget *> tabChain(QWidget *first) {
    QList<QWidget *> chain{first};
    for (QWidget *w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w;
    return chain;
}

} // namespace

TEST_F(OptionDialogs, ParametriLooksAsDesigned) {
    start(std::string("2\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    auto *d = w_.setupParametri();
    EXPECT_EQ(d->objectName(), "Setup_Parametri");
    EXPECT_EQ(d->windowTitle(), "Setup Parametri");
    EXPECT_EQ(d->Label1->text(), "Configurazione stringa APRS");
    EXPECT_EQ(d->Option1->text(), "Invia previsione meteo");
    EXPECT_EQ(d->Option2->text(), "Invia situazione locale");
    EXPECT_EQ(d->Option3->text(), "Non inviare condizioni meteo");
    EXPECT_EQ(d->OKButton->text(), "OK");
    EXPECT_EQ(d->CancelButton->text(), "Annulla");
    EXPECT_EQ(d->size(), QSize(356, 192));
    EXPECT_EQ(d->Option3->geometry(), QRect(24, 112, 313, 17));
    EXPECT_EQ(checked(d), QStringList{"Invia situazione locale"});
    EXPECT_FALSE(d->isModal());
    // Tab order: OK, Annulla, then the options top to bottom.
    EXPECT_EQ(tabChain(d->OKButton),
              (QList<QWidget *>{d->OKButton, d->CancelButton, d->Option1, d->Option2, d->Option3}));
}

TEST_F(OptionDialogs, PressioneLooksAsDesigned) {
    start(std::string("1\r\n2\r\n") + kTail);
    w_.Pressione->trigger();
    auto *d = w_.setupPressione();
    EXPECT_EQ(d->objectName(), "Setup_Pressione");
    EXPECT_EQ(d->windowTitle(), "Setup Pressione");
    EXPECT_EQ(d->Label1->text(), "Selezione Tipo Pressione");
    EXPECT_EQ(d->findChildren<QRadioButton *>().size(), 2);
    EXPECT_EQ(d->size(), QSize(312, 173));
    EXPECT_EQ(checked(d), QStringList{"Pressione Relativa"});
}

// The own bad line becomes "1" at the first Show, before any button; the
// other lines stay byte for byte, and the other dialog's bad line is its own
// business.
TEST_F(OptionDialogs, FirstShowRepairsOnlyTheOwnBadLine) {
    struct Case {
        bool aprs;
        std::string before, after, on;
    };
    const Case cases[] = {
        {true, std::string("7\r\n2\r\n") + kTail, std::string("1\r\n2\r\n") + kTail, "Invia previsione meteo"},
        {true, std::string("\r\n9\r\n") + kTail, std::string("1\r\n9\r\n") + kTail, "Invia previsione meteo"},
        {false, std::string("3\r\n1 \r\n") + kTail, std::string("3\r\n1\r\n") + kTail, "Pressione Assoluta"},
        {false, std::string("x\r\n02\r\n") + kTail, std::string("x\r\n1\r\n") + kTail, "Pressione Assoluta"},
        {false, "3\r\n", "3\r\n1\r\n\r\n\r\n", "Pressione Assoluta"}, // short file
    };
    for (const auto &c : cases) {
        ui::QuadroStazione w;
        writeBytes(dir_.file("config.kwt"), c.before);
        w.Form_Load();
        if (c.aprs)
            w.Stringa_APRS->trigger();
        else
            w.Pressione->trigger();
        const ui::OptionDialog *d = c.aprs ? static_cast<ui::OptionDialog *>(w.setupParametri())
                                           : static_cast<ui::OptionDialog *>(w.setupPressione());
        EXPECT_EQ(config(), c.after) << c.before;
        EXPECT_EQ(checked(d), QStringList{QString::fromUtf8(c.on.c_str())}) << c.before;
    }
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(OptionDialogs, GoodLinesAreNotRewrittenAtLoad) {
    start(std::string("3\r\n2\r\n") + kTail + "extra\r\n");
    w_.Stringa_APRS->trigger();
    w_.Pressione->trigger();
    EXPECT_EQ(config(), std::string("3\r\n2\r\n") + kTail + "extra\r\n");
}

// A rewrite always holds exactly four lines, so the dropped fifth shows the
// file was written even though the first four come back identical.
TEST_F(OptionDialogs, OkWithoutAChangeRewritesIdenticalBytes) {
    start(std::string("3\r\n2\r\n") + kTail + "extra\r\n");
    w_.Pressione->trigger();
    w_.setupPressione()->OKButton->click();
    EXPECT_EQ(config(), std::string("3\r\n2\r\n") + kTail);
    EXPECT_FALSE(w_.setupPressione()->isVisible());
}

TEST_F(OptionDialogs, OkSavesTheChoiceForTheNextTick) {
    start(std::string("1\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    w_.setupParametri()->Option3->click();
    w_.setupParametri()->OKButton->click();
    EXPECT_EQ(config(), std::string("3\r\n1\r\n") + kTail);
    EXPECT_EQ(config::readSettings("config.kwt").aprsChoice, '3');
    EXPECT_FALSE(w_.setupParametri()->isVisible());
    EXPECT_TRUE(w_.setupParametriLoaded());
}

TEST_F(OptionDialogs, AnnullaKeepsTheChoiceOnScreenButNotInTheFile) {
    const std::string file = std::string("1\r\n1\r\n") + kTail;
    start(file);
    w_.Pressione->trigger();
    auto *d = w_.setupPressione();
    d->Option2->click();
    d->CancelButton->click();
    EXPECT_FALSE(d->isVisible());
    writeBytes(dir_.file("config.kwt"), std::string("1\r\n7\r\n") + kTail); // no reload would see this
    w_.Pressione->trigger();
    EXPECT_EQ(w_.setupPressione(), d);
    EXPECT_TRUE(d->Option2->isChecked());
    EXPECT_EQ(config(), std::string("1\r\n7\r\n") + kTail);
    d->OKButton->click();
    EXPECT_EQ(config(), std::string("1\r\n2\r\n") + kTail);
}

TEST_F(OptionDialogs, EscIsAnnulla) {
    start(std::string("1\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    auto *d = w_.setupParametri();
    d->Option2->click();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(d, &esc);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(w_.setupParametriLoaded());
    EXPECT_EQ(config(), std::string("1\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    EXPECT_TRUE(d->Option2->isChecked());
}

// Both open together while the cycle runs: each OK reads the file anew, so
// the pressure saved meanwhile survives the other dialog's OK.
TEST_F(OptionDialogs, BothOpenNeitherUndoesTheOther) {
    start(std::string("1\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    w_.Pressione->trigger();
    EXPECT_TRUE(w_.setupParametri()->isVisible());
    EXPECT_TRUE(w_.setupPressione()->isVisible());
    EXPECT_TRUE(w_.Timer1->isActive());
    w_.setupParametri()->Option2->click();
    w_.setupPressione()->Option2->click();
    w_.setupPressione()->OKButton->click();
    w_.setupParametri()->OKButton->click();
    EXPECT_EQ(config(), std::string("2\r\n2\r\n") + kTail);
}

TEST_F(OptionDialogs, ShownTwiceIsOneDialog) {
    start(std::string("1\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    w_.Stringa_APRS->trigger();
    w_.Pressione->trigger();
    w_.Pressione->trigger();
    EXPECT_EQ(w_.findChildren<ui::SetupParametri *>().size(), 1);
    EXPECT_EQ(w_.findChildren<ui::SetupPressione *>().size(), 1);
}

TEST_F(OptionDialogs, FrameCloseDiscardsAndTheNextShowReloads) {
    start(std::string("1\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    w_.setupParametri()->Option3->click();
    w_.setupParametri()->close();
    EXPECT_FALSE(w_.setupParametriLoaded());
    EXPECT_EQ(config(), std::string("1\r\n1\r\n") + kTail);
    writeBytes(dir_.file("config.kwt"), std::string("5\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    EXPECT_TRUE(w_.setupParametri()->Option1->isChecked());
    EXPECT_EQ(config(), std::string("1\r\n1\r\n") + kTail); // the load step ran again
}

TEST_F(OptionDialogs, MissingFileShowsOneAndOkCreatesIt) {
    start(std::string("1\r\n2\r\n") + kTail);
    std::remove(dir_.file("config.kwt").c_str());
    w_.Pressione->trigger();
    EXPECT_TRUE(w_.setupPressione()->Option1->isChecked());
    EXPECT_FALSE(QFile::exists("config.kwt"));
    w_.setupPressione()->Option2->click();
    w_.setupPressione()->OKButton->click();
    EXPECT_EQ(config(), "1\r\n2\r\n\r\n\r\n");
}

TEST_F(OptionDialogs, FailedSaveWarnsAndKeepsTheDialogOpen) {
    const std::string file = std::string("1\r\n1\r\n") + kTail;
    start(file);
    w_.Stringa_APRS->trigger();
    w_.setupParametri()->Option2->click();
    fileio::setWriteFaultAfterBytes(0);
    w_.setupParametri()->OKButton->click();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Impossibile salvare config.kwt (")) << messages_[0].toStdString();
    EXPECT_TRUE(w_.setupParametri()->isVisible());
    EXPECT_EQ(config(), file);
}

TEST_F(OptionDialogs, EndingTheProgramHidesThem) {
    start(std::string("1\r\n1\r\n") + kTail);
    w_.Stringa_APRS->trigger();
    w_.Pressione->trigger();
    w_.Esci->trigger();
    EXPECT_FALSE(w_.setupParametri()->isVisible());
    EXPECT_FALSE(w_.setupPressione()->isVisible());
}
