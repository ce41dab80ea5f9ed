#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace ornet5::test {

// One running ornet5-sim, ended (and waited for) when the object goes,
// whatever happened meanwhile. Its stderr is collected for the log.
class TSimProcess {
  public:
    // Starts program with args; environment entries NAME=value replace the
    // test's own.
    TSimProcess(const std::string& program, std::vector<std::string> args,
                const std::vector<std::string>& environment);
    ~TSimProcess();
    TSimProcess(const TSimProcess&) = delete;
    TSimProcess& operator=(const TSimProcess&) = delete;

    // Waits for the line that says the link is in place; false when it did
    // not come within the limit or the program ended first.
    bool WaitUntilReady(std::chrono::milliseconds limit = std::chrono::seconds(20));

    // The process's id, for a look at it in /proc.
    pid_t Pid() const { return pid_; }

    // Everything written to stderr so far.
    const std::string& Log();

  private:
    // Appends what stderr holds, waiting at most timeout; false at its end.
    bool ReadLog(std::chrono::milliseconds timeout);

    pid_t pid_ = -1;
    int stderr_ = -1;
    std::string log_;
};

}  // namespace ornet5::test
