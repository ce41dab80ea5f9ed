#pragma once

#include <QObject>

#include "app/window_thread.h"

namespace ornet5 {

// The window thread's queue as Qt keeps it: each call is a queued call to
// an object of the window thread, and queued calls to one object keep their
// order. Calls still queued when the object goes are dropped with it.
class TQtWindowThread : public TWindowThread {
  public:
    // Made on the window thread.
    TQtWindowThread() = default;

    void Post(std::function<void()> call) override;

  private:
    QObject receiver_;
};

}  // namespace ornet5
