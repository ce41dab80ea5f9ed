#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ornet5 {

// The detector's end of the cable: the master side of a pseudo-terminal
// whose slave side the monitor opens as its serial port.
class TPtyPort {
  public:
    // Throws ESimError when no pseudo-terminal can be had.
    TPtyPort();
    ~TPtyPort();
    TPtyPort(const TPtyPort&) = delete;
    TPtyPort& operator=(const TPtyPort&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    // Non-blocking; for poll().
    int MasterFd() const { return master_; }

    // What has arrived, possibly nothing.
    std::string ReadAvailable();
    // Bytes that the pseudo-terminal took (it may take fewer when full).
    std::size_t Write(std::string_view bytes);

  private:
    void Close();

    int master_ = -1;
    // Held open so that the master never sees a hang-up when the monitor
    // closes the port between polls, and the line settings survive.
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace ornet5
