#include "tools/ornet5-sim/detector_setup.h"

#include <memory>

#include "tools/ornet5-sim/background.h"
#include "tools/ornet5-sim/reading_encoder.h"

namespace ornet5 {

TDetectorSetup DetectorSetupFor(const TSimOptions& options, std::uint32_t fallbackStart) {
    TDetectorSetup setup;
    setup.address = options.address;
    setup.faults = {.silent = options.silent,
                    .badHeaderChecksum = options.badHeaderChecksum,
                    .badDataChecksum = options.badDataChecksum,
                    .split = options.split};
    if (options.fixedWord) {
        setup.nextReading = [word = *options.fixedWord] { return word; };
        return setup;
    }
    auto background = std::make_shared<TBackground>(options.randomStart.value_or(fallbackStart));
    // Every background value lies well inside the encodable range.
    setup.nextReading = [background] { return EncodeReading(background->Next()).value_or(0); };
    return setup;
}

}  // namespace ornet5
