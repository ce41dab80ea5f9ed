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

bool LeftBehindBySimulator(const fs::path& link) {
    std::error_code error;
    const fs::path target = fs::read_symlink(link, error);
    return !error && target.string().starts_with("/dev/pts/") &&
           !fs::exists(fs::symlink_status(target, error));
}

// A link made beside the old one and renamed over it replaces it in one
// step, so the monitor never finds the path missing.
void PutLink(const fs::path& link, const fs::path& target) {
    std::error_code error;
    fs::path fresh = link;
    fresh += ".new" + std::to_string(getpid());
    fs::remove(fresh, error);
    fs::create_symlink(target, fresh, error);
    Check(error, "creating the link " + fresh.string());
    fs::rename(fresh, link, error);
    if (error) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
    }
    Check(error, "putting the link at " + link.string());
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
    // The link may be the user's own port (say COM3 to an adapter): it is
    // put back at the end. One that a killed simulator left behind, to a
    // pseudo-terminal that has gone, is not.
    if (fs::is_symlink(status) && !LeftBehindBySimulator(link_)) {
        previous_ = fs::read_symlink(link_, error);
    }
    PutLink(link_, target_);
}

TPortLink::~TPortLink() {
    std::error_code error;
    if (fs::read_symlink(link_, error) != target_ || error) {
        return;
    }
    try {
        if (previous_.empty()) {
            fs::remove(link_, error);
        } else {
            PutLink(link_, previous_);
        }
    } catch (const ESimError&) {
        // Nothing better can be done on the way out.
    }
}

}  // namespace ornet5
