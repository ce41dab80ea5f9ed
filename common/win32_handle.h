#pragma once

#include <windows.h>

namespace ornet5 {

// A file handle closed when it goes out of scope.
class TWin32Handle {
  public:
    explicit TWin32Handle(HANDLE handle) : handle_(handle) {}
    ~TWin32Handle() {
        if (IsValid()) {
            ::CloseHandle(handle_);
        }
    }
    TWin32Handle(const TWin32Handle&) = delete;
    TWin32Handle& operator=(const TWin32Handle&) = delete;

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // A written file's close can fail, which a save must see; the handle is
    // gone either way.
    bool Close() {
        const bool closed = ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

}  // namespace ornet5
