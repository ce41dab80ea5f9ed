#include "service/daemon_config.h"

#include <algorithm>
#include <limits>

#include "service/config_section.h"
#include "settings/ascii_text.h"
#include "settings/atomic_file.h"
#include "settings/ini_document.h"

namespace ornet5 {

namespace {

constexpr std::string_view kServiceName = "Service";
constexpr std::string_view kMqttName = "MQTT";
constexpr std::string_view kDetectorPrefix = "Detector.";

constexpr std::string_view kServiceKeys[] = {"Site", "JournalFolder", "Metrics"};
constexpr std::string_view kMqttKeys[] = {"Host",        "Port",      "TLS",
                                          "CAFile",      "User",      "PasswordFile",
                                          "TopicPrefix", "KeepAlive", "HomeAssistant"};
constexpr std::string_view kDetectorKeys[] = {"Port", "Speed", "Threshold"};

bool IsDetectorSection(std::string_view name) {
    return name.size() >= kDetectorPrefix.size() &&
           SameTextAscii(name.substr(0, kDetectorPrefix.size()), kDetectorPrefix);
}

// The sections that count, each the first of its name.
struct TSections {
    const TIniSectionLines* service = nullptr;
    const TIniSectionLines* mqtt = nullptr;
    std::vector<const TIniSectionLines*> detectors;
};

void CheckSectionLine(const TIniSectionLines& section, TConfigFaults& faults) {
    if (!section.closed) {
        faults.Add(section.line, section.name, "", "no ']' ends the section's name");
    } else if (!section.afterName.empty() && !section.afterName.starts_with(';')) {
        faults.Add(section.line, section.name, "", "text after ']' that is not a comment");
    }
}

TSections SortSections(const TIniDocument& document, TConfigFaults& faults) {
    for (const TIniKeyLine& key : document.keysOutsideSections) {
        faults.Add(key.line, "", key.key, "outside any section");
    }
    TSections sections;
    for (auto section = document.sections.begin(); section != document.sections.end(); ++section) {
        CheckSectionLine(*section, faults);
        const auto earlier = std::find_if(
            document.sections.begin(), section,
            [&](const auto& other) { return SameTextAscii(other.name, section->name); });
        if (earlier != section) {
            faults.Add(section->line, section->name, "",
                       "the section already begins at line " + std::to_string(earlier->line));
        } else if (SameTextAscii(section->name, kServiceName)) {
            sections.service = &*section;
        } else if (SameTextAscii(section->name, kMqttName)) {
            sections.mqtt = &*section;
        } else if (IsDetectorSection(section->name)) {
            sections.detectors.push_back(&*section);
        } else {
            faults.Add(section->line, section->name, "",
                       "unknown section (known: [Service], [MQTT], [Detector.<id>])");
        }
    }
    return sections;
}

// A section the file lacks reads as one without keys.
TIniSectionLines SectionOrEmpty(const TIniSectionLines* section, std::string_view name) {
    return section != nullptr ? *section : TIniSectionLines{0, std::string(name), true, {}, {}};
}

template <typename T, typename Parse>
auto AsOptional(Parse parse) {
    return [parse](std::string_view text) { return std::optional<T>(parse(text)); };
}

TServiceSection ReadService(const TIniSectionLines& lines, std::string_view hostName,
                            TConfigFaults& faults) {
    TConfigSection section(lines, kServiceKeys, faults);
    TServiceSection service;
    service.site = section.Read("Site", std::string(), ParseSite);
    if (section.Find("Site") != nullptr) {
        // Read above, or faulty.
    } else if (hostName.empty()) {
        faults.Add(lines.line, lines.name, "Site",
                   "missing, and the host name that would stand for it cannot be read");
    } else {
        try {
            service.site = ParseSite(hostName);
        } catch (const EConfigValueError& error) {
            faults.Add(lines.line, lines.name, "Site",
                       "missing, and the host name " + error.Message());
        }
    }
    service.journalFolder = section.Read("JournalFolder", service.journalFolder, ParseAbsolutePath);
    service.metrics =
        section.Read("Metrics", service.metrics, AsOptional<TListenAddress>(ParseListenAddress));
    return service;
}

// A file that the configuration names: its bytes, or none and a fault.
std::optional<std::string> ReadNamedFile(TConfigSection& section, std::string_view key,
                                         const std::filesystem::path& path) {
    TFileBytes file = ReadFileBytes(path);
    if (file.status == TFileReadStatus::Read) {
        return std::move(file.bytes);
    }
    const std::string name = "'" + path.string() + "'";
    section.Fault(*section.Find(key),
                  file.status == TFileReadStatus::Missing
                      ? name + " does not exist"
                      : name + " cannot be read (not a file, or no permission)");
    return std::nullopt;
}

void ReadLogin(TConfigSection& section, TMqttConfig& mqtt) {
    mqtt.user = section.Read("User", std::string(),
                             [](std::string_view text) { return std::string(text); });
    const auto passwordFile =
        section.Read("PasswordFile", std::filesystem::path(), ParseAbsolutePath);
    if (passwordFile.empty()) {
        return;
    }
    const TConfigSection::TValue& value = *section.Find("PasswordFile");
    if (mqtt.user.empty()) {
        section.Fault(value, "set without User");
    }
    if (const auto bytes = ReadNamedFile(section, "PasswordFile", passwordFile)) {
        const std::string password = bytes->substr(0, bytes->find_first_of("\r\n"));
        if (password.empty()) {
            section.Fault(value, "the first line of '" + passwordFile.string() + "' is empty");
        } else {
            mqtt.password = password;
        }
    }
}

std::optional<TMqttConfig> ReadMqtt(const TIniSectionLines& lines, TConfigFaults& faults) {
    TConfigSection section(lines, kMqttKeys, faults);
    TMqttConfig mqtt;
    mqtt.host = section.Read("Host", std::string(), ParseHost);
    mqtt.port = section.Read("Port", mqtt.port, ParsePortNumber);
    mqtt.tls = section.Read("TLS", mqtt.tls, ParseBoolean);
    mqtt.caFile = section.Read("CAFile", mqtt.caFile, ParseAbsolutePath);
    if (!mqtt.caFile.empty()) {
        if (!mqtt.tls) {
            section.Fault(*section.Find("CAFile"), "set while TLS is False");
        }
        ReadNamedFile(section, "CAFile", mqtt.caFile);
    }
    ReadLogin(section, mqtt);
    mqtt.topicPrefix = section.Read("TopicPrefix", mqtt.topicPrefix, ParseTopicPrefix);
    mqtt.keepAlive = section.Read("KeepAlive", mqtt.keepAlive, [](std::string_view text) {
        return std::chrono::seconds(
            ParseWholeNumber(text, static_cast<std::int32_t>(kMinKeepAlive.count()),
                             static_cast<std::int32_t>(kMaxKeepAlive.count())));
    });
    mqtt.homeAssistant = section.Read("HomeAssistant", mqtt.homeAssistant, ParseBoolean);
    if (mqtt.host.empty()) {
        return std::nullopt;
    }
    return mqtt;
}

struct TDetectorReading {
    TDetectorConfig config;
    std::string sectionName;
    std::size_t portLine = 0;  // 0 when the port is missing or faulty
    std::string portKey;       // as the file writes it
};

TDetectorReading ReadDetector(const TIniSectionLines& lines, TConfigFaults& faults) {
    TConfigSection section(lines, kDetectorKeys, faults);
    TDetectorReading reading;
    reading.sectionName = lines.name;
    try {
        reading.config.id =
            ParseDetectorId(std::string_view(lines.name).substr(kDetectorPrefix.size()));
    } catch (const EConfigValueError& error) {
        faults.Add(lines.line, lines.name, "", error.Message());
    }
    section.Require("Port");
    reading.config.port = section.Read("Port", std::string(), ParseDetectorPort);
    if (!reading.config.port.empty()) {
        reading.portLine = section.Find("Port")->line;
        reading.portKey = section.Find("Port")->key;
    }
    reading.config.speed = section.Read("Speed", reading.config.speed, [](std::string_view text) {
        return ParseWholeNumber(text, 1, std::numeric_limits<std::int32_t>::max());
    });
    reading.config.threshold =
        section.Read("Threshold", reading.config.threshold, AsOptional<double>(ParseThreshold));
    return reading;
}

// What a port is compared by: COMn without regard to letter case, any
// other text as written.
std::string PortIdentity(std::string_view port) {
    const auto number = ComPortNumber(port);
    return number ? "COM" + std::to_string(*number) : std::string(port);
}

void CheckSharedPorts(const std::vector<TDetectorReading>& readings, TConfigFaults& faults) {
    for (auto reading = readings.begin(); reading != readings.end(); ++reading) {
        if (reading->portLine == 0) {
            continue;
        }
        const auto earlier = std::find_if(readings.begin(), reading, [&](const auto& other) {
            return other.portLine != 0 &&
                   PortIdentity(other.config.port) == PortIdentity(reading->config.port);
        });
        if (earlier != reading) {
            faults.Add(reading->portLine, reading->sectionName, reading->portKey,
                       "'" + reading->config.port + "' is also the port of [" +
                           earlier->sectionName + "] at line " + std::to_string(earlier->portLine));
        }
    }
}

}  // namespace

std::variant<TDaemonConfig, TConfigFaultLines> ReadDaemonConfig(const std::filesystem::path& file,
                                                                std::string_view hostName) {
    TConfigFaults faults(file.string());
    const TFileBytes content = ReadFileBytes(file);
    if (content.status != TFileReadStatus::Read) {
        faults.Add(0, "", "",
                   content.status == TFileReadStatus::Missing
                       ? "no such file"
                       : "cannot be read (not a file, or no permission)");
        return faults.Lines();
    }
    const TIniDocument document = ReadIniDocument(content.bytes);
    const TSections sections = SortSections(document, faults);
    TDaemonConfig config;
    config.service = ReadService(SectionOrEmpty(sections.service, kServiceName), hostName, faults);
    if (sections.mqtt != nullptr) {
        config.mqtt = ReadMqtt(*sections.mqtt, faults);
    }
    std::vector<TDetectorReading> readings;
    for (const TIniSectionLines* section : sections.detectors) {
        readings.push_back(ReadDetector(*section, faults));
        config.detectors.push_back(readings.back().config);
    }
    CheckSharedPorts(readings, faults);
    if (sections.detectors.empty()) {
        faults.Add(0, "", "", "no detector: add a [Detector.<id>] section");
    }
    if (!faults.Empty()) {
        return faults.Lines();
    }
    return config;
}

}  // namespace ornet5
