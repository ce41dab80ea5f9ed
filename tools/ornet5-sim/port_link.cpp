#include "tools/ornet5-sim/port_link.h"

#include <unistd.h>

#include <string>
#include <system_error>
#include <utility>

#include "tools/ornet5-sim/sim_error.h"

namespace ornet5 {

namespace fs = std::filesystem;

namespace {

void Check(const std::error_code& error, const std::string& what) {
    if (error) {
        throw ESimError(what + ": " + error.message());
    }
}

}  // namespace

TPortLink::TPortLink(fs::path link, fs::path target)
    : link_(std::move(link)), target_(std::move(target)) {
    std::error_code error;
    if (link_.has_parent_path()) {
        fs::create_directories(link_.parent_path(), error);
        Check(error, "creating the folder " + link_.parent_path().string());
    }
    const fs::file_status status = fs::symlink_status(link_, error);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        throw ESimError(link_.string() + " exists and is not a link; not replacing it");
    }
    // A link made beside the old one and renamed over it replaces it in one
    // step, so the monitor never finds the path missing.
    fs::path fresh = link_;
    fresh += ".new" + std::to_string(getpid());
    fs::remove(fresh, error);
    fs::create_symlink(target_, fresh, error);
    Check(error, "creating the link " + fresh.string());
    fs::rename(fresh, link_, error);
    if (error) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
    }
    Check(error, "putting the link at " + link_.string());
}

TPortLink::~TPortLink() {
    std::error_code error;
    if (fs::read_symlink(link_, error) == target_ && !error) {
        fs::remove(link_, error);
    }
}

}  // namespace ornet5
