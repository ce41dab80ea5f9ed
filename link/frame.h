#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ornet5 {

// Trelan frame layout: a 10-byte header, its checksum, the data and the
// data checksum. Multi-byte numbers are little-endian.
namespace frame {
inline constexpr std::size_t kDestination = 0;  // 3 address bytes
inline constexpr std::size_t kSource = 3;       // 3 address bytes
inline constexpr std::size_t kCommand = 6;
inline constexpr std::size_t kParameter = 7;
inline constexpr std::size_t kDataLength = 8;  // 2 bytes
inline constexpr std::size_t kHeaderSize = 10;
inline constexpr std::size_t kHeaderChecksum = 10;  // 4 bytes
inline constexpr std::size_t kData = 14;
inline constexpr std::size_t kChecksumSize = 4;
// Header, header checksum and data checksum around the data.
inline constexpr std::size_t kOverhead = kData + kChecksumSize;
inline constexpr std::size_t kMaxAddressText = 11;  // "255.255.255"
inline constexpr std::size_t kMaxData = 65535;
}  // namespace frame

// The little-endian 16-bit number at offset and offset + 1 of bytes, which
// must hold both.
inline std::uint16_t Word16At(std::string_view bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) +
                                      256u * static_cast<unsigned char>(bytes[offset + 1]));
}

// The data length field of a frame that holds at least its header.
inline std::size_t DataLengthOf(std::string_view frameBytes) {
    return Word16At(frameBytes, frame::kDataLength);
}

inline constexpr const char* kAllNodesAddress = "255.255.255";
inline constexpr const char* kOwnAddress = "1.1.1";

// A request frame from source to destination (address texts; each is cut to
// its first 11 characters before parsing). data holds at most 65535 bytes;
// the data checksum is appended also when data is empty.
// Throws EFormatError for a malformed address, and std::length_error for
// data that does not fit the 16-bit length field.
std::string BuildFrame(std::string_view destination, std::string_view source, std::uint8_t command,
                       std::uint8_t parameter, std::string_view data);

}  // namespace ornet5
