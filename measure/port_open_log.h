#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "serial/forwarding_port.h"

namespace ornet5 {

// A serial port that tells the user why it cannot be opened. The status
// texts of the poll cycle only say that no reply came; this writes one line
// naming the device and the reason to the given stream when a reason first
// appears or changes. A port that cannot be opened is met at every poll, and
// a line at every tick would bury the one that matters. A successful open
// forgets the reason, so a later failure is reported again.
class TPortOpenLog : public TForwardingPort {
  public:
    // port and out must outlive the log. accessAdvice follows the "no
    // permission" reason: what the user can do about it on this system.
    TPortOpenLog(TSerialPort& port, std::ostream& out, std::string accessAdvice = {});

    bool OpenPort() override;

  private:
    std::ostream& out_;
    std::string accessAdvice_;
    // Kind None: nothing reported since the last successful open.
    TOpenFailure reported_;
};

// The line written for a failure, without its line end.
std::string OpenFailureText(const TOpenFailure& failure, const std::string& accessAdvice = {});

}  // namespace ornet5
