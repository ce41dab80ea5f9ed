// ornet5d's MQTT publishing end to end: simulated detectors, ornet5d and
// Debian's mosquitto broker on a loopback port, watched by mosquitto_sub.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <map>
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

const std::string kRoof = "ornet5/lab/roof/";
const std::string kCellar = "ornet5/lab/cellar/";
const std::string kStatus = "ornet5/lab/status";

std::size_t Count(const TMessages& messages, std::string_view topic,
                  std::string_view payload = {}) {
    const TMessages on = MessagesOn(messages, topic);
    return static_cast<std::size_t>(std::count_if(
        on.begin(), on.end(), [&](auto& m) { return payload.empty() || m.payload == payload; }));
}

std::vector<std::uint64_t> RisingSeqs(const TMessages& messages) {
    std::vector<std::uint64_t> seqs;
    for (const TMqttMessage& message : messages) {
        EXPECT_TRUE(seqs.empty() || SeqOf(message) > seqs.back()) << message.payload;
        seqs.push_back(SeqOf(message));
    }
    return seqs;
}

// Every seq from 1 to the journal's row count came on state or history,
// and one that came twice (live and from the journal) was the same row.
void ExpectEveryRow(const TMessages& states, const TMessages& history,
                    const std::filesystem::path& journal) {
    std::map<std::uint64_t, std::string> rowOf;
    for (const TMessages* messages : {&states, &history}) {
        for (const TMqttMessage& message : *messages) {
            const auto [row, fresh] = rowOf.emplace(SeqOf(message), message.payload);
            EXPECT_TRUE(fresh || row->second == message.payload) << row->second;
        }
    }
    const std::size_t rows =
        ReadJournalSpan(journal, {}, system_clock::now() + days{1}).points.size();
    ASSERT_EQ(rowOf.size(), rows);
    EXPECT_EQ(rowOf.rbegin()->first, rows);
}

class MqttEndToEnd : public ::testing::Test {
  protected:
    TChildProcess& StartDaemon(const std::string& detectors) {
        const auto file = rig_.WriteConfig(
            "lab",
            "[MQTT]\nHost=127.0.0.1\nPort=" + std::to_string(broker_.Port()) + "\n" + detectors);
        return rig_.StartDaemon({"--config", file.string()});
    }
    void StopDaemon() {
        rig_.Daemon().Signal(SIGTERM);
        const auto status = rig_.Daemon().WaitForExit(30s);
        ASSERT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
            << rig_.Daemon().Output();
    }
    bool WaitForStates(TMqttSubscriber& watcher, std::size_t roof, std::size_t cellar = 0) {
        return watcher.WaitUntil(
            [&](const TMessages& messages) {
                return Count(messages, kRoof + "state") >= roof &&
                       Count(messages, kCellar + "state") >= cellar;
            },
            90s);
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
            return Count(messages, kRoof + "alarm", "ON") > 0 &&
                   Count(messages, kCellar + "state") >= 2;
        },
        90s))
        << daemon.Output();
    const TMessages roof = watcher.On(kRoof + "state");
    EXPECT_EQ(RisingSeqs(roof).front(), 1u);
    for (const TMqttMessage& state : roof) {
        EXPECT_TRUE(ParseLocalTimeText(JsonField(state.payload, "time").value_or("")));
        EXPECT_EQ(JsonField(state.payload, "address"), "4.2.31");
        EXPECT_FALSE(state.retained);
        if (JsonField(state.payload, "status") == "ok") {
            EXPECT_EQ(JsonField(state.payload, "dose_uSv_h"), "0.5") << state.payload;
        }
    }
    for (const TMqttMessage& state : watcher.On(kCellar + "state")) {
        EXPECT_EQ(state.payload.substr(state.payload.find(",\"dose")),
                  ",\"dose_uSv_h\":null,\"status\":\"no_reply\",\"address\":\"\",\"alarm\":false,"
                  "\"seq\":" +
                      std::to_string(SeqOf(state)) + "}");
    }
    EXPECT_EQ(RisingSeqs(watcher.On(kCellar + "state")).front(), 1u);
    EXPECT_EQ(watcher.On(kCellar + "alarm").back().payload, "OFF");

    // What a newcomer finds kept: status, last reading, alarms, discovery.
    TMqttSubscriber newcomer(broker_.Port());
    const auto kept = [&](const std::string& topic) {
        const TMessages messages = newcomer.On(topic);
        return messages.empty() || !messages.front().retained ? "(none)" : messages.front().payload;
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
            EXPECT_NE(config.find("\"identifiers\":[\"" + node + "\"]"), std::string::npos);
            uniqueIds.insert(JsonField(config, "unique_id").value_or(""));
        }
    }
    EXPECT_EQ(uniqueIds.size(), 4u);
    // Home Assistant back: discovery again.
    newcomer.Publish("homeassistant/status", "online");
    EXPECT_TRUE(newcomer.WaitUntil(
        [](const TMessages& messages) {
            return Count(messages, "homeassistant/sensor/ornet5_lab__roof/config") >= 2;
        },
        20s));

    StopDaemon();
    EXPECT_TRUE(watcher.WaitUntil(
        [](const TMessages& messages) { return Count(messages, kStatus, "offline") > 0; }, 20s));
    // Every row went out live, numbered as the journal counts them.
    ExpectEveryRow(watcher.On(kRoof + "state"), {}, rig_.JournalFolder() / "roof");
}

TEST_F(MqttEndToEnd, SeqGoesOnAcrossACleanStopAKillAndRestarts) {
    rig_.StartSimulator(1);
    TSubscriberOptions session;
    session.clientId = "watcher";
    TMqttSubscriber watcher(broker_.Port(), session);
    const std::string detector = "[Detector.roof]\nPort=COM1\n";
    StartDaemon(detector);
    ASSERT_TRUE(WaitForStates(watcher, 2)) << rig_.Daemon().Output();
    StopDaemon();
    StartDaemon(detector);
    ASSERT_TRUE(WaitForStates(watcher, 4)) << rig_.Daemon().Output();
    // A clean stop leaves nothing owed.
    EXPECT_TRUE(watcher.On(kRoof + "history").empty());

    const std::size_t offline = Count(watcher.On(kStatus), kStatus, "offline");
    rig_.Daemon().Signal(SIGKILL);
    ASSERT_TRUE(watcher.WaitUntil(
        [&](const TMessages& messages) { return Count(messages, kStatus, "offline") > offline; },
        60s))
        << "the broker did not give ornet5d's last will";
    StartDaemon(detector);
    ASSERT_TRUE(WaitForStates(watcher, 6)) << rig_.Daemon().Output();

    // Rows made while the broker is away, by a service stopped meanwhile,
    // come from the journal after its restart.
    broker_.Stop();
    const auto journalRows = [&] {
        return ReadJournalSpan(rig_.JournalFolder() / "roof", {}, system_clock::now() + days{1})
            .points.size();
    };
    const std::size_t rowsBefore = journalRows();
    ASSERT_TRUE(
        watcher.WaitUntil([&](const TMessages&) { return journalRows() >= rowsBefore + 2; }, 30s));
    StopDaemon();
    broker_.Start();
    StartDaemon(detector);
    ASSERT_TRUE(watcher.WaitUntil(
        [&](const TMessages& messages) {
            const TMessages history = MessagesOn(messages, kRoof + "history");
            return !history.empty() && SeqOf(history.back()) >= rowsBefore + 2;
        },
        60s))
        << rig_.Daemon().Output();
    ASSERT_TRUE(WaitForStates(watcher, Count(watcher.On(kRoof + "state"), kRoof + "state") + 1));
    StopDaemon();
    RisingSeqs(watcher.On(kRoof + "state"));
    ExpectEveryRow(watcher.On(kRoof + "state"), watcher.On(kRoof + "history"),
                   rig_.JournalFolder() / "roof");
}

TEST_F(MqttEndToEnd, EveryRowOfABrokerOutageArrivesOnHistoryInOrder) {
    rig_.StartSimulator(1);
    rig_.StartSimulator(2, {"--silent"});
    TSubscriberOptions session;
    session.clientId = "watcher";
    TMqttSubscriber watcher(broker_.Port(), session);
    TChildProcess& daemon =
        StartDaemon("[Detector.roof]\nPort=COM1\n[Detector.cellar]\nPort=COM2\n");
    ASSERT_TRUE(WaitForStates(watcher, 2, 2)) << daemon.Output();

    broker_.Stop();
    const auto stopped = system_clock::now();
    ASSERT_TRUE(daemon.WaitForOutput("The connection was lost", 20s)) << daemon.Output();
    std::this_thread::sleep_for(30s);  // the outage itself
    const auto restarted = system_clock::now();
    broker_.Start();

    for (const std::string& detector : {kRoof, kCellar}) {
        SCOPED_TRACE(detector);
        // Live rows again, and the history up to the first of them.
        const auto caughtUp = [&](const TMessages& messages) {
            const TMessages states = MessagesOn(messages, detector + "state");
            const TMessages history = MessagesOn(messages, detector + "history");
            return !states.empty() && states.back().arrived > restarted && !history.empty() &&
                   std::any_of(states.begin(), states.end(),
                               [&](auto& m) { return SeqOf(m) == SeqOf(history.back()) + 1; });
        };
        ASSERT_TRUE(watcher.WaitUntil(caughtUp, 120s)) << daemon.Output();
        std::size_t madeAway = 0;
        for (const TMqttMessage& row : watcher.On(detector + "history")) {
            const auto time = ParseLocalTimeText(JsonField(row.payload, "time").value_or(""));
            madeAway += time && time->utc > stopped && time->utc < restarted ? 1 : 0;
        }
        EXPECT_GE(madeAway, 9u);  // a row every 3 s
        RisingSeqs(watcher.On(detector + "history"));
    }
    StopDaemon();
    for (const std::string detector : {"roof", "cellar"}) {
        const std::string topic = "ornet5/lab/" + detector + "/";
        ExpectEveryRow(watcher.On(topic + "state"), watcher.On(topic + "history"),
                       rig_.JournalFolder() / detector);
    }
    // One line per reason, however often it came.
    const std::string& log = rig_.Daemon().Output();
    EXPECT_EQ(Occurrences(log, "The connection was lost"), 1u) << log;
    EXPECT_EQ(Occurrences(log, "Connection refused"), 1u) << log;
    EXPECT_EQ(Occurrences(log, "MQTT: connected"), 2u) << log;
}

}  // namespace
}  // namespace ornet5::test
