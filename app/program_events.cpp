#include "app/program_events.h"

#include <utility>

#include "app/app_title.h"
#include "app/settings_window_design.h"
#include "common/exception.h"

namespace ornet5 {

std::string ErrorBoxText(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

namespace {

// Clears the open mark when the box's modal run ends, however it ends, and
// notes when.
class TOpenMark {
  public:
    TOpenMark(bool& mark, std::chrono::steady_clock::time_point& closed)
        : mark_(mark), closed_(closed) {
        mark_ = true;
    }
    ~TOpenMark() {
        mark_ = false;
        closed_ = std::chrono::steady_clock::now();
    }
    TOpenMark(const TOpenMark&) = delete;
    TOpenMark& operator=(const TOpenMark&) = delete;

  private:
    bool& mark_;
    std::chrono::steady_clock::time_point& closed_;
};

}  // namespace

TProgramEvents::TProgramEvents(TProgramWindows& windows, std::ostream& errorLog)
    : windows_(windows), errorLog_(errorLog) {}

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

void TProgramEvents::NJournalClick() {
    Run([this] { windows_.ShowJournalWindow(); });
}

// The heading keeps the button caption's ampersand, which underlines the
// unit's first letter there too.
void TProgramEvents::rbZvClick() {
    Run([this] { windows_.SetTitleText(settings_design::kZvCaption); });
}

void TProgramEvents::rbRentgenClick() {
    Run([this] { windows_.SetTitleText(settings_design::kRentgenCaption); });
}

void TProgramEvents::Run(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& error) {
        Post(error);
    } catch (...) {
        Post(Exception(kUnknownErrorMessage));
    }
}

void TProgramEvents::Post(const std::exception& error) noexcept {
    try {
        posted_.push_back(ExceptionMessage(error));
        windows_.CallLater([this] { ReportFirstPosted(); });
    } catch (...) {
        // Out of memory: the error cannot even be queued. Whatever was
        // queued is reported at the latest by ReportPosted.
    }
}

void TProgramEvents::ReportPosted() noexcept {
    while (!posted_.empty()) {
        ReportFirstPosted();
    }
}

// One call per posted error; ReportPosted may have taken its error already.
void TProgramEvents::ReportFirstPosted() noexcept {
    if (posted_.empty()) {
        return;
    }
    std::string message = std::move(posted_.front());
    posted_.pop_front();
    Report(message);
}

void TProgramEvents::Report(const std::exception& error) noexcept {
    try {
        Report(ExceptionMessage(error));
    } catch (...) {
        // Copying the message failed: there is nothing left to show.
    }
}

void TProgramEvents::Report(const std::string& message) noexcept {
    try {
        const std::string text = ErrorBoxText(message);
        if (unattended_) {
            Log("error while ending", text);
            return;
        }
        if (boxOpen_) {
            Log("error while an error report is open", text);
            return;
        }
        const TOpenMark openMark(boxOpen_, lastBoxClosed_);
        ++shown_;
        windows_.ShowErrorBox(kApplicationTitle, text);
    } catch (...) {
        // A report that fails itself has nowhere left to go.
    }
}

void TProgramEvents::ReportCycleError(const std::string& message,
                                      std::chrono::steady_clock::time_point cycleStart) noexcept {
    if (!unattended_ && cycleStart <= lastBoxClosed_) {
        try {
            Log("error while an error report is open", ErrorBoxText(message));
        } catch (...) {
            // A report that fails itself has nowhere left to go.
        }
        return;
    }
    Report(message);
}

void TProgramEvents::Log(const char* situation, const std::string& text) noexcept {
    ++suppressed_;
    try {
        errorLog_ << "ORNET5: " << situation << ": " << text << std::endl;
    } catch (...) {
        // The error log itself failed: nothing more can be done.
    }
}

}  // namespace ornet5
