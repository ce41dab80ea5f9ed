#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace ornet5::test {

struct TMqttMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
    std::chrono::system_clock::time_point arrived;
};

struct TSubscriberOptions {
    // Not empty: a session of its own (the broker keeps the subscription
    // and queues the messages while the subscriber is away).
    std::string clientId;
    std::filesystem::path caFile;  // TLS when set
    std::string user;
    std::string password;
};

// The test's MQTT client (libmosquitto, on its own thread): subscribes to
// everything at QoS 1, again after every reconnect (tried each second),
// and collects what comes, in order.
class TMqttSubscriber {
  public:
    explicit TMqttSubscriber(int port, TSubscriberOptions options = {});
    ~TMqttSubscriber();
    TMqttSubscriber(const TMqttSubscriber&) = delete;
    TMqttSubscriber& operator=(const TMqttSubscriber&) = delete;

    // Waits until done holds for the messages so far (checked at each new
    // one, with the subscriber's lock held: done must not call back into
    // it); false at the limit.
    bool WaitUntil(const std::function<bool(const std::vector<TMqttMessage>&)>& done,
                   std::chrono::milliseconds limit);
    // The messages on the topic so far.
    std::vector<TMqttMessage> On(std::string_view topic) const;
    // Waits until a message on the topic has come that satisfies accept;
    // the first such one.
    std::optional<TMqttMessage> WaitFor(
        std::string_view topic, std::chrono::milliseconds limit,
        const std::function<bool(const TMqttMessage&)>& accept = {});
    void Publish(const std::string& topic, const std::string& payload);

  private:
    static void OnConnect(mosquitto* client, void* self, int code);
    static void OnSubscribe(mosquitto* client, void* self, int messageId, int count,
                            const int* grantedQos);
    static void OnMessage(mosquitto* client, void* self, const mosquitto_message* message);

    mosquitto* client_ = nullptr;
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<TMqttMessage> messages_;
    bool subscribed_ = false;
};

// The messages on the topic, in order.
std::vector<TMqttMessage> MessagesOn(const std::vector<TMqttMessage>& messages,
                                     std::string_view topic);

// A field of a flat JSON object as written: a string without its quotes,
// a number, true, false or null; nothing when the field is missing.
std::optional<std::string> JsonField(std::string_view json, std::string_view name);
// The "seq" of a state or history message.
std::uint64_t SeqOf(const TMqttMessage& message);

}  // namespace ornet5::test
