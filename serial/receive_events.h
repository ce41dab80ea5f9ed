#pragma once

#include <cstdint>
#include <functional>

namespace ornet5 {

class TCPDrv;

// Handlers get the driver, the first received byte (inside the driver's
// receive buffer, valid only during the call) and the byte count.
using TReceiveDataEvent =
    std::function<void(TCPDrv& sender, const char* dataPtr, std::uint32_t dataSize)>;
using TReceivePacketEvent =
    std::function<void(TCPDrv& sender, const char* packet, std::uint32_t dataSize)>;

}  // namespace ornet5
