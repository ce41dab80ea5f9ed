#include "service/mqtt_connection.h"

#include <mosquitto.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace ornet5 {

namespace {

constexpr int kQos = 1;
// How long one turn of the client's loop may wait for the socket; it
// wakes at once for anything to send, so this only paces the keep-alive
// checks and the look at a stop.
constexpr int kLoopTimeoutMs = 1000;
// How long a stop waits for the DISCONNECT to leave.
constexpr auto kDisconnectTime = std::chrono::seconds(2);
constexpr std::string_view kOffline = "offline";

// libmosquitto's global set-up, once per process, for as long as a client
// may need it.
void InitMosquittoLibrary() {
    static const bool initialised = [] {
        mosquitto_lib_init();
        return true;
    }();
    (void)initialised;
}

void Check(const char* what, int code) {
    if (code != MOSQ_ERR_SUCCESS) {
        throw std::runtime_error(std::string("MQTT: ") + what + ": " + mosquitto_strerror(code));
    }
}

}  // namespace

TMqttConnection::TMqttConnection(const TMqttConfig& config, std::string willTopic, TServiceLog& log,
                                 TMqttConnectionObserver& observer)
    : config_(config), willTopic_(std::move(willTopic)), log_(log), observer_(observer) {}

TMqttConnection::~TMqttConnection() {
    Stop();
}

void TMqttConnection::Start() {
    InitMosquittoLibrary();
    client_ = mosquitto_new(nullptr, true, this);
    if (client_ == nullptr) {
        throw std::runtime_error("MQTT: the client cannot be made");
    }
    // Publishes come from another thread than the one that runs the loop.
    Check("threads", mosquitto_threaded_set(client_, true));
    Check("protocol", mosquitto_int_option(client_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311));
    // A reading must not wait for the acknowledgement of the one before.
    Check("TCP", mosquitto_int_option(client_, MOSQ_OPT_TCP_NODELAY, 1));
    // The publisher bounds what it has in flight itself, and a live row
    // must not queue behind replayed ones inside the client.
    Check("in-flight limit", mosquitto_max_inflight_messages_set(client_, 0));
    Check("last will",
          mosquitto_will_set(client_, willTopic_.c_str(), static_cast<int>(kOffline.size()),
                             kOffline.data(), kQos, true));
    if (!config_.user.empty()) {
        Check("login",
              mosquitto_username_pw_set(client_, config_.user.c_str(),
                                        config_.password ? config_.password->c_str() : nullptr));
    }
    if (config_.tls) {
        const std::string caFile = config_.caFile.string();
        Check("TLS", mosquitto_tls_set(client_, caFile.empty() ? nullptr : caFile.c_str(),
                                       caFile.empty() ? "/etc/ssl/certs" : nullptr, nullptr,
                                       nullptr, nullptr));
        // SSL_VERIFY_PEER: a certificate that does not verify ends the
        // handshake; the host name is checked too (not insecure).
        Check("TLS", mosquitto_tls_opts_set(client_, 1, nullptr, nullptr));
    }
    mosquitto_connect_callback_set(client_, &TMqttConnection::OnConnect);
    mosquitto_disconnect_callback_set(client_, &TMqttConnection::OnDisconnect);
    mosquitto_publish_callback_set(client_, &TMqttConnection::OnPublish);
    mosquitto_message_callback_set(client_, &TMqttConnection::OnMessage);
    mosquitto_log_callback_set(client_, &TMqttConnection::OnLog);
    thread_ = std::thread(&TMqttConnection::Run, this);
}

void TMqttConnection::Stop() noexcept {
    if (client_ == nullptr) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    // Wakes the loop, which sends the DISCONNECT and ends.
    mosquitto_disconnect(client_);
    if (thread_.joinable()) {
        thread_.join();
    }
    mosquitto_destroy(client_);
    client_ = nullptr;
}

std::optional<int> TMqttConnection::Publish(const std::string& topic, const std::string& payload,
                                            bool retain) {
    int messageId = 0;
    const int code =
        mosquitto_publish(client_, &messageId, topic.c_str(), static_cast<int>(payload.size()),
                          payload.data(), kQos, retain);
    if (code != MOSQ_ERR_SUCCESS) {
        return std::nullopt;
    }
    return messageId;
}

void TMqttConnection::Subscribe(const std::string& topic) {
    mosquitto_subscribe(client_, nullptr, topic.c_str(), kQos);
}

void TMqttConnection::Run() {
    auto delay = kFirstRetry;
    for (;;) {
        const std::string reason = Attempt();
        if (Stopping()) {
            return;
        }
        if (accepted_) {
            delay = kFirstRetry;
        }
        NoteReason(reason);
        if (!WaitBeforeRetry(delay)) {
            return;
        }
        delay = std::min(delay * 2, kLongestRetry);
    }
}

std::string TMqttConnection::Attempt() {
    accepted_ = false;
    refusal_.clear();
    socketError_ = 0;
    {
        const std::lock_guard lock(mutex_);
        libraryError_.clear();
    }
    int code = mosquitto_connect_async(client_, config_.host.c_str(), config_.port,
                                       static_cast<int>(config_.keepAlive.count()));
    if (code == MOSQ_ERR_ERRNO) {
        socketError_ = errno;
    }
    while (code == MOSQ_ERR_SUCCESS && !Stopping()) {
        code = mosquitto_loop(client_, kLoopTimeoutMs, 1);
    }
    if (Stopping()) {
        SendDisconnect();
        return {};
    }
    if (!refusal_.empty()) {
        return refusal_;
    }
    if (code == MOSQ_ERR_ERRNO && socketError_ != 0) {
        return std::system_category().message(socketError_);
    }
    const std::lock_guard lock(mutex_);
    const std::string text = mosquitto_strerror(code);
    return libraryError_.empty() ? text : text + " " + libraryError_;
}

bool TMqttConnection::Stopping() {
    const std::lock_guard lock(mutex_);
    return stopping_;
}

void TMqttConnection::SendDisconnect() {
    // Stop() queues the DISCONNECT just after it sets the flag that brought
    // the loop here, and only the loop writes it; the broker drops the
    // will once it has it. A broker that does not take it in time is left.
    const auto deadline = std::chrono::steady_clock::now() + kDisconnectTime;
    while (connected_ && std::chrono::steady_clock::now() < deadline &&
           mosquitto_loop(client_, kLoopTimeoutMs, 1) == MOSQ_ERR_SUCCESS) {
    }
}

void TMqttConnection::NoteReason(const std::string& reason) {
    if (reason != loggedReason_) {
        loggedReason_ = reason;
        log_.Line("MQTT: " + config_.host + ":" + std::to_string(config_.port) + ": " + reason);
    }
}

bool TMqttConnection::WaitBeforeRetry(std::chrono::seconds delay) {
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, delay, [this] { return stopping_; });
}

void TMqttConnection::OnConnect(mosquitto*, void* self, int code) {
    auto& connection = *static_cast<TMqttConnection*>(self);
    if (code != 0) {
        connection.refusal_ =
            std::string("the broker refused the connection: ") + mosquitto_connack_string(code);
        return;
    }
    connection.accepted_ = true;
    connection.connected_ = true;
    connection.loggedReason_.clear();
    connection.log_.Line("MQTT: connected to " + connection.config_.host + ":" +
                         std::to_string(connection.config_.port));
    connection.observer_.Connected();
}

void TMqttConnection::OnDisconnect(mosquitto*, void* self, int code) {
    auto& connection = *static_cast<TMqttConnection*>(self);
    if (code == MOSQ_ERR_ERRNO) {
        connection.socketError_ = errno;
    }
    if (connection.connected_) {
        connection.connected_ = false;
        connection.observer_.Disconnected();
    }
}

void TMqttConnection::OnPublish(mosquitto*, void* self, int messageId) {
    static_cast<TMqttConnection*>(self)->observer_.Acknowledged(messageId);
}

void TMqttConnection::OnMessage(mosquitto*, void* self, const mosquitto_message* message) {
    const auto* bytes = static_cast<const char*>(message->payload);
    static_cast<TMqttConnection*>(self)->observer_.Message(
        message->topic, std::string(bytes, bytes + message->payloadlen));
}

void TMqttConnection::OnLog(mosquitto*, void* self, int level, const char* text) {
    if (level != MOSQ_LOG_ERR) {
        return;
    }
    auto& connection = *static_cast<TMqttConnection*>(self);
    const std::lock_guard lock(connection.mutex_);
    if (connection.libraryError_.find(text) == std::string::npos) {
        connection.libraryError_ += connection.libraryError_.empty() ? "" : "; ";
        connection.libraryError_ += text;
    }
}

}  // namespace ornet5
