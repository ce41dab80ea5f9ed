#pragma once

#include <cstdint>

#include "tools/ornet5-sim/detector.h"
#include "tools/ornet5-sim/sim_options.h"

namespace ornet5 {

// The detector that the options describe. Its readings are the fixed word
// when one was given, else a background that starts at the options' random
// start or, without one, at fallbackStart.
TDetectorSetup DetectorSetupFor(const TSimOptions& options, std::uint32_t fallbackStart);

}  // namespace ornet5
