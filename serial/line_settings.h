#pragma once

#include <cstdint>

#include "serial/serial_enums.h"

namespace ornet5 {

// The control modes of the DTR and RTS output lines.
enum class TDtrControl : std::uint8_t { Disable, Enable, Handshake };
enum class TRtsControl : std::uint8_t { Disable, Enable, Handshake, Toggle };

// The line settings of an open port, laid out as the Windows device control
// block that the driver's behaviour is defined by, so that every backend
// maps one and the same description. Field names follow that block.
struct TLineSettings {
    std::uint32_t BaudRate = 0;
    bool fBinary = false;
    bool fParity = false;  // parity checking of input
    bool fOutxCtsFlow = false;
    bool fOutxDsrFlow = false;
    TDtrControl fDtrControl = TDtrControl::Disable;
    bool fDsrSensitivity = false;
    bool fTXContinueOnXoff = false;
    bool fOutX = false;
    bool fInX = false;
    bool fErrorChar = false;
    bool fNull = false;
    TRtsControl fRtsControl = TRtsControl::Disable;
    bool fAbortOnError = false;
    std::uint16_t XonLim = 0;
    std::uint16_t XoffLim = 0;
    std::uint8_t ByteSize = 0;  // 5 ... 8
    std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;

    bool operator==(const TLineSettings&) const = default;
};

// The driver's properties that shape the line.
struct TLineProperties {
    std::uint32_t baudRateValue = 9600;
    TDataBits dataBits = db8BITS;
    TStopBits stopBits = sb1BITS;
    TParity parity = ptNONE;
    THwFlowControl hwFlow = hfNONERTSON;
    TSwFlowControl swFlow = sfNONE;
    std::uint32_t inBufSize = 2048;
    bool enableDtrOnOpen = true;
};

TLineSettings MakeLineSettings(const TLineProperties& properties);

}  // namespace ornet5
