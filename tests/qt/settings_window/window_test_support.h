#pragma once

#include <filesystem>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <QApplication>

#include "app/program_events.h"
#include "app/settings_window_core.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/fake_program_windows.h"
#include "tests/support/temp_config_home.h"

namespace ornet5::test {

// The one QApplication of a test program, made on first use.
QApplication& TestApplication();

// Types text into a widget key by key, letters outside ASCII included.
void TypeText(QWidget& widget, const QString& text);

// The main window's two labels, recorded.
class TFakeMainDisplay : public TMainDisplay {
  public:
    std::string DoseText() const override { return doseText; }
    void SetDoseText(const std::string& text) override { doseText = text; }
    void SetDoseCurrent(bool current) override { doseCurrent = current; }
    void SetAlarm(bool on) override { alarm = on; }
    void SetTitleText(const std::string& text) override {
        if (!titleError.empty()) {
            throw std::runtime_error(titleError);
        }
        titleTexts.push_back(text);
    }

    std::string doseText = "ORNET";
    bool doseCurrent = true;
    bool alarm = false;
    // When set, setting the heading fails with this message.
    std::string titleError;
    std::vector<std::string> titleTexts;
};

// Everything a settings window needs, with the error boxes recorded.
struct TServicesFixture {
    TFakeMainDisplay face;
    TFixedFormats formats;
    // Why ports did not open.
    std::ostringstream diagnostics;
    bool escapeDown = false;
    TFakeProgramWindows windows{&face};
    TProgramEvents events{windows};
    std::vector<std::string>& reportedErrors = windows.boxTexts;

    TSettingsWindowServices Services();
};

}  // namespace ornet5::test
