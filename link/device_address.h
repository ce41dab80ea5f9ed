#pragma once

#include <string>
#include <string_view>

#include "common/exception.h"

namespace ornet5 {

// A malformed device address text.
class EFormatError : public Exception {
  public:
    using Exception::Exception;
};

inline constexpr const char* kBadAddressMessage = "Неправильно задан адрес устройства";

// "a.b.c" to its three bytes, each the low 8 bits of its number (so "256"
// gives 00 and "-1" gives FF). Blanks and control characters around the
// text are ignored. Throws EFormatError on any malformed text.
std::string ParseDeviceAddress(std::string_view text);

// The text form of address bytes: "4.2.31" for 04 02 1F. Every byte given
// is written, joined by full stops, so any other count gives as many numbers
// (none for no bytes); nothing past the view is read.
std::string DeviceAddressText(std::string_view addressBytes);

}  // namespace ornet5
