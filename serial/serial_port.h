#pragma once

#include <cstdint>

#include "serial/byte_port.h"
#include "serial/serial_error.h"

namespace ornet5 {

enum TPortNumber : int {
    pnCustom,
    pnCOM1,
    pnCOM2,
    pnCOM3,
    pnCOM4,
    pnCOM5,
    pnCOM6,
    pnCOM7,
    pnCOM8,
    pnCOM9,
    pnCOM10,
    pnCOM11,
    pnCOM12,
    pnCOM13,
    pnCOM14,
    pnCOM15,
    pnCOM16
};

// What the poll cycle uses of a serial port: choose it, set its speed, open
// and close it, and the two byte calls of the exchange.
class TSerialPort : public TBytePort {
  public:
    virtual void SetPort(TPortNumber value) = 0;
    virtual void SetBaudRateValue(std::uint32_t value) = 0;
    virtual bool OpenPort() = 0;
    virtual void ClosePort() = 0;
    virtual bool IsOpen() const = 0;
    // Why the last OpenPort failed; kind None after a successful one.
    virtual TOpenFailure LastOpenFailure() const { return {}; }
    // From any thread, for an owner that is ending: the read or write under
    // way, and every later one, returns at once with what it has moved.
    // There is no way back.
    virtual void Abort() {}
};

}  // namespace ornet5
