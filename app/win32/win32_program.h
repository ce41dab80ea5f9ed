#pragma once

#include <memory>

#include "app/diagnostic_log.h"
#include "app/dose_recorder.h"
#include "app/program_events.h"
#include "app/win32/regional_formats.h"

namespace ornet5 {

class TFaceWindow;
class TJournalWindow;
class TSettingsWindow;
struct TJournalWindowServices;
struct TSettingsWindowServices;

// The Windows edition's start-up and end, in their order: the main window
// first, then the connection settings window (hidden, its poll timer
// running), the main window shown and the messages dispatched; at the end
// the journal window and the settings window are destroyed before the
// main window. Every diagnostic (why a port or the journal cannot be
// opened, errors while a report is open or at the end) goes to the
// program's log, which outlives all the windows.
class TWin32Program : public TProgramWindows {
  public:
    TWin32Program();
    ~TWin32Program() override;
    TWin32Program(const TWin32Program&) = delete;
    TWin32Program& operator=(const TWin32Program&) = delete;

    // Shows the main window and dispatches messages until it is closed;
    // returns the exit code.
    int Run();

    void ShowSettingsWindow() override;
    void CloseSettingsWindow() override;
    void SetTitleText(const std::string& text) override;
    void RunAboutBox() override;
    void ShowJournalWindow() override;
    void ShowErrorBox(const std::string& caption, const std::string& text) override;

  private:
    TDiagnosticLog log_;
    TProgramEvents events_;
    const TWin32RegionalFormats formats_;
    std::unique_ptr<TFaceWindow> face_;
    std::unique_ptr<TAlarmSound> sound_;
    std::unique_ptr<TDoseRecorder> recorder_;
    std::unique_ptr<const TSettingsWindowServices> services_;
    std::unique_ptr<TSettingsWindow> settingsWindow_;
    std::unique_ptr<const TJournalWindowServices> journalServices_;
    std::unique_ptr<TJournalWindow> journalWindow_;
};

}  // namespace ornet5
