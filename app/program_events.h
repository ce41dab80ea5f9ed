#pragma once

#include <chrono>
#include <deque>
#include <exception>
#include <functional>
#include <iostream>
#include <string>

namespace ornet5 {

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
    // The journal window's show: it becomes visible (reading its period
    // from the journal) and comes to the front.
    virtual void ShowJournalWindow() = 0;
    // The modal message box of the standard error report; returns when the
    // user has closed it.
    virtual void ShowErrorBox(const std::string& caption, const std::string& text) = 0;
    // Makes the call once the event loop runs again, after the handler now
    // running has returned. A toolkit whose modal loops go on dispatching the
    // timer that is showing a box (Win32) may make it at once; Qt does not
    // re-enter a timer's handler, so there the box must wait for the loop.
    virtual void CallLater(std::function<void()> call) { call(); }
};

// The standard error report's text: the message, with a full stop appended
// when its last character's code is above the full stop's. In UTF-8 a
// character beyond ASCII ends in a byte of 0x80 or more, so the last byte
// decides.
std::string ErrorBoxText(const std::string& message);

// What happens on each window event, written once for both front ends.
class TProgramEvents {
  public:
    // Reports that open no box are written to errorLog (standard error).
    explicit TProgramEvents(TProgramWindows& windows, std::ostream& errorLog = std::cerr);

    // The main window became active: the first time only, the settings
    // window is shown and at once closed, so the stored choices load before
    // the first poll and are written straight back.
    void FormActivate();
    void actOptionsShowExecute();
    void NAboutClick();
    void NJournalClick();
    void rbZvClick();
    void rbRentgenClick();

    // Runs an event handler; an error escaping it is posted to the report.
    void Run(const std::function<void()>& handler) noexcept;

    // The standard error report: one modal box with the program's title
    // and the message. Posted errors are reported once the handler that
    // raised them has returned, so polling goes on behind the box.
    //
    // At most one box is open at a time. An error reported while a box is
    // open (a failure that repeats at every poll tick, say) opens no second
    // box: it is written to the error log and counted. A failure that
    // persists is shown again by the first tick after the box is closed.
    void Post(const std::exception& error) noexcept;
    void Report(const std::exception& error) noexcept;
    void Report(const std::string& message) noexcept;
    // An error that ended a detector's cycle, which may reach the window
    // thread a moment after it happened: one of a cycle that started before
    // the box it would follow was closed counts as reported while that box
    // was open. A failure that persists is shown again by the first cycle
    // that starts after the box was closed.
    void ReportCycleError(const std::string& message,
                          std::chrono::steady_clock::time_point cycleStart) noexcept;
    // Reports at once what was posted and not yet reported: for errors of
    // the program's end, after the event loop has stopped.
    void ReportPosted() noexcept;
    // Once the program is told to end by a signal, nobody may be there to
    // click OK: from then on reports go to the error log only.
    void ReportToErrorLogOnly() { unattended_ = true; }

    bool FirstActivationPending() const { return firstActivation_; }
    bool ErrorBoxOpen() const { return boxOpen_; }
    int ShownReports() const { return shown_; }
    int SuppressedReports() const { return suppressed_; }

  private:
    void ReportFirstPosted() noexcept;
    void Log(const char* situation, const std::string& text) noexcept;

    TProgramWindows& windows_;
    std::ostream& errorLog_;
    std::deque<std::string> posted_;
    bool firstActivation_ = true;
    bool boxOpen_ = false;
    std::chrono::steady_clock::time_point lastBoxClosed_{};
    bool unattended_ = false;
    int shown_ = 0;
    int suppressed_ = 0;
};

}  // namespace ornet5
