#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "serial/receive_events.h"
#include "serial/serial_enums.h"
#include "serial/tick_clock.h"

namespace ornet5 {

// What the receive poll needs of the open port.
class TReceiveInput {
  public:
    // Bytes received and not yet read; 0 when the count cannot be had.
    virtual std::uint32_t Waiting() = 0;
    // Reads what is there, at most count bytes, without blocking.
    virtual std::uint32_t Read(char* buffer, std::uint32_t count) = 0;
    // False once a handler has closed the port.
    virtual bool IsOpen() const = 0;

  protected:
    ~TReceiveInput() = default;
};

// The driver's properties that shape delivery, as they stand at a tick.
struct TPacketRule {
    std::int16_t packetSize = -1;     // 0 or less: stream delivery
    std::int32_t packetTimeout = -1;  // 0 or less: incomplete packets wait
    TPacketMode packetMode = pmDiscard;
    std::uint32_t baudRateValue = 9600;
};

// How long packetSize characters of ten bit times take at the rate, rounded
// to whole milliseconds, halves to even. A rate of 0 moves no characters at
// all; the time is then 0 so that a pending start time stays where it is.
std::chrono::milliseconds PacketTime(std::int16_t packetSize, std::uint32_t baudRateValue);

// Hands input that no caller read to the receive handlers, as it comes or
// cut into packets. Owns the receive buffer, the handlers and the start
// time of a pending incomplete packet.
class TReceivePoll {
  public:
    TReceivePoll(TCPDrv& sender, const TTickClock& clock, std::uint32_t bufferSize);

    // A new zero-filled buffer; the driver calls this only while closed.
    void SetBufferSize(std::uint32_t size);
    const char* Buffer() const { return buffer_.data(); }
    std::uint32_t BufferSize() const { return static_cast<std::uint32_t>(buffer_.size()); }

    void SetOnReceiveData(TReceiveDataEvent handler);
    void SetOnReceivePacket(TReceivePacketEvent handler);

    // Forgets a pending incomplete packet (its bytes were purged).
    void ForgetPendingPacket() { packetStart_.reset(); }
    std::optional<std::chrono::milliseconds> PacketStart() const { return packetStart_; }

    // One tick over the port's input.
    void Run(TReceiveInput& input, const TPacketRule& rule);

  private:
    void DeliverStream(TReceiveInput& input, std::uint32_t waiting);
    void DeliverPackets(TReceiveInput& input, std::uint32_t waiting, const TPacketRule& rule);
    void FlushOrTimePacket(TReceiveInput& input, std::uint32_t waiting, const TPacketRule& rule);
    void CallDataHandler(std::uint32_t size);
    void CallPacketHandler(std::uint32_t size);

    TCPDrv& sender_;
    const TTickClock& clock_;
    std::vector<char> buffer_;
    // Shared so that a handler that replaces itself during its call keeps
    // running on a live object.
    std::shared_ptr<const TReceiveDataEvent> onReceiveData_;
    std::shared_ptr<const TReceivePacketEvent> onReceivePacket_;
    std::optional<std::chrono::milliseconds> packetStart_;
};

}  // namespace ornet5
