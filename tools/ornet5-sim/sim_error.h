#pragma once

#include "common/exception.h"

namespace ornet5 {

// The simulator cannot set up or use its pseudo-terminal, link or signals.
class ESimError : public Exception {
  public:
    using Exception::Exception;
};

// "<what>: <the OS error text of errno>"
[[noreturn]] void ThrowSystemError(const std::string& what);

}  // namespace ornet5
