#pragma once

#include <exception>
#include <functional>
#include <string>

namespace ornet5 {

class TPollCycle;

// What the program's windows offer to the event logic: each front end
// (Win32, Qt) builds its controls, implements this and forwards its window
// events to TProgramEvents.
class TProgramWindows {
  public:
    virtual ~TProgramWindows() = default;
    // The connection settings window's show (load the stored settings,
    // become visible, come to the front) and close (save, then hide).
    virtual void ShowSettingsWindow() = 0;
    virtual void CloseSettingsWindow() = 0;
    virtual void SetTitleText(const std::string& text) = 0;
    // Creates a fresh about box, runs it modally and destroys it.
    virtual void RunAboutBox() = 0;
    // The modal message box of the standard error report; returns when the
    // user has closed it.
    virtual void ShowErrorBox(const std::string& caption, const std::string& text) = 0;
};

// The standard error report's text: the message, with a full stop appended
// when its last character's code is above the full stop's. In UTF-8 a
// character beyond ASCII ends in a byte of 0x80 or more, so the last byte
// decides.
std::string ErrorBoxText(const std::string& message);

// What happens on each window event, written once for both front ends.
class TProgramEvents {
  public:
    explicit TProgramEvents(TProgramWindows& windows);

    // The main window became active: the first time only, the settings
    // window is shown and at once closed, so the stored choices load before
    // the first poll and are written straight back.
    void FormActivate();
    void actOptionsShowExecute();
    void NAboutClick();
    void rbZvClick();
    void rbRentgenClick();

    // The poll timer's tick: one poll cycle; an escaping error (a speed text
    // that is not a number, the user's cancel) goes to the report.
    void TimerTrelanTimer(TPollCycle& cycle);

    // Runs an event handler; an error escaping it goes to the one report.
    void Run(const std::function<void()>& handler) noexcept;

    // The standard error report. While a box is open (its modal loop goes
    // on dispatching the poll timer), a further error opens no second box:
    // it is counted, and a failure that persists is shown again by the
    // first tick after the user has closed the box.
    void Report(const std::exception& error) noexcept;
    void Report(const std::string& message) noexcept;

    bool FirstActivationPending() const { return firstActivation_; }
    bool ErrorBoxOpen() const { return boxOpen_; }
    int SuppressedReports() const { return suppressed_; }

    static const char* const kZvHeading;
    static const char* const kRentgenHeading;

  private:
    TProgramWindows& windows_;
    bool firstActivation_ = true;
    bool boxOpen_ = false;
    int suppressed_ = 0;
};

}  // namespace ornet5
