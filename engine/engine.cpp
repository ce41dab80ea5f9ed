#include "engine/engine.h"

#include <utility>

namespace ornet5 {

TEngine::~TEngine() {
    Stop();
}

TDetector& TEngine::Add(TDetectorSetup setup, TDetectorServices services) {
    detectors_.push_back(std::make_unique<TDetector>(std::move(setup), std::move(services)));
    return *detectors_.back();
}

void TEngine::Start() {
    for (const auto& detector : detectors_) {
        detector->Start();
    }
}

void TEngine::Stop() noexcept {
    for (const auto& detector : detectors_) {
        detector->RequestStop();
    }
    for (const auto& detector : detectors_) {
        detector->Join();
    }
}

}  // namespace ornet5
