#include "tests/service/mqtt_subscriber.h"

#include <sys/wait.h>

#include <stdexcept>
#include <thread>

namespace ornet5::test {

using namespace std::chrono;

TMqttSubscriber::TMqttSubscriber(int port, TSubscriberOptions options)
    : port_(port), options_(std::move(options)) {
    std::vector<std::string> arguments = Connection();
    arguments.insert(arguments.end(), {"-t", "#", "-q", "1", "-F", "%U %r %t %p"});
    if (!options_.clientId.empty()) {
        arguments.insert(arguments.end(), {"-c", "-i", options_.clientId});
    }
    process_ = std::make_unique<TChildProcess>("/usr/bin/mosquitto_sub", arguments);
    const std::string probe = "ornet5-test/" + std::to_string(process_->Pid());
    const auto probed = [&](const TMessages& messages) {
        return !MessagesOn(messages, probe).empty();
    };
    for (int attempt = 0; attempt < 20 && !probed(messages_); ++attempt) {
        Publish(probe, "subscribed");
        WaitUntil(probed, 1s);
    }
    if (!probed(messages_)) {
        throw std::runtime_error("mosquitto_sub did not subscribe: " + process_->Output());
    }
}

std::vector<std::string> TMqttSubscriber::Connection() const {
    std::vector<std::string> arguments{"-h", "127.0.0.1", "-p", std::to_string(port_)};
    if (!options_.caFile.empty()) {
        arguments.insert(arguments.end(), {"--cafile", options_.caFile.string()});
    }
    if (!options_.user.empty()) {
        arguments.insert(arguments.end(), {"-u", options_.user, "-P", options_.password});
    }
    return arguments;
}

void TMqttSubscriber::Publish(const std::string& topic, const std::string& payload) {
    std::vector<std::string> arguments = Connection();
    arguments.insert(arguments.end(), {"-q", "1", "-t", topic, "-m", payload});
    TChildProcess publisher("/usr/bin/mosquitto_pub", arguments);
    const auto status = publisher.WaitForExit(20s);
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        throw std::runtime_error("mosquitto_pub failed: " + publisher.Output());
    }
}

// "SECONDS.NANOSECONDS RETAIN TOPIC PAYLOAD" per line.
void TMqttSubscriber::TakeLines() {
    const std::string& output = process_->Output();
    for (std::size_t end = output.find('\n', parsed_); end != std::string::npos;
         parsed_ = end + 1, end = output.find('\n', parsed_)) {
        const std::string line = output.substr(parsed_, end - parsed_);
        const std::size_t retain = line.find(' ');
        const std::size_t topic = line.find(' ', retain + 1);
        const std::size_t payload = line.find(' ', topic + 1);
        if (payload == std::string::npos) {
            continue;  // a line of its own
        }
        const auto arrived = duration_cast<system_clock::duration>(
            duration<double>(std::stod(line.substr(0, retain))));
        messages_.push_back({line.substr(topic + 1, payload - topic - 1), line.substr(payload + 1),
                             line[retain + 1] == '1', system_clock::time_point(arrived)});
    }
}

bool TMqttSubscriber::WaitUntil(const std::function<bool(const TMessages&)>& done,
                                std::chrono::milliseconds limit) {
    const auto deadline = steady_clock::now() + limit;
    for (;;) {
        TakeLines();
        if (done(messages_)) {
            return true;
        }
        if (steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
}

TMessages TMqttSubscriber::On(std::string_view topic) {
    TakeLines();
    return MessagesOn(messages_, topic);
}

TMessages MessagesOn(const TMessages& messages, std::string_view topic) {
    TMessages found;
    std::copy_if(messages.begin(), messages.end(), std::back_inserter(found),
                 [&](const TMqttMessage& message) { return message.topic == topic; });
    return found;
}

std::optional<std::string> JsonField(std::string_view json, std::string_view name) {
    const std::string key = "\"" + std::string(name) + "\":";
    const std::size_t at = json.find(key);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view value = json.substr(at + key.size());
    if (value.starts_with('"')) {
        return std::string(value.substr(1, value.find('"', 1) - 1));
    }
    return std::string(value.substr(0, value.find_first_of(",}")));
}

std::uint64_t SeqOf(const TMqttMessage& message) {
    return std::stoull(JsonField(message.payload, "seq").value_or("0"));
}

}  // namespace ornet5::test
