#include "tools/ornet5-sim/sim_error.h"

#include <cerrno>
#include <system_error>

namespace ornet5 {

void ThrowSystemError(const std::string& what) {
    throw ESimError(what + ": " + std::generic_category().message(errno));
}

}  // namespace ornet5
