#include "tests/service/service_rig.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/temp_folder.h"

namespace ornet5::test {

int FreeLoopbackPort() {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0) {
        throw std::runtime_error("no socket for a free port");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = ::bind(socket, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                       ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(socket);
    if (!bound) {
        throw std::runtime_error("no free port on 127.0.0.1");
    }
    return ntohs(address.sin_port);
}

TServiceRig::TServiceRig() = default;

// The service first, so that no detector vanishes under it.
TServiceRig::~TServiceRig() {
    daemon_.reset();
    simulators_.clear();
}

void TServiceRig::StartSimulator(int number, std::vector<std::string> options) {
    simulators_.erase(number);
    options.insert(options.end(), {"--link", home_.ComLink(number).string()});
    auto simulator = std::make_unique<TChildProcess>(ORNET5_SIM_PATH, options);
    if (!simulator->WaitUntilReady()) {
        throw std::runtime_error("ornet5-sim did not start: " + simulator->Output());
    }
    simulators_[number] = std::move(simulator);
}

std::filesystem::path TServiceRig::WriteConfig(const std::string& site, const std::string& sections,
                                               std::optional<int> metricsPort) {
    const std::filesystem::path file = Folder() / "ornet5d.conf";
    std::string text =
        "[Service]\nSite=" + site + "\nJournalFolder=" + JournalFolder().string() + "\n";
    if (metricsPort) {
        text += "Metrics=127.0.0.1:" + std::to_string(*metricsPort) + "\n";
    }
    WriteAll(file, text + "\n" + sections);
    return file;
}

TChildProcess& TServiceRig::StartDaemon(const std::vector<std::string>& arguments) {
    daemon_.reset();
    daemon_ = std::make_unique<TChildProcess>(ORNET5D_PATH, arguments);
    return *daemon_;
}

}  // namespace ornet5::test
