#pragma once

#include <chrono>
#include <functional>

namespace ornet5 {

// A periodic tick delivered on the owner's thread, between the owner's
// other calls (a QTimer in the program, a manual source in tests). The
// driver uses it for its receive poll while a port is open.
class TTickSource {
  public:
    using Handler = std::function<void()>;
    virtual ~TTickSource() = default;
    // Starts (or restarts) ticking every period; each tick calls handler.
    virtual void Start(std::chrono::milliseconds period, Handler handler) = 0;
    virtual void Stop() = 0;
    virtual bool IsRunning() const = 0;
};

}  // namespace ornet5
