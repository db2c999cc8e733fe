#pragma once
// Window tests run in a fresh working directory of their own, where the
// program looks for config.kwt, and collect message boxes instead of
// showing them (a modal box would wait for a click that never comes).

#include <QtWidgets>
#include <gtest/gtest.h>

#include "app/Indicator.h"
#include "app/Messages.h"
#include "app/QuadroStazione.h"
#include "config/Configurazione.h"
#include "config/SetupParametri.h"
#include "config/SetupPressione.h"
#include "config/file_io.h"
#include "support/test_support.h"

namespace testing_support {

class WindowTest : public ::testing::Test {
protected:
    WindowTest() : previous_(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(dir_.path()));
        ui::setAttentionHandler([this](const QString &text) { messages_ << text; });
    }
    ~WindowTest() override {
        fileio::setWriteFaultAfterBytes(std::nullopt);
        ui::setAttentionHandler({});
        QDir::setCurrent(previous_);
    }
    std::string config() const { return readBytes(dir_.file("config.kwt")); }
    void setConfig(const std::string &bytes) const { writeBytes(dir_.file("config.kwt"), bytes); }

    TempDir dir_;
    QString previous_;
    QStringList messages_;
};

} // namespace testing_support
