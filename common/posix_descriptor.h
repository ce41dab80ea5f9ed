#pragma once

#include <unistd.h>

#include <utility>

namespace ornet5 {

// An open file descriptor owned alone: closed when the object goes, moved
// but never copied. -1 stands for none.
class TPosixDescriptor {
  public:
    TPosixDescriptor() = default;
    explicit TPosixDescriptor(int fd) : fd_(fd) {}
    TPosixDescriptor(TPosixDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    TPosixDescriptor& operator=(TPosixDescriptor&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    ~TPosixDescriptor() { Close(); }

    int Get() const { return fd_; }
    bool IsValid() const { return fd_ >= 0; }
    // Closes it now; nothing when there is none.
    void Close() {
        if (fd_ >= 0) {
            ::close(std::exchange(fd_, -1));
        }
    }

  private:
    int fd_ = -1;
};

}  // namespace ornet5
