#pragma once

#include <functional>
#include <string>

#include "measure/poll_values.h"
#include "serial/tick_source.h"

namespace ornet5 {

class TProgramEvents;

// What the connection settings window needs of the main window: the large
// dose label and the heading label.
class TMainDisplay {
  public:
    virtual ~TMainDisplay() = default;
    virtual std::string DoseText() const = 0;
    virtual void SetDoseText(const std::string& text) = 0;
    // Whether the dose shown is the present reading or an old one.
    virtual void SetDoseCurrent(bool current) = 0;
    virtual void SetTitleText(const std::string& text) = 0;
};

// Services the program hands to the connection settings window at its
// creation; each must outlive the window.
struct TWindowServices {
    TMainDisplay& face;
    // Ticks for the serial driver's receive poll.
    TTickSource& driverTicks;
    // The Escape key's physical state at the moment of the call.
    std::function<bool()> escapeDown;
    const TRegionalFormats& formats;
    // What happens on the window's events (poll tick, unit choice), and
    // the standard error report for errors that escape its handlers.
    TProgramEvents& events;
};

}  // namespace ornet5
