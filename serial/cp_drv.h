#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "serial/port_handle.h"
#include "serial/receive_events.h"
#include "serial/serial_enums.h"
#include "serial/serial_port.h"
#include "serial/tick_source.h"

namespace ornet5 {

class TSerialBackend;
class TTickClock;
class TReceivePoll;

// One serial port: opens the device named by PortName with the configured
// line settings, writes byte blocks with an idle timeout, reads byte blocks
// until the line falls idle, and while open hands unread input to the
// receive handlers on each tick of the owner's tick source. Never throws:
// every outcome is a result value.
class TCPDrv : public TSerialPort {
  public:
    // tickSource drives the receive poll and must outlive the driver.
    explicit TCPDrv(TTickSource& tickSource);
    // For tests: a backend other than the platform's own.
    TCPDrv(TTickSource& tickSource, std::unique_ptr<TSerialBackend> backend);
    ~TCPDrv() override;
    TCPDrv(const TCPDrv&) = delete;
    TCPDrv& operator=(const TCPDrv&) = delete;

    // Properties. Assignment rules: see each setter's definition.
    TPortNumber Port() const;
    void SetPort(TPortNumber value) override;
    const std::string& PortName() const;
    void SetPortName(const std::string& value);
    TBaudRate BaudRate() const;
    void SetBaudRate(TBaudRate value);
    std::uint32_t BaudRateValue() const;
    void SetBaudRateValue(std::uint32_t value) override;
    TDataBits DataBits() const;
    void SetDataBits(TDataBits value);
    TStopBits StopBits() const;
    void SetStopBits(TStopBits value);
    TParity Parity() const;
    void SetParity(TParity value);
    THwFlowControl HwFlow() const;
    void SetHwFlow(THwFlowControl value);
    TSwFlowControl SwFlow() const;
    void SetSwFlow(TSwFlowControl value);
    std::uint32_t InBufSize() const;
    void SetInBufSize(std::uint32_t value);
    std::uint32_t OutBufSize() const;
    void SetOutBufSize(std::uint32_t value);
    std::int16_t PacketSize() const;
    void SetPacketSize(std::int16_t value);
    std::int32_t PacketTimeout() const;
    void SetPacketTimeout(std::int32_t value);
    TPacketMode PacketMode() const;
    void SetPacketMode(TPacketMode value);
    std::uint16_t PollingDelay() const;
    void SetPollingDelay(std::uint16_t value);
    bool EnableDTROnOpen() const;
    void SetEnableDTROnOpen(bool value);
    std::uint16_t OutputTimeout() const;
    void SetOutputTimeout(std::uint16_t value);
    std::uint32_t InputTimeout() const;
    void SetInputTimeout(std::uint32_t value);
    bool CheckLineStatus() const;
    void SetCheckLineStatus(bool value);
    void SetOnReceiveData(TReceiveDataEvent handler);
    void SetOnReceivePacket(TReceivePacketEvent handler);

    // Operations.
    bool OpenPort() override;
    void ClosePort() override;
    bool IsOpen() const override;
    TOpenFailure LastOpenFailure() const override;
    bool ApplyLineSettings();
    bool PurgeBuffers(bool input, bool output);
    std::uint32_t InputCount();
    std::uint16_t OutputFree();
    std::uint8_t ModemLines();
    void SuspendReceivePoll();
    void ResumeReceivePoll();
    std::uint32_t SendBytesTimed(const char* data, std::uint32_t count, std::uint32_t timeoutMs);
    std::uint32_t SendBytes(const char* data, std::uint32_t count);
    // True when every byte was written; returns once they have left the port.
    bool SendText(const std::string& text) override;
    std::uint32_t ReadBytes(char* buffer, std::uint32_t maximum) override;
    // The one call that may come from another thread. A wait in the OS
    // already under way ends by its own time limit, at most the input
    // timeout (200 ms) or the output timeout (500 ms).
    void Abort() override { aborted_ = true; }

    // For tests: also a clock other than the steady clock, for every wait,
    // idle rule and packet timeout of the driver; it must outlive the driver.
    TCPDrv(TTickSource& tickSource, std::unique_ptr<TSerialBackend> backend,
           const TTickClock& clock);
    // The InBufSize bytes in which the receive handlers get their data.
    const char* ReceiveBuffer() const;

  private:
    class TPortInput;

    void ReapplyIfOpen();
    void StartReceivePoll();
    void OnTick();
    std::uint32_t WaitingIn();
    enum class TDirection { In, Out };
    bool AwaitDevice(TDirection direction, std::chrono::milliseconds wait, bool waitOnDevice);
    void WaitUntilSent();
    std::chrono::milliseconds LineTime(std::uint32_t count) const;

    TTickSource& tickSource_;
    std::unique_ptr<TSerialBackend> backend_;
    const TTickClock& clock_;
    std::unique_ptr<TReceivePoll> receivePoll_;
    TPortHandle handle_;
    TOpenFailure lastOpenFailure_;

    TPortNumber port_;
    std::string portName_;
    TBaudRate baudRate_;
    std::uint32_t baudRateValue_;
    TDataBits dataBits_;
    TStopBits stopBits_;
    TParity parity_;
    THwFlowControl hwFlow_;
    TSwFlowControl swFlow_;
    std::uint32_t inBufSize_;
    std::uint32_t outBufSize_;
    std::int16_t packetSize_;
    std::int32_t packetTimeout_;
    TPacketMode packetMode_;
    std::uint16_t pollingDelay_;
    bool enableDtrOnOpen_;
    std::uint16_t outputTimeout_;
    std::uint32_t inputTimeout_;
    bool checkLineStatus_;
    std::int32_t receiveSuspendCount_;
    std::atomic<bool> aborted_{false};
};

}  // namespace ornet5
