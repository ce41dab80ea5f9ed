// Kept apart: <asm/termbits.h>, which has the integer-speed termios2, clashes
// with the C library's <termios.h>.
#include "tools/ornet5-sim/line_speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace ornet5 {

std::optional<std::uint32_t> LineSpeed(int fd) {
    termios2 settings{};
    if (ioctl(fd, TCGETS2, &settings) != 0) {
        return std::nullopt;
    }
    return settings.c_ospeed;
}

}  // namespace ornet5
