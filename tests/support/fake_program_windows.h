#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/face_core.h"
#include "app/program_events.h"

namespace ornet5::test {

// The program's other windows as the event logic reaches them: the heading
// goes to the main window given, if any; the error boxes are recorded, and
// each must bear the program's title.
class TFakeProgramWindows : public TProgramWindows {
  public:
    explicit TFakeProgramWindows(TMainDisplay* face = nullptr) : face_(face) {}
    void ShowSettingsWindow() override {}
    void CloseSettingsWindow() override {}
    void SetTitleText(const std::string& text) override {
        if (face_ != nullptr) {
            face_->SetTitleText(text);
        }
    }
    void RunAboutBox() override {}
    void ShowJournalWindow() override {}
    void ShowErrorBox(const std::string& caption, const std::string& text) override {
        EXPECT_EQ(caption, "ОРНЕТ-5");
        boxTexts.push_back(text);
    }

    std::vector<std::string> boxTexts;

  private:
    TMainDisplay* face_;
};

}  // namespace ornet5::test
