#include "tests/support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace ornet5::test {

namespace {

using TClock = std::chrono::steady_clock;

std::string VariableName(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
    std::vector<std::string> merged = overrides;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const bool replaced = std::any_of(overrides.begin(), overrides.end(), [&](const auto& o) {
            return VariableName(o) == VariableName(text);
        });
        if (!replaced) {
            merged.push_back(text);
        }
    }
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

TSimProcess::TSimProcess(const std::string& program, std::vector<std::string> args,
                         const std::vector<std::string>& environment) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipe for the simulator's log");
    }
    stderr_ = pipeFds[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    args.insert(args.begin(), program);
    std::vector<std::string> env = MergedEnvironment(environment);
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    const int result =
        posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (result != 0) {
        pid_ = -1;
        close(stderr_);
        throw std::runtime_error("cannot start " + program);
    }
}

TSimProcess::~TSimProcess() {
    if (pid_ <= 0) {
        close(stderr_);
        return;
    }
    // SIGTERM lets the simulator remove its link; SIGKILL if it does not go.
    kill(pid_, SIGTERM);
    const auto deadline = TClock::now() + std::chrono::seconds(5);
    while (waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (TClock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            break;
        }
        // A log pipe at its end polls ready at once; without the pause the
        // loop would spin until the simulator is reaped.
        if (!ReadLog(std::chrono::milliseconds(20))) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    close(stderr_);
}

bool TSimProcess::WaitUntilReady(std::chrono::milliseconds limit) {
    const auto deadline = TClock::now() + limit;
    for (;;) {
        if (log_.starts_with("ready ") || log_.find("\nready ") != std::string::npos) {
            return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now());
        if (left.count() <= 0 || !ReadLog(left)) {
            return false;
        }
    }
}

const std::string& TSimProcess::Log() {
    while (ReadLog(std::chrono::milliseconds(0))) {
    }
    return log_;
}

bool TSimProcess::ReadLog(std::chrono::milliseconds timeout) {
    pollfd fd{stderr_, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(timeout.count())) <= 0) {
        return false;
    }
    char buffer[4096];
    const ssize_t count = read(stderr_, buffer, sizeof buffer);
    if (count <= 0) {
        return false;
    }
    log_.append(buffer, static_cast<std::size_t>(count));
    return true;
}

}  // namespace ornet5::test
