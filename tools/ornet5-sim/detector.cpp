#include "tools/ornet5-sim/detector.h"

#include <utility>

#include "common/hex_text.h"
#include "link/checksum.h"
#include "link/device_address.h"
#include "link/frame.h"

namespace ornet5 {

namespace {

// Inverting every bit of a checksum byte can never leave the checksum valid.
constexpr char kCorruptMask = static_cast<char>(0xFF);

std::uint8_t ByteAt(std::string_view bytes, std::size_t offset) {
    return static_cast<std::uint8_t>(bytes[offset]);
}

bool HeaderChecksumHolds(std::string_view bytes) {
    return bytes.substr(frame::kHeaderChecksum, frame::kChecksumSize) ==
           ChecksumBytes(bytes.substr(0, frame::kHeaderSize));
}

std::string Describe(std::string_view frame) {
    return "command " + std::to_string(ByteAt(frame, frame::kCommand)) + " parameter " +
           std::to_string(ByteAt(frame, frame::kParameter)) + " length " +
           std::to_string(DataLengthOf(frame));
}

}  // namespace

TDetector::TDetector(TDetectorSetup setup) : setup_(std::move(setup)) {}

TFeedResult TDetector::Feed(std::string_view bytes) {
    TFeedResult result;
    pending_.append(bytes);
    while (TakeFrame(result)) {
    }
    FlushSkipped(result.log);
    return result;
}

std::vector<TLogLine> TDetector::DiscardPending() {
    std::vector<TLogLine> log;
    FlushSkipped(log);
    if (!pending_.empty()) {
        log.push_back({ELogKind::Note, "dropped an unfinished frame: " + HexText(pending_)});
        pending_.clear();
    }
    return log;
}

bool TDetector::TakeFrame(TFeedResult& result) {
    if (pending_.size() < frame::kData) {
        return false;
    }
    if (!HeaderChecksumHolds(pending_)) {
        skipped_ += pending_.front();
        pending_.erase(0, 1);
        return true;
    }
    const std::size_t frameSize = DataLengthOf(pending_) + frame::kOverhead;
    if (pending_.size() < frameSize) {
        return false;
    }
    FlushSkipped(result.log);
    const std::string request = pending_.substr(0, frameSize);
    const std::string_view data(request.data() + frame::kData, frameSize - frame::kOverhead);
    if (request.substr(frameSize - frame::kChecksumSize) != ChecksumBytes(data)) {
        result.log.push_back(
            {ELogKind::Note, "ignored a frame with a bad data checksum: " + HexText(request)});
        // The header may have been a chance match inside garbage, with a real
        // frame starting within what looked like its data.
        skipped_ += pending_.front();
        pending_.erase(0, 1);
        return true;
    }
    pending_.erase(0, frameSize);
    Answer(request, result);
    return true;
}

bool TDetector::IsForUs(std::string_view request) const {
    const std::string_view destination = request.substr(frame::kDestination, 3);
    return destination == ParseDeviceAddress(kAllNodesAddress) || destination == setup_.address;
}

void TDetector::Answer(std::string_view request, TFeedResult& result) {
    const std::uint8_t command = ByteAt(request, frame::kCommand);
    const std::uint8_t parameter = ByteAt(request, frame::kParameter);
    const bool identify = command == kIdentifyCommand && parameter == kIdentifyParameter &&
                          DataLengthOf(request) == 0;
    const bool readDose = command == kReadDoseCommand && parameter == kReadDoseParameter;
    if (!IsForUs(request)) {
        result.log.push_back(
            {ELogKind::Note, "ignored a frame for node " +
                                 DeviceAddressText(request.substr(frame::kDestination, 3)) + ": " +
                                 HexText(request)});
        return;
    }
    if (!identify && !readDose) {
        result.log.push_back(
            {ELogKind::Note, "ignored " + Describe(request) + ": " + HexText(request)});
        return;
    }
    result.log.push_back({ELogKind::Request, std::string(identify ? "identify" : "read-dose") +
                                                 " request: " + HexText(request)});
    if (setup_.faults.silent) {
        result.log.push_back({ELogKind::Note, "silent: no reply"});
        return;
    }
    if (identify) {
        Send(IdentifyReply(request), false, result);
    } else {
        Send(ReadDoseReply(request), true, result);
    }
}

std::string TDetector::IdentifyReply(std::string_view request) const {
    const std::string source = DeviceAddressText(request.substr(frame::kSource, 3));
    // The identify reply ends after the header checksum.
    return BuildFrame(source, DeviceAddressText(setup_.address), kIdentifyCommand,
                      kIdentifyParameter, "")
        .substr(0, frame::kData);
}

std::string TDetector::ReadDoseReply(std::string_view request) {
    const std::string source = DeviceAddressText(request.substr(frame::kSource, 3));
    const std::uint16_t word = setup_.nextReading();
    std::string data(1, '\0');
    data += static_cast<char>(word & 0xFFu);
    data += static_cast<char>(word >> 8);
    return BuildFrame(source, DeviceAddressText(setup_.address), kReadDoseCommand,
                      kReadDoseParameter, data);
}

void TDetector::Send(std::string reply, bool hasDataChecksum, TFeedResult& result) const {
    std::string remarks;
    if (setup_.faults.badHeaderChecksum) {
        reply[frame::kHeaderChecksum] ^= kCorruptMask;
        remarks += " (header checksum corrupted)";
    }
    if (setup_.faults.badDataChecksum && hasDataChecksum) {
        reply[reply.size() - frame::kChecksumSize] ^= kCorruptMask;
        remarks += " (data checksum corrupted)";
    }
    TReply out;
    if (setup_.faults.split) {
        const std::size_t half = reply.size() / 2;
        out.pieces = {reply.substr(0, half), reply.substr(half)};
        remarks +=
            " (in two pieces: " + HexText(out.pieces[0]) + " | " + HexText(out.pieces[1]) + ")";
    } else {
        out.pieces = {reply};
    }
    result.log.push_back({ELogKind::Reply, "reply: " + HexText(reply) + remarks});
    result.replies.push_back(std::move(out));
}

void TDetector::FlushSkipped(std::vector<TLogLine>& log) {
    if (!skipped_.empty()) {
        log.push_back({ELogKind::Note, "skipped " + std::to_string(skipped_.size()) +
                                           " byte(s): " + HexText(skipped_)});
        skipped_.clear();
    }
}

}  // namespace ornet5
