#pragma once

#include <memory>

#include "app/diagnostic_log.h"
#include "app/monitor_program.h"
#include "app/program_toolkit.h"
#include "app/win32/regional_formats.h"

namespace ornet5 {

class TFaceWindow;
class TJournalWindow;
class TSettingsWindow;

// The Windows edition: the program put together from its Win32 windows
// and adapters, its start-up and end in their order (the main window
// first, then the engine and the hidden settings window; at the end the
// engine stops, and the journal window and the settings window are
// destroyed before the main window). Every diagnostic (why a port or the
// journal cannot be opened, errors while a report is open or at the end)
// goes to the program's log, which outlives all the windows.
class TWin32Program : private TProgramToolkit, private TProgramWindows {
  public:
    TWin32Program();
    ~TWin32Program() override;
    TWin32Program(const TWin32Program&) = delete;
    TWin32Program& operator=(const TWin32Program&) = delete;

    // Shows the main window and dispatches messages until it is closed;
    // returns the exit code.
    int Run();

  private:
    // The toolkit.
    TProgramWindows& Windows() override { return *this; }
    TMainDisplay& MakeMainWindow(TProgramEvents& events) override;
    std::unique_ptr<TSettingsWindowPart> MakeSettingsWindow(
        const TSettingsWindowServices& services) override;
    std::unique_ptr<TJournalWindowPart> MakeJournalWindow(
        const TJournalWindowServices& services) override;
    std::unique_ptr<TWindowThread> MakeWindowThread() override;
    std::ostream& Diagnostics() override { return log_; }
    std::string AccessAdvice() const override { return {}; }
    const TRegionalFormats& Formats() const override { return formats_; }
    std::function<bool()> EscapeKey() override;
    void Beep() override;
    bool OpenFolder(const std::filesystem::path& folder) override;

    // The windows, as the event logic reaches them.
    void ShowSettingsWindow() override;
    void CloseSettingsWindow() override;
    void SetTitleText(const std::string& text) override;
    void RunAboutBox() override;
    void ShowJournalWindow() override;
    void ShowErrorBox(const std::string& caption, const std::string& text) override;

    TDiagnosticLog log_;
    const TWin32RegionalFormats formats_;
    std::unique_ptr<TFaceWindow> face_;
    // Owned by the monitor program.
    TSettingsWindow* settingsWindow_ = nullptr;
    TJournalWindow* journalWindow_ = nullptr;
    std::unique_ptr<TMonitorProgram> monitor_;
};

}  // namespace ornet5
