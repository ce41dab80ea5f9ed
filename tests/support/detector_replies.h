#pragma once

#include <string>

#include "link/device_address.h"
#include "link/frame.h"

namespace ornet5::test {

// The detector's two replies as it sends them: the identify reply ends
// after its header checksum; the dose reply carries the reading's word,
// low byte first, after an unused data byte.
inline std::string IdentifyReply(const char* address = "4.2.31") {
    return BuildFrame(kOwnAddress, address, 0, 0, "").substr(0, frame::kData);
}

inline std::string DoseReply(const char* address, int low, int high) {
    const std::string data = {'\0', static_cast<char>(low), static_cast<char>(high)};
    return BuildFrame(kOwnAddress, address, 6, 13, data);
}

}  // namespace ornet5::test
