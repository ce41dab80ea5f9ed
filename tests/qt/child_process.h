#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace ornet5::test {

// A program run as a child process with extra environment variables, its
// standard error collected. Killed and reaped when the object goes, if it
// is still running.
class TChildProcess {
  public:
    TChildProcess(const std::string& path, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment);
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // Reads standard error until it contains text or the time is up.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
    const std::string& Output() const { return output_; }

    void Signal(int signalNumber);
    // The exit status as waitpid reports it, once the child has ended
    // within the time; nothing when it is still running then.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);

  private:
    void ReadAvailable(std::chrono::milliseconds wait);

    pid_t pid_ = -1;
    int stderr_ = -1;
    std::string output_;
};

}  // namespace ornet5::test
