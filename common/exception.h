#pragma once

#include <exception>
#include <string>
#include <utility>

namespace ornet5 {

// Base of every error kind the system raises: an error is a message text.
// The error report shows Message() to the user, so it must be complete; it
// is kept as a counted string so that a quoted user text with a zero byte
// survives whole.
class Exception : public std::exception {
  public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }

  private:
    std::string message_;
};

// Shown for an error that carries no message of its own.
inline constexpr const char* kUnknownErrorMessage = "Неизвестная ошибка";

// The error's message for the user: the system's own errors keep their
// whole text, zero bytes included.
inline std::string ExceptionMessage(const std::exception& error) {
    const auto* ownError = dynamic_cast<const Exception*>(&error);
    return ownError != nullptr ? ownError->Message() : std::string(error.what());
}

// Integer text that does not convert.
class EConvertError : public Exception {
  public:
    using Exception::Exception;
};

}  // namespace ornet5
