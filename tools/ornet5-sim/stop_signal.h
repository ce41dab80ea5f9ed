#pragma once

namespace ornet5 {

// SIGINT and SIGTERM as a readable descriptor, so that the main loop's
// poll() wakes for them and the program can tidy up before it ends.
class TStopSignal {
  public:
    // Blocks both signals' default action for this thread. Throws ESimError.
    TStopSignal();
    ~TStopSignal();
    TStopSignal(const TStopSignal&) = delete;
    TStopSignal& operator=(const TStopSignal&) = delete;

    int Fd() const { return fd_; }

    // Consumes a pending signal; true when one had arrived.
    bool Take();

  private:
    int fd_ = -1;
};

}  // namespace ornet5
