#include "tests/support/temp_config_home.h"

#include <stdlib.h>

namespace ornet5::test {

TTempConfigHome::TTempConfigHome() {
    if (const char* old = getenv("XDG_CONFIG_HOME")) {
        previous_ = old;
    }
    setenv("XDG_CONFIG_HOME", Path().c_str(), 1);
}

TTempConfigHome::~TTempConfigHome() {
    if (previous_) {
        setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

std::filesystem::path TTempConfigHome::ComLink(int number) const {
    return Path() / "ornet5" / ("com" + std::to_string(number));
}

}  // namespace ornet5::test
