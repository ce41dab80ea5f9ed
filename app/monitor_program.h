#pragma once

#include <memory>

#include "app/desktop_detector.h"
#include "app/program_events.h"
#include "app/program_toolkit.h"
#include "app/window_thread.h"
#include "engine/engine.h"

namespace ornet5 {

// The desktop monitor put together once for both editions, from the parts
// its toolkit makes: the main window first; the measuring engine with the
// one detector that the windows show; the connection settings window
// (hidden), which hands the detector the user's port, speed and unit; the
// journal window. The detector's thread starts once all of them are there,
// and its events reach the windows through the window thread's queue.
//
// At the end the engine stops first (an exchange under way is cut short,
// the port closed), then the journal window and the settings window are
// destroyed, the settings window's store saving when it has to; the main
// window stays with the toolkit.
class TMonitorProgram {
  public:
    // toolkit must outlive the program. Tests poll faster than the
    // detector's 3000 ms.
    explicit TMonitorProgram(TProgramToolkit& toolkit,
                             std::chrono::milliseconds pollPeriod = kPollPeriod);
    ~TMonitorProgram();
    TMonitorProgram(const TMonitorProgram&) = delete;
    TMonitorProgram& operator=(const TMonitorProgram&) = delete;

    TProgramEvents& Events() { return events_; }
    TDetector& Detector() { return detector_; }
    TSettingsWindowCore& SettingsWindow() { return settingsWindow_->Core(); }
    // Stops the measuring ahead of the program's end: a session that ends
    // may not wait for the windows.
    void StopMeasuring() noexcept { engine_.Stop(); }

  private:
    // One of the detector's events, now on the window thread.
    void Show(const TDetectorEvent& event);

    TProgramToolkit& toolkit_;
    TProgramEvents events_;
    TMainDisplay& face_;
    TEngine engine_;
    TDetector& detector_;
    TDesktopDetector desktopDetector_;
    std::unique_ptr<TWindowThreadObserver> windowObserver_;
    std::unique_ptr<TWindowThread> windowThread_;
    std::unique_ptr<const TSettingsWindowServices> settingsServices_;
    std::unique_ptr<TSettingsWindowPart> settingsWindow_;
    std::unique_ptr<const TJournalWindowServices> journalServices_;
    std::unique_ptr<TJournalWindowPart> journalWindow_;
};

}  // namespace ornet5
