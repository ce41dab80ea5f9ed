#include "engine/event_publisher.h"

#include <algorithm>

namespace ornet5 {

void TEventPublisher::Add(TDetectorObserver& observer) {
    const std::lock_guard lock(mutex_);
    observers_.push_back(&observer);
}

void TEventPublisher::Remove(TDetectorObserver& observer) {
    const std::lock_guard lock(mutex_);
    std::erase(observers_, &observer);
}

void TEventPublisher::Publish(const TDetectorEvent& event) noexcept {
    const std::lock_guard lock(mutex_);
    for (TDetectorObserver* observer : observers_) {
        try {
            observer->Observe(event);
        } catch (...) {
            // A window gone wrong or a full queue must not stop the
            // measuring, nor keep the event from the others.
        }
    }
}

}  // namespace ornet5
