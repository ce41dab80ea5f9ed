#include "serial/win32_comm_state.h"

namespace ornet5 {

namespace {

// How long one write may take before it returns with what the device took:
// the driver's write slice.
constexpr DWORD kWriteSliceMs = 10;

static_assert(static_cast<DWORD>(TDtrControl::Enable) == DTR_CONTROL_ENABLE &&
              static_cast<DWORD>(TDtrControl::Handshake) == DTR_CONTROL_HANDSHAKE);
static_assert(static_cast<DWORD>(TRtsControl::Enable) == RTS_CONTROL_ENABLE &&
              static_cast<DWORD>(TRtsControl::Handshake) == RTS_CONTROL_HANDSHAKE &&
              static_cast<DWORD>(TRtsControl::Toggle) == RTS_CONTROL_TOGGLE);

}  // namespace

DCB MakeDcb(const TLineSettings& settings) {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = settings.BaudRate;
    dcb.fBinary = settings.fBinary;
    dcb.fParity = settings.fParity;
    dcb.fOutxCtsFlow = settings.fOutxCtsFlow;
    dcb.fOutxDsrFlow = settings.fOutxDsrFlow;
    dcb.fDtrControl = static_cast<DWORD>(settings.fDtrControl);
    dcb.fDsrSensitivity = settings.fDsrSensitivity;
    dcb.fTXContinueOnXoff = settings.fTXContinueOnXoff;
    dcb.fOutX = settings.fOutX;
    dcb.fInX = settings.fInX;
    dcb.fErrorChar = settings.fErrorChar;
    dcb.fNull = settings.fNull;
    dcb.fRtsControl = static_cast<DWORD>(settings.fRtsControl);
    dcb.fAbortOnError = settings.fAbortOnError;
    dcb.XonLim = settings.XonLim;
    dcb.XoffLim = settings.XoffLim;
    dcb.ByteSize = settings.ByteSize;
    dcb.Parity = settings.Parity;
    dcb.StopBits = settings.StopBits;
    dcb.XonChar = settings.XonChar;
    dcb.XoffChar = settings.XoffChar;
    dcb.ErrorChar = settings.ErrorChar;
    dcb.EofChar = settings.EofChar;
    dcb.EvtChar = settings.EvtChar;
    return dcb;
}

COMMTIMEOUTS MakeCommTimeouts() {
    COMMTIMEOUTS timeouts{};
    // MAXDWORD with both totals 0 is the documented "return at once" read.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = kWriteSliceMs;
    return timeouts;
}

}  // namespace ornet5
