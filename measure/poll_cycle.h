#pragma once

#include "link/exchange.h"
#include "measure/cycle_outcome.h"
#include "measure/poll_values.h"
#include "serial/serial_port.h"

namespace ornet5 {

// The monitor's poll cycle: at each timer tick either identifies the
// detector or reads its dose rate, over one open-exchange-close of the
// port, and publishes the results through the six values.
class TPollCycle {
  public:
    TPollCycle(TSerialPort& port, TPollValues& values, TExchangeEnvironment& environment,
               const TRegionalFormats& formats);

    // Who hears how each step ended; null for nobody. It must outlive the
    // cycle or be reset.
    void SetObserver(TCycleObserver* observer) { observer_ = observer; }

    // One cycle: ReadDose when the link state is set, else Identify.
    // Lets EConvertError (bad speed text) and EProtocolCancel (user cancel)
    // escape to the caller's error report. A ReadDose that ends without a
    // reading, for whatever reason, marks the shown dose as not current.
    void TimerTrelanTimer();

    void Identify();
    void ReadDose();
    void OpenLink();
    void CloseLink();

    // False: the next cycle identifies; true: it reads the dose.
    bool LinkState() const { return linkState_; }

  private:
    // OpenLink, the exchange and CloseLink. A step that ends with an error
    // (a cancel, a bad speed text) is reported to the observer first.
    std::string RunExchange(const std::string& request);
    // No reply, or a bad one, by whether the exchange read any byte.
    TCycleStatus Failure() const;
    void Report(const TCycleOutcome& outcome);

    TSerialPort& port_;
    TPollValues& values_;
    TExchangeEnvironment& environment_;
    const TRegionalFormats& formats_;
    bool linkState_ = false;
    TCycleObserver* observer_ = nullptr;
    // Whether the last exchange read any byte.
    bool bytesSeen_ = false;
};

}  // namespace ornet5
