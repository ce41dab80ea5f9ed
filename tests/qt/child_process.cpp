#include "tests/qt/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <thread>

extern char** environ;

namespace ornet5::test {
namespace {

using Clock = std::chrono::steady_clock;

std::string_view NameOf(std::string_view entry) {
    return entry.substr(0, entry.find('='));
}

// This process's environment with the extra entries in place of any of the
// same name: a child's lookup takes the first match, so a stale inherited
// value must not shadow the one a test asks for.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& extra) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const bool replaced = std::any_of(extra.begin(), extra.end(), [&](const std::string& e) {
            return NameOf(e) == NameOf(*entry);
        });
        if (!replaced) {
            result.emplace_back(*entry);
        }
    }
    result.insert(result.end(), extra.begin(), extra.end());
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

}  // namespace

TChildProcess::TChildProcess(const std::string& path, const std::vector<std::string>& arguments,
                             const std::vector<std::string>& environment) {
    std::array<int, 2> pipeEnds{};
    if (pipe2(pipeEnds.data(), O_CLOEXEC) != 0) {
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    std::vector<std::string> argv{path};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp = EnvironmentWith(environment);
    if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, Pointers(argv).data(),
                    Pointers(envp).data()) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    stderr_ = pipeEnds[0];
}

TChildProcess::~TChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (stderr_ >= 0) {
        close(stderr_);
    }
}

void TChildProcess::ReadAvailable(std::chrono::milliseconds wait) {
    pollfd watch{stderr_, POLLIN, 0};
    if (poll(&watch, 1, static_cast<int>(wait.count())) <= 0) {
        return;
    }
    std::array<char, 4096> buffer{};
    const ssize_t count = read(stderr_, buffer.data(), buffer.size());
    if (count > 0) {
        output_.append(buffer.data(), static_cast<std::size_t>(count));
    } else {
        // End of output: the child has closed it; wait no longer on it.
        std::this_thread::sleep_for(wait);
    }
}

bool TChildProcess::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (output_.find(text) == std::string::npos && Clock::now() < deadline) {
        ReadAvailable(std::chrono::milliseconds(50));
    }
    return output_.find(text) != std::string::npos;
}

void TChildProcess::Signal(int signalNumber) {
    if (pid_ > 0) {
        kill(pid_, signalNumber);
    }
}

std::optional<int> TChildProcess::WaitForExit(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (pid_ > 0) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return status;
        }
        if (Clock::now() >= deadline) {
            break;
        }
        ReadAvailable(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

}  // namespace ornet5::test
