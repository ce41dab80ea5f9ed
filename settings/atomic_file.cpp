#include "settings/atomic_file.h"

#include <system_error>
#include <vector>

#include "settings/atomic_file_steps.h"

namespace ornet5 {

namespace fs = std::filesystem;

namespace {

// The path whose content is to change: a link's target, not the link.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        const fs::path target = fs::weakly_canonical(path, error);
        if (!error) {
            return target;
        }
    }
    return path;
}

void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    const auto limit = fs::file_time_type::clock::now() - kStaleTemporaryAge;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code timeError;
        const auto written = it->last_write_time(timeError);
        if (name.starts_with(prefix) && !timeError && written < limit) {
            stale.push_back(it->path());
        }
    }
    for (const fs::path& file : stale) {
        fs::remove(file, error);
    }
}

}  // namespace

std::string TemporaryFilePrefix(const fs::path& path) {
    return "." + path.filename().string() + ".tmp-";
}

bool ReplaceFileBytes(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    const fs::path target = fs::absolute(ResolveTarget(path), error);
    if (error || !MayReplace(target)) {
        return false;
    }
    const fs::path folder = target.parent_path();
    fs::create_directories(folder, error);
    RemoveStaleTemporaries(folder, TemporaryFilePrefix(target));
    const fs::path temporary = WriteTemporary(target, bytes);
    return !temporary.empty() && MoveOver(temporary, target);
}

}  // namespace ornet5
