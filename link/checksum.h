#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ornet5 {

// The Trelan frame checksum: a 32-bit rotate-xor over the bytes. When the
// length is odd the first byte enters unrotated; the remaining bytes are
// folded in pairs, the first byte of a pair as the high half:
//   r := 0, or data[0] for an odd length;
//   for each pair (p, q): r := rotl(r, 5) XOR (256 * p + q).
std::uint32_t FrameChecksum(std::string_view data);

// FrameChecksum(data) as it travels in a frame: 4 bytes, least significant first.
std::string ChecksumBytes(std::string_view data);

}  // namespace ornet5
