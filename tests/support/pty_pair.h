#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/posix_descriptor.h"

namespace ornet5 {

// A pseudo-terminal pair standing in for a serial cable: the code under test
// opens SlavePath() like any serial device, the test plays the far end
// through the master side. The slave starts in raw mode (no echo, no line
// editing, no translations) and the pair keeps one slave descriptor of its
// own open, so the line stays up when the code under test closes its port.
class TPtyPair {
  public:
    // Throws std::runtime_error when no pseudo-terminal can be had.
    TPtyPair();

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_.Get(); }
    // The pair's own slave descriptor, e.g. to look at the terminal settings
    // that the code under test applied.
    int SlaveFd() const { return slave_.Get(); }
    bool MasterOpen() const { return master_.IsValid(); }

    // Sends bytes from the far end; false when not all could be sent within
    // the timeout (the slave side does not read).
    bool Write(std::string_view bytes,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
    // Receives at the far end until maximum bytes have come or the line has
    // been quiet for the idle time.
    std::string Read(std::size_t maximum,
                     std::chrono::milliseconds idle = std::chrono::milliseconds(300));
    // Bytes sent by the slave side and not yet read at the far end.
    std::size_t Pending() const;
    // Unplugs the cable: the slave side is hung up from now on.
    void CloseMaster() { master_.Close(); }

  private:
    TPosixDescriptor master_;
    TPosixDescriptor slave_;
    std::string slavePath_;
};

}  // namespace ornet5
