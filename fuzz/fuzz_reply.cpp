// Feeds arbitrary bytes, as a detector might send them, to the reply checks,
// the reading decoder, the address parser, the integer conversion and the
// poll cycle's use of replies. Any crash, sanitizer report or broken rule
// below ends the run.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/exception.h"
#include "common/int_text.h"
#include "link/checksum.h"
#include "link/device_address.h"
#include "link/exchange.h"
#include "link/frame.h"
#include "measure/dose_text.h"
#include "measure/poll_cycle.h"
#include "measure/reading_decoder.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/manual_environment.h"
#include "tests/support/scripted_port.h"

namespace {

using namespace ornet5;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The acceptance rules restated from the frame layout, independent of the code.
bool ReplyAcceptable(std::string_view bytes) {
    if (bytes.size() < frame::kData || ChecksumBytes(bytes.substr(0, frame::kHeaderSize)) !=
                                           bytes.substr(frame::kHeaderChecksum, 4)) {
        return false;
    }
    const std::size_t length =
        static_cast<unsigned char>(bytes[8]) + 256u * static_cast<unsigned char>(bytes[9]);
    if (length == 0) {
        return true;
    }
    return bytes.size() == length + 18 &&
           ChecksumBytes(bytes.substr(14, length)) == bytes.substr(bytes.size() - 4);
}

void CheckValidation(std::string_view bytes) {
    try {
        const std::string reply = ValidateReply(bytes);
        Require(bytes.size() >= 14 || bytes.empty());
        Require(reply.empty() ? !ReplyAcceptable(bytes) : reply == bytes && ReplyAcceptable(bytes));
    } catch (const EProtocolCancel&) {
        Require(!bytes.empty() && bytes.size() < 14);
    }
}

void CheckDecoder(std::string_view bytes) {
    if (bytes.size() < 2) {
        return;
    }
    const auto word = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) +
                                                 256u * static_cast<unsigned char>(bytes[1]));
    const double reading = DecodeReading(word);
    Require(std::isfinite(reading) && reading >= 0);
    for (double value : {reading, reading * 100}) {
        const std::string text = DoseText(value, ",");
        Require(!text.empty() && text.size() < 16);
    }
}

void CheckAddressAndInteger(std::string_view bytes) {
    try {
        Require(ParseDeviceAddress(bytes).size() == 3);
    } catch (const EFormatError& error) {
        Require(error.Message() == kBadAddressMessage);
    }
    const auto value = TryStrToInt(bytes);
    bool thrown = false;
    try {
        Require(StrToInt(bytes) == value.value_or(0));
    } catch (const EConvertError& error) {
        thrown = true;
        Require(error.Message() == "'" + std::string(bytes) + "' is not a valid integer value");
    }
    Require(thrown == !value.has_value());
}

// The bytes as the reply to every request: the poll cycle may show a value
// or an address only from a read that holds an acceptable reply of the
// right length.
void CheckPollCycle(std::string_view bytes) {
    test::TManualEnvironment environment;
    test::TScriptedPort port{environment};
    port.dataReadTime = std::chrono::milliseconds(30);
    port.AnswerEveryWrite({std::string(bytes)});
    test::TFakePollValues values;
    test::TFixedFormats formats;
    TPollCycle cycle{port, values, environment, formats};

    bool identifyFits = false;
    bool readingFits = false;
    for (std::size_t start = 0; start < bytes.size(); start += kReadMaximum) {
        const std::string_view chunk = bytes.substr(start, kReadMaximum);
        identifyFits = identifyFits || (chunk.size() == 14 && ReplyAcceptable(chunk));
        readingFits = readingFits || (chunk.size() == 21 && ReplyAcceptable(chunk));
    }
    cycle.TimerTrelanTimer();
    Require(cycle.LinkState());
    Require(values.addressText.empty() || identifyFits);
    cycle.TimerTrelanTimer();
    Require(values.doseText.empty() || readingFits);
    Require(cycle.LinkState() == !values.doseText.empty());
}

// The bytes made into a frame with good checksums (and, when byte 8 is odd,
// a data length that fits), so that the runs also reach accepted replies.
std::string Repaired(std::string_view bytes) {
    std::string frame(bytes);
    if (frame.size() < frame::kData) {
        return frame;
    }
    if (frame.size() >= frame::kOverhead && (frame[8] & 1) != 0) {
        const std::size_t length = frame.size() - frame::kOverhead;
        frame[8] = static_cast<char>(length % 256);
        frame[9] = static_cast<char>(length / 256);
    }
    frame.replace(10, 4, ChecksumBytes(std::string_view(frame).substr(0, 10)));
    const std::size_t length =
        static_cast<unsigned char>(frame[8]) + 256u * static_cast<unsigned char>(frame[9]);
    if (length > 0 && frame.size() == length + frame::kOverhead) {
        frame.replace(frame.size() - 4, 4,
                      ChecksumBytes(std::string_view(frame).substr(14, length)));
    }
    return frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckValidation(bytes);
    CheckDecoder(bytes);
    CheckAddressAndInteger(bytes);
    CheckPollCycle(bytes);
    const std::string repaired = Repaired(bytes);
    CheckValidation(repaired);
    CheckPollCycle(repaired);
    return 0;
}
