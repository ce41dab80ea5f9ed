#include "service/mqtt_publisher.h"

#include <mosquitto.h>

#include <atomic>
#include <mutex>
#include <stdexcept>

#include "common/decimal_text.h"
#include "service/state_payload.h"

namespace ornet5 {

namespace {

constexpr int kQos = 1;
constexpr unsigned kFirstRetrySeconds = 1;
constexpr unsigned kLongestRetrySeconds = 60;

// libmosquitto's global set-up, once per process, for as long as a client
// may need it.
void InitMosquittoLibrary() {
    static const bool initialised = [] {
        mosquitto_lib_init();
        return true;
    }();
    (void)initialised;
}

std::string Failure(const char* what, int code) {
    return std::string("MQTT: ") + what + ": " + mosquitto_strerror(code);
}

}  // namespace

class TMqttPublisher::TClient {
  public:
    class TDetectorPublisher : public TDetectorObserver {
      public:
        TDetectorPublisher(TClient& client, std::string topic)
            : client_(client), topic_(std::move(topic)) {}

        void Observe(const TDetectorEvent& event) override {
            if (const auto* alarm = std::get_if<TAlarmEvent>(&event)) {
                alarmOn_ = alarm->on;
                PublishAlarm();
            } else if (const auto* row = std::get_if<TRowEvent>(&event)) {
                client_.Publish(topic_ + "/state", StatePayload(row->row, ++seq_), false);
                if (row->row.dose) {
                    client_.Publish(topic_ + "/dose_uSv_h", ShortestDecimalText(*row->row.dose),
                                    true);
                }
            }
        }
        void PublishAlarm() { client_.Publish(topic_ + "/alarm", alarmOn_ ? "ON" : "OFF", true); }

      private:
        TClient& client_;
        const std::string topic_;
        std::atomic<bool> alarmOn_ = false;
        std::uint64_t seq_ = 0;
    };

    TClient(const TMqttConfig& config, const std::string& site,
            const std::vector<std::string>& detectorIds, TServiceLog& log,
            std::function<void(bool)> connectedChanged)
        : config_(config),
          siteTopic_(config.topicPrefix + "/" + site),
          log_(log),
          connectedChanged_(std::move(connectedChanged)) {
        for (const std::string& id : detectorIds) {
            detectors_.push_back(
                std::make_unique<TDetectorPublisher>(*this, siteTopic_ + "/" + id));
        }
    }

    ~TClient() { Stop(); }

    TDetectorPublisher& Detector(std::size_t index) { return *detectors_.at(index); }

    void Start() {
        InitMosquittoLibrary();
        mosquitto_ = mosquitto_new(nullptr, true, this);
        if (mosquitto_ == nullptr) {
            throw std::runtime_error("MQTT: the client cannot be made");
        }
        mosquitto_int_option(mosquitto_, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
        const std::string offline = "offline";
        Check("last will",
              mosquitto_will_set(mosquitto_, StatusTopic().c_str(),
                                 static_cast<int>(offline.size()), offline.data(), kQos, true));
        if (!config_.user.empty()) {
            Check("login", mosquitto_username_pw_set(
                               mosquitto_, config_.user.c_str(),
                               config_.password ? config_.password->c_str() : nullptr));
        }
        if (config_.tls) {
            const std::string caFile = config_.caFile.string();
            Check("TLS", mosquitto_tls_set(mosquitto_, caFile.empty() ? nullptr : caFile.c_str(),
                                           caFile.empty() ? "/etc/ssl/certs" : nullptr, nullptr,
                                           nullptr, nullptr));
            Check("TLS", mosquitto_tls_opts_set(mosquitto_, 1, nullptr, nullptr));
        }
        mosquitto_connect_callback_set(mosquitto_, &TClient::OnConnect);
        mosquitto_disconnect_callback_set(mosquitto_, &TClient::OnDisconnect);
        mosquitto_reconnect_delay_set(mosquitto_, kFirstRetrySeconds, kLongestRetrySeconds, true);
        const int connect = mosquitto_connect_async(mosquitto_, config_.host.c_str(), config_.port,
                                                    static_cast<int>(config_.keepAlive.count()));
        if (connect != MOSQ_ERR_SUCCESS) {
            // The loop retries; a name that does not resolve now may later.
            log_.Line(Failure(("cannot connect to " + config_.host).c_str(), connect));
        }
        Check("client thread", mosquitto_loop_start(mosquitto_));
    }

    void Stop() noexcept {
        if (mosquitto_ == nullptr) {
            return;
        }
        if (connected_) {
            Publish(StatusTopic(), "offline", true);
        }
        stopping_ = true;
        mosquitto_disconnect(mosquitto_);
        mosquitto_loop_stop(mosquitto_, false);
        mosquitto_destroy(mosquitto_);
        mosquitto_ = nullptr;
    }

    void Publish(const std::string& topic, const std::string& payload, bool retain) {
        if (mosquitto_ == nullptr || !connected_) {
            return;
        }
        mosquitto_publish(mosquitto_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                          payload.data(), kQos, retain);
    }

  private:
    std::string StatusTopic() const { return siteTopic_ + "/status"; }

    void Check(const char* what, int code) const {
        if (code != MOSQ_ERR_SUCCESS) {
            throw std::runtime_error(Failure(what, code));
        }
    }

    static void OnConnect(mosquitto*, void* self, int result) {
        static_cast<TClient*>(self)->Connected(result);
    }
    static void OnDisconnect(mosquitto*, void* self, int result) {
        static_cast<TClient*>(self)->Disconnected(result);
    }

    void Connected(int result) {
        if (result != 0) {
            log_.Line(std::string("MQTT: the broker refused the connection: ") +
                      mosquitto_connack_string(result));
            return;
        }
        connected_ = true;
        log_.Line("MQTT: connected to " + config_.host + ":" + std::to_string(config_.port));
        Publish(StatusTopic(), "online", true);
        for (const auto& detector : detectors_) {
            detector->PublishAlarm();
        }
        if (connectedChanged_) {
            connectedChanged_(true);
        }
    }

    void Disconnected(int result) {
        const bool wasConnected = connected_.exchange(false);
        if (!stopping_) {
            log_.Line(Failure("disconnected", result));
        }
        if (wasConnected && connectedChanged_) {
            connectedChanged_(false);
        }
    }

    const TMqttConfig config_;
    const std::string siteTopic_;
    TServiceLog& log_;
    std::function<void(bool)> connectedChanged_;
    std::vector<std::unique_ptr<TDetectorPublisher>> detectors_;
    mosquitto* mosquitto_ = nullptr;
    std::atomic<bool> connected_ = false;
    std::atomic<bool> stopping_ = false;
};

TMqttPublisher::TMqttPublisher(const TMqttConfig& config, const std::string& site,
                               const std::vector<std::string>& detectorIds, TServiceLog& log,
                               std::function<void(bool)> connectedChanged)
    : client_(
          std::make_unique<TClient>(config, site, detectorIds, log, std::move(connectedChanged))) {}

TMqttPublisher::~TMqttPublisher() = default;

TDetectorObserver& TMqttPublisher::Observer(std::size_t index) {
    return client_->Detector(index);
}

void TMqttPublisher::Start() {
    client_->Start();
}

void TMqttPublisher::Stop() noexcept {
    client_->Stop();
}

}  // namespace ornet5
