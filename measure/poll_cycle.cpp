#include "measure/poll_cycle.h"

#include <cstdint>
#include <string>

#include "common/int_text.h"
#include "link/device_address.h"
#include "link/frame.h"
#include "measure/dose_text.h"
#include "measure/reading_decoder.h"

namespace ornet5 {

namespace {

// The identify reply is a header with its checksum and no data; the dose
// reply carries three data bytes, the reading's word after the first.
constexpr std::size_t kIdentifyReplySize = frame::kData;
constexpr std::size_t kDoseDataLength = 3;
constexpr std::size_t kDoseReplySize = frame::kOverhead + kDoseDataLength;
constexpr std::size_t kReadingAt = frame::kData + 1;
static_assert(kIdentifyReplySize == 14 && kDoseReplySize == 21);
constexpr int kPortIndexCount = 8;  // COM1 to COM8
constexpr double kRentgenPerSievert = 100.0;

constexpr const char* kIdentifyFailedText = "Ошибка при попытке инициализации";
constexpr const char* kIdentifyDoneText = "Инициализация прошла успешно";
constexpr const char* kReadFailedText = "Ошибка при чтении дозы из прибора";

std::string IdentifyRequest() {
    return BuildFrame(kAllNodesAddress, kOwnAddress, 0, 0, "");
}

std::string ReadDoseRequest() {
    return BuildFrame(kAllNodesAddress, kOwnAddress, 6, 13, std::string(1, '\0'));
}

std::string AnswererAddress(const std::string& reply) {
    return DeviceAddressText(std::string_view(reply).substr(frame::kSource, 3));
}

// Only a reply that carries its three data bytes had their checksum
// compared on receipt; a header with data length 0 lets any bytes follow it
// unchecked, and line noise must never be shown as a dose.
bool IsDoseReply(const std::string& reply) {
    return reply.size() == kDoseReplySize && DataLengthOf(reply) == kDoseDataLength;
}

std::uint16_t ReadingWord(const std::string& reply) {
    return Word16At(reply, kReadingAt);
}

// The port as the exchange sees it, counting the bytes that come back.
class TCountingPort : public TBytePort {
  public:
    explicit TCountingPort(TBytePort& port) : port_(port) {}
    bool SendText(const std::string& bytes) override { return port_.SendText(bytes); }
    std::uint32_t ReadBytes(char* buffer, std::uint32_t maximum) override {
        const std::uint32_t count = port_.ReadBytes(buffer, maximum);
        bytesRead_ += count;
        return count;
    }
    std::uint64_t BytesRead() const { return bytesRead_; }

  private:
    TBytePort& port_;
    std::uint64_t bytesRead_ = 0;
};

}  // namespace

bool IsFailedCycle(TCycleStatus status) {
    return status == TCycleStatus::NoReply || status == TCycleStatus::BadReply ||
           status == TCycleStatus::Cancelled;
}

TPollCycle::TPollCycle(TSerialPort& port, TPollValues& values, TExchangeEnvironment& environment,
                       const TRegionalFormats& formats)
    : port_(port), values_(values), environment_(environment), formats_(formats) {}

void TPollCycle::TimerTrelanTimer() {
    if (linkState_) {
        ReadDose();
    } else {
        Identify();
    }
}

void TPollCycle::Identify() {
    // Set before anything can fail, so that the next cycle reads the dose
    // whatever happens here.
    linkState_ = true;
    values_.SetStatusText("");
    const std::string reply = RunExchange(IdentifyRequest());
    if (reply.size() != kIdentifyReplySize) {
        values_.SetStatusText(kIdentifyFailedText);
        Report({Failure(), std::nullopt, {}});
        return;
    }
    const std::string address = AnswererAddress(reply);
    values_.SetAddressText(address);
    values_.SetStatusText(kIdentifyDoneText);
    Report({TCycleStatus::Identified, std::nullopt, address});
}

void TPollCycle::ReadDose() {
    values_.SetStatusText("");
    std::string reply;
    try {
        reply = RunExchange(ReadDoseRequest());
    } catch (...) {
        // A cancel or a bad speed text brings no reading either; a bad speed
        // text even stops every later one until it is mended.
        values_.SetDoseCurrent(false);
        throw;
    }
    if (!IsDoseReply(reply)) {
        values_.SetStatusText(kReadFailedText);
        values_.SetDoseCurrent(false);
        linkState_ = false;
        Report({Failure(), std::nullopt, {}});
        return;
    }
    const std::string address = AnswererAddress(reply);
    values_.SetAddressText(address);
    const std::uint16_t word = ReadingWord(reply);
    const double reading = DecodeReading(word);
    const double shown = values_.RentgenChosen() ? reading * kRentgenPerSievert : reading;
    values_.SetDoseText(DoseText(shown, formats_.DecimalSeparator()));
    values_.SetDoseCurrent(true);
    // Quotes the label as it now stands, so the status repeats what is shown.
    values_.SetStatusText("В " + formats_.LongTimeNow() + " мощность дозы составляла " +
                          values_.DoseText());
    Report({TCycleStatus::Ok, ReadingDecimalValue(word), address});
}

std::string TPollCycle::RunExchange(const std::string& request) {
    TCountingPort counted(port_);
    bytesSeen_ = false;
    try {
        OpenLink();
        // A cancel leaves the port open; the next cycle's CloseLink closes it.
        std::string reply = Exchange(counted, environment_, request);
        CloseLink();
        bytesSeen_ = counted.BytesRead() > 0;
        return reply;
    } catch (const EProtocolCancel&) {
        Report({TCycleStatus::Cancelled, std::nullopt, {}});
        throw;
    } catch (...) {
        Report({TCycleStatus::NoReply, std::nullopt, {}});
        throw;
    }
}

TCycleStatus TPollCycle::Failure() const {
    return bytesSeen_ ? TCycleStatus::BadReply : TCycleStatus::NoReply;
}

void TPollCycle::Report(const TCycleOutcome& outcome) {
    if (observer_ != nullptr) {
        observer_->CycleEnded(outcome);
    }
}

void TPollCycle::OpenLink() {
    const int portIndex = values_.PortIndex();
    if (portIndex >= 0 && portIndex < kPortIndexCount) {
        port_.SetPort(static_cast<TPortNumber>(pnCOM1 + portIndex));
    }
    port_.SetBaudRateValue(static_cast<std::uint32_t>(StrToInt(values_.SpeedText())));
    // Not looked at: a port that did not open simply gives no reply.
    port_.OpenPort();
}

void TPollCycle::CloseLink() {
    port_.ClosePort();
}

}  // namespace ornet5
