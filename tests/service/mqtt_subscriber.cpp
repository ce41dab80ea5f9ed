#include "tests/service/mqtt_subscriber.h"

#include <mosquitto.h>

#include <stdexcept>

namespace ornet5::test {

namespace {

constexpr int kKeepAliveSeconds = 30;

void Check(const char* what, int code) {
    if (code != MOSQ_ERR_SUCCESS) {
        throw std::runtime_error(std::string("test subscriber: ") + what + ": " +
                                 mosquitto_strerror(code));
    }
}

}  // namespace

TMqttSubscriber::TMqttSubscriber(int port, TSubscriberOptions options) {
    mosquitto_lib_init();
    const bool ownSession = !options.clientId.empty();
    client_ = mosquitto_new(ownSession ? options.clientId.c_str() : nullptr, !ownSession, this);
    if (client_ == nullptr) {
        throw std::runtime_error("test subscriber: no client");
    }
    if (!options.caFile.empty()) {
        Check("TLS", mosquitto_tls_set(client_, options.caFile.c_str(), nullptr, nullptr, nullptr,
                                       nullptr));
    }
    if (!options.user.empty()) {
        Check("login",
              mosquitto_username_pw_set(client_, options.user.c_str(), options.password.c_str()));
    }
    mosquitto_connect_callback_set(client_, &TMqttSubscriber::OnConnect);
    mosquitto_subscribe_callback_set(client_, &TMqttSubscriber::OnSubscribe);
    mosquitto_message_callback_set(client_, &TMqttSubscriber::OnMessage);
    mosquitto_reconnect_delay_set(client_, 1, 1, false);
    Check("connect", mosquitto_connect(client_, "127.0.0.1", port, kKeepAliveSeconds));
    Check("thread", mosquitto_loop_start(client_));
    if (!WaitUntil([this](const auto&) { return subscribed_; }, std::chrono::seconds(20))) {
        throw std::runtime_error("test subscriber: no subscription");
    }
}

TMqttSubscriber::~TMqttSubscriber() {
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
    mosquitto_destroy(client_);
}

void TMqttSubscriber::OnConnect(mosquitto* client, void*, int code) {
    if (code == 0) {
        mosquitto_subscribe(client, nullptr, "#", 1);
    }
}

void TMqttSubscriber::OnSubscribe(mosquitto*, void* self, int, int, const int*) {
    auto& subscriber = *static_cast<TMqttSubscriber*>(self);
    {
        const std::lock_guard lock(subscriber.mutex_);
        subscriber.subscribed_ = true;
    }
    subscriber.arrived_.notify_all();
}

void TMqttSubscriber::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
    auto& subscriber = *static_cast<TMqttSubscriber*>(self);
    const auto* bytes = static_cast<const char*>(message->payload);
    {
        const std::lock_guard lock(subscriber.mutex_);
        subscriber.messages_.push_back({message->topic,
                                        std::string(bytes, bytes + message->payloadlen),
                                        message->retain, std::chrono::system_clock::now()});
    }
    subscriber.arrived_.notify_all();
}

bool TMqttSubscriber::WaitUntil(const std::function<bool(const std::vector<TMqttMessage>&)>& done,
                                std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, limit, [&] { return done(messages_); });
}

std::vector<TMqttMessage> TMqttSubscriber::On(std::string_view topic) const {
    const std::lock_guard lock(mutex_);
    return MessagesOn(messages_, topic);
}

std::vector<TMqttMessage> MessagesOn(const std::vector<TMqttMessage>& messages,
                                     std::string_view topic) {
    std::vector<TMqttMessage> found;
    for (const TMqttMessage& message : messages) {
        if (message.topic == topic) {
            found.push_back(message);
        }
    }
    return found;
}

std::optional<TMqttMessage> TMqttSubscriber::WaitFor(
    std::string_view topic, std::chrono::milliseconds limit,
    const std::function<bool(const TMqttMessage&)>& accept) {
    std::optional<TMqttMessage> found;
    WaitUntil(
        [&](const std::vector<TMqttMessage>& messages) {
            for (const TMqttMessage& message : messages) {
                if (message.topic == topic && (!accept || accept(message))) {
                    found = message;
                    return true;
                }
            }
            return false;
        },
        limit);
    return found;
}

void TMqttSubscriber::Publish(const std::string& topic, const std::string& payload) {
    Check("publish", mosquitto_publish(client_, nullptr, topic.c_str(),
                                       static_cast<int>(payload.size()), payload.data(), 1, false));
}

std::optional<std::string> JsonField(std::string_view json, std::string_view name) {
    const std::string key = "\"" + std::string(name) + "\":";
    const std::size_t at = json.find(key);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view value = json.substr(at + key.size());
    if (value.starts_with('"')) {
        return std::string(value.substr(1, value.find('"', 1) - 1));
    }
    return std::string(value.substr(0, value.find_first_of(",}")));
}

std::uint64_t SeqOf(const TMqttMessage& message) {
    const auto seq = JsonField(message.payload, "seq");
    return seq ? std::stoull(*seq) : 0;
}

}  // namespace ornet5::test
