#include "link/frame.h"

#include <stdexcept>

#include "link/checksum.h"
#include "link/device_address.h"

namespace ornet5 {

std::string BuildFrame(std::string_view destination, std::string_view source, std::uint8_t command,
                       std::uint8_t parameter, std::string_view data) {
    if (data.size() > frame::kMaxData) {
        // The length field would silently wrap and the peer would read garbage.
        throw std::length_error("frame data longer than 65535 bytes");
    }
    const std::size_t length = data.size();
    std::string header = ParseDeviceAddress(destination.substr(0, frame::kMaxAddressText));
    header += ParseDeviceAddress(source.substr(0, frame::kMaxAddressText));
    header += static_cast<char>(command);
    header += static_cast<char>(parameter);
    header += static_cast<char>(length & 0xFFu);
    header += static_cast<char>(length >> 8);

    std::string result = header;
    result += ChecksumBytes(header);
    result += data;
    result += ChecksumBytes(data);
    return result;
}

}  // namespace ornet5
