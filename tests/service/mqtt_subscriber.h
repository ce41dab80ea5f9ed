#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/child_process.h"

namespace ornet5::test {

struct TMqttMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
    std::chrono::system_clock::time_point arrived;
};
using TMessages = std::vector<TMqttMessage>;

struct TSubscriberOptions {
    // Not empty: a session of its own, which the broker keeps (queueing
    // what comes) while the subscriber is away.
    std::string clientId;
    std::filesystem::path caFile;  // TLS when set
    std::string user;
    std::string password;
};

// The test's subscriber: Debian's mosquitto_sub on every topic at QoS 1,
// which reconnects by itself each second; its lines are the messages, in
// the order they came, each stamped with its arrival.
class TMqttSubscriber {
  public:
    // Returns once the subscription is in place.
    explicit TMqttSubscriber(int port, TSubscriberOptions options = {});

    // Waits until done holds for the messages so far; false at the limit.
    bool WaitUntil(const std::function<bool(const TMessages&)>& done,
                   std::chrono::milliseconds limit);
    TMessages On(std::string_view topic);
    // mosquitto_pub with the subscriber's port and login.
    void Publish(const std::string& topic, const std::string& payload);

  private:
    std::vector<std::string> Connection() const;
    void TakeLines();

    const int port_;
    const TSubscriberOptions options_;
    std::unique_ptr<TChildProcess> process_;
    std::size_t parsed_ = 0;
    TMessages messages_;
};

TMessages MessagesOn(const TMessages& messages, std::string_view topic);
// A field of a flat JSON object as written: a string without its quotes,
// a number, true, false or null; nothing when the field is missing.
std::optional<std::string> JsonField(std::string_view json, std::string_view name);
std::uint64_t SeqOf(const TMqttMessage& message);

}  // namespace ornet5::test
