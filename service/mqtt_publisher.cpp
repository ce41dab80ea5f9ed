#include "service/mqtt_publisher.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <variant>

#include "common/decimal_text.h"
#include "common/overloaded.h"
#include "service/discovery_payload.h"
#include "service/history_replay.h"
#include "service/ledger_file.h"
#include "service/mqtt_connection.h"
#include "service/row_ledger.h"
#include "service/state_payload.h"

namespace ornet5 {

namespace {

using namespace std::chrono;
using TClock = steady_clock;

// Rows read from the journal at a time: a batch costs well under a
// millisecond, so a live row never waits behind a replay for longer.
constexpr std::size_t kReplayBatch = 32;
// Publishes of rows not yet acknowledged beyond which a replay waits: the
// broker paces it, and nothing piles up in memory, whatever the span.
constexpr std::size_t kInFlightLimit = 64;
// How often at most the bookkeeping is written while it changes; a kill
// between two writes costs at most this span's rows sent again.
constexpr seconds kSaveInterval{10};
// How long a clean stop waits for the broker's last acknowledgements.
constexpr seconds kStopGrace{2};

// What the threads hand the publisher's thread.
struct TRowNews {
    std::size_t detector;
    TJournalRow row;
};
struct TAlarmNews {
    std::size_t detector;
    bool on;
};
struct TConnectedNews {};
struct TDisconnectedNews {};
struct TAcknowledgedNews {
    int messageId;
};
struct THomeAssistantOnlineNews {};
using TNews = std::variant<TRowNews, TAlarmNews, TConnectedNews, TDisconnectedNews,
                           TAcknowledgedNews, THomeAssistantOnlineNews>;

}  // namespace

class TMqttPublisher::TWorker : public TMqttConnectionObserver {
  public:
    TWorker(const TMqttConfig& config, const std::string& site,
            std::vector<TPublishedDetector> detectors, TServiceLog& log,
            std::function<void(bool)> connectedChanged)
        : homeAssistant_(config.homeAssistant),
          site_(site),
          siteTopic_(config.topicPrefix + "/" + site),
          log_(log),
          connectedChanged_(std::move(connectedChanged)),
          connection_(config, StatusTopic(), log, *this) {
        for (std::size_t i = 0; i < detectors.size(); ++i) {
            auto& detector = detectors_.emplace_back();
            detector.id = detectors[i].id;
            detector.folder = detectors[i].journalFolder;
            detector.topic = siteTopic_ + "/" + detector.id;
            detector.channel = std::make_unique<TChannel>(*this, i);
        }
    }

    ~TWorker() override { Stop(); }

    TDetectorObserver& Observer(std::size_t index) { return *detectors_.at(index).channel; }

    void Start() {
        for (TDetector& detector : detectors_) {
            const TRecoveredLedger recovered = RecoverLedger(detector.folder);
            if (!recovered.problem.empty()) {
                log_.Line("MQTT: " + recovered.problem);
            }
            detector.ledger = TRowLedger(recovered.state);
            detector.saved = recovered.state;
        }
        lastSave_ = TClock::now();
        connection_.Start();
        thread_ = std::thread(&TWorker::Run, this);
    }

    void Stop() noexcept {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) {
            thread_.join();
        }
        connection_.Stop();
    }

    // The connection's news, from its thread.
    void Connected() override { Post(TConnectedNews{}); }
    void Disconnected() override { Post(TDisconnectedNews{}); }
    void Acknowledged(int messageId) override { Post(TAcknowledgedNews{messageId}); }
    void Message(std::string topic, std::string payload) override {
        if (topic == kHomeAssistantStatusTopic && payload == "online") {
            Post(THomeAssistantOnlineNews{});
        }
    }

  private:
    // Hands a detector's alarm and rows to the publisher's thread.
    class TChannel : public TDetectorObserver {
      public:
        TChannel(TWorker& worker, std::size_t index) : worker_(worker), index_(index) {}
        void Observe(const TDetectorEvent& event) override {
            if (const auto* alarm = std::get_if<TAlarmEvent>(&event)) {
                worker_.Post(TAlarmNews{index_, alarm->on});
            } else if (const auto* row = std::get_if<TRowEvent>(&event)) {
                worker_.Post(TRowNews{index_, row->row});
            }
        }

      private:
        TWorker& worker_;
        const std::size_t index_;
    };

    // A detector as the publisher's thread keeps it.
    struct TDetector {
        std::string id;
        std::filesystem::path folder;
        std::string topic;
        TRowLedger ledger;
        TLedgerState saved;
        bool saveFailed = false;
        std::optional<THistoryReplay> replay;
        bool alarmOn = false;
        std::unique_ptr<TChannel> channel;
    };

    // A row's publish, until the broker acknowledges it.
    struct TRowPublish {
        std::size_t detector;
        std::uint64_t seq;
    };

    std::string StatusTopic() const { return siteTopic_ + "/status"; }

    // Wakes the thread only for the first news of a batch: it takes all
    // that came meanwhile at once (a row's two acknowledgements come
    // together), which spares a switch of threads per news.
    void Post(TNews news) {
        bool first = false;
        {
            const std::lock_guard lock(mutex_);
            first = news_.empty();
            news_.push_back(std::move(news));
        }
        if (first) {
            wake_.notify_one();
        }
    }

    void Run() {
        std::deque<TNews> news;
        for (bool stop = false; !stop;) {
            {
                std::unique_lock lock(mutex_);
                wake_.wait_until(lock, NextSave(),
                                 [this] { return stopping_ || !news_.empty() || ReplayMayGoOn(); });
                news.swap(news_);
                stop = stopping_;
            }
            for (TNews& item : news) {
                Handle(item);
            }
            news.clear();
            ReplayStep();
            Save(false);
        }
        Finish();
    }

    void Handle(TNews& news) {
        std::visit(TOverloaded{
                       [this](TRowNews& row) { NewRow(detectors_[row.detector], row.row); },
                       [this](const TAlarmNews& alarm) {
                           detectors_[alarm.detector].alarmOn = alarm.on;
                           if (connected_) {
                               PublishAlarm(detectors_[alarm.detector]);
                           }
                       },
                       [this](const TConnectedNews&) { NowConnected(); },
                       [this](const TDisconnectedNews&) { NowDisconnected(); },
                       [this](const TAcknowledgedNews& ack) { Acknowledge(ack.messageId); },
                       [this](const THomeAssistantOnlineNews&) {
                           if (connected_) {
                               PublishDiscovery();
                           }
                       },
                   },
                   news);
    }

    void NewRow(TDetector& detector, const TJournalRow& row) {
        const TRowMark mark = detector.ledger.Assign(UtcMs(row.time.utc));
        if (!connected_) {
            // Owed: it is in the journal, and the reconnect's replay sends it.
            return;
        }
        PublishRow(detector, "/state", row, mark);
        if (const std::optional<double> dose = WrittenDose(row)) {
            connection_.Publish(detector.topic + "/dose_uSv_h", ShortestDecimalText(*dose), true);
        }
    }

    void PublishRow(TDetector& detector, const char* subtopic, const TJournalRow& row,
                    const TRowMark& mark) {
        const auto messageId =
            connection_.Publish(detector.topic + subtopic, StatePayload(row, mark.seq), false);
        if (messageId) {
            detector.ledger.Published(mark);
            rowPublishes_[*messageId] = {static_cast<std::size_t>(&detector - detectors_.data()),
                                         mark.seq};
        }
    }

    void PublishAlarm(const TDetector& detector) {
        connection_.Publish(detector.topic + "/alarm", detector.alarmOn ? "ON" : "OFF", true);
    }

    void PublishDiscovery() {
        for (const TDetector& detector : detectors_) {
            for (const TDiscoveryMessage& message :
                 DiscoveryMessages({site_, detector.id, StatusTopic(), detector.topic})) {
                connection_.Publish(message.topic, message.payload, true);
            }
        }
    }

    void NowConnected() {
        connected_ = true;
        connection_.Publish(StatusTopic(), "online", true);
        for (TDetector& detector : detectors_) {
            PublishAlarm(detector);
            if (detector.ledger.Owes()) {
                const TLedgerState& state = detector.ledger.State();
                detector.replay.emplace(detector.folder, state.acknowledged, state.assigned,
                                        system_clock::now());
            }
        }
        if (homeAssistant_) {
            connection_.Subscribe(std::string(kHomeAssistantStatusTopic));
            PublishDiscovery();
        }
        if (connectedChanged_) {
            connectedChanged_(true);
        }
    }

    void NowDisconnected() {
        connected_ = false;
        // The next connect starts again from what the broker has by then;
        // what was in flight goes to history then (and may also come again
        // on state, where the client sends it once more).
        rowPublishes_.clear();
        for (TDetector& detector : detectors_) {
            detector.replay.reset();
            detector.ledger.ForgetUnacknowledged();
        }
        if (connectedChanged_) {
            connectedChanged_(false);
        }
    }

    void Acknowledge(int messageId) {
        if (messageId == offlineMessage_) {
            offlineAcknowledged_ = true;
        }
        const auto publish = rowPublishes_.find(messageId);
        if (publish != rowPublishes_.end()) {
            detectors_[publish->second.detector].ledger.Acknowledged(publish->second.seq);
            rowPublishes_.erase(publish);
        }
    }

    bool ReplayMayGoOn() const {
        if (!connected_ || rowPublishes_.size() >= kInFlightLimit) {
            return false;
        }
        for (const TDetector& detector : detectors_) {
            if (detector.replay) {
                return true;
            }
        }
        return false;
    }

    // One batch for each detector with a replay, while the broker keeps up.
    void ReplayStep() {
        std::vector<TReplayRow> rows;
        for (TDetector& detector : detectors_) {
            if (!ReplayMayGoOn()) {
                return;
            }
            if (!detector.replay) {
                continue;
            }
            rows.clear();
            const bool more = detector.replay->Step(kReplayBatch, rows);
            if (const auto floor = detector.replay->Floor()) {
                detector.ledger.GiveUpTo(*floor);
            }
            for (const TReplayRow& row : rows) {
                PublishRow(detector, "/history", row.row, row.mark);
            }
            if (!more) {
                detector.replay.reset();
            }
        }
    }

    TClock::time_point NextSave() const {
        for (const TDetector& detector : detectors_) {
            if (detector.ledger.State() != detector.saved) {
                return lastSave_ + kSaveInterval;
            }
        }
        return TClock::now() + hours(1);
    }

    void Save(bool now) {
        if (!now && TClock::now() < lastSave_ + kSaveInterval) {
            return;
        }
        lastSave_ = TClock::now();
        for (TDetector& detector : detectors_) {
            const TLedgerState state = detector.ledger.State();
            if (state == detector.saved) {
                continue;
            }
            const bool written = WriteLedgerFile(detector.folder, state);
            if (written) {
                detector.saved = state;
            } else if (!detector.saveFailed) {
                log_.Line("MQTT: " + LedgerFile(detector.folder).string() +
                          " cannot be written; a restart may send rows again");
            }
            detector.saveFailed = !written;
        }
    }

    // Says "offline" and gives the broker a moment to acknowledge it and
    // the rows in flight, so that the bookkeeping kept on disk is current.
    void Finish() {
        if (connected_) {
            offlineMessage_ = connection_.Publish(StatusTopic(), "offline", true);
            const auto deadline = TClock::now() + kStopGrace;
            std::deque<TNews> news;
            while (connected_ && (!offlineAcknowledged_ || !rowPublishes_.empty())) {
                {
                    std::unique_lock lock(mutex_);
                    if (!wake_.wait_until(lock, deadline, [this] { return !news_.empty(); })) {
                        break;
                    }
                    news.swap(news_);
                }
                for (const TNews& item : news) {
                    if (const auto* ack = std::get_if<TAcknowledgedNews>(&item)) {
                        Acknowledge(ack->messageId);
                    } else if (std::holds_alternative<TDisconnectedNews>(item)) {
                        connected_ = false;
                    }
                }
                news.clear();
            }
        }
        Save(true);
    }

    const bool homeAssistant_;
    const std::string site_;
    const std::string siteTopic_;
    TServiceLog& log_;
    const std::function<void(bool)> connectedChanged_;
    std::vector<TDetector> detectors_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<TNews> news_;
    bool stopping_ = false;

    // The publisher's thread's own.
    bool connected_ = false;
    std::unordered_map<int, TRowPublish> rowPublishes_;
    std::optional<int> offlineMessage_;
    bool offlineAcknowledged_ = false;
    TClock::time_point lastSave_;

    TMqttConnection connection_;
    std::thread thread_;
};

TMqttPublisher::TMqttPublisher(const TMqttConfig& config, const std::string& site,
                               std::vector<TPublishedDetector> detectors, TServiceLog& log,
                               std::function<void(bool)> connectedChanged)
    : worker_(std::make_unique<TWorker>(config, site, std::move(detectors), log,
                                        std::move(connectedChanged))) {}

TMqttPublisher::~TMqttPublisher() = default;

TDetectorObserver& TMqttPublisher::Observer(std::size_t index) {
    return worker_->Observer(index);
}

void TMqttPublisher::Start() {
    worker_->Start();
}

}  // namespace ornet5
