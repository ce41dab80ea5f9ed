#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ornet5::test {

// A program run as a child process of the test (the simulator, the monitor),
// its standard output and standard error collected together in the order
// they came. Whatever the test does, the child is stopped and reaped when
// the object goes, so no test leaves a process behind.
//
// Every wait blocks in poll() on the output and on the child's end, never
// longer than its limit. Output is taken in only while the test waits or
// asks for it: a child that writes a lot meanwhile blocks on a full pipe.
class TChildProcess {
  public:
    // Starts program with arguments; each environment entry NAME=value
    // replaces this process's variable of that name for the child. Throws
    // std::runtime_error when the program cannot be started.
    TChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment = {});
    // Stop().
    ~TChildProcess();
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    // Collects output until it contains text; false when that has not
    // happened within the limit or can no longer happen (the child's output
    // has ended).
    bool WaitForOutput(std::string_view text, std::chrono::milliseconds limit);
    // Collects output until a whole line starting with prefix has come; that
    // line without its line end, or nothing, as above.
    std::optional<std::string> WaitForLine(std::string_view prefix,
                                           std::chrono::milliseconds limit);
    // Waits for the simulator's line that says its link is in place.
    bool WaitUntilReady(std::chrono::milliseconds limit = std::chrono::seconds(20));
    // Everything collected so far, after taking in what has come meanwhile.
    const std::string& Output();

    // The child's process id, for a look at it in /proc.
    pid_t Pid() const { return pid_; }

    // Sends the signal; nothing once the child has ended.
    void Signal(int signalNumber);
    // Waits for the child's end, collecting output meanwhile. Its wait status
    // as waitpid gives it (-1, neither an exit nor a signal, when something
    // else reaped it), or nothing when it still runs at the limit.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);
    // Ends the child: SIGTERM, which lets it tidy up, and SIGKILL when it
    // has not ended within the grace time; then reaps it. Its wait status,
    // that of its earlier end when it had ended already.
    int Stop(std::chrono::milliseconds grace = std::chrono::seconds(5));

  private:
    using TClock = std::chrono::steady_clock;

    // Waits until output comes, the child ends or the deadline passes, and
    // takes in what came. False at the deadline, or when nothing more can
    // come: the output has ended and the child has been reaped.
    bool TakeNext(TClock::time_point deadline);
    void ReadOutput();
    // Waits (blocking) for the child's end and keeps its status.
    void Reap();

    pid_t pid_ = -1;
    // Readable once the child has ended; -1 once it has been reaped.
    int endFd_ = -1;
    // -1 once the output has ended.
    int outputFd_ = -1;
    std::string output_;
    std::optional<int> status_;
};

}  // namespace ornet5::test
