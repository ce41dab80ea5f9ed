#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>

#include "common/local_time.h"
#include "engine/cycle_clock.h"
#include "engine/cycle_values.h"
#include "engine/dose_recorder.h"
#include "engine/event_publisher.h"
#include "engine/line_stream.h"
#include "engine/thread_ticks.h"
#include "measure/cycle_outcome.h"
#include "measure/poll_values.h"
#include "serial/serial_port.h"

namespace ornet5 {

class TPollCycle;
class TPortOpenLog;

// A cycle every 3000 ms, the first one period after the start.
inline constexpr std::chrono::milliseconds kPollPeriod{3000};

struct TDetectorSetup {
    // The driver's device until a chosen port index names another: the
    // desktop window's design device "\\.\COM3", or the device path (or
    // "\\.\COMn") that the service was given.
    std::string portName;
    TPollChoices choices;
    TDoseRecorderSetup recorder;
    // Follows the "no permission" reason when the port cannot be opened:
    // what the user can do about it on this system; may be empty.
    std::string accessAdvice;
    std::chrono::milliseconds period = kPollPeriod;
};

// Makes a detector's serial port on its device: the platform's driver, or
// a fake one in tests. ticks drive the driver's receive poll.
using TPortFactory =
    std::function<std::unique_ptr<TSerialPort>(const std::string& portName, TTickSource& ticks)>;

std::unique_ptr<TSerialPort> MakeDriverPort(const std::string& portName, TTickSource& ticks);

struct TDetectorServices {
    // Used on the detector's thread.
    const TRegionalFormats& formats;
    // The Escape key's physical state, read on the detector's thread at each
    // attempt's start; empty: never down.
    std::function<bool()> escapeDown;
    // Null: the detector's own steady clock.
    TCycleClock* clock = nullptr;
    // The local time of a journal row.
    std::function<TLocalTime()> localNow = [] {
        return LocalTimeAt(std::chrono::system_clock::now());
    };
    TPortFactory makePort = MakeDriverPort;
};

// One detector on its own serial port, measured on a thread of its own so
// that nothing else waits on its line: every period its poll cycle opens
// the port, identifies the detector or reads its dose, and closes the port;
// the recorder takes the outcome to the alarm and the journal. What it
// publishes reaches its observers as events, in order. A silent, babbling
// or vanished detector delays nobody else.
class TDetector : private TCycleObserver {
  public:
    TDetector(TDetectorSetup setup, TDetectorServices services);
    // Stops the detector if it runs.
    ~TDetector() override;
    TDetector(const TDetector&) = delete;
    TDetector& operator=(const TDetector&) = delete;

    // At any time, from any thread; observer must stay until it is
    // removed or the detector has stopped.
    void AddObserver(TDetectorObserver& observer) { publisher_.Add(observer); }
    void RemoveObserver(TDetectorObserver& observer) { publisher_.Remove(observer); }
    // Starts the thread: the first cycle comes one period later. Once.
    void Start();
    // From any thread, at once: ends the wait or the exchange under way (a
    // read or write of the port returns with what it has). A cycle cut
    // short leaves no row and reports no error.
    void RequestStop() noexcept;
    // Waits for the thread to end; the port is closed then.
    void Join() noexcept;
    void Stop() noexcept {
        RequestStop();
        Join();
    }

    // From any thread; in force from the next step of a cycle.
    void SetChoices(const TPollChoices& choices) { values_.SetChoices(choices); }
    TDoseRecorder& Recorder() { return *recorder_; }

  private:
    class TEnvironment;

    void Run(const std::stop_token& stop);
    void RunCycle(const std::stop_token& stop);
    void CycleEnded(const TCycleOutcome& outcome) override;

    const std::chrono::milliseconds period_;
    // Before the parts that look at it.
    std::stop_source stop_;
    std::unique_ptr<TCycleClock> ownClock_;
    TCycleClock& clock_;
    TEventPublisher publisher_;
    TLineStream diagnostics_;
    TThreadTicks ticks_;
    std::unique_ptr<TSerialPort> port_;
    std::unique_ptr<TPortOpenLog> portOpenLog_;
    TCycleValues values_;
    std::unique_ptr<TEnvironment> environment_;
    std::unique_ptr<TPollCycle> pollCycle_;
    std::unique_ptr<TDoseRecorder> recorder_;
    std::thread thread_;
};

}  // namespace ornet5
