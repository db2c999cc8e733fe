#pragma once
// Window tests run in a fresh working directory of their own, where the
// program looks for config.kwt, and collect message boxes instead of
// showing them (a modal box would wait for a click that never comes).

#include <QtWidgets>
#include <gtest/gtest.h>

#include "net/DirectSend.h"
#include "ui/Configurazione.h"
#include "ui/Indicator.h"
#include "ui/Messages.h"
#include "ui/QuadroStazione.h"
#include "ui/SetupParametri.h"
#include "ui/SetupPressione.h"
#include "support/currdat.h"
#include "support/test_support.h"

// Failures show texts as text.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace testing_support {

// A control of a window or dialog, found by its object name.
template <class T> T *child(const QObject *parent, const char *name) {
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// The main window, not yet loaded (its Form_Load not run).
class WindowTest : public ::testing::Test {
protected:
    WindowTest() : previous_(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(dir_.path()));
        ui::setAttentionHandler([this](const QString &text) { messages_ << text; });
        ui::setConfirmHandler([this](const QString &text) {
            questions_ << text;
            return answer_;
        });
    }
    ~WindowTest() override {
        ui::setAttentionHandler({});
        ui::setConfirmHandler({});
        QDir::setCurrent(previous_);
    }
    std::string config() const { return readBytes(dir_.file("config.kwt")); }
    void setConfig(const std::string &bytes) const { writeBytes(dir_.file("config.kwt"), bytes); }
    QString caption(const char *label) const { return child<QLabel>(&window_, label)->text(); }
    QTimer *timer() const { return child<QTimer>(&window_, "Timer1"); }
    void menu(const char *item) const { child<QAction>(&window_, item)->trigger(); }

    TempDir dir_;
    QString previous_;
    QStringList messages_;
    QStringList questions_;
    bool answer_ = true; // to every question
    FullDisk disk_; // for the windows that the test makes on it
    ui::QuadroStazione window_{nullptr, disk_};
};

// A normal start with config.kwt pointing at the folders "station" and "out"
// of the working directory, on the test's clock; no currdat.lst yet.
class StationWindowTest : public WindowTest {
protected:
    StationWindowTest() {
        QDir().mkdir(QStringLiteral("station"));
        QDir().mkdir(QStringLiteral("out"));
        writeConfig(dir_.file("out"));
        window_.setClock([this] { return now_; });
        window_.Form_Load();
    }
    void writeConfig(const std::string &out) const {
        setConfig("1\r\n1\r\n" + dir_.file("station") + "\r\n" + out + "\r\n");
    }
    void writeStation(const CurrdatValues &v = {}) const {
        writeBytes(dir_.file("station/currdat.lst"), currdatFile(v));
    }
    std::string out(const std::string &name) const { return dir_.file("out/" + name); }
    // A tick, `later` minutes after the last one.
    void tick(int later = 0) {
        now_.minute += later;
        window_.Timer1_Timer();
    }
    // The cycle's lasting message, as long as it is on screen.
    QString status() const {
        const auto *lasting = child<QLabel>(window_.statusBar(), "statusMessage");
        return lasting->isVisibleTo(&window_) ? lasting->text() : QString();
    }
    QString statusToolTip() const { return child<QLabel>(window_.statusBar(), "statusMessage")->toolTip(); }

    station::ClockTime now_{2026, 12, 5, 9, 22};
};

} // namespace testing_support
