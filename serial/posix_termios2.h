#pragma once

#include <cstdint>
#include <optional>

#include "serial/line_settings.h"

namespace ornet5 {

// Puts a terminal into raw mode with the given line settings through the
// kernel's termios2 interface, which takes any integer speed (BOTHER), so
// 10000 bit/s works as well as 38400. Returns 0 or the errno value of the
// failed call; EINVAL for settings no terminal can take (a speed of 0, which
// would hang the line up, or an unknown byte size, parity or stop bits).
int SetTermios2(int fd, const TLineSettings& settings);

// The output speed in force, in bit/s; empty when fd is no terminal.
std::optional<std::uint32_t> Termios2Speed(int fd);

}  // namespace ornet5
