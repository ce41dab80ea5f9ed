#pragma once

#include <chrono>
#include <string>
#include <variant>

#include "journal/journal_row.h"

namespace ornet5 {

// What a detector publishes, each at the moment it happens. The first four
// are what its poll cycle writes into the windows: the status text (cleared
// as a cycle starts, set as it ends), the answering address, the dose text
// and whether that text is the present reading.
struct TStatusTextEvent {
    std::string text;
};
struct TAddressTextEvent {
    std::string text;
};
struct TDoseTextEvent {
    std::string text;
};
struct TDoseCurrentEvent {
    bool current = true;
};
// The dose alarm went on or off (also when its settings changed).
struct TAlarmEvent {
    bool on = false;
};
// The warning sound is due: the alarm went on, or 30 s more of it passed.
struct TAlarmSoundEvent {};
// A cycle's row, once it is in the journal (or kept for it).
struct TRowEvent {
    TJournalRow row;
};
// An error that ended a cycle (a speed text that is not a number, the
// user's cancel): the standard error report shows its message. The time
// the cycle started, on the detector's clock, tells whether the cycle read
// the user's choices before or after a box about an earlier error closed.
struct TCycleErrorEvent {
    std::string message;
    std::chrono::steady_clock::time_point cycleStart;
};
// A line for the diagnostics, without its line end: why a port cannot be
// opened, why the journal cannot be written.
struct TDiagnosticEvent {
    std::string line;
};

using TDetectorEvent =
    std::variant<TStatusTextEvent, TAddressTextEvent, TDoseTextEvent, TDoseCurrentEvent,
                 TAlarmEvent, TAlarmSoundEvent, TRowEvent, TCycleErrorEvent, TDiagnosticEvent>;

// Whoever follows a detector: a window, through its thread's queue; the
// logging service's publishers. Events come one at a time, in the order
// they happened, mostly on the detector's own thread; an observer must
// return promptly (hand the event on, never wait on I/O), since the
// detector waits for it. An observer that throws loses that event only.
class TDetectorObserver {
  public:
    virtual ~TDetectorObserver() = default;
    virtual void Observe(const TDetectorEvent& event) = 0;
};

}  // namespace ornet5
