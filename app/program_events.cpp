#include "app/program_events.h"

#include "app/app_title.h"
#include "common/exception.h"
#include "measure/poll_cycle.h"

namespace ornet5 {

const char* const TProgramEvents::kZvHeading = "Измерение в мк&Зв/ч";
const char* const TProgramEvents::kRentgenHeading = "Измерение в мк&Р/ч";

std::string ErrorBoxText(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

TProgramEvents::TProgramEvents(TProgramWindows& windows) : windows_(windows) {}

void TProgramEvents::FormActivate() {
    if (!firstActivation_) {
        return;
    }
    // Cleared first: a failing save opens an error box, whose closing
    // activates the main window again inside the close below.
    firstActivation_ = false;
    Run([this] {
        windows_.ShowSettingsWindow();
        windows_.CloseSettingsWindow();
    });
}

void TProgramEvents::actOptionsShowExecute() {
    Run([this] { windows_.ShowSettingsWindow(); });
}

void TProgramEvents::NAboutClick() {
    Run([this] { windows_.RunAboutBox(); });
}

void TProgramEvents::rbZvClick() {
    Run([this] { windows_.SetTitleText(kZvHeading); });
}

void TProgramEvents::rbRentgenClick() {
    Run([this] { windows_.SetTitleText(kRentgenHeading); });
}

void TProgramEvents::TimerTrelanTimer(TPollCycle& cycle) {
    Run([&cycle] { cycle.TimerTrelanTimer(); });
}

void TProgramEvents::Run(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& error) {
        Report(error);
    } catch (...) {
        Report(kUnknownErrorMessage);
    }
}

void TProgramEvents::Report(const std::exception& error) noexcept {
    // The system's own errors keep their whole text, zero bytes included.
    const auto* ownError = dynamic_cast<const Exception*>(&error);
    try {
        Report(ownError != nullptr ? ownError->Message() : std::string(error.what()));
    } catch (...) {
        // Copying the message failed: there is nothing left to show.
    }
}

void TProgramEvents::Report(const std::string& message) noexcept {
    if (boxOpen_) {
        ++suppressed_;
        return;
    }
    boxOpen_ = true;
    try {
        windows_.ShowErrorBox(kApplicationTitle, ErrorBoxText(message));
    } catch (...) {
        // A report that fails itself has nowhere left to go.
    }
    boxOpen_ = false;
}

}  // namespace ornet5
