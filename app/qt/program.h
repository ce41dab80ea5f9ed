#pragma once

#include <memory>

#include "app/dose_recorder.h"
#include "app/program_events.h"
#include "app/qt/escape_key.h"
#include "app/qt/regional_formats.h"

namespace ornet5 {

class TDoseRecorder;
class TFace;
class TGuardedApplication;
class TJournalWindow;
class TQtProgramWindows;
class TSignalQuit;
class TTrelanADCFace;
struct TJournalWindowServices;
struct TSettingsWindowServices;

// The program's start-up and end, in their order: the main window first,
// then the connection settings window (hidden, its poll timer running), the
// main window shown and run; at the end the settings window is destroyed
// before the main window. SIGTERM, SIGINT and SIGHUP close the main window.
class TProgram {
  public:
    explicit TProgram(TGuardedApplication& application);
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // Shows the main window and runs the event loop until the program is
    // told to end; returns the exit code.
    int Run();

    TFace& MainWindow() { return *face_; }
    TTrelanADCFace& SettingsWindow() { return *settingsWindow_; }
    TJournalWindow& JournalWindow() { return *journalWindow_; }
    TProgramEvents& Events() { return *events_; }

  private:
    TGuardedApplication& application_;
    TEscapeKey escapeKey_;
    const TQtRegionalFormats formats_;
    std::unique_ptr<TFace> face_;
    std::unique_ptr<TQtProgramWindows> windows_;
    std::unique_ptr<TProgramEvents> events_;
    std::unique_ptr<TAlarmSound> sound_;
    std::unique_ptr<TDoseRecorder> recorder_;
    std::unique_ptr<const TSettingsWindowServices> services_;
    std::unique_ptr<TTrelanADCFace> settingsWindow_;
    std::unique_ptr<const TJournalWindowServices> journalServices_;
    std::unique_ptr<TJournalWindow> journalWindow_;
    std::unique_ptr<TSignalQuit> signalQuit_;
};

}  // namespace ornet5
