#include "tests/service/mosquitto_broker.h"

#include <pwd.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "tests/service/service_rig.h"
#include "tests/support/temp_folder.h"

namespace ornet5::test {

namespace {

using namespace std::chrono_literals;

constexpr const char* kMosquitto = "/usr/sbin/mosquitto";
constexpr std::string_view kRunning = " running";

// A broker started as root gives up its rights for the user "mosquitto",
// which cannot read the test's files; as anyone else it stays who it is.
std::string UserName() {
    const passwd* user = getpwuid(geteuid());
    return user != nullptr ? user->pw_name : "root";
}

std::string Configuration(const std::filesystem::path& folder, int port, const TBrokerTls* tls) {
    std::string text =
        "user " + UserName() + "\nmax_queued_messages 0\npersistence true\npersistence_location " +
        (folder / "").string() + "\nlog_dest file " + (folder / "broker.log").string() +
        "\nlistener " + std::to_string(port) + " 127.0.0.1\n";
    if (tls == nullptr) {
        return text + "allow_anonymous true\n";
    }
    return text + "allow_anonymous false\npassword_file " + tls->passwordFile.string() +
           "\ncertfile " + tls->certificateFile.string() + "\nkeyfile " + tls->keyFile.string() +
           "\n";
}

}  // namespace

std::size_t Occurrences(std::string_view whole, std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = whole.find(text); at != std::string_view::npos;
         at = whole.find(text, at + text.size())) {
        ++count;
    }
    return count;
}

TMosquittoBroker::TMosquittoBroker(std::filesystem::path folder, const TBrokerTls* tls)
    : folder_(std::move(folder)), port_(FreeLoopbackPort()) {
    WriteAll(folder_ / "broker.conf", Configuration(folder_, port_, tls));
    Start();
}

TMosquittoBroker::~TMosquittoBroker() {
    Stop();
}

void TMosquittoBroker::Start() {
    const std::size_t runs = Occurrences(Log(), kRunning);
    process_ = std::make_unique<TChildProcess>(
        kMosquitto, std::vector<std::string>{"-c", (folder_ / "broker.conf").string()});
    if (!WaitForLog(kRunning, runs + 1, 20s)) {
        throw std::runtime_error("mosquitto did not start: " + process_->Output() + Log());
    }
}

void TMosquittoBroker::Stop() {
    if (process_) {
        process_->Stop(10s);
        process_.reset();
    }
}

std::string TMosquittoBroker::Log() const {
    std::error_code error;
    return std::filesystem::exists(folder_ / "broker.log", error) ? ReadAll(folder_ / "broker.log")
                                                                  : std::string();
}

bool TMosquittoBroker::WaitForLog(std::string_view text, std::size_t count,
                                  std::chrono::milliseconds limit) const {
    return WaitUntil([&] { return Occurrences(Log(), text) >= count; }, limit);
}

std::size_t TMosquittoBroker::ConnectionAttempts() const {
    // A client whose first TLS bytes are already there when the broker
    // accepts it, and whose handshake fails, is logged only as a failed
    // connection; any other as a new one.
    const std::string log = Log();
    return Occurrences(log, "New connection from") + Occurrences(log, "Client connection from");
}

bool TMosquittoBroker::WaitForConnectionAttempts(std::size_t count,
                                                 std::chrono::milliseconds limit) const {
    return WaitUntil([&] { return ConnectionAttempts() >= count; }, limit);
}

bool TMosquittoBroker::WaitUntil(const std::function<bool()>& done,
                                 std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        // The broker writes its log to a file, which nothing can wait on.
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

}  // namespace ornet5::test
