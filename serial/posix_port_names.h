#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ornet5 {

// What name resolution asks of the environment; injected in tests.
struct TPortNameEnvironment {
    // The value of an environment variable, empty when unset.
    std::function<std::optional<std::string>(const std::string& variable)> getVariable;
    // Whether anything, a link included (even one whose target is
    // missing), stands at the path.
    std::function<bool(const std::string& path)> exists;
};

// The device path that a port name stands for on Linux: "\\.\COMn" is
// $XDG_CONFIG_HOME/ornet5/comN (default ~/.config/ornet5/comN) when that
// link exists, so a user or the simulator can link any device there, else
// /dev/ttyS<n-1>. A link whose device has gone away (an unplugged adapter,
// a stopped simulator) is still the port: the open then fails, rather than
// silently polling whatever serial device /dev/ttyS<n-1> is. Any other
// text is taken as a path.
std::string ResolvePortName(const std::string& name, const TPortNameEnvironment& environment);

// The same with the process environment and file system.
TPortNameEnvironment ProcessPortNameEnvironment();

}  // namespace ornet5
