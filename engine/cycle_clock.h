#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>

namespace ornet5 {

// The one clock of a detector's thread: when its cycles are due, the waits
// between them, and the short pauses inside an exchange. Tests put a
// manual one in its place, so that the order of a cycle's events and the
// engine's ending are checked without waiting in real time.
class TCycleClock {
  public:
    using TTime = std::chrono::steady_clock::time_point;

    virtual ~TCycleClock() = default;
    // Monotonic: only differences between two readings mean anything.
    virtual TTime Now() const = 0;
    // Blocks until the deadline, or returns as soon as a stop is requested.
    virtual void SleepUntil(TTime deadline, const std::stop_token& stop) = 0;
    // A short wait inside a cycle, between two reads of a port that came
    // back at once with nothing.
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// The steady clock of the standard library; a stop wakes the sleeper at
// once, without polling.
class TSteadyCycleClock : public TCycleClock {
  public:
    TTime Now() const override { return std::chrono::steady_clock::now(); }
    void SleepUntil(TTime deadline, const std::stop_token& stop) override;
    void Pause(std::chrono::milliseconds duration) override;

  private:
    std::mutex mutex_;
    std::condition_variable_any wake_;
};

}  // namespace ornet5
