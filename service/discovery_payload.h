#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ornet5 {

// A retained message that tells Home Assistant of an entity.
struct TDiscoveryMessage {
    std::string topic;
    std::string payload;
};

// Where a detector's entities find their values.
struct TDiscoveredDetector {
    std::string site;
    std::string id;
    // <prefix>/<site>/status: the entities are available while it says
    // "online".
    std::string statusTopic;
    // <prefix>/<site>/<id>, under which dose_uSv_h and alarm lie.
    std::string detectorTopic;
};

// Home Assistant's discovery messages for a detector: a sensor of its dose
// rate in µSv/h (state class measurement) and a binary sensor of its alarm
// ("ON"/"OFF"), both of one device named after the site and the detector,
// under homeassistant/sensor/<node>/config and
// homeassistant/binary_sensor/<node>/config. The node is made of the site
// and the id, spelled in the letters that Home Assistant takes in a topic
// (every other byte as "_" and two hex digits), so that two detectors
// never share one; the entities' unique ids are the node's.
std::array<TDiscoveryMessage, 2> DiscoveryMessages(const TDiscoveredDetector& detector);

// The topic where Home Assistant says "online" when it starts: the
// discovery messages are sent again then.
inline constexpr std::string_view kHomeAssistantStatusTopic = "homeassistant/status";

}  // namespace ornet5
