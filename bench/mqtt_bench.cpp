// ornet5d publishing to Debian's mosquitto broker, eight simulated
// detectors on COM1..COM8, watched by a subscriber on the same machine.
//   EightDetectors: ornet5d's processor share over ORNET5_BENCH_SECONDS
//     (default 60) from the first state of every detector on (user and
//     system time, /proc/<pid>/stat), its resident memory at the end
//     (VmRSS), and how long after a row's own time (taken as the cycle
//     ends with the detector's reply) its state reached the subscriber.
//     Counters: cpu_pct_per_detector, rss_mb, latency_max_ms,
//     latency_median_ms, states.
//   HourOfMissedRows: each detector's journal holds an hour of rows (1200)
//     that the broker never acknowledged; ornet5d starts while the broker
//     is away, the broker comes back, and ornet5d sends them on history.
//     Counters: history_rows, send_s (from ornet5d's connection to the
//     last history row at the subscriber), from_return_s (from the
//     broker's start, the reconnect's back-off included).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_run.h"
#include "bench/process_stat.h"
#include "common/local_time.h"
#include "journal/journal_writer.h"
#include "service/ledger_file.h"
#include "tests/service/mosquitto_broker.h"
#include "tests/service/mqtt_subscriber.h"
#include "tests/service/service_rig.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;
using test::TMessages;

constexpr int kDetectors = 8;
constexpr int kMissedRows = 1200;

double ResidentMb(pid_t pid) {
    return static_cast<double>(bench::StatusKilobytes(std::to_string(pid), "VmRSS:")) / 1024.0;
}

std::string Detectors() {
    std::string sections;
    for (int number = 1; number <= kDetectors; ++number) {
        sections +=
            "[Detector.d" + std::to_string(number) + "]\nPort=COM" + std::to_string(number) + "\n";
    }
    return sections;
}

std::string MqttSection(int port) {
    return "[MQTT]\nHost=127.0.0.1\nPort=" + std::to_string(port) + "\nHomeAssistant=False\n";
}

void StartSimulators(test::TServiceRig& rig) {
    for (int number = 1; number <= kDetectors; ++number) {
        rig.StartSimulator(number, {"--random-start", std::to_string(number)});
    }
}

bool IsState(const test::TMqttMessage& message) {
    return message.topic.ends_with("/state");
}

void EightDetectors(benchmark::State& state) {
    test::TTempFolder brokerFolder;
    test::TMosquittoBroker broker(brokerFolder.Path());
    test::TServiceRig rig;
    StartSimulators(rig);
    test::TMqttSubscriber watcher(broker.Port());
    const auto config = rig.WriteConfig("bench", MqttSection(broker.Port()) + Detectors());
    test::TChildProcess& daemon = rig.StartDaemon({"--config", config.string()});
    const auto everyDetector = [](const TMessages& messages) {
        std::set<std::string> topics;
        for (const auto& message : messages) {
            if (IsState(message)) {
                topics.insert(message.topic);
            }
        }
        return topics.size() == kDetectors;
    };
    if (!watcher.WaitUntil(everyDetector, 60s)) {
        state.SkipWithError(("no state of every detector: " + daemon.Output()).c_str());
        return;
    }
    const auto cpuBefore = bench::ProcessorSeconds(daemon.Pid());
    const auto wallStart = steady_clock::now();
    const auto measuredFrom = system_clock::now();
    for (auto _ : state) {
        // Takes in what comes meanwhile, so that mosquitto_sub never waits.
        watcher.WaitUntil([](const TMessages&) { return false; }, bench::MeasuredTime(10, 60));
    }
    const double wall = duration<double>(steady_clock::now() - wallStart).count();
    const auto cpuAfter = bench::ProcessorSeconds(daemon.Pid());
    const double residentMb = ResidentMb(daemon.Pid());
    if (!cpuBefore || !cpuAfter) {
        state.SkipWithError(("ornet5d ended: " + daemon.Output()).c_str());
        return;
    }
    std::vector<double> latenciesMs;
    watcher.WaitUntil(
        [&](const TMessages& messages) {
            for (const auto& message : messages) {
                const auto time =
                    ParseLocalTimeText(test::JsonField(message.payload, "time").value_or(""));
                if (IsState(message) && time && message.arrived > measuredFrom) {
                    latenciesMs.push_back(
                        duration<double, std::milli>(message.arrived - time->utc).count());
                }
            }
            return true;
        },
        0s);
    std::sort(latenciesMs.begin(), latenciesMs.end());
    const double expected = kDetectors * duration<double>(bench::MeasuredTime(10, 60)).count() / 3;
    if (latenciesMs.size() < expected * 0.8) {
        state.SkipWithError("too few states to measure");
        return;
    }
    state.counters["states"] = static_cast<double>(latenciesMs.size());
    state.counters["cpu_pct_per_detector"] = 100.0 * (*cpuAfter - *cpuBefore) / wall / kDetectors;
    state.counters["rss_mb"] = residentMb;
    state.counters["latency_max_ms"] = latenciesMs.back();
    state.counters["latency_median_ms"] = latenciesMs[latenciesMs.size() / 2];
}
BENCHMARK(EightDetectors)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// An hour of rows, one every 3 s up to a minute ago, of which the broker
// acknowledged none: the bookkeeping says the last acknowledged row came
// before them.
void WriteMissedHour(const std::filesystem::path& folder) {
    const auto start = system_clock::now() - hours(1) - minutes(1);
    std::ostringstream diagnostics;
    TJournalWriter writer(folder, diagnostics, SystemJournalDisk(), {false});
    for (int i = 0; i < kMissedRows; ++i) {
        const auto time = floor<milliseconds>(start + seconds(3 * i));
        writer.Append({LocalTimeAt(time), 0.12, TCycleStatus::Ok, "4.2.31", false});
    }
    const std::int64_t before = floor<milliseconds>(start - seconds(3)).time_since_epoch().count();
    WriteLedgerFile(folder, {{1000, before}, {1000, before}});
}

void HourOfMissedRows(benchmark::State& state) {
    test::TTempFolder brokerFolder;
    test::TMosquittoBroker broker(brokerFolder.Path());
    test::TServiceRig rig;
    StartSimulators(rig);
    for (int number = 1; number <= kDetectors; ++number) {
        WriteMissedHour(rig.JournalFolder() / ("d" + std::to_string(number)));
    }
    // A session of its own: it misses nothing while it reconnects.
    test::TSubscriberOptions session;
    session.clientId = "bench";
    test::TMqttSubscriber watcher(broker.Port(), session);
    broker.Stop();
    const auto config = rig.WriteConfig("bench", MqttSection(broker.Port()) + Detectors());
    test::TChildProcess& daemon = rig.StartDaemon({"--config", config.string()});
    if (!daemon.WaitForOutput("Connection refused", 20s)) {
        state.SkipWithError(("ornet5d did not try the broker: " + daemon.Output()).c_str());
        return;
    }
    const auto history = [](const TMessages& messages) {
        return std::count_if(messages.begin(), messages.end(), [](const auto& message) {
            return message.topic.ends_with("/history");
        });
    };
    for (auto _ : state) {
        const auto returned = system_clock::now();
        broker.Start();
        const bool connected = daemon.WaitForOutput("MQTT: connected", 120s);
        const auto connectedAt = system_clock::now();
        const bool all = watcher.WaitUntil(
            [&](const TMessages& messages) {
                return history(messages) >= kDetectors * kMissedRows;
            },
            120s);
        system_clock::time_point last;
        std::size_t rows = 0;
        watcher.WaitUntil(
            [&](const TMessages& messages) {
                for (const auto& message : messages) {
                    if (message.topic.ends_with("/history")) {
                        last = std::max(last, message.arrived);
                        ++rows;
                    }
                }
                return true;
            },
            0s);
        state.counters["history_rows"] = static_cast<double>(rows);
        if (!connected || !all) {
            state.SkipWithError(("not every missed row came: " + daemon.Output()).c_str());
            return;
        }
        state.counters["send_s"] = duration<double>(last - connectedAt).count();
        state.counters["from_return_s"] = duration<double>(last - returned).count();
    }
}
BENCHMARK(HourOfMissedRows)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace ornet5
