#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/posix_descriptor.h"

namespace ornet5 {

// The detector's end of the cable: the master side of a pseudo-terminal
// whose slave side the monitor opens as its serial port.
class TPtyPort {
  public:
    // Throws ESimError when no pseudo-terminal can be had.
    TPtyPort();

    const std::string& SlavePath() const { return slavePath_; }
    // Non-blocking; for poll().
    int MasterFd() const { return master_.Get(); }

    // What has arrived, possibly nothing.
    std::string ReadAvailable();
    // Bytes that the pseudo-terminal took (it may take fewer when full).
    std::size_t Write(std::string_view bytes);

    // Readable when the monitor has closed the port; for poll().
    int PeerCloseFd() const { return closeWatch_.Get(); }
    // Call when PeerCloseFd() is readable. The monitor takes the port
    // exclusively; on a pseudo-terminal, unlike a real port, that lasts past
    // its close (the slave side lives on with the master), and without this
    // every later open but the first would fail for any user but root.
    void ReleaseAfterPeerClose();

  private:
    TPosixDescriptor master_;
    // Held open so that the master never reports a hang-up (at once, on
    // every poll) while the monitor has the port closed between its polls.
    TPosixDescriptor slave_;
    std::string slavePath_;
    TPosixDescriptor closeWatch_;  // inotify on the slave's device file
};

}  // namespace ornet5
