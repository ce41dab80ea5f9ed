#pragma once

#include <mutex>
#include <vector>

#include "engine/detector_events.h"

namespace ornet5 {

// Hands a detector's events to its observers, one event at a time and to
// each observer in the order they were added, from whichever thread made
// the event. Observers come and go at any time, from any thread.
class TEventPublisher {
  public:
    // observer must stay until it is removed, or until the detector's
    // thread has ended.
    void Add(TDetectorObserver& observer);
    // Once this returns, observer hears of nothing more.
    void Remove(TDetectorObserver& observer);
    // An observer that throws misses this event; the others, and the
    // detector, go on.
    void Publish(const TDetectorEvent& event) noexcept;

  private:
    std::mutex mutex_;
    std::vector<TDetectorObserver*> observers_;
};

}  // namespace ornet5
