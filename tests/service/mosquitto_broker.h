#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "tests/support/child_process.h"

namespace ornet5::test {

// The broker's TLS listener: its certificate and key, and the users it
// lets in (a mosquitto_passwd file).
struct TBrokerTls {
    std::filesystem::path certificateFile;
    std::filesystem::path keyFile;
    std::filesystem::path passwordFile;
};

// Debian's mosquitto broker, run by the test from a configuration of its
// own on a free loopback port: anonymous and plain, or TLS only with a
// password file. It keeps its sessions and retained messages in its folder
// across a stop and a start (as an installed broker does), so a subscriber
// with a session of its own misses nothing while it is away (however much
// comes meanwhile). Its log goes to a file there. Stopped with the object.
class TMosquittoBroker {
  public:
    // folder must exist and outlive the broker. Starts it.
    explicit TMosquittoBroker(std::filesystem::path folder, const TBrokerTls* tls = nullptr);
    ~TMosquittoBroker();

    int Port() const { return port_; }
    // SIGTERM, and its end awaited (it saves its state first).
    void Stop();
    // Again on the same port; returns once it listens.
    void Start();
    // Its log so far.
    std::string Log() const;
    // Waits until the log holds text at least count times.
    bool WaitForLog(std::string_view text, std::size_t count,
                    std::chrono::milliseconds limit) const;
    // How many clients have tried to connect so far, whether or not their
    // TLS handshake got through.
    std::size_t ConnectionAttempts() const;
    // Waits until at least count clients have tried to connect.
    bool WaitForConnectionAttempts(std::size_t count, std::chrono::milliseconds limit) const;

  private:
    // Asks done every 50 ms until it holds or limit has passed.
    static bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    const std::filesystem::path folder_;
    const int port_;
    std::unique_ptr<TChildProcess> process_;
};

// How often text occurs in whole.
std::size_t Occurrences(std::string_view whole, std::string_view text);

}  // namespace ornet5::test
