#pragma once

#include <string>

namespace ornet5 {

// The operating system's error codes, reduced to what the driver, its
// users and its tests can tell apart. Each backend translates its codes in
// one place.
enum class TSerialError {
    None,
    NotFound,      // no such device
    Busy,          // opened exclusively by someone else
    AccessDenied,  // no permission
    Unsupported,   // the device lacks the feature (no modem lines on a pty)
    Gone,          // the device went away while open
    Other
};

// Why the last open of a port failed, for the user's diagnostics: the
// translated kind, the device the port name stood for, and the operating
// system's own text. Kind None: the last open succeeded (or none was made).
struct TOpenFailure {
    TSerialError kind = TSerialError::None;
    std::string device;
    std::string systemText;

    bool operator==(const TOpenFailure&) const = default;
};

}  // namespace ornet5
