#pragma once

#include <string>

#include "measure/poll_values.h"

namespace ornet5 {

// The user's regional formats as Windows keeps them, read at every call so
// that a change in the control panel shows at the next reading.
class TWin32RegionalFormats : public TRegionalFormats {
  public:
    std::string DecimalSeparator() const override;
    // The current local time in the user's long time format.
    std::string LongTimeNow() const override;
};

}  // namespace ornet5
