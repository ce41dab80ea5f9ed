#include "engine/detector.h"

#include <utility>

#include "common/exception.h"
#include "link/exchange.h"
#include "measure/poll_cycle.h"
#include "measure/port_open_log.h"
#include "serial/cp_drv.h"

namespace ornet5 {

std::unique_ptr<TSerialPort> MakeDriverPort(const std::string& portName, TTickSource& ticks) {
    auto driver = std::make_unique<TCPDrv>(ticks);
    driver->SetPortName(portName);
    return driver;
}

// What an exchange sees of the world on the detector's thread: the Escape
// key, the detector's clock, the status text, and whether the detector is
// being stopped.
class TDetector::TEnvironment : public TExchangeEnvironment {
  public:
    TEnvironment(std::function<bool()> escapeDown, TCycleClock& clock, TPollValues& values,
                 std::stop_token stop)
        : escapeDown_(std::move(escapeDown)), clock_(clock), values_(values), stop_(stop) {}

    bool EscapeDown() override { return escapeDown_ && escapeDown_(); }
    std::chrono::steady_clock::time_point Now() override { return clock_.Now(); }
    void ShowStatus(const std::string& text) override { values_.SetStatusText(text); }
    void Pause(std::chrono::milliseconds duration) override { clock_.Pause(duration); }
    bool Ending() override { return stop_.stop_requested(); }

  private:
    std::function<bool()> escapeDown_;
    TCycleClock& clock_;
    TPollValues& values_;
    std::stop_token stop_;
};

namespace {

std::unique_ptr<TCycleClock> OwnClockUnless(TCycleClock* given) {
    return given != nullptr ? nullptr : std::make_unique<TSteadyCycleClock>();
}

}  // namespace

TDetector::TDetector(TDetectorSetup setup, TDetectorServices services)
    : period_(setup.period),
      ownClock_(OwnClockUnless(services.clock)),
      clock_(services.clock != nullptr ? *services.clock : *ownClock_),
      diagnostics_(
          [this](std::string line) { publisher_.Publish(TDiagnosticEvent{std::move(line)}); }),
      ticks_(clock_),
      port_(services.makePort(setup.portName, ticks_)),
      portOpenLog_(std::make_unique<TPortOpenLog>(*port_, diagnostics_, setup.accessAdvice)),
      values_(std::move(setup.choices), publisher_),
      environment_(std::make_unique<TEnvironment>(std::move(services.escapeDown), clock_, values_,
                                                  stop_.get_token())),
      pollCycle_(
          std::make_unique<TPollCycle>(*portOpenLog_, values_, *environment_, services.formats)),
      recorder_(std::make_unique<TDoseRecorder>(std::move(setup.recorder), publisher_, diagnostics_,
                                                clock_, std::move(services.localNow))) {
    pollCycle_->SetObserver(this);
}

TDetector::~TDetector() {
    Stop();
}

void TDetector::Start() {
    thread_ = std::thread([this, stop = stop_.get_token()] { Run(stop); });
}

void TDetector::RequestStop() noexcept {
    stop_.request_stop();
    port_->Abort();
}

void TDetector::Join() noexcept {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TDetector::Run(const std::stop_token& stop) {
    auto next = clock_.Now() + period_;
    while (!stop.stop_requested()) {
        const auto wake = ticks_.IsRunning() ? std::min(next, ticks_.Due()) : next;
        clock_.SleepUntil(wake, stop);
        if (stop.stop_requested()) {
            break;
        }
        ticks_.FireIfDue();
        if (clock_.Now() < next) {
            continue;
        }
        RunCycle(stop);
        // A cycle that ran past the next one's time (a babbling line at a
        // low speed) is followed at once, as a timer's late tick would be.
        next = std::max(next + period_, clock_.Now());
    }
    // A cancelled exchange may have left the port open.
    portOpenLog_->ClosePort();
}

void TDetector::RunCycle(const std::stop_token& stop) {
    const auto start = clock_.Now();
    try {
        pollCycle_->TimerTrelanTimer();
    } catch (const std::exception& error) {
        if (!stop.stop_requested()) {
            publisher_.Publish(TCycleErrorEvent{ExceptionMessage(error), start});
        }
    } catch (...) {
        if (!stop.stop_requested()) {
            publisher_.Publish(TCycleErrorEvent{kUnknownErrorMessage, start});
        }
    }
}

// A cycle cut short by the detector's end says nothing true of the line.
void TDetector::CycleEnded(const TCycleOutcome& outcome) {
    if (!stop_.stop_requested()) {
        recorder_->CycleEnded(outcome);
    }
}

}  // namespace ornet5
