#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "service/config_values.h"

namespace ornet5 {

// The configuration of the logging service ornet5d, read from its INI file
// (the project's INI layer; comments with ";", also after a value):
//
//   [Service]
//   Site=           topic level and label value; default: the host name
//   JournalFolder=  absolute; default kDefaultJournalFolder
//   Metrics=        HOST:PORT where /metrics listens; missing or empty: none
//   [MQTT]          missing section, or Host missing or empty: no MQTT
//   Host=  Port=1883  TLS=False  CAFile=  User=  PasswordFile=
//   TopicPrefix=ornet5  KeepAlive=30  HomeAssistant=True
//   [Detector.<id>] one per detector, at least one
//   Port=  (required)  Speed=9600  Threshold=  (missing or empty: no alarm)
//
// A key given with an empty value takes its default, as a missing one does.
// The value rules are those of config_values.h. Every fault of a file is
// found in one reading, each as one line "FILE:LINE: [Section] Key: what is
// wrong": an unknown section or key, a section or key written twice, a bad
// value, a section line without "]" or with more than a comment after it,
// a key outside any section, no detector, two detectors on one port.

inline constexpr std::string_view kDefaultJournalFolder = "/var/lib/ornet5/journal";
inline constexpr std::uint16_t kDefaultMqttPort = 1883;
inline constexpr std::string_view kDefaultTopicPrefix = "ornet5";
inline constexpr std::chrono::seconds kDefaultKeepAlive{30};
// Shorter keep-alives than 5 s drop a connection over a slow link for
// nothing; 65535 s is the most that MQTT's two-byte field holds.
inline constexpr std::chrono::seconds kMinKeepAlive{5};
inline constexpr std::chrono::seconds kMaxKeepAlive{65535};
inline constexpr std::int32_t kDefaultSpeed = 9600;

struct TServiceSection {
    std::string site;
    std::filesystem::path journalFolder{kDefaultJournalFolder};
    std::optional<TListenAddress> metrics;

    bool operator==(const TServiceSection&) const = default;
};

struct TMqttConfig {
    std::string host;
    std::uint16_t port = kDefaultMqttPort;
    // The broker's certificate is verified: against caFile when it is not
    // empty, else against the system's certificate authorities. CAFile is
    // refused without TLS, where it would silently do nothing.
    bool tls = false;
    std::filesystem::path caFile;
    // Empty: no login. A user without PasswordFile logs in with a user name
    // and no password, which brokers may allow; a PasswordFile without User
    // is refused.
    std::string user;
    // The first line of PasswordFile, every byte but the line end kept; it
    // never appears in a fault line.
    std::optional<std::string> password;
    std::string topicPrefix{kDefaultTopicPrefix};
    std::chrono::seconds keepAlive = kDefaultKeepAlive;
    bool homeAssistant = true;  // discovery messages

    bool operator==(const TMqttConfig&) const = default;
};

struct TDetectorConfig {
    std::string id;  // from the section's name
    // As written: a device path, or COMn (see ComPortNumber). Two detectors
    // on one port are refused, comparing the texts as written and COMn
    // without regard to letter case; a COMn and the device it resolves to
    // are not compared, since the resolution depends on the machine.
    std::string port;
    std::int32_t speed = kDefaultSpeed;  // bit/s
    std::optional<double> threshold;     // µSv/h; none: no alarm

    bool operator==(const TDetectorConfig&) const = default;
};

struct TDaemonConfig {
    TServiceSection service;
    std::optional<TMqttConfig> mqtt;
    std::vector<TDetectorConfig> detectors;  // in file order

    bool operator==(const TDaemonConfig&) const = default;
};

// The fault lines of a file, in line order; those of no line (a file that
// cannot be read, no detector) last.
using TConfigFaultLines = std::vector<std::string>;

// Reads and checks the file; the named PasswordFile and CAFile are read
// too. hostName stands for a missing Site; when it is empty too, that is a
// fault. Faults name the file as file.string() gives it.
std::variant<TDaemonConfig, TConfigFaultLines> ReadDaemonConfig(const std::filesystem::path& file,
                                                                std::string_view hostName);

// The machine's host name, the Site of a file without one; empty when it
// cannot be read.
std::string MachineHostName();

}  // namespace ornet5
