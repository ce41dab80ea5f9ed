#include "service/discovery_payload.h"

#include <cstdio>

#include "service/state_payload.h"

namespace ornet5 {

namespace {

// Letters, digits and '-' as they are; every other byte, '_' included, as
// "_" and two hex digits, so that "__" can part the site from the id.
std::string NodePart(std::string_view text) {
    std::string part;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || byte == '-') {
            part += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "_%02x", byte);
            part += escaped;
        }
    }
    return part;
}

std::string Field(std::string_view name, std::string_view text) {
    return JsonString(name) + ":" + JsonString(text);
}

}  // namespace

std::array<TDiscoveryMessage, 2> DiscoveryMessages(const TDiscoveredDetector& detector) {
    const std::string node = "ornet5_" + NodePart(detector.site) + "__" + NodePart(detector.id);
    const std::string common =
        Field("availability_topic", detector.statusTopic) + "," +
        Field("payload_available", "online") + "," + Field("payload_not_available", "offline") +
        ",\"device\":{\"identifiers\":[" + JsonString(node) + "]," +
        Field("name", "ОРНЕТ-5 " + detector.id + " (" + detector.site + ")") + "," +
        Field("model", "ОРНЕТ-5") + "," + Field("suggested_area", detector.site) + "}";
    const std::string sensor = "{" + Field("name", "Мощность дозы") + "," +
                               Field("unique_id", node + "_dose") + "," +
                               Field("object_id", node + "_dose") + "," +
                               Field("state_topic", detector.detectorTopic + "/dose_uSv_h") + "," +
                               Field("unit_of_measurement", "µSv/h") + "," +
                               Field("state_class", "measurement") + "," + common + "}";
    const std::string alarm = "{" + Field("name", "Тревога") + "," +
                              Field("unique_id", node + "_alarm") + "," +
                              Field("object_id", node + "_alarm") + "," +
                              Field("state_topic", detector.detectorTopic + "/alarm") + "," +
                              Field("payload_on", "ON") + "," + Field("payload_off", "OFF") + "," +
                              Field("device_class", "safety") + "," + common + "}";
    return {{{"homeassistant/sensor/" + node + "/config", sensor},
             {"homeassistant/binary_sensor/" + node + "/config", alarm}}};
}

}  // namespace ornet5
