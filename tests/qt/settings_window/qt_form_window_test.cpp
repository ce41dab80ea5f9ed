#include "app/qt/qt_form_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace ornet5 {
namespace {

class QtFormWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qt_form_window_test";
        static char* argv[] = {name, nullptr};
        static QApplication application(argc, argv);
    }

    QtFormWindowTest() { window.setFixedSize(343, 117); }

    QWidget window;
    TQtFormWindow form{window, TBorderStyle::Dialog};
};

TEST_F(QtFormWindowTest, PlacementIsTheFramesPlaceAndMovesTheWindowWithoutShowingIt) {
    window.move(360, 236);
    TWindowPlacement placement = form.Placement();
    EXPECT_EQ(placement.normalPosition.left, 360);
    EXPECT_EQ(placement.normalPosition.top, 236);
    EXPECT_EQ(placement.normalPosition.right - placement.normalPosition.left, form.Width());
    placement.normalPosition = {100, 50, 100 + form.Width(), 50 + form.Height()};
    placement.maxPosition = {-3, -3};
    placement.showCmd = kShowHide;
    form.SetPlacement(placement);
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_EQ(window.size(), QSize(343, 117));
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Placement().maxPosition, (TPoint{-3, -3}));
    placement.normalPosition = {2147483647, -2147483647 - 1, 0, 0};
    form.SetPlacement(placement);
    EXPECT_EQ(window.pos(), QPoint(32767, -32768));
}

TEST_F(QtFormWindowTest, ScreenFiguresComeFromThePrimaryScreen) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(form.ScreenWidth(), screen->size().width());
    EXPECT_EQ(form.ScreenHeight(), screen->size().height());
    EXPECT_EQ(form.PixelsPerInch(), qRound(screen->logicalDotsPerInchY()));
}

}  // namespace
}  // namespace ornet5
