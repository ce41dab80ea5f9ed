// The event logic that both front ends call, with the windows faked.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/program_events.h"

namespace ornet5 {
namespace {

class TFakeWindows : public TProgramWindows {
  public:
    void ShowSettingsWindow() override {
        calls.push_back("show");
        if (failShow) {
            throw std::runtime_error("Unable to write to ORNET5.INI");
        }
    }
    void CloseSettingsWindow() override { calls.push_back("close"); }
    void SetTitleText(const std::string& text) override { calls.push_back("title " + text); }
    void RunAboutBox() override { calls.push_back("about"); }
    // While the box is "open", whatever the test does meanwhile runs, as
    // the box's modal loop would dispatch it.
    void ShowErrorBox(const std::string& caption, const std::string& text) override {
        calls.push_back("box " + caption + ": " + text);
        if (whileBoxOpen) {
            auto action = std::move(whileBoxOpen);
            action();
        }
    }

    std::vector<std::string> calls;
    bool failShow = false;
    std::function<void()> whileBoxOpen;
};

TEST(ProgramEvents, ErrorBoxTextEndsWithAFullStopUnlessItsLastCharacterSortsBelowIt) {
    EXPECT_EQ(ErrorBoxText("Отменено пользователем"), "Отменено пользователем.");
    EXPECT_EQ(ErrorBoxText("'x' is not a valid integer value"),
              "'x' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(ErrorBoxText("-"), "-");
    EXPECT_EQ(ErrorBoxText("/"), "/.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ProgramEvents, AnErrorWhileABoxIsOpenOpensNoSecondBoxButALaterOneDoes) {
    TFakeWindows windows;
    TProgramEvents events(windows);
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

TEST(ProgramEvents, FirstActivationShowsAndClosesTheSettingsOnceEvenWhenItFails) {
    TFakeWindows windows;
    TProgramEvents events(windows);
    windows.failShow = true;
    // Closing the error box activates the main window again.
    windows.whileBoxOpen = [&] { events.FormActivate(); };
    events.FormActivate();
    events.FormActivate();
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"show", "box ОРНЕТ-5: Unable to write to ORNET5.INI."}));

    TFakeWindows fine;
    TProgramEvents later(fine);
    later.FormActivate();
    later.FormActivate();
    later.rbRentgenClick();
    later.NAboutClick();
    EXPECT_EQ(fine.calls,
              (std::vector<std::string>{"show", "close", "title Измерение в мк&Р/ч", "about"}));
}

}  // namespace
}  // namespace ornet5
