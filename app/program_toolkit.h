#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "app/face_core.h"
#include "app/journal_window_core.h"
#include "app/program_events.h"
#include "app/settings_window_core.h"
#include "app/window_thread.h"
#include "measure/poll_values.h"

namespace ornet5 {

// The toolkit's connection settings window, owned by the program:
// destroying it destroys the window (its settings store saves first when
// it has to).
class TSettingsWindowPart {
  public:
    virtual ~TSettingsWindowPart() = default;
    virtual TSettingsWindowCore& Core() = 0;
};

// The toolkit's journal window, owned by the program.
class TJournalWindowPart {
  public:
    virtual ~TJournalWindowPart() = default;
    virtual TJournalWindowCore& Core() = 0;
};

// What an edition's toolkit gives the program: its windows, made on the
// program's call, and its platform's adapters. Each edition implements it
// once; the program puts the parts together (monitor_program.h).
class TProgramToolkit {
  public:
    virtual ~TProgramToolkit() = default;

    // The windows as the event logic reaches them (the settings window's
    // show and close, the about box, the error report's box).
    virtual TProgramWindows& Windows() = 0;
    // The main window, made first of all and kept by the toolkit to the
    // end: closing it ends the program. Its events go to events.
    virtual TMainDisplay& MakeMainWindow(TProgramEvents& events) = 0;
    // Made hidden, in this order, once the main window is there.
    virtual std::unique_ptr<TSettingsWindowPart> MakeSettingsWindow(
        const TSettingsWindowServices& services) = 0;
    virtual std::unique_ptr<TJournalWindowPart> MakeJournalWindow(
        const TJournalWindowServices& services) = 0;
    virtual std::unique_ptr<TWindowThread> MakeWindowThread() = 0;

    // Where the diagnostics go: standard error on Linux, the program's log
    // on Windows. Written on the window thread only.
    virtual std::ostream& Diagnostics() = 0;
    // Follows the "no permission" reason of a port that cannot be opened:
    // what the user can do about it on this system; may be empty.
    virtual std::string AccessAdvice() const = 0;
    // Used on the detector's thread as well.
    virtual const TRegionalFormats& Formats() const = 0;
    // The Escape key's physical state, read on the detector's thread.
    virtual std::function<bool()> EscapeKey() = 0;
    // The desktop's warning sound.
    virtual void Beep() = 0;
    // Opens a folder in the desktop's file manager; false when it cannot.
    virtual bool OpenFolder(const std::filesystem::path& folder) = 0;
};

}  // namespace ornet5
