// ornet5d against a broker that takes only TLS and a password, with a
// test CA that the test makes with openssl.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include "tests/service/mosquitto_broker.h"
#include "tests/service/mqtt_subscriber.h"
#include "tests/service/service_rig.h"
#include "tests/support/temp_folder.h"

namespace ornet5::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void Run(const std::string& program, const std::vector<std::string>& arguments) {
    TChildProcess process(program, arguments);
    const auto status = process.WaitForExit(60s);
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        throw std::runtime_error(program + " failed: " + process.Output());
    }
}

struct TTestCertificates {
    fs::path ca;
    // A CA that signed nothing of the broker's.
    fs::path otherCa;
    TBrokerTls broker;
};

// Two CAs and the broker's key and certificate (for 127.0.0.1 and
// localhost, signed by the first CA); the users logger/secret and
// watcher/look.
TTestCertificates MakeCertificates(const fs::path& folder) {
    const auto path = [&](const char* name) { return (folder / name).string(); };
    const std::vector<std::string> newKey = {"-newkey", "ec", "-pkeyopt",
                                             "ec_paramgen_curve:prime256v1", "-nodes"};
    const auto request = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin() + 1, newKey.begin(), newKey.end());
        Run("/usr/bin/openssl", arguments);
    };
    request({"req", "-x509", "-days", "2", "-subj", "/CN=ornet5 test CA", "-keyout", path("ca.key"),
             "-out", path("ca.pem")});
    request({"req", "-x509", "-days", "2", "-subj", "/CN=another CA", "-keyout", path("other.key"),
             "-out", path("other.pem")});
    request({"req", "-subj", "/CN=127.0.0.1", "-keyout", path("broker.key"), "-out",
             path("broker.csr")});
    WriteAll(folder / "names.cnf", "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1,DNS:localhost\n");
    Run("/usr/bin/openssl", {"x509", "-req", "-days", "2", "-in", path("broker.csr"), "-CA",
                             path("ca.pem"), "-CAkey", path("ca.key"), "-CAcreateserial",
                             "-extfile", path("names.cnf"), "-out", path("broker.pem")});
    Run("/usr/bin/mosquitto_passwd", {"-b", "-c", path("passwords"), "logger", "secret"});
    Run("/usr/bin/mosquitto_passwd", {"-b", path("passwords"), "watcher", "look"});
    return {folder / "ca.pem",
            folder / "other.pem",
            {folder / "broker.pem", folder / "broker.key", folder / "passwords"}};
}

TEST(MqttTls, TheRightCaAndPasswordConnectWrongOnesAreRefusedWithOneLogLineAndRetried) {
    TTempFolder brokerFolder;
    const TTestCertificates files = MakeCertificates(brokerFolder.Path());
    TMosquittoBroker broker(brokerFolder.Path(), &files.broker);
    TServiceRig rig;
    rig.StartSimulator(1);
    TSubscriberOptions login;
    login.caFile = files.ca;
    login.user = "watcher";
    login.password = "look";
    TMqttSubscriber watcher(broker.Port(), login);
    const std::string status = "ornet5/lab/status";
    const auto onlines = [&] {
        const TMessages messages = watcher.On(status);
        return std::count_if(messages.begin(), messages.end(),
                             [](auto& m) { return m.payload == "online"; });
    };
    const auto startDaemon = [&](const fs::path& caFile, const std::string& password) {
        WriteAll(rig.Folder() / "password", password + "\n");
        const auto config = rig.WriteConfig(
            "lab", "[MQTT]\nHost=127.0.0.1\nPort=" + std::to_string(broker.Port()) +
                       "\nTLS=True\nCAFile=" + caFile.string() + "\nUser=logger\nPasswordFile=" +
                       (rig.Folder() / "password").string() + "\n[Detector.roof]\nPort=COM1\n");
        return &rig.StartDaemon({"--config", config.string()});
    };
    const auto stopDaemon = [&] {
        rig.Daemon().Signal(SIGTERM);
        const auto end = rig.Daemon().WaitForExit(30s);
        EXPECT_TRUE(end && WIFEXITED(*end) && WEXITSTATUS(*end) == 0) << rig.Daemon().Output();
    };

    startDaemon(files.ca, "secret");
    EXPECT_TRUE(watcher.WaitUntil(
        [](const TMessages& messages) {
            return !MessagesOn(messages, "ornet5/lab/roof/state").empty();
        },
        60s))
        << rig.Daemon().Output();
    EXPECT_EQ(onlines(), 1);
    stopDaemon();

    const struct {
        const char* what;
        fs::path caFile;
        std::string password;
        std::string reason;
    } refusals[] = {
        {"a CA that did not sign the broker's certificate", files.otherCa, "secret",
         "certificate verify failed"},
        {"the system's CAs, which know nothing of the test CA",
         {},
         "secret",
         "certificate verify failed"},
        {"a wrong password", files.ca, "guess", "Connection Refused: not authorised."},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        const std::size_t attempts = broker.ConnectionAttempts();
        TChildProcess& daemon = *startDaemon(refusal.caFile, refusal.password);
        // Tried again and again (after 1 s, then 2 s), with one log line.
        EXPECT_TRUE(broker.WaitForConnectionAttempts(attempts + 3, 60s)) << broker.Log();
        EXPECT_TRUE(daemon.WaitForOutput(refusal.reason, 10s)) << daemon.Output();
        stopDaemon();
        EXPECT_EQ(Occurrences(daemon.Output(), refusal.reason), 1u) << daemon.Output();
        EXPECT_EQ(Occurrences(daemon.Output(), "MQTT: "), 1u) << daemon.Output();
    }
    EXPECT_EQ(onlines(), 1);
    // A client that spoke MQTT without TLS to this listener would be
    // logged so.
    EXPECT_EQ(Occurrences(broker.Log(), "wrong version number"), 0u) << broker.Log();
}

}  // namespace
}  // namespace ornet5::test
