#pragma once
// Window tests run in a fresh working directory of their own, where the
// program looks for config.kwt, and collect message boxes instead of
// showing them (a modal box would wait for a click that never comes).

#include <QtWidgets>
#include <gtest/gtest.h>

#include "settings/send_settings.h"
#include "ui/Configurazione.h"
#include "ui/Messages.h"
#include "ui/QuadroStazione.h"
#include "ui/SetupPressione.h"
#include "support/currdat.h"
#include "support/direwolf.h"
#include "support/test_support.h"

inline std::ostream &operator<<(std::ostream &os, const QString &text) { return os << text.toStdString(); }

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
        ui::setConfirmHandler([this](const QString &text) { return questions_ << text, answer_; });
    }
    ~WindowTest() override {
        ui::setAttentionHandler({});
        ui::setConfirmHandler({});
        QDir::setCurrent(previous_);
    }
    std::string config() const { return readBytes(dir_.file("config.kwt")); }
    void setConfig(const std::string &bytes) const { writeBytes(dir_.file("config.kwt"), bytes); }
    QTimer *timer() const { return child<QTimer>(&window_, "Timer1"); }
    void menu(const char *item) const { child<QAction>(&window_, item)->trigger(); }

    TempDir dir_;
    QString previous_;
    QStringList messages_, questions_;
    bool answer_ = true; // to every question
    FullDisk disk_;
    ui::QuadroStazione window_{nullptr, disk_};
};

// A normal start with config.kwt pointing at the folders "station" and "out"
// of the working directory, on the test's clock; no currdat.lst yet.
class StationWindowTest : public WindowTest {
protected:
    StationWindowTest() {
        QDir().mkdir(QStringLiteral("station"));
        QDir().mkdir(QStringLiteral("out"));
        setConfig("1\r\n1\r\n" + dir_.file("station") + "\r\n" + dir_.file("out") + "\r\n");
        window_.setClock([this] { return now_; });
        window_.Form_Load();
    }
    void writeStation(const CurrdatValues &v = {}) const { writeBytes(dir_.file("station/currdat.lst"), currdatFile(v)); }
    // invio.kwt sending to these ports of 127.0.0.1, 0 for a send off.
    void writeSend(int kissPort, int aprsIsPort = 0) const {
        const settings::SendSettings s{{"IZ1ABC", 13}, {45.5083, 9.1667}, {{"WIDE2", 1}},
                                       {kissPort != 0, "127.0.0.1", kissPort ? kissPort : 8001, 10},
                                       {aprsIsPort != 0, "127.0.0.1", aprsIsPort ? aprsIsPort : 14580, 10}, ""};
        ASSERT_FALSE(settings::saveSendFile(dir_.file(settings::kSendFileName), s));
    }
    void tick(int later = 0) { // `later` minutes after the last one
        now_.minute += later;
        window_.Timer1_Timer();
    }
    // The status line's lasting message while on screen, and all of it.
    QLabel *statusLabel() const { return child<QLabel>(window_.statusBar(), "statusMessage"); }
    QString status() const { return statusLabel()->isVisibleTo(&window_) ? statusLabel()->text() : QString(); }
    QString statusToolTip() const { return statusLabel()->toolTip(); }

    station::ClockTime now_{2026, 12, 5, 9, 22};
};

} // namespace testing_support
