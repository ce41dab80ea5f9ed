// The standard error report's policy, the same for the Qt and Win32 front
// ends, with the windows faked and the front end's event loop driven by hand.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/program_events.h"
#include "common/exception.h"

namespace ornet5 {
namespace {

class TLoopWindows : public TProgramWindows {
  public:
    void ShowSettingsWindow() override {}
    void CloseSettingsWindow() override {}
    void SetTitleText(const std::string&) override {}
    void RunAboutBox() override {}
    // The box's modal loop runs what the test does meanwhile.
    void ShowErrorBox(const std::string& caption, const std::string& text) override {
        boxes.push_back(caption + ": " + text);
        if (whileBoxOpen) {
            auto action = std::move(whileBoxOpen);
            action();
        }
    }
    void CallLater(std::function<void()> call) override { later.push_back(std::move(call)); }

    // The event loop's turn: the calls queued so far, in their order.
    void RunLoop() {
        while (!later.empty()) {
            auto call = std::move(later.front());
            later.erase(later.begin());
            call();
        }
    }

    std::vector<std::string> boxes;
    std::vector<std::function<void()>> later;
    std::function<void()> whileBoxOpen;
};

TEST(ErrorReportPolicy, BoxTextEndsWithAFullStopAfterACharacterAboveIt) {
    EXPECT_EQ(ErrorBoxText("Отменено пользователем"), "Отменено пользователем.");
    EXPECT_EQ(ErrorBoxText("value 1"), "value 1.");
    EXPECT_EQ(ErrorBoxText("path/"), "path/.");  // '/' is just above '.'
    EXPECT_EQ(ErrorBoxText("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80.");
    EXPECT_EQ(ErrorBoxText("minus-"), "minus-");
    EXPECT_EQ(ErrorBoxText("'' is not valid, "), "'' is not valid, ");
    EXPECT_EQ(ErrorBoxText("trailing blank "), "trailing blank ");
}

TEST(ErrorReportPolicy, AHandlersErrorIsShownOnlyAfterItReturnsAndOneBoxAtATime) {
    TLoopWindows windows;
    std::ostringstream errorLog;
    TProgramEvents events(windows, errorLog);
    events.Run([] { throw EConvertError("'abc' is not a valid integer value"); });
    EXPECT_TRUE(windows.boxes.empty());

    // Two more handlers fail while the box is open, and the box's loop
    // reports them: to the log, not in a second box.
    windows.whileBoxOpen = [&] {
        events.Run([] { throw std::runtime_error("tick 2"); });
        events.Run([] { throw 42; });
        windows.RunLoop();
    };
    windows.RunLoop();
    EXPECT_EQ(windows.boxes,
              std::vector<std::string>{"ОРНЕТ-5: 'abc' is not a valid integer value."});
    EXPECT_EQ(errorLog.str(),
              "ORNET5: error while an error report is open: tick 2.\n"
              "ORNET5: error while an error report is open: " +
                  ErrorBoxText(kUnknownErrorMessage) + "\n");
    EXPECT_EQ(events.SuppressedReports(), 2);
    EXPECT_FALSE(events.ErrorBoxOpen());

    events.Report(Exception("later"));
    EXPECT_EQ(windows.boxes.back(), "ОРНЕТ-5: later.");
    EXPECT_EQ(events.ShownReports(), 2);
}

TEST(ErrorReportPolicy, AfterAQuitSignalReportsGoToTheLogAndPendingOnesAreNotLost) {
    TLoopWindows windows;
    std::ostringstream errorLog;
    TProgramEvents events(windows, errorLog);
    events.Post(Exception("Unable to write to ORNET5.INI"));
    events.ReportToErrorLogOnly();
    // The event loop has ended: its queued calls never run.
    events.ReportPosted();
    events.Report(Exception("second"));
    EXPECT_TRUE(windows.boxes.empty());
    EXPECT_EQ(errorLog.str(),
              "ORNET5: error while ending: Unable to write to ORNET5.INI.\n"
              "ORNET5: error while ending: second.\n");
    // A queued call that runs after all finds nothing left to report.
    windows.RunLoop();
    EXPECT_EQ(events.SuppressedReports(), 2);
}

}  // namespace
}  // namespace ornet5
