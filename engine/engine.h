#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "engine/detector.h"

namespace ornet5 {

// The measuring engine: any number of detectors, each on its own port and
// thread, side by side. No window owns it; the windows, or the logging
// service, observe its detectors and hand them the user's choices.
class TEngine {
  public:
    TEngine() = default;
    // Stops every detector.
    ~TEngine();
    TEngine(const TEngine&) = delete;
    TEngine& operator=(const TEngine&) = delete;

    // Before Start.
    TDetector& Add(TDetectorSetup setup, TDetectorServices services);
    void Start();
    // Ends every detector's wait or exchange at once, then waits for all
    // of them: the engine ends as fast as its slowest detector, not as
    // their sum.
    void Stop() noexcept;

    std::size_t Size() const { return detectors_.size(); }

  private:
    std::vector<std::unique_ptr<TDetector>> detectors_;
};

}  // namespace ornet5
