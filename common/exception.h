#pragma once

#include <stdexcept>
#include <string>

namespace ornet5 {

// Base of every error kind the system raises: an error is a message text.
// The error report shows Message() to the user, so it must be complete.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Integer text that does not convert.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace ornet5
