// ornet5d's MQTT publishing end to end: simulated detectors, ornet5d and
// Debian's mosquitto broker on a loopback port, watched by a subscriber.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <map>
#include <memory>
#include <set>
#include <thread>

#include "common/local_time.h"
#include "journal/journal_reader.h"
#include "tests/service/mosquitto_broker.h"
#include "tests/service/mqtt_subscriber.h"
#include "tests/service/service_rig.h"
#include "tests/support/temp_folder.h"

namespace ornet5::test {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;
using TMessages = std::vector<TMqttMessage>;

const std::string kSite = "lab";
const std::string kRoof = "ornet5/lab/roof/";
const std::string kCellar = "ornet5/lab/cellar/";
const std::string kStatus = "ornet5/lab/status";

std::size_t CountOn(const TMessages& messages, std::string_view topic,
                    const std::function<bool(const TMqttMessage&)>& accept = {}) {
    return static_cast<std::size_t>(std::count_if(messages.begin(), messages.end(), [&](auto& m) {
        return m.topic == topic && (!accept || accept(m));
    }));
}

std::vector<std::uint64_t> Seqs(const TMessages& messages) {
    std::vector<std::uint64_t> seqs;
    for (const TMqttMessage& message : messages) {
        seqs.push_back(SeqOf(message));
    }
    return seqs;
}

bool StrictlyRising(const std::vector<std::uint64_t>& seqs) {
    return std::adjacent_find(seqs.begin(), seqs.end(), std::greater_equal<>()) == seqs.end();
}

// The rows of a detector's journal, which seq counts.
std::size_t JournalRows(const std::filesystem::path& folder) {
    return ReadJournalSpan(folder, system_clock::time_point{}, system_clock::now() + days{1})
        .points.size();
}

// Every seq from 1 to the journal's row count came on state or history,
// and a seq that came twice (live and again from the journal) came with
// the same row both times.
void ExpectEveryRowOnce(const TMessages& states, const TMessages& history, std::size_t rows) {
    std::map<std::uint64_t, std::string> rowOf;
    for (const TMessages* messages : {&states, &history}) {
        for (const TMqttMessage& message : *messages) {
            const auto [row, fresh] = rowOf.emplace(SeqOf(message), message.payload);
            EXPECT_TRUE(fresh || row->second == message.payload)
                << row->second << " and " << message.payload;
        }
    }
    ASSERT_EQ(rowOf.size(), rows);
    EXPECT_EQ(rowOf.begin()->first, 1u);
    EXPECT_EQ(rowOf.rbegin()->first, rows);
}

class MqttEndToEnd : public ::testing::Test {
  protected:
    std::string MqttSection() const {
        return "[MQTT]\nHost=127.0.0.1\nPort=" + std::to_string(broker_.Port()) + "\n";
    }
    TChildProcess& StartDaemon(const std::string& sections) {
        const auto file = rig_.WriteConfig(kSite, MqttSection() + sections);
        return rig_.StartDaemon({"--config", file.string()});
    }
    // SIGTERM, and a clean end.
    void StopDaemon() {
        rig_.Daemon().Signal(SIGTERM);
        const auto status = rig_.Daemon().WaitForExit(30s);
        ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << rig_.Daemon().Output();
    }

    TTempFolder brokerFolder_;
    TMosquittoBroker broker_{brokerFolder_.Path()};
    // After the broker, so that ornet5d ends first.
    TServiceRig rig_;
};

TEST_F(MqttEndToEnd, StatesRetainedValuesAndDiscoveryOfAnAnsweringAndASilentDetector) {
    rig_.StartSimulator(1, {"--reading", "0.5", "--address", "4.2.31"});
    rig_.StartSimulator(2, {"--silent"});
    TMqttSubscriber watcher(broker_.Port());
    TChildProcess& daemon =
        StartDaemon("[Detector.roof]\nPort=COM1\nThreshold=0.3\n[Detector.cellar]\nPort=COM2\n");
    ASSERT_TRUE(watcher.WaitUntil(
        [](const TMessages& messages) {
            return CountOn(messages, kRoof + "state",
                           [](auto& m) { return JsonField(m.payload, "alarm") == "true"; }) > 0 &&
                   CountOn(messages, kCellar + "state") >= 2;
        },
        90s))
        << daemon.Output();

    const TMessages roof = watcher.On(kRoof + "state");
    EXPECT_EQ(Seqs(roof).front(), 1u);
    EXPECT_TRUE(StrictlyRising(Seqs(roof)));
    for (const TMqttMessage& state : roof) {
        SCOPED_TRACE(state.payload);
        EXPECT_TRUE(ParseLocalTimeText(JsonField(state.payload, "time").value_or("")));
        EXPECT_EQ(JsonField(state.payload, "address"), "4.2.31");
        EXPECT_FALSE(state.retained);
        if (JsonField(state.payload, "status") == "ok") {
            EXPECT_EQ(JsonField(state.payload, "dose_uSv_h"), "0.5");
        }
    }
    EXPECT_EQ(JsonField(roof.back().payload, "status"), "ok");
    const TMessages cellar = watcher.On(kCellar + "state");
    EXPECT_EQ(Seqs(cellar).front(), 1u);
    EXPECT_TRUE(StrictlyRising(Seqs(cellar)));
    for (const TMqttMessage& state : cellar) {
        EXPECT_EQ(state.payload.substr(state.payload.find(",\"dose")),
                  ",\"dose_uSv_h\":null,\"status\":\"no_reply\",\"address\":\"\",\"alarm\":false,"
                  "\"seq\":" +
                      std::to_string(SeqOf(state)) + "}");
    }
    EXPECT_EQ(watcher.On(kRoof + "alarm").back().payload, "ON");
    EXPECT_EQ(watcher.On(kCellar + "alarm").back().payload, "OFF");

    // What a newcomer finds kept: status, last reading, alarms, discovery.
    TMqttSubscriber newcomer(broker_.Port());
    ASSERT_TRUE(
        newcomer.WaitUntil([](const TMessages& messages) { return messages.size() >= 8; }, 20s));
    std::map<std::string, std::string> retained;
    for (const TMqttMessage& message : newcomer.On(kStatus)) {
        retained[message.topic] = message.payload;
    }
    const auto kept = [&](const std::string& topic) {
        const TMessages messages = newcomer.On(topic);
        return messages.empty() || !messages.front().retained ? std::string("(none)")
                                                              : messages.front().payload;
    };
    EXPECT_EQ(kept(kStatus), "online");
    EXPECT_EQ(kept(kRoof + "dose_uSv_h"), "0.5");
    EXPECT_EQ(kept(kRoof + "alarm"), "ON");
    EXPECT_EQ(kept(kCellar + "alarm"), "OFF");
    EXPECT_EQ(kept(kCellar + "dose_uSv_h"), "(none)");
    EXPECT_EQ(kept(kRoof + "state"), "(none)");
    std::set<std::string> uniqueIds;
    for (const std::string detector : {"roof", "cellar"}) {
        const std::string node = "ornet5_lab__" + detector;
        const std::string sensor = kept("homeassistant/sensor/" + node + "/config");
        const std::string alarm = kept("homeassistant/binary_sensor/" + node + "/config");
        EXPECT_EQ(JsonField(sensor, "state_topic"), "ornet5/lab/" + detector + "/dose_uSv_h");
        EXPECT_EQ(JsonField(sensor, "unit_of_measurement"), "µSv/h");
        EXPECT_EQ(JsonField(sensor, "state_class"), "measurement");
        EXPECT_EQ(JsonField(alarm, "state_topic"), "ornet5/lab/" + detector + "/alarm");
        for (const std::string& config : {sensor, alarm}) {
            EXPECT_EQ(JsonField(config, "availability_topic"), kStatus) << config;
            EXPECT_NE(config.find("\"device\":{\"identifiers\":[\"" + node + "\"]"),
                      std::string::npos)
                << config;
            uniqueIds.insert(JsonField(config, "unique_id").value_or(""));
        }
    }
    EXPECT_EQ(uniqueIds.size(), 4u);

    // Home Assistant back: discovery again.
    const std::string roofSensor = "homeassistant/sensor/ornet5_lab__roof/config";
    newcomer.Publish("homeassistant/status", "online");
    EXPECT_TRUE(newcomer.WaitUntil(
        [&](const TMessages& messages) { return CountOn(messages, roofSensor) >= 2; }, 20s));

    StopDaemon();
    EXPECT_TRUE(watcher.WaitFor(kStatus, 20s, [](auto& m) { return m.payload == "offline"; }));
    // Every row went out live, numbered as the journal counts them.
    EXPECT_EQ(SeqOf(watcher.On(kRoof + "state").back()),
              JournalRows(rig_.JournalFolder() / "roof"));
    EXPECT_TRUE(watcher.On(kRoof + "history").empty());
}

TEST_F(MqttEndToEnd, SeqGoesOnAcrossACleanStopAKillAndRestarts) {
    rig_.StartSimulator(1);
    TMqttSubscriber watcher(broker_.Port());
    const std::string detector = "[Detector.roof]\nPort=COM1\n";
    const auto statesReach = [&](std::size_t count) {
        return watcher.WaitUntil(
            [&](const TMessages& messages) { return CountOn(messages, kRoof + "state") >= count; },
            60s);
    };
    const auto offlines = [&](const TMessages& messages) {
        return CountOn(messages, kStatus, [](auto& m) { return m.payload == "offline"; });
    };
    const auto offlinesNow = [&] {
        std::size_t count = 0;
        watcher.WaitUntil(
            [&](const TMessages& messages) { return (count = offlines(messages), true); }, 0s);
        return count;
    };

    StartDaemon(detector);
    ASSERT_TRUE(statesReach(2)) << rig_.Daemon().Output();
    StopDaemon();
    StartDaemon(detector);
    ASSERT_TRUE(statesReach(4)) << rig_.Daemon().Output();
    // A clean stop leaves nothing owed.
    EXPECT_TRUE(watcher.On(kRoof + "history").empty());

    const std::size_t offlineBefore = offlinesNow();
    rig_.Daemon().Signal(SIGKILL);
    ASSERT_TRUE(watcher.WaitUntil(
        [&](const TMessages& messages) { return offlines(messages) > offlineBefore; }, 60s))
        << "the broker did not give ornet5d's last will";
    StartDaemon(detector);
    ASSERT_TRUE(statesReach(6)) << rig_.Daemon().Output();
    StopDaemon();

    const TMessages states = watcher.On(kRoof + "state");
    EXPECT_TRUE(StrictlyRising(Seqs(states))) << testing::PrintToString(Seqs(states));
    ExpectEveryRowOnce(states, watcher.On(kRoof + "history"),
                       JournalRows(rig_.JournalFolder() / "roof"));
}

TEST_F(MqttEndToEnd, EveryRowOfABrokerOutageArrivesOnHistoryInOrder) {
    rig_.StartSimulator(1);
    rig_.StartSimulator(2, {"--silent"});
    // A session of its own, so that the broker keeps what comes while the
    // watcher reconnects after the outage.
    TSubscriberOptions session;
    session.clientId = "watcher";
    TMqttSubscriber watcher(broker_.Port(), session);
    TChildProcess& daemon =
        StartDaemon("[Detector.roof]\nPort=COM1\n[Detector.cellar]\nPort=COM2\n");
    ASSERT_TRUE(watcher.WaitUntil(
        [](const TMessages& messages) {
            return CountOn(messages, kRoof + "state") >= 2 &&
                   CountOn(messages, kCellar + "state") >= 2;
        },
        60s))
        << daemon.Output();

    broker_.Stop();
    const auto stopped = system_clock::now();
    ASSERT_TRUE(daemon.WaitForOutput("The connection was lost", 20s)) << daemon.Output();
    // The outage itself.
    std::this_thread::sleep_for(30s);
    const auto restarted = system_clock::now();
    broker_.Start();

    for (const std::string& detector : {kRoof, kCellar}) {
        SCOPED_TRACE(detector);
        // Live rows again, and the history up to them.
        const auto caughtUp = [&](const TMessages& messages) {
            const TMessages states = MessagesOn(messages, detector + "state");
            const TMessages history = MessagesOn(messages, detector + "history");
            return !states.empty() && states.back().arrived > restarted && !history.empty() &&
                   SeqOf(history.back()) + 1 == SeqOf(states.back());
        };
        ASSERT_TRUE(watcher.WaitUntil(caughtUp, 120s)) << daemon.Output();
        const TMessages history = watcher.On(detector + "history");
        EXPECT_TRUE(StrictlyRising(Seqs(history))) << testing::PrintToString(Seqs(history));
        std::size_t madeAway = 0;
        for (const TMqttMessage& row : history) {
            const auto time = ParseLocalTimeText(JsonField(row.payload, "time").value_or(""));
            ASSERT_TRUE(time) << row.payload;
            madeAway += time->utc > stopped && time->utc < restarted ? 1 : 0;
        }
        // A row every 3 s while the broker was away.
        EXPECT_GE(madeAway, 9u);
        const TMessages states = watcher.On(detector + "state");
        const std::uint64_t firstLive = SeqOf(history.back()) + 1;
        const auto live = std::find_if(states.begin(), states.end(),
                                       [&](auto& m) { return SeqOf(m) >= firstLive; });
        EXPECT_EQ(SeqOf(*live), firstLive);
    }
    StopDaemon();
    for (const std::string& detector : {std::string("roof"), std::string("cellar")}) {
        ExpectEveryRowOnce(watcher.On("ornet5/lab/" + detector + "/state"),
                           watcher.On("ornet5/lab/" + detector + "/history"),
                           JournalRows(rig_.JournalFolder() / detector));
    }
    // One line per reason, however often it came.
    const std::string& log = rig_.Daemon().Output();
    EXPECT_EQ(Occurrences(log, "The connection was lost"), 1u) << log;
    EXPECT_EQ(Occurrences(log, "Connection refused"), 1u) << log;
    EXPECT_EQ(Occurrences(log, "MQTT: connected"), 2u) << log;
}

}  // namespace
}  // namespace ornet5::test
