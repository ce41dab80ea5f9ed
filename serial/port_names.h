#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ornet5 {

// The port name of the n-th COM port as the driver forms it: "\\.\COMn".
std::string ComPortName(int number);

// The COM port number named by "\\.\COMn" (n at least 1, "COM" in any
// case); empty for any other text.
std::optional<int> ParseComPortName(const std::string& name);

// What name resolution asks of the environment; injected in tests.
struct TPortNameEnvironment {
    // The value of an environment variable, empty when unset.
    std::function<std::optional<std::string>(const std::string& variable)> getVariable;
    // Whether a file (or a link to one) exists at the path.
    std::function<bool(const std::string& path)> exists;
};

// The device path that a port name stands for on Linux: "\\.\COMn" is
// $XDG_CONFIG_HOME/ornet5/comN (default ~/.config/ornet5/comN) when that
// exists, so a user or the simulator can link any device there, else
// /dev/ttyS<n-1>. Any other text is taken as a path.
std::string ResolvePortName(const std::string& name, const TPortNameEnvironment& environment);

// The same with the process environment and file system.
TPortNameEnvironment ProcessPortNameEnvironment();

}  // namespace ornet5
