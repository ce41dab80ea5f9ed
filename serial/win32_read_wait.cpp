#include "serial/win32_read_wait.h"

#include "serial/win32_comm_state.h"

namespace ornet5 {

TReadWaitResult WaitByReadingOne(HANDLE device, HANDLE ioDone, DWORD timeoutMs, char& byte) {
    if (timeoutMs == 0) {
        return TReadWaitResult::Timeout;
    }
    COMMTIMEOUTS waitTimeouts = MakeCommTimeouts();
    waitTimeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    waitTimeouts.ReadTotalTimeoutConstant = timeoutMs;
    if (!SetCommTimeouts(device, &waitTimeouts)) {
        return TReadWaitResult::Failed;
    }
    OVERLAPPED call{};
    call.hEvent = ioDone;
    DWORD got = 0;
    bool failed = !ReadFile(device, &byte, 1, nullptr, &call) && GetLastError() != ERROR_IO_PENDING;
    if (!failed) {
        // The wait ends the read, not the device's timeout, which Wine does
        // not keep to the millisecond.
        if (WaitForSingleObject(ioDone, timeoutMs) != WAIT_OBJECT_0) {
            CancelIo(device);
        }
        failed = !GetOverlappedResult(device, &call, &got, TRUE) &&
                 GetLastError() != ERROR_OPERATION_ABORTED;
    }
    const DWORD readError = GetLastError();
    COMMTIMEOUTS normal = MakeCommTimeouts();
    SetCommTimeouts(device, &normal);
    SetLastError(readError);
    if (failed) {
        return TReadWaitResult::Failed;
    }
    return got == 1 ? TReadWaitResult::Byte : TReadWaitResult::Timeout;
}

}  // namespace ornet5
