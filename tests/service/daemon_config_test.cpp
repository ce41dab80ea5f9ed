#include "service/daemon_config.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

using test::WriteAll;

// In the files and faults below, "@" stands for the test's folder, and a
// fault is written without the configuration file's name that leads it.
class DaemonConfigTest : public ::testing::Test {
  protected:
    DaemonConfigTest() {
        WriteAll(folder_.Path() / "secret", "pass word \r\nnot this\n");
        WriteAll(folder_.Path() / "blank", "\nnot this\n");
        WriteAll(folder_.Path() / "ca.pem", "certificate\n");
    }

    std::string Expand(std::string_view text) const {
        std::string expanded;
        for (const char c : text) {
            expanded += c == '@' ? folder_.Path().string() : std::string(1, c);
        }
        return expanded;
    }

    std::filesystem::path File() const { return folder_.Path() / "ornet5d.conf"; }

    std::variant<TDaemonConfig, TConfigFaultLines> Read(std::string_view content,
                                                        std::string_view hostName = "host-1") {
        WriteAll(File(), Expand(content));
        return ReadDaemonConfig(File(), hostName);
    }

    TConfigFaultLines Faults(std::initializer_list<std::string_view> faults) const {
        TConfigFaultLines lines;
        for (const std::string_view fault : faults) {
            lines.push_back(File().string() + Expand(fault));
        }
        return lines;
    }

    test::TTempFolder folder_;
};

constexpr std::string_view kDetector = "[Detector.z]\nPort=/dev/z\n";

struct TBadFile {
    std::string content;
    std::initializer_list<std::string_view> faults;
};

TEST_F(DaemonConfigTest, EveryFaultOfAFileIsOneLineNamingItsLineSectionAndKey) {
    const TBadFile files[] = {
        {"Key=1\n[Service]\nSite=a\nsite=b\nColor=red\nMetrics\n=x\n[service]\nSite=c\n"
         "[Other]\nA=1\n[Detector.a\nPort=COM1\n[Detector.b] x\nPort=COM2\n",
         {":1: Key: outside any section", ":4: [Service] site: already set at line 3",
          ":5: [Service] Color: unknown key (known: Site, JournalFolder, Metrics)",
          ":6: [Service] Metrics: no '=' and no value",
          ":7: [Service]: a line with no key before '='",
          ":8: [service]: the section already begins at line 2",
          ":10: [Other]: unknown section (known: [Service], [MQTT], [Detector.<id>])",
          ":12: [Detector.a]: no ']' ends the section's name",
          ":14: [Detector.b]: text after ']' that is not a comment"}},
        {"[Service]\nSite=lab/1\nJournalFolder=var/lib ; relative\nMetrics=localhost\n" +
             std::string(kDetector),
         {":2: [Service] Site: 'lab/1' holds '+', '#' or '/'",
          ":3: [Service] JournalFolder: 'var/lib' is not an absolute path",
          ":4: [Service] Metrics: 'localhost' is not HOST:PORT"}},
        {"[Service]\nSite=\xC3\x28\nMetrics=::1:9775\n" + std::string(kDetector),
         {":2: [Service] Site: '\xC3\x28' is not UTF-8 text",
          ":3: [Service] Metrics: '::1' is not an IPv4 address, a host name or [IPv6]"}},
        {"[Service]\nMetrics=1.2.3.256:80\n" + std::string(kDetector),
         {":2: [Service] Metrics: '1.2.3.256' is not an IPv4 address, a host name or [IPv6]"}},
        {"[Service]\nMetrics=[fe80::1::2]:80\n" + std::string(kDetector),
         {":2: [Service] Metrics: 'fe80::1::2' is not an IPv4 address, a host name or [IPv6]"}},
        {"[Service]\nMetrics=[::ffff:10.0.0.1]:0\n" + std::string(kDetector),
         {":2: [Service] Metrics: '0' is not a whole number from 1 to 65535"}},
        {"[MQTT]\nHost=broker example\nPort=65536\nTLS=yes\nCAFile=@/missing.pem\n"
         "PasswordFile=@/blank\nTopicPrefix=$SYS/x\nKeepAlive=4\nHomeAssistant=1\n" +
             std::string(kDetector),
         {":2: [MQTT] Host: 'broker example' is not a host name or an IP address",
          ":3: [MQTT] Port: '65536' is not a whole number from 1 to 65535",
          ":4: [MQTT] TLS: 'yes' is not True or False", ":5: [MQTT] CAFile: set while TLS is False",
          ":5: [MQTT] CAFile: '@/missing.pem' does not exist",
          ":6: [MQTT] PasswordFile: set without User",
          ":6: [MQTT] PasswordFile: the first line of '@/blank' is empty",
          ":7: [MQTT] TopicPrefix: '$SYS/x' starts with '$', which brokers keep for themselves",
          ":8: [MQTT] KeepAlive: '4' is not a whole number from 5 to 65535",
          ":9: [MQTT] HomeAssistant: '1' is not True or False"}},
        {"[MQTT]\nHost=::1\nTLS=True\nCAFile=@\nUser=a\tb\nPasswordFile=@/none\n"
         "TopicPrefix=a//b\n" +
             std::string(kDetector),
         {":4: [MQTT] CAFile: '@' cannot be read (not a file, or no permission)",
          ":5: [MQTT] User: the value holds a control character",
          ":6: [MQTT] PasswordFile: set without User",
          ":6: [MQTT] PasswordFile: '@/none' does not exist",
          ":7: [MQTT] TopicPrefix: 'a//b' has an empty topic level"}},
        {"[Detector.roof top]\nPort=dev/ttyUSB0\nSpeed=0\nThreshold=0,3\n[Detector.b]\n"
         "Threshold=0\n[Detector.c]\nPort=\nSpeed=-9600\n",
         {":1: [Detector.roof top]: 'roof top' is not an id of letters, digits, - and _",
          ":2: [Detector.roof top] Port: 'dev/ttyUSB0' is not a device path or COMn",
          ":3: [Detector.roof top] Speed: '0' is not a whole number from 1 on",
          ":4: [Detector.roof top] Threshold: '0,3' is not a number written with '.'",
          ":5: [Detector.b] Port: missing", ":6: [Detector.b] Threshold: '0' is not above zero",
          ":8: [Detector.c] Port: empty",
          ":9: [Detector.c] Speed: '-9600' is not a whole number from 1 on"}},
        {"[Detector.a]\nPort=COM1\n[Detector.b]\nPort=/dev/ttyUSB0\n[Detector.c]\nport=com01\n"
         "[Detector.d]\nPort=/dev/ttyUSB0 ; again\n[detector.A]\nPort=COM9\n",
         {":6: [Detector.c] port: 'com01' is also the port of [Detector.a] at line 2",
          ":8: [Detector.d] Port: '/dev/ttyUSB0' is also the port of [Detector.b] at line 4",
          ":9: [detector.A]: the section already begins at line 1"}},
        {"; nothing but\n[MQTT]\nHost=localhost\n",
         {": no detector: add a [Detector.<id>] section"}},
    };
    for (const TBadFile& file : files) {
        SCOPED_TRACE(file.content);
        const auto result = Read(file.content);
        ASSERT_TRUE(std::holds_alternative<TConfigFaultLines>(result));
        EXPECT_EQ(std::get<TConfigFaultLines>(result), Faults(file.faults));
    }
}

TEST_F(DaemonConfigTest, AFileThatCannotBeReadOrASiteWithoutHostNameIsAFault) {
    EXPECT_EQ(std::get<TConfigFaultLines>(ReadDaemonConfig(File(), "host-1")),
              Faults({": no such file"}));
    EXPECT_EQ(std::get<TConfigFaultLines>(Read(kDetector, "")),
              Faults({": [Service] Site: missing, and the host name that would stand for it "
                      "cannot be read"}));
}

TEST_F(DaemonConfigTest, MissingAndEmptyKeysTakeTheirDefaults) {
    const auto result =
        Read("[Service]\nSite=\n[MQTT]\nHost=localhost\nPort=\"\"\nKeepAlive= ; default\n" +
             std::string(kDetector));
    ASSERT_TRUE(std::holds_alternative<TDaemonConfig>(result));
    TDaemonConfig expected;
    expected.service.site = "host-1";
    expected.mqtt.emplace().host = "localhost";
    expected.detectors.push_back({"z", "/dev/z", kDefaultSpeed, std::nullopt});
    EXPECT_EQ(std::get<TDaemonConfig>(result), expected);

    // No host, no MQTT: the other keys are checked all the same.
    EXPECT_FALSE(std::get<TDaemonConfig>(Read("[MQTT]\nPort=1\n" + std::string(kDetector))).mqtt);
}

TEST_F(DaemonConfigTest, EveryKeyIsRead) {
    const auto result = Read(
        "[service]\r\nSITE=\"lab 1\"   ; quoted\r\nJournalFolder=/srv/journal\r\n"
        "Metrics=[::1]:9100\r\n[MQTT]\r\nHost=broker.example\r\nPort=8883\r\nTLS=true\r\n"
        "CAFile=@/ca.pem\r\nUser=logger\r\nPasswordFile=@/secret\r\nTopicPrefix=site/ornet5\r\n"
        "KeepAlive=65535\r\nHomeAssistant=FALSE\r\n[Detector.roof]\r\nPort=COM3\r\n"
        "Speed=115200\r\nThreshold=1.5e-1\r\n[Detector.cellar_2]\r\n"
        "Port=/dev/serial/by-id/usb-x;y\r\n");
    ASSERT_TRUE(std::holds_alternative<TDaemonConfig>(result))
        << testing::PrintToString(std::get<TConfigFaultLines>(result));
    TDaemonConfig expected;
    expected.service = {"lab 1", "/srv/journal", TListenAddress{"::1", 9100}};
    expected.mqtt = {"broker.example",
                     8883,
                     true,
                     Expand("@/ca.pem"),
                     "logger",
                     "pass word ",
                     "site/ornet5",
                     std::chrono::seconds(65535),
                     false};
    expected.detectors = {{"roof", "COM3", 115200, 0.15},
                          {"cellar_2", "/dev/serial/by-id/usb-x;y", kDefaultSpeed, {}}};
    EXPECT_EQ(std::get<TDaemonConfig>(result), expected);
}

TEST(DaemonConfigExample, TheShippedExampleIsAccepted) {
    const auto result = ReadDaemonConfig(ORNET5_EXAMPLE_CONFIG, "host-1");
    ASSERT_TRUE(std::holds_alternative<TDaemonConfig>(result))
        << testing::PrintToString(std::get<TConfigFaultLines>(result));
    const TDaemonConfig& config = std::get<TDaemonConfig>(result);
    EXPECT_EQ(config.service.metrics, (TListenAddress{"127.0.0.1", 9775}));
    EXPECT_FALSE(config.mqtt);
    ASSERT_EQ(config.detectors.size(), 1u);
    EXPECT_EQ(config.detectors[0].port, "/dev/ttyUSB0");
}

}  // namespace
}  // namespace ornet5
