// The main window together with the real connection settings window, as
// the program puts them together, and how a quit signal ends a run.

#include <gtest/gtest.h>

#include <iostream>

#include <csignal>

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include "app/app_title.h"
#include "app/program_events.h"
#include "app/qt/face.h"
#include "app/qt/qt_program_windows.h"
#include "app/qt/qt_tick_source.h"
#include "app/qt/regional_formats.h"
#include "app/qt/signal_quit.h"
#include "app/qt/trelan_adc_face.h"
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
    ProgramWindows()
        : services_{face_.Core(), events_, [] { return false; }, formats_, std::cerr, {}}, settings_(services_) {
        windows_.SetSettingsWindow(&settings_);
        settings_.installEventFilter(&counter_);
        face_.SetEvents(&events_);
    }
    ~ProgramWindows() override {
        face_.SetEvents(nullptr);
        windows_.SetSettingsWindow(nullptr);
        settings_.removeEventFilter(&counter_);
    }

    // Runs the program's event loop until something ends it; a run that
    // is not ended within 10 s returns -1.
    static int RunLoop() {
        QTimer stuck;
        stuck.setSingleShot(true);
        QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
        stuck.start(10000);
        return QCoreApplication::exec();
    }

    TFace face_;
    TQtProgramWindows windows_{face_};
    TProgramEvents events_{windows_};
    TQtRegionalFormats formats_;
    const TSettingsWindowServices services_;
    TTrelanADCFace settings_;
    TShowCounter counter_;
};

TEST_F(ProgramWindows, FirstActivationShowsAndClosesTheSettingsWindowOnce) {
    EXPECT_FALSE(settings_.isVisible());
    face_.show();
    face_.activateWindow();
    ASSERT_TRUE(test::WaitUntil([this] { return counter_.hides == 1; }));
    EXPECT_EQ(counter_.shows, 1);
    EXPECT_FALSE(settings_.isVisible());
    EXPECT_FALSE(events_.FirstActivationPending());

    // Activating the main window again shows nothing.
    face_.activateWindow();
    test::WaitUntil([this] { return face_.isActiveWindow(); });
    face_.FormActivate();
    EXPECT_EQ(counter_.shows, 1);

    // The menu entry shows it; once visible it is only brought to the front.
    face_.actOptionsShow().trigger();
    EXPECT_TRUE(settings_.isVisible());
    face_.actOptionsShow().trigger();
    EXPECT_EQ(counter_.shows, 2);
    settings_.close();
    EXPECT_FALSE(settings_.isVisible());
}

TEST_F(ProgramWindows, QuitSignalEndsTheRunWithExitCodeZeroWhileTheAboutBoxIsOpen) {
    const TSignalQuit quit([this] { face_.close(); });
    face_.show();
    bool aboutBoxWasOpen = false;
    test::WhenModalOpen([&](QWidget&) {
        aboutBoxWasOpen = AboutBox != nullptr;
        std::raise(SIGTERM);
    });
    QTimer::singleShot(0, &face_, [this] { face_.NAboutClick(); });
    EXPECT_EQ(RunLoop(), 0);
    EXPECT_TRUE(aboutBoxWasOpen);
    EXPECT_EQ(AboutBox, nullptr);
    EXPECT_FALSE(face_.isVisible());
}

TEST_F(ProgramWindows, QuitSignalEndsTheRunWithExitCodeZeroWhileAnErrorIsReported) {
    const TSignalQuit quit([this] { face_.close(); });
    face_.show();
    test::WhenModalOpen([&](QWidget&) { std::raise(SIGHUP); });
    QTimer::singleShot(0, &face_, [this] { events_.Report(Exception("Отменено пользователем")); });
    EXPECT_EQ(RunLoop(), 0);
    EXPECT_EQ(events_.ShownReports(), 1);
    EXPECT_FALSE(events_.ErrorBoxOpen());
    EXPECT_TRUE(test::VisibleMessageBoxes().isEmpty());
}

}  // namespace
}  // namespace ornet5
