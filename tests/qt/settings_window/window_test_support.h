#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QApplication>

#include "app/program_events.h"
#include "app/settings_window_core.h"
#include "tests/support/fake_program_windows.h"
#include "tests/support/temp_config_home.h"

namespace ornet5::test {

// The one QApplication of a test program, made on first use.
QApplication& TestApplication();

// Types text into a widget key by key, letters outside ASCII included.
void TypeText(QWidget& widget, const QString& text);

// The main window's heading, recorded.
class TFakeMainDisplay : public TMainDisplay {
  public:
    std::string DoseText() const override { return {}; }
    void SetDoseText(const std::string&) override {}
    void SetDoseCurrent(bool) override {}
    void SetAlarm(bool) override {}
    void SetTitleText(const std::string& text) override {
        if (!titleError.empty()) {
            throw std::runtime_error(titleError);
        }
        titleTexts.push_back(text);
    }

    // When set, setting the heading fails with this message.
    std::string titleError;
    std::vector<std::string> titleTexts;
};

// Everything a settings window needs, with the error boxes and the
// choices handed to the detector recorded.
struct TServicesFixture {
    TFakeMainDisplay face;
    TFakeProgramWindows windows{&face};
    TProgramEvents events{windows};
    std::vector<std::string>& reportedErrors = windows.boxTexts;
    std::vector<TPollChoices> chosen;

    TSettingsWindowServices Services();
};

}  // namespace ornet5::test
