// The main window together with the real connection settings window, as
// the program puts them together, and how a quit signal ends a run.

#include <gtest/gtest.h>

#include <csignal>

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include "app/app_title.h"
#include "app/qt/window_references.h"
#include "common/exception.h"
#include "tests/qt/app_test_support.h"

namespace ornet5 {
namespace {

// Counts a window's show and hide events.
class TShowCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        hides += event->type() == QEvent::Hide ? 1 : 0;
        return false;
    }
    int shows = 0;
    int hides = 0;
};

class ProgramWindows : public testing::Test {
  protected:
    ProgramWindows() { program_.settings.installEventFilter(&counter_); }
    ~ProgramWindows() override { program_.settings.removeEventFilter(&counter_); }

    // Runs the program's event loop until something ends it; a run that
    // is not ended within 10 s returns -1.
    static int RunLoop() {
        QTimer stuck;
        stuck.setSingleShot(true);
        QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        stuck.start(10000);
        return QCoreApplication::exec();
    }

    test::TAssembledWindows program_;
    TShowCounter counter_;
};

TEST_F(ProgramWindows, FirstActivationShowsAndClosesTheSettingsWindowOnce) {
    EXPECT_FALSE(program_.settings.isVisible());
    program_.face.show();
    program_.face.activateWindow();
    ASSERT_TRUE(test::WaitUntil([this] { return counter_.hides == 1; }));
    EXPECT_EQ(counter_.shows, 1);
    EXPECT_FALSE(program_.settings.isVisible());
    EXPECT_FALSE(program_.events.FirstActivationPending());

    // Activating the main window again shows nothing.
    program_.face.activateWindow();
    test::WaitUntil([this] { return program_.face.isActiveWindow(); });
    program_.face.FormActivate();
    EXPECT_EQ(counter_.shows, 1);

    // The menu entry shows it; once visible it is only brought to the front.
    program_.face.actOptionsShow().trigger();
    EXPECT_TRUE(program_.settings.isVisible());
    program_.face.actOptionsShow().trigger();
    EXPECT_EQ(counter_.shows, 2);
    program_.settings.close();
    EXPECT_FALSE(program_.settings.isVisible());
}

// The program's own quit signals close its main window.
TEST_F(ProgramWindows, QuitSignalEndsTheRunWithExitCodeZeroWhileTheAboutBoxIsOpen) {
    program_.face.show();
    bool aboutBoxWasOpen = false;
    test::WhenModalOpen([&](QWidget&) {
        aboutBoxWasOpen = AboutBox != nullptr;
        std::raise(SIGTERM);
    });
    QTimer::singleShot(0, &program_.face, [this] { program_.face.NAboutClick(); });
    EXPECT_EQ(RunLoop(), 0);
    EXPECT_TRUE(aboutBoxWasOpen);
    EXPECT_EQ(AboutBox, nullptr);
    EXPECT_FALSE(program_.face.isVisible());
}

TEST_F(ProgramWindows, QuitSignalEndsTheRunWithExitCodeZeroWhileAnErrorIsReported) {
    program_.face.show();
    test::WhenModalOpen([&](QWidget&) { std::raise(SIGHUP); });
    QTimer::singleShot(0, &program_.face,
                       [this] { program_.events.Report(Exception("Отменено пользователем")); });
    EXPECT_EQ(RunLoop(), 0);
    EXPECT_EQ(program_.events.ShownReports(), 1);
    EXPECT_FALSE(program_.events.ErrorBoxOpen());
    EXPECT_TRUE(test::VisibleMessageBoxes().isEmpty());
}

}  // namespace
}  // namespace ornet5
