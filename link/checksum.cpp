#include "link/checksum.h"

#include <bit>

namespace ornet5 {

std::uint32_t FrameChecksum(std::string_view data) {
    const auto byte = [&data](std::size_t i) { return static_cast<std::uint8_t>(data[i]); };
    std::uint32_t r = 0;
    std::size_t i = 0;
    if (data.size() % 2 == 1) {
        r = byte(0);
        i = 1;
    }
    for (; i < data.size(); i += 2) {
        r = std::rotl(r, 5) ^ ((std::uint32_t{byte(i)} << 8) | byte(i + 1));
    }
    return r;
}

std::string ChecksumBytes(std::string_view data) {
    const std::uint32_t sum = FrameChecksum(data);
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((sum >> (8 * i)) & 0xFFu);
    }
    return bytes;
}

}  // namespace ornet5
