#include "serial/receive_poll.h"

#include <algorithm>
#include <utility>

namespace ornet5 {

namespace {

constexpr std::int64_t kBitsPerCharacter = 10;
constexpr std::int64_t kMillisecondsPerSecond = 1000;

}  // namespace

std::chrono::milliseconds PacketTime(std::int16_t packetSize, std::uint32_t baudRateValue) {
    if (packetSize <= 0 || baudRateValue == 0) {
        return std::chrono::milliseconds(0);
    }
    // Integer arithmetic keeps the halfway cases exact.
    const std::int64_t numerator = packetSize * kBitsPerCharacter * kMillisecondsPerSecond;
    const std::int64_t rate = baudRateValue;
    std::int64_t quotient = numerator / rate;
    const std::int64_t twiceRemainder = 2 * (numerator % rate);
    if (twiceRemainder > rate || (twiceRemainder == rate && quotient % 2 == 1)) {
        ++quotient;
    }
    return std::chrono::milliseconds(quotient);
}

TReceivePoll::TReceivePoll(TCPDrv& sender, const TTickClock& clock, std::uint32_t bufferSize)
    : sender_(sender), clock_(clock), buffer_(bufferSize, '\0') {}

void TReceivePoll::SetBufferSize(std::uint32_t size) {
    buffer_.assign(size, '\0');
}

void TReceivePoll::SetOnReceiveData(TReceiveDataEvent handler) {
    onReceiveData_ =
        handler ? std::make_shared<const TReceiveDataEvent>(std::move(handler)) : nullptr;
}

void TReceivePoll::SetOnReceivePacket(TReceivePacketEvent handler) {
    onReceivePacket_ =
        handler ? std::make_shared<const TReceivePacketEvent>(std::move(handler)) : nullptr;
}

void TReceivePoll::Run(TReceiveInput& input, const TPacketRule& rule) {
    const std::uint32_t waiting = input.Waiting();
    if (rule.packetSize <= 0) {
        DeliverStream(input, waiting);
    } else if (waiting >= static_cast<std::uint32_t>(rule.packetSize)) {
        DeliverPackets(input, waiting, rule);
    } else {
        FlushOrTimePacket(input, waiting, rule);
    }
}

// Everything that was waiting goes out in this tick, a buffer at a time.
// Bytes that arrive meanwhile wait for the next tick, so a fast line cannot
// hold the tick forever. The buffer is looked up afresh after each handler,
// which may have closed, resized and reopened the port.
void TReceivePoll::DeliverStream(TReceiveInput& input, std::uint32_t waiting) {
    while (waiting > 0 && input.IsOpen()) {
        const std::uint32_t count = std::min(waiting, BufferSize());
        const std::uint32_t got = input.Read(buffer_.data(), count);
        if (got == 0) {
            return;  // the device has gone or the input was purged
        }
        waiting -= std::min(got, waiting);
        CallDataHandler(got);
    }
}

void TReceivePoll::DeliverPackets(TReceiveInput& input, std::uint32_t waiting,
                                  const TPacketRule& rule) {
    const auto packetSize = static_cast<std::uint32_t>(rule.packetSize);
    const auto packetTime = PacketTime(rule.packetSize, rule.baudRateValue);
    while (waiting >= packetSize && input.IsOpen()) {
        const std::uint32_t got = input.Read(buffer_.data(), std::min(packetSize, BufferSize()));
        if (got == 0) {
            return;
        }
        waiting -= packetSize;
        if (waiting == 0) {
            packetStart_.reset();
        } else if (packetStart_) {
            *packetStart_ += packetTime;
        }
        CallPacketHandler(got);
    }
    // The rest of a further packet with no start time yet (the queue held
    // only whole packets when the last tick looked) starts its clock now,
    // as bytes seen for the first time at a tick do.
    if (waiting > 0 && !packetStart_ && input.IsOpen()) {
        packetStart_ = clock_.Now();
    }
}

void TReceivePoll::FlushOrTimePacket(TReceiveInput& input, std::uint32_t waiting,
                                     const TPacketRule& rule) {
    const auto now = clock_.Now();
    const bool timedOut = rule.packetTimeout > 0 && packetStart_ &&
                          now - *packetStart_ > std::chrono::milliseconds(rule.packetTimeout);
    if (!timedOut) {
        if (waiting > 0 && !packetStart_) {
            packetStart_ = now;
        }
        return;
    }
    packetStart_.reset();
    const std::uint32_t got = input.Read(buffer_.data(), std::min(waiting, BufferSize()));
    if (got > 0 && rule.packetMode == pmPass) {
        CallPacketHandler(got);
    }
}

void TReceivePoll::CallDataHandler(std::uint32_t size) {
    const auto handler = onReceiveData_;
    if (handler) {
        (*handler)(sender_, buffer_.data(), size);
    }
}

void TReceivePoll::CallPacketHandler(std::uint32_t size) {
    const auto handler = onReceivePacket_;
    if (handler) {
        (*handler)(sender_, buffer_.data(), size);
    }
}

}  // namespace ornet5
