#include "tests/support/temp_config_home.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

namespace ornet5::test {

TTempConfigHome::TTempConfigHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ornet5-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
    if (const char* old = getenv("XDG_CONFIG_HOME")) {
        previous_ = old;
    }
    setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
}

TTempConfigHome::~TTempConfigHome() {
    if (previous_) {
        setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TTempConfigHome::ComLink(int number) const {
    return path_ / "ornet5" / ("com" + std::to_string(number));
}

}  // namespace ornet5::test
