// The main window holds still and fits small screens: its groups keep their
// places and widths whatever the texts, the APRS lines are always wholly in
// view, and the whole window, status bar included, fits a 1024x600 screen
// with a taskbar.

#include "support/gui_support.h"

using namespace testing_support;

using Layout = StationWindowTest;

// Room that a 1024x600 screen leaves: a 40 px taskbar and a 31 px title bar
// (Windows at 100 %), and a frame of 8 px each side.
constexpr int kScreenWidth = 1024 - 16;
constexpr int kScreenHeight = 600 - 40 - 31 - 8;

TEST_F(Layout, GroupsKeepTheirGeometryTheAprsLinesStayInViewAndTheWindowFitsASmallScreen) {
    auto *aprsBox = child<QPlainTextEdit>(&window_, "Text1");
    window_.show();
    QApplication::processEvents(); // the fonts' and style sheets' own sizes
    const QSize least = window_.minimumSizeHint().expandedTo(window_.minimumSize());
    EXPECT_LE(least.width(), kScreenWidth);
    EXPECT_LE(least.height(), kScreenHeight);
    window_.resize(least);

    // Each group (found by its heading) where it was at the start, and the
    // APRS lines wholly in view.
    QList<QRect> atStart;
    const auto expectSteady = [&] {
        QApplication::processEvents();
        QList<QRect> groups;
        for (int heading : {12, 20, 21, 22, 23, 28, 30}) {
            const QWidget *g = window_.findChild<QLabel *>(QStringLiteral("Label%1").arg(heading))->parentWidget();
            groups << QRect(g->mapTo(&window_, QPoint(0, 0)), g->size());
        }
        if (atStart.isEmpty())
            atStart = groups;
        EXPECT_EQ(groups, atStart);
        const QFontMetrics metrics(aprsBox->font());
        int widest = 0;
        for (const QString &line : aprsBox->toPlainText().split(QLatin1Char('\n')))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        EXPECT_TRUE(!aprsBox->horizontalScrollBar()->isVisible() && aprsBox->viewport()->width() >= widest &&
                    aprsBox->viewport()->height() >= 2 * metrics.lineSpacing())
            << aprsBox->toPlainText().toStdString();
    };
    expectSteady();

    // The longest texts: heavy rain and strong wind in the comment, frost and
    // fog, and the full user message of the widest letters.
    setConfig("2\r\n2\r\n" + dir_.file("station") + "\r\n" + dir_.file("out") + "\r\n");
    CurrdatValues v;
    v.rain1hMm = "20.0";
    v.windKmh = "112.7";
    v.outdoorC = "-12.8";
    v.dewPointC = "-13.5";
    v.windChillC = "-28.4";
    v.rainTotalMm = "12345.6";
    writeStation(v);
    tick(1);
    expectSteady();
    EXPECT_EQ(caption("Label16"), "Pressione rel.:   1013.2 hPa"); // the choice on line 2
    child<QLineEdit>(&window_, "Text2")->setText(QString(20, QLatin1Char('W')));
    child<QCheckBox>(&window_, "Check1")->setChecked(true);
    v.windKmh = "0.0"; // and in the calm, fog too: the longest alert
    writeStation(v);
    tick(1);
    expectSteady();
    auto *alert = child<QLabel>(&window_, "Label29");
    EXPECT_TRUE(alert->text().contains("ghiaccio") && alert->text().contains("nebbia"));
    EXPECT_LE(alert->heightForWidth(alert->width()), alert->height());

    // A long fault message is cut in the status bar, not the window widened.
    writeConfig(dir_.file(std::string(200, 'x')));
    tick(1);
    EXPECT_TRUE(status().startsWith("Cartella di uscita inesistente: ")) << status().toStdString();
    EXPECT_LE(window_.minimumSizeHint().width(), kScreenWidth);
    expectSteady();
}
