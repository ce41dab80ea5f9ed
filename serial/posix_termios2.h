#pragma once

#include <cstdint>
#include <optional>

#include "serial/line_settings.h"

namespace ornet5 {

// The terminal flags for a line, as termios2 takes them (the values are the
// kernel's, which the C library's <termios.h> shares). Empty for settings no
// terminal can take: a speed of 0, which would hang the line up, or an
// unknown byte size, parity or stop bits. Kept apart from the ioctl so that
// it can be checked without a device: a pseudo-terminal forces 8 bits and
// no parity whatever it is told.
struct TTermiosFlags {
    std::uint32_t iflag = 0;
    std::uint32_t oflag = 0;
    std::uint32_t cflag = 0;
    std::uint32_t lflag = 0;
};
std::optional<TTermiosFlags> MakeTermiosFlags(const TLineSettings& settings);

// Puts a terminal into raw mode with the given line settings through the
// kernel's termios2 interface, which takes any integer speed (BOTHER), so
// 10000 bit/s works as well as 38400. Returns 0 or the errno value of the
// failed call; EINVAL for settings that MakeTermiosFlags refuses.
int SetTermios2(int fd, const TLineSettings& settings);

// The output speed in force, in bit/s; empty when fd is no terminal.
std::optional<std::uint32_t> Termios2Speed(int fd);

}  // namespace ornet5
