#include "link/exchange.h"

#include <algorithm>
#include <array>
#include <exception>

#include "link/checksum.h"
#include "link/frame.h"

namespace ornet5 {

namespace {

bool HeaderChecksumFits(std::string_view bytes) {
    return ChecksumBytes(bytes.substr(0, frame::kHeaderSize)) ==
           bytes.substr(frame::kHeaderChecksum, frame::kChecksumSize);
}

bool DataChecksumFits(std::string_view bytes, std::size_t dataLength) {
    return ChecksumBytes(bytes.substr(frame::kData, dataLength)) ==
           bytes.substr(bytes.size() - frame::kChecksumSize);
}

}  // namespace

std::string ValidateReply(std::string_view bytesRead) {
    if (bytesRead.empty()) {
        return {};
    }
    if (bytesRead.size() < frame::kData) {
        throw EProtocolCancel(kBadPacketMessage);
    }
    if (!HeaderChecksumFits(bytesRead)) {
        return {};
    }
    const std::size_t dataLength = DataLengthOf(bytesRead);
    // A reply without data may end after its header checksum, so whatever
    // follows is taken along unchecked; the caller judges the length.
    if (dataLength == 0) {
        return std::string(bytesRead);
    }
    if (bytesRead.size() != dataLength + frame::kOverhead ||
        !DataChecksumFits(bytesRead, dataLength)) {
        return {};
    }
    return std::string(bytesRead);
}

std::string ReceiveReply(TBytePort& port) {
    std::array<char, kReadBufferSize> buffer{};
    std::uint32_t count = port.ReadBytes(buffer.data(), kReadMaximum);
    // A port that claims more than it was asked for must not make us read
    // past what it could have stored.
    if (count > kReadMaximum) {
        count = kReadMaximum;
    }
    return ValidateReply(std::string_view(buffer.data(), count));
}

namespace {

// Reads back to back until a valid reply or until the time limit has passed.
std::string PollForReply(TBytePort& port, TExchangeEnvironment& environment,
                         std::chrono::steady_clock::time_point sendTime) {
    const auto deadline = sendTime + kAttemptTimeLimit;
    for (;;) {
        const auto readStart = environment.Now();
        std::string reply = ReceiveReply(port);
        const auto now = environment.Now();
        if (!reply.empty() || now > deadline || environment.Ending()) {
            return reply;
        }
        // A read that came back at once found a port that cannot wait for
        // input (one that is not open); pausing keeps the attempt's length
        // without spinning on the CPU.
        if (now - readStart < kEmptyReadPause) {
            const auto pastDeadline = std::chrono::ceil<std::chrono::milliseconds>(deadline - now) +
                                      std::chrono::milliseconds(1);
            environment.Pause(std::min(kEmptyReadPause, pastDeadline));
        }
    }
}

}  // namespace

void ExchangeAttempt(TBytePort& port, TExchangeEnvironment& environment, const std::string& request,
                     std::string& reply) {
    if (environment.Ending()) {
        reply.clear();
        return;
    }
    if (environment.EscapeDown()) {
        environment.ShowStatus(kUserCancelMessage);
        throw EProtocolCancel(kUserCancelMessage);
    }
    if (!reply.empty()) {
        return;
    }
    try {
        // A short write is not looked at: the missing reply tells the same.
        port.SendText(request);
        reply = PollForReply(port, environment, environment.Now());
    } catch (const std::exception&) {
        // A bad packet, or any other failure, only costs this attempt.
        reply.clear();
    }
}

std::string Exchange(TBytePort& port, TExchangeEnvironment& environment,
                     const std::string& request) {
    std::string reply;
    // Always three attempts: after a valid reply the rest only look at the
    // Escape key, so a late cancel still discards the reply.
    for (int attempt = 0; attempt < 3; ++attempt) {
        ExchangeAttempt(port, environment, request, reply);
    }
    return reply;
}

}  // namespace ornet5
