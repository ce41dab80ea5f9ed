#pragma once

#include <optional>
#include <string>

namespace ornet5 {

// The port name of the n-th COM port as the driver forms it: "\\.\COMn".
std::string ComPortName(int number);

// The COM port number named by "\\.\COMn" (n at least 1, "COM" in any
// case); empty for any other text.
std::optional<int> ParseComPortName(const std::string& name);

}  // namespace ornet5
