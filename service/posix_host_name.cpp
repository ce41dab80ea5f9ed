#include <unistd.h>

#include <array>
#include <climits>

#include "service/daemon_config.h"

namespace ornet5 {

std::string MachineHostName() {
    std::array<char, HOST_NAME_MAX + 1> buffer{};
    // One byte stays zero: a name cut to the buffer need not end in one.
    if (gethostname(buffer.data(), buffer.size() - 1) != 0) {
        return {};
    }
    return buffer.data();
}

}  // namespace ornet5
