#pragma once

#include <memory>

#include "app/monitor_program.h"
#include "app/program_toolkit.h"
#include "app/qt/escape_key.h"
#include "app/qt/regional_formats.h"

namespace ornet5 {

class TFace;
class TGuardedApplication;
class TJournalWindow;
class TQtProgramWindows;
class TSignalQuit;
class TTrelanADCFace;

// The Linux edition: the program put together from its Qt windows and
// adapters, its start-up and end in their order (the main window first,
// then the engine and the hidden settings window; at the end the engine
// stops and the settings window goes before the main window). SIGTERM,
// SIGINT and SIGHUP close the main window.
class TProgram : private TProgramToolkit {
  public:
    // Tests poll faster than the detector's 3000 ms.
    explicit TProgram(TGuardedApplication& application,
                      std::chrono::milliseconds pollPeriod = kPollPeriod);
    ~TProgram() override;
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // Shows the main window and runs the event loop until the program is
    // told to end; returns the exit code.
    int Run();

    TFace& MainWindow() { return *face_; }
    TTrelanADCFace& SettingsWindow() { return *settingsWindow_; }
    TJournalWindow& JournalWindow() { return *journalWindow_; }
    TProgramEvents& Events() { return monitor_->Events(); }
    TDetector& Detector() { return monitor_->Detector(); }

  private:
    TProgramWindows& Windows() override;
    TMainDisplay& MakeMainWindow(TProgramEvents& events) override;
    std::unique_ptr<TSettingsWindowPart> MakeSettingsWindow(
        const TSettingsWindowServices& services) override;
    std::unique_ptr<TJournalWindowPart> MakeJournalWindow(
        const TJournalWindowServices& services) override;
    std::unique_ptr<TWindowThread> MakeWindowThread() override;
    std::ostream& Diagnostics() override;
    std::string AccessAdvice() const override;
    const TRegionalFormats& Formats() const override { return formats_; }
    std::function<bool()> EscapeKey() override;
    void Beep() override;
    bool OpenFolder(const std::filesystem::path& folder) override;

    TGuardedApplication& application_;
    TEscapeKey escapeKey_;
    const TQtRegionalFormats formats_;
    std::unique_ptr<TFace> face_;
    std::unique_ptr<TQtProgramWindows> windows_;
    // Owned by the monitor program.
    TTrelanADCFace* settingsWindow_ = nullptr;
    TJournalWindow* journalWindow_ = nullptr;
    std::unique_ptr<TMonitorProgram> monitor_;
    std::unique_ptr<TSignalQuit> signalQuit_;
};

}  // namespace ornet5
