#include "serial/win32_backend.h"

#include <windows.h>

#include <algorithm>

#include "common/win32_utf8.h"
#include "serial/serial_enums.h"
#include "serial/win32_comm_state.h"
#include "serial/win32_read_wait.h"

namespace ornet5 {

namespace {

// Reads return at once and writes within their 10 ms slice (the timeouts
// set at open). This bound only matters for a device that ignores those
// timeouts: its call is then cancelled rather than left to hang the driver.
constexpr DWORD kTransferBoundMs = 100;

HANDLE ToHandle(TPortHandle handle) {
    return reinterpret_cast<HANDLE>(handle.value);
}

DWORD ToWaitMs(std::chrono::milliseconds timeout) {
    // INFINITE is one above the longest finite wait.
    return static_cast<DWORD>(
        std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INFINITE - 1));
}

// Calls larger than a DWORD can count move as much as it can; the caller
// comes back for the rest.
DWORD ToTransferSize(std::size_t count) {
    return static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD));
}

// Events fire only for what happens after the mask is set, so what is
// already there is looked at before waiting.
bool AlreadyThere(const COMSTAT& status, DWORD eventMask) {
    return eventMask == EV_RXCHAR ? status.cbInQue > 0 : status.cbOutQue == 0;
}

}  // namespace

TSerialError TranslateWin32Error(unsigned long errorCode) {
    switch (errorCode) {
        case ERROR_SUCCESS:
            return TSerialError::None;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
            return TSerialError::NotFound;
        // The serial port driver answers a second opener of a port with
        // "access denied"; a COM port has no permissions a user could lack.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return TSerialError::Busy;
        case ERROR_PRIVILEGE_NOT_HELD:
            return TSerialError::AccessDenied;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
        case ERROR_INVALID_PARAMETER:
            return TSerialError::Unsupported;
        case ERROR_INVALID_HANDLE:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_DEVICE_REMOVED:
        case ERROR_BAD_COMMAND:
        case ERROR_GEN_FAILURE:
        case ERROR_BROKEN_PIPE:
            return TSerialError::Gone;
        default:
            return TSerialError::Other;
    }
}

TWin32Backend::TWin32Backend() : ioDone_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (ioDone_ == nullptr) {
        FailLast();
    }
}

TWin32Backend::~TWin32Backend() {
    if (ioDone_ != nullptr) {
        CloseHandle(ioDone_);
    }
}

bool TWin32Backend::Fail(unsigned long errorCode) {
    lastErrorCode_ = errorCode;
    return false;
}

bool TWin32Backend::FailLast() {
    return Fail(GetLastError());
}

TSerialError TWin32Backend::LastError() const {
    return TranslateWin32Error(lastErrorCode_);
}

std::string TWin32Backend::LastErrorText() const {
    return lastErrorCode_ == ERROR_SUCCESS ? std::string() : Win32ErrorText(lastErrorCode_);
}

// "\\.\COMn" is the device's own name here, and any other text is handed
// to the system as it is.
std::string TWin32Backend::DevicePath(const std::string& portName) const {
    return portName;
}

// No sharing makes the open exclusive. The timeouts belong to the open
// handle; a device that refuses them is still usable, since every call
// below is bounded on its own.
TPortHandle TWin32Backend::OpenExclusive(const std::string& devicePath) {
    if (ioDone_ == nullptr) {
        return TPortHandle{};
    }
    const HANDLE device =
        CreateFileW(Wide(devicePath).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        FailLast();
        return TPortHandle{};
    }
    COMMTIMEOUTS timeouts = MakeCommTimeouts();
    SetCommTimeouts(device, &timeouts);
    const TPortHandle handle{reinterpret_cast<std::intptr_t>(device)};
    ports_[handle.value] = TPortState{devicePath, {}};
    return handle;
}

void TWin32Backend::Close(TPortHandle handle) {
    if (handle.Valid()) {
        ports_.erase(handle.value);
        CloseHandle(ToHandle(handle));
    }
}

bool TWin32Backend::ApplyLineSettings(TPortHandle handle, const TLineSettings& settings) {
    if (!handle.Valid()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    DCB dcb = MakeDcb(settings);
    return SetCommState(ToHandle(handle), &dcb) || FailLast();
}

bool TWin32Backend::SetQueueSizes(TPortHandle handle, std::uint32_t inSize, std::uint32_t outSize) {
    if (!handle.Valid()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    return SetupComm(ToHandle(handle), inSize, outSize) || FailLast();
}

bool TWin32Backend::Purge(TPortHandle handle, bool input, bool output) {
    if (!handle.Valid()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    const DWORD flags =
        (input ? PURGE_RXABORT | PURGE_RXCLEAR : 0) | (output ? PURGE_TXABORT | PURGE_TXCLEAR : 0);
    if (flags != 0 && !PurgeComm(ToHandle(handle), flags)) {
        return FailLast();
    }
    if (std::string* held = HeldInput(handle); input && held != nullptr) {
        held->clear();
    }
    return true;
}

// Also clears a pending line error (framing, parity, overrun), which the
// driver never reports.
std::optional<TQueueCounts> TWin32Backend::QueueCounts(TPortHandle handle) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!handle.Valid()) {
        Fail(ERROR_INVALID_HANDLE);
        return std::nullopt;
    }
    if (!ClearCommError(ToHandle(handle), &errors, &status)) {
        FailLast();
        return std::nullopt;
    }
    const std::string* held = HeldInput(handle);
    const auto heldCount = static_cast<std::uint32_t>(held != nullptr ? held->size() : 0);
    return TQueueCounts{status.cbInQue + heldCount, status.cbOutQue};
}

std::optional<std::uint8_t> TWin32Backend::ModemLines(TPortHandle handle) {
    DWORD status = 0;
    if (!handle.Valid()) {
        Fail(ERROR_INVALID_HANDLE);
        return std::nullopt;
    }
    if (!GetCommModemStatus(ToHandle(handle), &status)) {
        FailLast();
        return std::nullopt;
    }
    std::uint8_t lines = 0;
    lines |= (status & MS_CTS_ON) ? mlCTS : 0;
    lines |= (status & MS_DSR_ON) ? mlDSR : 0;
    lines |= (status & MS_RING_ON) ? mlRING : 0;
    lines |= (status & MS_RLSD_ON) ? mlRLSD : 0;
    return lines;
}

std::size_t TWin32Backend::Read(TPortHandle handle, char* buffer, std::size_t count) {
    const std::size_t held = TakeHeld(handle, buffer, count);
    return held + Transfer(handle, buffer + held, count - held, false);
}

std::size_t TWin32Backend::TakeHeld(TPortHandle handle, char* buffer, std::size_t count) {
    std::string* held = HeldInput(handle);
    if (held == nullptr) {
        return 0;
    }
    const std::size_t taken = std::min(count, held->size());
    held->copy(buffer, taken);
    held->erase(0, taken);
    return taken;
}

std::size_t TWin32Backend::Write(TPortHandle handle, const char* data, std::size_t count) {
    // WriteFile only reads from the buffer.
    return Transfer(handle, const_cast<char*>(data), count, true);
}

// The count always comes from the finished call: an overlapped call's own
// count is not reliable. A cancelled write still reports the bytes that
// went out before the cancel.
std::size_t TWin32Backend::Transfer(TPortHandle handle, char* buffer, std::size_t count,
                                    bool write) {
    if (!handle.Valid() || ioDone_ == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (count == 0) {
        return 0;
    }
    const HANDLE device = ToHandle(handle);
    OVERLAPPED call{};
    call.hEvent = ioDone_;
    const DWORD size = ToTransferSize(count);
    const BOOL started = write ? WriteFile(device, buffer, size, nullptr, &call)
                               : ReadFile(device, buffer, size, nullptr, &call);
    if (!started && GetLastError() != ERROR_IO_PENDING) {
        FailLast();
        return 0;
    }
    if (WaitForSingleObject(ioDone_, kTransferBoundMs) != WAIT_OBJECT_0) {
        CancelIo(device);
    }
    DWORD moved = 0;
    if (!GetOverlappedResult(device, &call, &moved, TRUE) &&
        GetLastError() != ERROR_OPERATION_ABORTED) {
        FailLast();
    }
    return moved;
}

// Overshoots by the failed event wait once per device under Wine, then
// waits by reading for the whole time.
TWaitResult TWin32Backend::WaitReadable(TPortHandle handle, std::chrono::milliseconds timeout) {
    if (const std::string* held = HeldInput(handle); held != nullptr && !held->empty()) {
        return TWaitResult::Ready;
    }
    if (!EventsFail(handle)) {
        if (const auto result = WaitForEvent(handle, EV_RXCHAR, timeout)) {
            return *result;
        }
        MarkEventsFail(handle);
    }
    return WaitByReading(handle, timeout);
}

// The system tells when the output queue has emptied, not when it has some
// room; an empty queue is the room the driver asks for. A device that
// cannot report events cannot be waited on for room: the driver then
// pauses on its own.
TWaitResult TWin32Backend::WaitWritable(TPortHandle handle, std::chrono::milliseconds timeout) {
    if (!EventsFail(handle)) {
        if (const auto result = WaitForEvent(handle, EV_TXEMPTY, timeout)) {
            return *result;
        }
        MarkEventsFail(handle);
    }
    return TWaitResult::Hangup;
}

// Empty for a handle this backend did not open.
std::string* TWin32Backend::HeldInput(TPortHandle handle) {
    const auto port = ports_.find(handle.value);
    return port != ports_.end() ? &port->second.heldInput : nullptr;
}

bool TWin32Backend::EventsFail(TPortHandle handle) const {
    const auto port = ports_.find(handle.value);
    return port != ports_.end() && eventlessDevices_.contains(port->second.devicePath);
}

void TWin32Backend::MarkEventsFail(TPortHandle handle) {
    if (const auto port = ports_.find(handle.value); port != ports_.end()) {
        eventlessDevices_.insert(port->second.devicePath);
    }
}

// Blocks in the system for at most the timeout. A wait that runs out is
// cancelled and then waited for, since the system writes into the call's
// block until it has completed.
std::optional<TWaitResult> TWin32Backend::WaitForEvent(TPortHandle handle, unsigned long eventMask,
                                                       std::chrono::milliseconds timeout) {
    if (!handle.Valid() || ioDone_ == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return TWaitResult::Hangup;
    }
    const HANDLE device = ToHandle(handle);
    DWORD errors = 0;
    COMSTAT status{};
    if (!SetCommMask(device, eventMask) || !ClearCommError(device, &errors, &status)) {
        FailLast();
        return TWaitResult::Hangup;
    }
    if (AlreadyThere(status, eventMask)) {
        return TWaitResult::Ready;
    }
    OVERLAPPED call{};
    call.hEvent = ioDone_;
    DWORD happened = 0;
    if (!WaitCommEvent(device, &happened, &call) && GetLastError() != ERROR_IO_PENDING) {
        FailLast();
        return TWaitResult::Hangup;
    }
    const bool ended = WaitForSingleObject(ioDone_, ToWaitMs(timeout)) == WAIT_OBJECT_0;
    if (!ended) {
        CancelIo(device);
    }
    DWORD unused = 0;
    if (GetOverlappedResult(device, &call, &unused, TRUE)) {
        // Also when the mask changed under the wait: the caller looks again.
        return TWaitResult::Ready;
    }
    if (GetLastError() == ERROR_OPERATION_ABORTED) {
        return ended ? std::nullopt : std::optional(TWaitResult::Timeout);
    }
    FailLast();
    return TWaitResult::Hangup;
}

TWaitResult TWin32Backend::WaitByReading(TPortHandle handle, std::chrono::milliseconds timeout) {
    if (!handle.Valid() || ioDone_ == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return TWaitResult::Hangup;
    }
    char byte = 0;
    switch (WaitByReadingOne(ToHandle(handle), ioDone_, ToWaitMs(timeout), byte)) {
        case TReadWaitResult::Byte:
            if (std::string* held = HeldInput(handle); held != nullptr) {
                held->push_back(byte);
            }
            return TWaitResult::Ready;
        case TReadWaitResult::Timeout:
            return TWaitResult::Timeout;
        case TReadWaitResult::Failed:
            break;
    }
    FailLast();
    return TWaitResult::Hangup;
}

std::unique_ptr<TSerialBackend> MakePlatformBackend() {
    return std::make_unique<TWin32Backend>();
}

}  // namespace ornet5
