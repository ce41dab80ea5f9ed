#include "serial/cp_drv.h"

#include <algorithm>
#include <array>
#include <utility>

#include "serial/line_settings.h"
#include "serial/port_names.h"
#include "serial/receive_poll.h"
#include "serial/serial_backend.h"
#include "serial/tick_clock.h"

namespace ornet5 {

namespace {

using std::chrono::milliseconds;

constexpr std::uint32_t kMinBufSize = 128;
constexpr std::uint32_t kMaxBufSize = 8192;
constexpr std::uint32_t kDefaultBufSize = 2048;
constexpr std::uint16_t kMinPollingDelay = 5;
// What the queue counters report on a closed port.
constexpr std::uint32_t kClosedQueueCount = 65535;

constexpr std::array<std::uint32_t, 16> kBaudRates = {0,     110,    300,    600,   1200,  2400,
                                                      4800,  9600,   14400,  19200, 38400, 56000,
                                                      57600, 115200, 128000, 256000};

template <typename TEnum>
bool InRange(TEnum value, TEnum first, TEnum last) {
    return value >= first && value <= last;
}

}  // namespace

// The open port as the receive poll sees it.
class TCPDrv::TPortInput final : public TReceiveInput {
  public:
    explicit TPortInput(TCPDrv& driver) : driver_(driver) {}
    std::uint32_t Waiting() override { return driver_.IsOpen() ? driver_.WaitingIn() : 0; }
    std::uint32_t Read(char* buffer, std::uint32_t count) override {
        if (!driver_.IsOpen()) {
            return 0;
        }
        return static_cast<std::uint32_t>(driver_.backend_->Read(driver_.handle_, buffer, count));
    }
    bool IsOpen() const override { return driver_.IsOpen(); }

  private:
    TCPDrv& driver_;
};

TCPDrv::TCPDrv(TTickSource& tickSource) : TCPDrv(tickSource, MakePlatformBackend()) {}

TCPDrv::TCPDrv(TTickSource& tickSource, std::unique_ptr<TSerialBackend> backend)
    : TCPDrv(tickSource, std::move(backend), SteadyTickClock()) {}

TCPDrv::TCPDrv(TTickSource& tickSource, std::unique_ptr<TSerialBackend> backend,
               const TTickClock& clock)
    : tickSource_(tickSource),
      backend_(backend ? std::move(backend) : MakePlatformBackend()),
      clock_(clock),
      receivePoll_(std::make_unique<TReceivePoll>(*this, clock_, kDefaultBufSize)),
      port_(pnCOM2),
      portName_(ComPortName(2)),
      baudRate_(br9600),
      baudRateValue_(9600),
      dataBits_(db8BITS),
      stopBits_(sb1BITS),
      parity_(ptNONE),
      hwFlow_(hfNONERTSON),
      swFlow_(sfNONE),
      inBufSize_(kDefaultBufSize),
      outBufSize_(kDefaultBufSize),
      packetSize_(-1),
      packetTimeout_(-1),
      packetMode_(pmDiscard),
      pollingDelay_(50),
      enableDtrOnOpen_(true),
      outputTimeout_(500),
      inputTimeout_(200),
      checkLineStatus_(false),
      receiveSuspendCount_(0) {}

TCPDrv::~TCPDrv() {
    ClosePort();
}

// ---- Properties. Values outside an enumeration are dropped like the
// assignments the driver cannot honour while open.

TPortNumber TCPDrv::Port() const {
    return port_;
}

void TCPDrv::SetPort(TPortNumber value) {
    if (IsOpen() || !InRange(value, pnCustom, pnCOM16)) {
        return;
    }
    port_ = value;
    if (value != pnCustom) {
        portName_ = ComPortName(static_cast<int>(value));
    }
}

const std::string& TCPDrv::PortName() const {
    return portName_;
}

void TCPDrv::SetPortName(const std::string& value) {
    if (IsOpen()) {
        return;
    }
    portName_ = value;
    port_ = pnCustom;
}

TBaudRate TCPDrv::BaudRate() const {
    return baudRate_;
}

void TCPDrv::SetBaudRate(TBaudRate value) {
    if (!InRange(value, brCustom, br256000)) {
        return;
    }
    baudRate_ = value;
    if (value != brCustom) {
        baudRateValue_ = kBaudRates[static_cast<std::size_t>(value)];
    }
    ReapplyIfOpen();
}

std::uint32_t TCPDrv::BaudRateValue() const {
    return baudRateValue_;
}

void TCPDrv::SetBaudRateValue(std::uint32_t value) {
    baudRateValue_ = value;
    baudRate_ = brCustom;
    ReapplyIfOpen();
}

TDataBits TCPDrv::DataBits() const {
    return dataBits_;
}

void TCPDrv::SetDataBits(TDataBits value) {
    if (InRange(value, db5BITS, db8BITS)) {
        dataBits_ = value;
        ReapplyIfOpen();
    }
}

TStopBits TCPDrv::StopBits() const {
    return stopBits_;
}

void TCPDrv::SetStopBits(TStopBits value) {
    if (InRange(value, sb1BITS, sb2BITS)) {
        stopBits_ = value;
        ReapplyIfOpen();
    }
}

TParity TCPDrv::Parity() const {
    return parity_;
}

void TCPDrv::SetParity(TParity value) {
    if (InRange(value, ptNONE, ptSPACE)) {
        parity_ = value;
        ReapplyIfOpen();
    }
}

THwFlowControl TCPDrv::HwFlow() const {
    return hwFlow_;
}

void TCPDrv::SetHwFlow(THwFlowControl value) {
    if (InRange(value, hfNONE, hfRTSCTS)) {
        hwFlow_ = value;
        ReapplyIfOpen();
    }
}

TSwFlowControl TCPDrv::SwFlow() const {
    return swFlow_;
}

void TCPDrv::SetSwFlow(TSwFlowControl value) {
    if (InRange(value, sfNONE, sfXONXOFF)) {
        swFlow_ = value;
        ReapplyIfOpen();
    }
}

std::uint32_t TCPDrv::InBufSize() const {
    return inBufSize_;
}

void TCPDrv::SetInBufSize(std::uint32_t value) {
    if (IsOpen()) {
        return;
    }
    inBufSize_ = std::clamp(value, kMinBufSize, kMaxBufSize);
    receivePoll_->SetBufferSize(inBufSize_);
    // Grows the buffer back when it became smaller than a packet.
    SetPacketSize(packetSize_);
}

std::uint32_t TCPDrv::OutBufSize() const {
    return outBufSize_;
}

void TCPDrv::SetOutBufSize(std::uint32_t value) {
    if (!IsOpen()) {
        outBufSize_ = std::clamp(value, kMinBufSize, kMaxBufSize);
    }
}

std::int16_t TCPDrv::PacketSize() const {
    return packetSize_;
}

// A packet must fit the receive buffer, which grows up to 8192 bytes while
// the port is closed and cannot grow while it is open. A larger packet size
// is refused (the assignment is dropped): cutting the input into packets of
// some other size than asked would hand the owner misaligned packets.
void TCPDrv::SetPacketSize(std::int16_t value) {
    if (value <= 0) {
        packetSize_ = -1;
        return;
    }
    const auto size = static_cast<std::uint32_t>(value);
    if (size > (IsOpen() ? inBufSize_ : kMaxBufSize)) {
        return;
    }
    packetSize_ = value;
    if (size > inBufSize_) {
        SetInBufSize(size);
    }
}

std::int32_t TCPDrv::PacketTimeout() const {
    return packetTimeout_;
}

void TCPDrv::SetPacketTimeout(std::int32_t value) {
    if (value <= 0) {
        packetTimeout_ = -1;
    } else if (value < pollingDelay_) {
        packetTimeout_ = pollingDelay_ + pollingDelay_ * 40 / 100;
    } else {
        packetTimeout_ = value;
    }
}

TPacketMode TCPDrv::PacketMode() const {
    return packetMode_;
}

void TCPDrv::SetPacketMode(TPacketMode value) {
    if (InRange(value, pmDiscard, pmPass)) {
        packetMode_ = value;
    }
}

std::uint16_t TCPDrv::PollingDelay() const {
    return pollingDelay_;
}

void TCPDrv::SetPollingDelay(std::uint16_t value) {
    const std::uint16_t delay = std::max(value, kMinPollingDelay);
    if (delay == pollingDelay_) {
        return;
    }
    pollingDelay_ = delay;
    if (IsOpen()) {
        tickSource_.Stop();
        StartReceivePoll();
    }
    SetPacketTimeout(packetTimeout_);
}

bool TCPDrv::EnableDTROnOpen() const {
    return enableDtrOnOpen_;
}
void TCPDrv::SetEnableDTROnOpen(bool value) {
    enableDtrOnOpen_ = value;
}
std::uint16_t TCPDrv::OutputTimeout() const {
    return outputTimeout_;
}
void TCPDrv::SetOutputTimeout(std::uint16_t value) {
    outputTimeout_ = value;
}
std::uint32_t TCPDrv::InputTimeout() const {
    return inputTimeout_;
}
void TCPDrv::SetInputTimeout(std::uint32_t value) {
    inputTimeout_ = value;
}
bool TCPDrv::CheckLineStatus() const {
    return checkLineStatus_;
}
void TCPDrv::SetCheckLineStatus(bool value) {
    checkLineStatus_ = value;
}

void TCPDrv::SetOnReceiveData(TReceiveDataEvent handler) {
    receivePoll_->SetOnReceiveData(std::move(handler));
}

void TCPDrv::SetOnReceivePacket(TReceivePacketEvent handler) {
    receivePoll_->SetOnReceivePacket(std::move(handler));
}

const char* TCPDrv::ReceiveBuffer() const {
    return receivePoll_->Buffer();
}

// ---- Opening, closing, line settings.

bool TCPDrv::OpenPort() {
    if (IsOpen()) {
        return true;
    }
    const std::string device = backend_->DevicePath(portName_);
    handle_ = backend_->OpenExclusive(device);
    if (!IsOpen() || !ApplyLineSettings()) {
        lastOpenFailure_ = {backend_->LastError(), device, backend_->LastErrorText()};
        ClosePort();
        return false;
    }
    lastOpenFailure_ = {};
    StartReceivePoll();
    return true;
}

void TCPDrv::ClosePort() {
    if (!IsOpen()) {
        return;
    }
    tickSource_.Stop();
    backend_->Close(handle_);
    handle_ = TPortHandle{};
}

bool TCPDrv::IsOpen() const {
    return handle_.Valid();
}

TOpenFailure TCPDrv::LastOpenFailure() const {
    return lastOpenFailure_;
}

bool TCPDrv::ApplyLineSettings() {
    if (!IsOpen()) {
        return false;
    }
    const TLineProperties properties{baudRateValue_, dataBits_, stopBits_,  parity_,
                                     hwFlow_,        swFlow_,   inBufSize_, enableDtrOnOpen_};
    if (!backend_->ApplyLineSettings(handle_, MakeLineSettings(properties))) {
        return false;
    }
    if (!PurgeBuffers(true, true)) {
        return false;
    }
    return backend_->SetQueueSizes(handle_, inBufSize_, outBufSize_);
}

void TCPDrv::ReapplyIfOpen() {
    if (IsOpen()) {
        ApplyLineSettings();
    }
}

bool TCPDrv::PurgeBuffers(bool input, bool output) {
    if (!IsOpen() || !backend_->Purge(handle_, input, output)) {
        return false;
    }
    receivePoll_->ForgetPendingPacket();
    return true;
}

// ---- Queue counters and modem lines. A failing count query counts as no
// bytes waiting and no room, so that the idle rules end reads and writes.

std::uint32_t TCPDrv::InputCount() {
    return IsOpen() ? WaitingIn() : kClosedQueueCount;
}

std::uint32_t TCPDrv::WaitingIn() {
    const auto counts = backend_->QueueCounts(handle_);
    return counts ? counts->waitingIn : 0;
}

// More bytes waiting than OutBufSize (the device's queue may be larger)
// means no room, not a count that wraps around to a huge one.
std::uint16_t TCPDrv::OutputFree() {
    if (!IsOpen()) {
        return kClosedQueueCount;
    }
    const auto counts = backend_->QueueCounts(handle_);
    if (!counts || counts->waitingOut >= outBufSize_) {
        return 0;
    }
    return static_cast<std::uint16_t>(outBufSize_ - counts->waitingOut);
}

std::uint8_t TCPDrv::ModemLines() {
    if (!IsOpen()) {
        return 0;
    }
    constexpr std::uint8_t kAllLines = mlCTS | mlDSR | mlRING | mlRLSD;
    return backend_->ModemLines(handle_).value_or(0) & kAllLines;
}

// ---- Receive poll.

void TCPDrv::SuspendReceivePoll() {
    ++receiveSuspendCount_;
}
void TCPDrv::ResumeReceivePoll() {
    --receiveSuspendCount_;
}

void TCPDrv::StartReceivePoll() {
    tickSource_.Start(milliseconds(pollingDelay_), [this] { OnTick(); });
}

void TCPDrv::OnTick() {
    if (!IsOpen() || receiveSuspendCount_ > 0) {
        return;
    }
    TPortInput input(*this);
    receivePoll_->Run(input, TPacketRule{packetSize_, packetTimeout_, packetMode_, baudRateValue_});
}

}  // namespace ornet5
