#include "tests/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

extern char** environ;

namespace ornet5::test {
namespace {

std::string_view NameOf(std::string_view entry) {
    return entry.substr(0, entry.find('='));
}

// This process's environment with the given entries in place of any of the
// same name: a child's lookup takes the first match, so a stale inherited
// value must not shadow the one a test asks for.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& entries) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const bool replaced = std::any_of(entries.begin(), entries.end(), [&](const auto& given) {
            return NameOf(given) == NameOf(*entry);
        });
        if (!replaced) {
            result.emplace_back(*entry);
        }
    }
    result.insert(result.end(), entries.begin(), entries.end());
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// A descriptor that polls readable once the child has ended. glibc 2.36
// declares pidfd_open without C linkage, hence the system call itself.
int ChildEndFd(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

// Standard output and standard error both go to the pipe's write end.
pid_t Spawn(const std::string& program, std::vector<std::string> argv,
            std::vector<std::string> envp, int outputFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDERR_FILENO);
    pid_t pid = -1;
    const int result = posix_spawn(&pid, program.c_str(), &actions, nullptr, Pointers(argv).data(),
                                   Pointers(envp).data());
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? pid : -1;
}

}  // namespace

TChildProcess::TChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                             const std::vector<std::string>& environment) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipe for the output of " + program);
    }
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    pid_ = Spawn(program, std::move(argv), EnvironmentWith(environment), pipeEnds[1]);
    close(pipeEnds[1]);
    outputFd_ = pipeEnds[0];
    if (pid_ <= 0) {
        close(outputFd_);
        throw std::runtime_error("cannot start " + program);
    }
    endFd_ = ChildEndFd(pid_);
    if (endFd_ < 0) {
        kill(pid_, SIGKILL);
        Reap();
        close(outputFd_);
        throw std::runtime_error("cannot watch the end of " + program);
    }
}

TChildProcess::~TChildProcess() {
    Stop();
    if (outputFd_ >= 0) {
        close(outputFd_);
    }
}

bool TChildProcess::WaitForOutput(std::string_view text, std::chrono::milliseconds limit) {
    const auto deadline = TClock::now() + limit;
    while (output_.find(text) == std::string::npos) {
        if (!TakeNext(deadline)) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> TChildProcess::WaitForLine(std::string_view prefix,
                                                      std::chrono::milliseconds limit) {
    const auto deadline = TClock::now() + limit;
    std::size_t start = 0;
    for (;;) {
        for (std::size_t end; (end = output_.find('\n', start)) != std::string::npos;
             start = end + 1) {
            if (std::string_view(output_).substr(start, end - start).starts_with(prefix)) {
                return output_.substr(start, end - start);
            }
        }
        if (!TakeNext(deadline)) {
            return std::nullopt;
        }
    }
}

bool TChildProcess::WaitUntilReady(std::chrono::milliseconds limit) {
    return WaitForLine("ready ", limit).has_value();
}

const std::string& TChildProcess::Output() {
    while (TakeNext(TClock::now())) {
    }
    return output_;
}

void TChildProcess::Signal(int signalNumber) {
    // Until it is reaped the child's process id cannot pass to another.
    if (!status_) {
        kill(pid_, signalNumber);
    }
}

std::optional<int> TChildProcess::WaitForExit(std::chrono::milliseconds limit) {
    const auto deadline = TClock::now() + limit;
    while (!status_ && TakeNext(deadline)) {
    }
    return status_;
}

int TChildProcess::Stop(std::chrono::milliseconds grace) {
    Signal(SIGTERM);
    if (!WaitForExit(grace)) {
        Signal(SIGKILL);
        Reap();
    }
    return *status_;
}

bool TChildProcess::TakeNext(TClock::time_point deadline) {
    if (outputFd_ < 0 && endFd_ < 0) {
        return false;
    }
    // poll() skips the entry of a descriptor already closed (-1).
    pollfd watched[] = {{outputFd_, POLLIN, 0}, {endFd_, POLLIN, 0}};
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - TClock::now());
    const int ready = poll(watched, 2, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (ready < 0 && errno == EINTR) {
        return true;
    }
    if (ready <= 0) {
        return false;
    }
    if (watched[0].revents != 0) {
        ReadOutput();
    }
    if (watched[1].revents != 0) {
        Reap();
    }
    return true;
}

void TChildProcess::ReadOutput() {
    char buffer[4096];
    const ssize_t count = read(outputFd_, buffer, sizeof buffer);
    if (count > 0) {
        output_.append(buffer, static_cast<std::size_t>(count));
    } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
        close(outputFd_);
        outputFd_ = -1;
    }
}

void TChildProcess::Reap() {
    if (status_) {
        return;
    }
    int status = 0;
    pid_t reaped = -1;
    do {
        reaped = waitpid(pid_, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    // -1 tells neither an exit nor a signal: the child was reaped elsewhere.
    status_ = reaped == pid_ ? status : -1;
    if (endFd_ >= 0) {
        close(endFd_);
        endFd_ = -1;
    }
}

}  // namespace ornet5::test
