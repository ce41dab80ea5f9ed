// ornet5d's /metrics as a Prometheus server sees it: Debian's prometheus,
// started by the test on a loopback port, scrapes the service polling one
// answering and one silent simulated detector, and answers queries.
#include <sys/wait.h>

#include <chrono>
#include <map>
#include <regex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "tests/service/service_rig.h"
#include "tests/support/temp_folder.h"

namespace ornet5::test {
namespace {

using namespace std::chrono_literals;

// The body of an HTTP GET; empty while the server does not answer.
std::string HttpGet(const std::string& url, const std::vector<std::string>& options = {}) {
    std::vector<std::string> arguments{"-sSf", "--max-time", "10", url};
    arguments.insert(arguments.end(), options.begin(), options.end());
    TChildProcess curl("/usr/bin/curl", arguments);
    const std::optional<int> status = curl.WaitForExit(30s);
    return status == 0 ? curl.Output() : "";
}

// An instant query's values by detector, asked again until they are there
// for `count` detectors or a minute has passed: the first dose comes with
// the second poll cycle, 6 s after the start, and reaches Prometheus at its
// next scrape. The API gives the labels in name order, "site" after
// "detector".
std::map<std::string, double> Query(int port, const std::string& query, std::size_t count) {
    static const std::regex kSample(
        R"re("detector":"([^"]+)"[^}]*\},"value":\[[^,]+,"([^"]+)"\])re");
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    std::map<std::string, double> values;
    while (values.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(250ms);
        const std::string answer =
            HttpGet("http://127.0.0.1:" + std::to_string(port) + "/api/v1/query",
                    {"-G", "--data-urlencode", "query=" + query});
        values.clear();
        for (std::sregex_iterator i(answer.begin(), answer.end(), kSample), end; i != end; ++i) {
            values[(*i)[1]] = std::stod((*i)[2]);
        }
    }
    return values;
}

TEST(PrometheusScrapeTest, PrometheusHoldsTheDoseInSievertsAndWhichDetectorsAnswer) {
    constexpr double kReading = 0.123;  // µSv/h
    TServiceRig rig;
    rig.StartSimulator(1, {"--reading", std::to_string(kReading)});
    rig.StartSimulator(2, {"--silent"});
    const int metricsPort = FreeLoopbackPort();
    const std::string metrics = "127.0.0.1:" + std::to_string(metricsPort);
    // A broker that is not there, which /metrics tells.
    const std::filesystem::path config =
        rig.WriteConfig("lab",
                        "[MQTT]\nHost=127.0.0.1\nPort=" + std::to_string(FreeLoopbackPort()) +
                            "\n[Detector.roof]\nPort=COM1\n[Detector.cellar]\nPort=COM2\n",
                        metricsPort);
    TChildProcess& daemon = rig.StartDaemon({"--config", config.string()});
    const std::filesystem::path prometheusConfig = rig.Folder() / "prometheus.yml";
    WriteAll(prometheusConfig,
             "global: {scrape_interval: 1s}\nscrape_configs:\n"
             "  - {job_name: ornet5, static_configs: [{targets: ['" +
                 metrics + "']}]}\n");
    const int port = FreeLoopbackPort();
    TChildProcess prometheus("/usr/bin/prometheus",
                             {"--config.file=" + prometheusConfig.string(),
                              "--storage.tsdb.path=" + (rig.Folder() / "tsdb").string(),
                              "--web.listen-address=127.0.0.1:" + std::to_string(port)});

    const auto dose = Query(port, "ornet5_dose_rate_sieverts_per_hour", 1);
    ASSERT_TRUE(dose.contains("roof")) << prometheus.Output() << daemon.Output();
    // µSv/h in Sv/h; the decoded reading may differ from its text in the
    // last bits. A detector that never answered has no dose, not a zero one.
    EXPECT_NEAR(dose.at("roof"), kReading * 1e-6, kReading * 1e-6 * 1e-9);
    EXPECT_EQ(dose.size(), 1u);
    EXPECT_EQ(Query(port, "ornet5_detector_up", 2),
              (std::map<std::string, double>{{"roof", 1}, {"cellar", 0}}));

    const std::string text = HttpGet("http://" + metrics + "/metrics");
    WriteAll(rig.Folder() / "metrics.txt", text);
    TChildProcess promtool("/bin/sh", {"-c", "exec promtool check metrics < \"$0\"",
                                       (rig.Folder() / "metrics.txt").string()});
    EXPECT_EQ(promtool.WaitForExit(60s), 0) << promtool.Output() << text;
    for (const char* name :
         {"ornet5_alarm{", "ornet5_cycles_total{", "ornet5_last_reading_timestamp_seconds{",
          "ornet5_mqtt_connected{site=\"lab\"} 0\n"}) {
        EXPECT_NE(text.find(name), std::string::npos) << name << " missing:\n" << text;
    }
}

}  // namespace
}  // namespace ornet5::test
