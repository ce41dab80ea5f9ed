#pragma once

#include <windows.h>

namespace ornet5 {

// Wine cannot report events of a serial device that has no modem lines (a
// pseudo-terminal, which is how the simulator reaches a Windows program
// there): every WaitCommEvent on it ends at once as aborted. For such a
// device the wait for input reads the first byte instead, with the read
// timeouts set to "return as soon as a byte is there, or when the time is
// up", and hands the byte back to be held for the next read. Windows' own
// serial ports report their events and never come here.
enum class TReadWaitResult { Byte, Timeout, Failed };

// device is open for overlapped calls; ioDone is the manual-reset event the
// calls signal. The normal timeouts (MakeCommTimeouts) are in force again
// when it returns.
TReadWaitResult WaitByReadingOne(HANDLE device, HANDLE ioDone, DWORD timeoutMs, char& byte);

}  // namespace ornet5
