#pragma once

#include <cstdint>
#include <optional>

namespace ornet5 {

// The output speed in bit/s last set on the terminal behind fd (for a
// pseudo-terminal master: the speed the monitor set on the slave). Any
// integer speed, not only the standard ones. Empty when it cannot be read.
std::optional<std::uint32_t> LineSpeed(int fd);

}  // namespace ornet5
