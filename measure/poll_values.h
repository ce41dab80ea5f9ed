#pragma once

#include <string>

namespace ornet5 {

// The six values that the poll cycle exchanges with the windows: three
// inputs read afresh at every step, three text results.
class TPollValues {
  public:
    virtual ~TPollValues() = default;
    // Selected entry of the port list: 0 to 7 for COM1 to COM8, else none.
    virtual int PortIndex() const = 0;
    // The speed text as typed, converted at every step.
    virtual std::string SpeedText() const = 0;
    // True when µR/h is chosen, false for µSv/h.
    virtual bool RentgenChosen() const = 0;

    virtual std::string DoseText() const = 0;
    virtual void SetDoseText(const std::string& text) = 0;
    // False once a reading has failed: the dose text still shows the last
    // reading, which must no longer pass for the present one. True again
    // with the next reading. A holder that keeps only a log of the texts
    // has nothing to mark.
    virtual void SetDoseCurrent(bool /*current*/) {}
    virtual void SetAddressText(const std::string& text) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
};

// The user's regional formats.
class TRegionalFormats {
  public:
    virtual ~TRegionalFormats() = default;
    virtual std::string DecimalSeparator() const = 0;
    // The current local time in the long time format, e.g. "9:05:07".
    virtual std::string LongTimeNow() const = 0;
};

}  // namespace ornet5
