#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "service/daemon_config.h"
#include "service/service_log.h"

struct mosquitto;
struct mosquitto_message;

namespace ornet5 {

// What the connection tells its owner, from the connection's own thread.
// Each call must return promptly (hand the news on).
class TMqttConnectionObserver {
  public:
    virtual ~TMqttConnectionObserver() = default;
    // The broker accepted the connection; the last will is in place.
    virtual void Connected() = 0;
    // A connection that the broker had accepted is gone.
    virtual void Disconnected() = 0;
    // The broker acknowledged the publish with this message id.
    virtual void Acknowledged(int messageId) = 0;
    // A message on a subscribed topic.
    virtual void Message(std::string topic, std::string payload) = 0;
};

// One MQTT client (libmosquitto, QoS 1) that stays connected to the broker
// of the configuration on a thread of its own: it connects, and whenever
// the connection fails or is lost it tries again after a back-off that
// starts at kFirstRetry, doubles and stops growing at kLongestRetry (and
// starts again from kFirstRetry once the broker has accepted a
// connection). Its last will is "offline", retained, on willTopic.
//
// The log gets one line per change of the reason why there is no
// connection, in libmosquitto's or the broker's words (the refused login,
// the TLS library's verdict on a certificate, the OS's on a socket); the
// same reason again at the next try is not repeated. With TLS the broker's
// certificate is always verified, and a connection without TLS is never
// tried instead.
class TMqttConnection {
  public:
    static constexpr std::chrono::seconds kFirstRetry{1};
    static constexpr std::chrono::seconds kLongestRetry{60};

    // log and observer must outlive the connection.
    TMqttConnection(const TMqttConfig& config, std::string willTopic, TServiceLog& log,
                    TMqttConnectionObserver& observer);
    // Stop().
    ~TMqttConnection();
    TMqttConnection(const TMqttConnection&) = delete;
    TMqttConnection& operator=(const TMqttConnection&) = delete;

    // Sets the client up and starts its thread; throws std::runtime_error
    // when it cannot be set up at all (a CA file the TLS library refuses).
    void Start();
    // Disconnects cleanly when connected (the broker then drops the will)
    // and ends the thread. Messages not yet sent are given up.
    void Stop() noexcept;

    // From any thread: hands a QoS 1 message to the client, which sends it
    // while connected (and sends again, after a reconnect, one that was in
    // flight when the connection broke). Its message id, or nothing when
    // the client refused it (no connection ever made, no memory).
    std::optional<int> Publish(const std::string& topic, const std::string& payload, bool retain);
    // From the observer's Connected: subscriptions end with the connection.
    void Subscribe(const std::string& topic);

  private:
    void Run();
    // One attempt: connects and serves the connection until it ends; the
    // reason why it ended or could not start.
    std::string Attempt();
    bool Stopping();
    // At a stop, while connected: lets the loop send the DISCONNECT.
    void SendDisconnect();
    void NoteReason(const std::string& reason);
    // Waits out the back-off; false when the connection is stopping.
    bool WaitBeforeRetry(std::chrono::seconds delay);

    static void OnConnect(mosquitto* client, void* self, int code);
    static void OnDisconnect(mosquitto* client, void* self, int code);
    static void OnPublish(mosquitto* client, void* self, int messageId);
    static void OnMessage(mosquitto* client, void* self, const mosquitto_message* message);
    static void OnLog(mosquitto* client, void* self, int level, const char* text);

    const TMqttConfig config_;
    const std::string willTopic_;
    TServiceLog& log_;
    TMqttConnectionObserver& observer_;
    mosquitto* client_ = nullptr;
    std::thread thread_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;

    // The connection thread's own, about the attempt under way.
    bool accepted_ = false;
    bool connected_ = false;
    std::string refusal_;
    std::string libraryError_;
    int socketError_ = 0;
    std::string loggedReason_;
};

}  // namespace ornet5
