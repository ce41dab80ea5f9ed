// The event logic that both front ends call, and its standard error report,
// with the windows faked and the front end's event loop driven by hand.
#include <gtest/gtest.h>

#include <chrono>

#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/program_events.h"
#include "common/exception.h"

namespace ornet5 {
namespace {

class TFakeWindows : public TProgramWindows {
  public:
    void ShowSettingsWindow() override { Call("show"); }
    void CloseSettingsWindow() override { Call("close"); }
    void SetTitleText(const std::string& text) override { calls.push_back("title " + text); }
    void RunAboutBox() override { calls.push_back("about"); }
    void ShowJournalWindow() override { calls.push_back("journal"); }
    // While the box is "open", whatever the test does meanwhile runs, as
    // the box's modal loop would dispatch it.
    void ShowErrorBox(const std::string& caption, const std::string& text) override {
        calls.push_back("box " + caption + ": " + text);
        if (whileBoxOpen) {
            auto action = std::move(whileBoxOpen);
            action();
        }
    }
    // Qt's way when queue is set: the call waits for the event loop's turn.
    // Otherwise Win32's: the call is made at once.
    void CallLater(std::function<void()> call) override {
        if (queue) {
            later.push_back(std::move(call));
        } else {
            call();
        }
    }

    // The event loop's turn: the calls queued so far, in their order.
    void RunLoop() {
        while (!later.empty()) {
            auto call = std::move(later.front());
            later.erase(later.begin());
            call();
        }
    }

    std::vector<std::string> calls;
    std::vector<std::function<void()>> later;
    std::function<void()> whileBoxOpen;
    std::string failOn;  // "show" or "close": that settings window call throws
    bool queue = false;

  private:
    void Call(const std::string& name) {
        calls.push_back(name);
        if (name == failOn) {
            throw std::runtime_error("Unable to write to ORNET5.INI");
        }
    }
};

TEST(ProgramEvents, ErrorBoxTextEndsWithAFullStopAfterACharacterAboveIt) {
    EXPECT_EQ(ErrorBoxText("Отменено пользователем"), "Отменено пользователем.");
    EXPECT_EQ(ErrorBoxText("'x' is not a valid integer value"),
              "'x' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText("value 1"), "value 1.");
    EXPECT_EQ(ErrorBoxText("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80.");
    EXPECT_EQ(ErrorBoxText("/"), "/.");  // '/' is just above '.'
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("-"), "-");
    EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorBoxText("trailing blank "), "trailing blank ");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ProgramEvents, AHandlersErrorIsShownOnlyAfterItReturnsAndOneBoxAtATime) {
    TFakeWindows windows;
    windows.queue = true;
    std::ostringstream errorLog;
    TProgramEvents events(windows, errorLog);
    events.Run([] { throw EConvertError("'abc' is not a valid integer value"); });
    EXPECT_TRUE(windows.calls.empty());

    // Two more handlers fail while the box is open, and the box's loop
    // reports them: to the log, not in a second box.
    windows.whileBoxOpen = [&] {
        events.Run([] { throw std::runtime_error("tick 2"); });
        events.Run([] { throw 42; });
        windows.RunLoop();
    };
    windows.RunLoop();
    EXPECT_EQ(windows.calls,
              std::vector<std::string>{"box ОРНЕТ-5: 'abc' is not a valid integer value."});
    EXPECT_EQ(errorLog.str(),
              "ORNET5: error while an error report is open: tick 2.\n"
              "ORNET5: error while an error report is open: " +
                  ErrorBoxText(kUnknownErrorMessage) + "\n");
    EXPECT_EQ(events.SuppressedReports(), 2);
    EXPECT_FALSE(events.ErrorBoxOpen());

    events.Report(Exception("later"));
    EXPECT_EQ(windows.calls.back(), "box ОРНЕТ-5: later.");
    EXPECT_EQ(events.ShownReports(), 2);
}

TEST(ProgramEvents, AnErrorReportedAtOnceWhileABoxIsOpenOpensNoSecondBox) {
    TFakeWindows windows;
    std::ostringstream errorLog;
    TProgramEvents events(windows, errorLog);
    windows.whileBoxOpen = [&] {
        EXPECT_TRUE(events.ErrorBoxOpen());
        events.Run([] { throw std::runtime_error("tick 2"); });
        events.Run([] { throw 42; });
    };
    events.Run([] { throw std::runtime_error("tick 1"); });
    events.Run([] { throw std::runtime_error("tick 3"); });
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"box ОРНЕТ-5: tick 1.", "box ОРНЕТ-5: tick 3."}));
    EXPECT_EQ(events.SuppressedReports(), 2);
    EXPECT_FALSE(events.ErrorBoxOpen());
}

// A cycle's error reaches the window thread a moment after its cycle
// started: one of a cycle that started before the box closed is as if it
// came while the box was open.
TEST(ProgramEvents, ACycleErrorOfACycleStartedBeforeTheBoxClosedOpensNoSecondBox) {
    TFakeWindows windows;
    std::ostringstream errorLog;
    TProgramEvents events(windows, errorLog);
    const auto beforeClose = std::chrono::steady_clock::now();
    events.ReportCycleError("cycle 1", beforeClose);
    events.ReportCycleError("cycle 2", beforeClose);
    events.ReportCycleError("cycle 3",
                            std::chrono::steady_clock::now() + std::chrono::milliseconds(1));
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"box ОРНЕТ-5: cycle 1.", "box ОРНЕТ-5: cycle 3."}));
    EXPECT_EQ(errorLog.str(), "ORNET5: error while an error report is open: cycle 2.\n");
}

TEST(ProgramEvents, ABoxThatFailsToShowLeavesNoBoxOpen) {
    TFakeWindows windows;
    TProgramEvents events(windows);
    windows.whileBoxOpen = [] { throw std::runtime_error("no box"); };
    events.Report(Exception("first"));
    EXPECT_FALSE(events.ErrorBoxOpen());
    events.Report(Exception("second"));
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"box ОРНЕТ-5: first.", "box ОРНЕТ-5: second."}));
    EXPECT_EQ(events.SuppressedReports(), 0);
}

TEST(ProgramEvents, AfterAQuitSignalReportsGoToTheLogAndPendingOnesAreNotLost) {
    TFakeWindows windows;
    windows.queue = true;
    std::ostringstream errorLog;
    TProgramEvents events(windows, errorLog);
    events.Post(Exception("Unable to write to ORNET5.INI"));
    events.ReportToErrorLogOnly();
    // The event loop has ended: its queued calls never run.
    events.ReportPosted();
    events.Report(Exception("second"));
    EXPECT_TRUE(windows.calls.empty());
    EXPECT_EQ(errorLog.str(),
              "ORNET5: error while ending: Unable to write to ORNET5.INI.\n"
              "ORNET5: error while ending: second.\n");
    // A queued call that runs after all finds nothing left to report.
    windows.RunLoop();
    EXPECT_EQ(events.SuppressedReports(), 2);
}

TEST(ProgramEvents, FirstActivationShowsAndClosesTheSettingsOnceEvenWhenItFails) {
    // A failing load or save is reported once; closing the error box
    // activates the main window again, and so does a later switch.
    for (const std::string failing : {"show", "close"}) {
        SCOPED_TRACE(failing);
        TFakeWindows windows;
        TProgramEvents events(windows);
        windows.failOn = failing;
        windows.whileBoxOpen = [&] { events.FormActivate(); };
        events.FormActivate();
        events.FormActivate();
        std::vector<std::string> expected{"show"};
        if (failing == "close") {
            expected.push_back("close");
        }
        expected.push_back("box ОРНЕТ-5: Unable to write to ORNET5.INI.");
        EXPECT_EQ(windows.calls, expected);
    }

    TFakeWindows fine;
    TProgramEvents later(fine);
    later.FormActivate();
    later.FormActivate();
    later.rbRentgenClick();
    later.NAboutClick();
    later.NJournalClick();
    EXPECT_EQ(fine.calls, (std::vector<std::string>{"show", "close", "title Измерение в мк&Р/ч",
                                                    "about", "journal"}));
}

}  // namespace
}  // namespace ornet5
