#pragma once

#include <cstdint>

#include "tools/ornet5-sim/sim_options.h"

namespace ornet5 {

// Puts the simulated detector on a pseudo-terminal linked at the options'
// link path and answers the monitor until SIGINT or SIGTERM; the link is
// gone when it returns. Throws ESimError when the set-up fails.
void RunSimulator(const TSimOptions& options, std::uint32_t fallbackStart);

}  // namespace ornet5
