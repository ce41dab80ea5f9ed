#pragma once

#include <cstdint>

namespace ornet5 {

// An open device as a serial backend knows it; the driver only stores it
// and hands it back. The value means nothing outside the backend that made
// it (a file descriptor on POSIX, a HANDLE on Windows).
struct TPortHandle {
    std::intptr_t value = -1;
    bool Valid() const { return value >= 0; }
};

}  // namespace ornet5
